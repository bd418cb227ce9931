#include "lang/About.h"

#include "lang/GlobalConst.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(About, ShowsTheProgramAndClosesOnOk) {
    TAboutBox box;
    EXPECT_EQ(box.windowTitle(), "About...");
    EXPECT_EQ(box.ProductName->text(), "Quillmark");
    EXPECT_EQ(box.Version->text(), "Version 1.3.4");
    SetMsg(msgAuthor, "Author:"); // as the English language file gives it
    box.show();
    EXPECT_TRUE(
        QRegularExpression(R"(^Author: \S.* \(\S+\)$)").match(box.lblAuthor->text()).hasMatch());
    box.hide();
    ResetMessages();
    EXPECT_TRUE(QRegularExpression("^Thanks for help:\n\t[^,]+(, [^,]+)*\\.$")
                    .match(box.Comments->text())
                    .hasMatch());
    EXPECT_EQ(ProgramPicture().size(), QSize(64, 64));
    EXPECT_EQ(box.ProgramIcon->pixmap().size(), QSize(64, 64));

    // Modal, as the About command shows it: OK ends the dialog.
    QTimer::singleShot(0, &box, [&box] { QTest::mouseClick(box.btnOK, Qt::LeftButton); });
    EXPECT_EQ(box.exec(), QDialog::Accepted);
    EXPECT_FALSE(box.isVisible());
}

} // namespace
} // namespace qm
