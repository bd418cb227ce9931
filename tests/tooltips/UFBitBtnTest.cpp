// The program's push button is drawn as the default button only with focus.

#include "tooltips/UFBitBtn.h"

#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace qm {
namespace {

QImage Look(QPushButton* button, bool isDefault) {
    button->setDefault(isDefault);
    return button->grab().toImage();
}

TEST(UFBitBtn, DrawnAsTheDefaultButtonOnlyWithTheFocus) {
    QDialog dialog;
    auto* ok = new TUFBitBtn(QStringLiteral("OK"), &dialog);
    auto* plain = new QPushButton(QStringLiteral("OK"), &dialog);
    auto* edit = new QLineEdit(&dialog);
    ok->setGeometry(10, 10, 80, 26);
    plain->setGeometry(100, 10, 80, 26);
    edit->setGeometry(10, 50, 80, 22);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    edit->setFocus();
    const QImage plainLook = Look(plain, false);
    ASSERT_NE(Look(plain, true), plainLook); // the style does mark the default button
    EXPECT_EQ(Look(ok, true), plainLook);
    EXPECT_EQ(Look(ok, false), plainLook);

    QSignalSpy clicked(ok, &QPushButton::clicked);
    ok->setDefault(true);
    QTest::keyClick(edit, Qt::Key_Return); // still the default button
    EXPECT_EQ(clicked.count(), 1);

    ok->setFocus();
    const QImage focused = ok->grab().toImage();
    plain->setFocus();
    EXPECT_EQ(focused, plain->grab().toImage());
    EXPECT_NE(focused, plainLook);
}

} // namespace
} // namespace qm
