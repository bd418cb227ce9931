// The tooltip editor driven by keys and the clipboard, headless.

#include "tooltips/RichEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace qm {
namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kGold = 0x00CCFF;

class RichEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        edit.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
        edit.setFocus();
    }
    TRichEdit edit;
    QSignalSpy changed{&edit, &TRichEdit::Changed};
    QSignalSpy moved{&edit, &TRichEdit::SelectionChanged};
};

TEST_F(RichEditTest, FillingReportsOneChangeAndKeepsTheTypingColour) {
    edit.SetSelectionColor(kRed);
    TipToRichEdit("|cff00ff00abc|nde", edit);
    QApplication::processEvents();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(RichEditToTip(edit), "|cff00ff00abc|nde");
    EXPECT_EQ(edit.SelectionColor(), kRed);
    QTest::keyClicks(&edit, "x");
    EXPECT_EQ(RichEditToTip(edit), "|cff00ff00abc|nde|cffff0000x");
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(moved.count(), 1);
}

TEST_F(RichEditTest, EnterTypesALineBreak) {
    edit.SetSelectionColor(kGold);
    QTest::keyClicks(&edit, "ab");
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, "c");
    QTest::keyClick(&edit, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(&edit, "d");
    EXPECT_EQ(RichEditToTip(edit), "|cffffcc00ab|nc|n|nd");
}

TEST_F(RichEditTest, PasteIsPlainTextInTheTypingColour) {
    auto* rich = new QMimeData;
    rich->setHtml(QStringLiteral("<span style='color:#00ff00'>x</span><br>y"));
    rich->setText(QStringLiteral("x\r\ny\nz"));
    QApplication::clipboard()->setMimeData(rich);
    TipToRichEdit("|cffffcc00Q", edit);
    edit.SetSelectionColor(kRed);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(RichEditToTip(edit), "|cffffcc00Q|cffff0000x|ny|nz");
}

TEST_F(RichEditTest, SelectionColourReadAndSet) {
    TipToRichEdit("ab|cffffcc00cd|ref", edit);
    QTest::keyClick(&edit, Qt::Key_Left);
    QTest::keyClick(&edit, Qt::Key_Left);
    QTest::keyClick(&edit, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&edit, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(moved.count(), 4);
    // Selected backwards: the colour is still that of the first selected letter.
    EXPECT_EQ(edit.SelectionColor(), kGold);
    EXPECT_EQ(RichEditToTip(edit), "ab|cffffcc00cd|ref");
    EXPECT_EQ(edit.textCursor().selectedText(), "cd");
    EXPECT_EQ(moved.count(), 4);

    changed.clear();
    edit.SetSelectionColor(kRed);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(RichEditToTip(edit), "ab|cffff0000cd|ref");

    QTest::keyClick(&edit, Qt::Key_End);
    edit.SetSelectionColor(kGold); // nothing selected: only the next letters
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(edit.SelectionColor(), kGold);
    QTest::keyClicks(&edit, "g");
    EXPECT_EQ(RichEditToTip(edit), "ab|cffff0000cd|ref|cffffcc00g");
}

} // namespace
} // namespace qm
