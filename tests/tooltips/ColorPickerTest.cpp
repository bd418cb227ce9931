// The colour combo and its shared palette window, driven by mouse and keys.

#include "support/TScriptedPlatform.h"
#include "tooltips/ColBtn.h"
#include "tooltips/ColorPickerForm.h"
#include "tooltips/RtColorPicker.h"
#include "tooltips/TipRichEdit.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace qm {
namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kYellow = 0x00FFFF;
constexpr TColor kLightYellow = 0x40FFFF; // the square below yellow

// The window is the application's active one (the keys go to it); a window
// standing over another can look active before it is.
bool Active(QWidget* window) {
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

class ColorPickerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        picker.SetPlatform(&platform);
        host.resize(200, 80);
        combo->move(10, 10);
        host.show();
        ASSERT_TRUE(Active(&host));
    }
    void TearDown() override {
        picker.hide();
        picker.SetPlatform(nullptr);
    }

    TColBtn* Square(const QString& name) { return picker.findChild<TColBtn*>(name); }
    TColBtn* SquareOf(TColor color) {
        for (TColBtn* square : picker.findChildren<TColBtn*>())
            if (square->SqareColor() == color && square->objectName() != "ColBtnCustom")
                return square;
        return nullptr;
    }
    std::vector<TColBtn*> Pressed() {
        std::vector<TColBtn*> down;
        for (TColBtn* square : picker.findChildren<TColBtn*>())
            if (square->isChecked())
                down.push_back(square);
        return down;
    }
    bool PickerActive() { return Active(&picker); }
    void Open() {
        QTest::mouseClick(combo, Qt::LeftButton);
        ASSERT_TRUE(picker.isVisible());
        ASSERT_TRUE(PickerActive());
    }

    test::TScriptedPlatform platform;
    QWidget host;
    TColorPickCombo* combo = new TColorPickCombo(&host);
    TColorPickerForm& picker = TColorPickerForm::Shared();
    QSignalSpy changed{combo, &TColorPickCombo::OnChanged};
};

TEST_F(ColorPickerTest, WidthFollowsTheHeight) {
    TColorPickCombo box(&host);
    box.setGeometry(0, 0, 100, 22);
    EXPECT_EQ(box.size(), QSize(39, 22));
    box.show();
    box.resize(100, 30);
    QApplication::processEvents();
    EXPECT_EQ(box.size(), QSize(51, 30));
}

TEST_F(ColorPickerTest, PickingTheColourAlreadyThereFiresNothing) {
    combo->SetActiveColor(kRed);
    combo->SetActiveColor(kRed);
    EXPECT_EQ(changed.count(), 1);
    changed.clear();
    Open();
    EXPECT_EQ(picker.pos(), combo->mapToGlobal(QPoint(0, combo->height())));
    EXPECT_EQ(Pressed(), std::vector<TColBtn*>{SquareOf(kRed)});
    QTest::mouseClick(SquareOf(kRed), Qt::LeftButton);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(changed.count(), 0);

    Open();
    QTest::mouseClick(SquareOf(kYellow), Qt::LeftButton);
    EXPECT_EQ(combo->ActiveColor(), kYellow);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<TColorPickCombo*>(), combo);
}

TEST_F(ColorPickerTest, ColourOutsideThePaletteIsOnTheCustomSquare) {
    combo->SetActiveColor(0x123456);
    Open();
    EXPECT_EQ(Pressed(), std::vector<TColBtn*>{Square("ColBtnCustom")});
    EXPECT_EQ(Square("ColBtnCustom")->SqareColor(), 0x123456u);

    // The system dialog: cancelled, it changes nothing; its choice is picked
    // and is where it opens next time.
    auto* other = picker.findChild<QToolButton*>("btnOther");
    platform.PickColor(std::nullopt).PickColor(QColor(1, 2, 3)).PickColor(std::nullopt);
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_TRUE(picker.isVisible());
    EXPECT_EQ(combo->ActiveColor(), 0x123456u);
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(combo->ActiveColor(), ToDisplayColor(QColor(1, 2, 3)));
    Open();
    EXPECT_EQ(Pressed(), std::vector<TColBtn*>{Square("ColBtnCustom")});
    QTest::mouseClick(other, Qt::LeftButton);
    ASSERT_EQ(platform.colorDialogs.size(), 3u);
    EXPECT_EQ(platform.colorDialogs[2], QColor(1, 2, 3));
}

TEST_F(ColorPickerTest, EscapeAndDeactivationClose) {
    Open();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_TRUE(Active(&host));

    QWidget elsewhere;
    elsewhere.show();
    Open();
    elsewhere.activateWindow();
    ASSERT_TRUE(Active(&elsewhere));
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(changed.count(), 0);
}

// A colour dialog that takes the activation away while it is open.
class TDialogElsewhere : public test::TScriptedPlatform {
  public:
    std::optional<QColor> ChooseColor(QWidget*, const QColor&) override {
        dialog.show();
        dialog.activateWindow();
        stayedOpen = Active(&dialog) && TColorPickerForm::Shared().isVisible();
        dialog.hide();
        return std::nullopt;
    }
    QWidget dialog;
    bool stayedOpen = false;
};

TEST_F(ColorPickerTest, StaysOpenWhileTheColourDialogIs) {
    TDialogElsewhere dialogPlatform;
    picker.SetPlatform(&dialogPlatform);
    Open();
    QTest::mouseClick(picker.findChild<QToolButton*>("btnOther"), Qt::LeftButton);
    EXPECT_TRUE(dialogPlatform.stayedOpen);
}

TEST_F(ColorPickerTest, WorksFromAModalDialog) {
    QDialog dialog(&host);
    auto* inDialog = new TColorPickCombo(&dialog);
    dialog.setModal(true);
    dialog.show();
    ASSERT_TRUE(Active(&dialog));
    QTest::mouseClick(inDialog, Qt::LeftButton);
    ASSERT_TRUE(PickerActive());
    // Through the window system, which holds back input from blocked windows.
    QTest::mouseClick(picker.windowHandle(), Qt::LeftButton, {},
                      SquareOf(kYellow)->geometry().center());
    EXPECT_EQ(inDialog->ActiveColor(), kYellow);
    EXPECT_FALSE(picker.isVisible());
}

TEST_F(ColorPickerTest, OpensAboveNearTheBottomInsideTheRightEdge) {
    const QRect screen = host.screen()->geometry();
    host.move(screen.right() - 60, screen.bottom() - 60);
    QApplication::processEvents();
    Open();
    const QPoint comboTop = combo->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(picker.x(), screen.x() + screen.width() - picker.width());
    EXPECT_EQ(picker.y(), comboTop.y() - picker.height());
    EXPECT_EQ(picker.size(), QSize(170, 177));
}

TEST_F(ColorPickerTest, KeyboardUse) {
    combo->SetActiveColor(kRed);
    changed.clear();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_F4);
    ASSERT_TRUE(PickerActive());
    EXPECT_EQ(QApplication::focusWidget(), SquareOf(kRed));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), SquareOf(kLightYellow));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(combo->ActiveColor(), kLightYellow);
    EXPECT_EQ(changed.count(), 1);
    ASSERT_TRUE(Active(&host));
    EXPECT_EQ(QApplication::focusWidget(), combo);

    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(PickerActive());
    for (int i = 0; i < 7; ++i) // down past the last row to the custom square
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), Square("ColBtnCustom"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(combo->ActiveColor(), Square("ColBtnCustom")->SqareColor());
}

} // namespace
} // namespace qm
