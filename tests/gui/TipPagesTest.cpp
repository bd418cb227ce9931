// The tooltip pages in the window: automatic tooltips, the pages' states,
// the colour box, the template dialog, and tooltips that must come back as
// they were (line breaks, other encodings).

#include "WindowFixture.h"
#include "editor/TTipPages.h"
#include "tooltips/RichEdit.h"
#include "tooltips/RtColorPicker.h"
#include "tooltips/TemplateDlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace qm {
namespace {

using test::WriteBytes;

const char* kTree = "Human|?\n"                  // 0
                    "\tArchmage|Hamg\n"          // 1
                    "\t\tWater Elemental|AHwe\n" // 2
                    "\t\tAttack|Aatk\n"          // 3
                    "\t\tOld text|Aold\n";       // 4

const char* kDefaults = "[Hamg]\nHotkey=A\nTip=Archmage (A)\nRevivetip=Revive Archmage (A)\n"
                        "Buttonpos=0,0\n"
                        "[AHwe]\nHotkey=W\nTip=Summon |cffffcc00W|rater Elemental (W)\n"
                        "Untip=Stop\nButtonpos=0,2\n"
                        "[Aatk]\nHotkey=A\nTip=Attack\nUntip=Leave|nalone\nButtonpos=1,2\n"
                        // "Старый (O)" in Windows-1251.
                        "[Aold]\nHotkey=O\nTip=\xD1\xF2\xE0\xF0\xFB\xE9 (O)\nButtonpos=2,2\n";

enum { kHamg = 1, kAHwe, kAatk, kAold };

class TipPages : public test::TWindowTest {
  protected:
    void SetUp() override { Start(kTree, kDefaults); }
    TRichEdit* Editor(const char* name) { return W<TRichEdit>(name); }
    QTabWidget* Pages() { return W<QTabWidget>("pcTips"); }
    TdlgTemplate* Template() { return frm_->findChild<TdlgTemplate*>("dlgTemplate"); }
};

TEST_F(TipPages, AutomaticTooltipNamesTheNewHotkey) {
    Select(kAHwe);
    Type("txtHotKey", "q");
    EXPECT_EQ(Rec("AHwe").Tip, "Summon Water Elemental (|cffffcc00Q|r)");
    EXPECT_EQ(Editor("reTip")->toPlainText(), "Summon Water Elemental (Q)");
    // A hero's revive tooltip follows; its empty awaken tooltip stays empty.
    Select(kHamg);
    Type("txtHotKey", "z");
    EXPECT_EQ(Rec("Hamg").Tip, "Archmage (|cffffcc00Z|r)");
    EXPECT_EQ(Rec("Hamg").Revivetip, "Revive Archmage (|cffffcc00Z|r)");
    EXPECT_EQ(Rec("Hamg").Awakentip, "");
    W<QCheckBox>("cbAutoChangeTip")->setChecked(false);
    Type("txtHotKey", "y");
    EXPECT_EQ(Rec("Hamg").Tip, "Archmage (|cffffcc00Z|r)");
}

TEST_F(TipPages, OnlyPagesWithATooltipCanBeChosen) {
    Select(kAHwe);
    EXPECT_TRUE(Pages()->isTabEnabled(1));
    EXPECT_FALSE(Pages()->isTabEnabled(2));
    Pages()->setFocus();
    QTest::keyClick(Pages(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Pages()->currentIndex(), 1);
    QTest::keyClick(Pages(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Pages()->currentIndex(), 0) << "the three empty pages are passed over";
    QTabBar* tabs = Pages()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
    EXPECT_EQ(Pages()->currentIndex(), 0);
    // Default on the second page replaces only that tooltip.
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    Editor("reUnTip")->setPlainText("Halt");
    EXPECT_EQ(Rec("AHwe").Untip, "Halt");
    QTest::mouseClick(W("btnDefTip"), Qt::LeftButton);
    EXPECT_EQ(Rec("AHwe").Untip, "Stop");
    EXPECT_EQ(Rec("AHwe").Tip, "Summon |cffffcc00W|rater Elemental (W)");
    // The first page is shown on every selection, even an empty one.
    Select(kHamg);
    EXPECT_EQ(Pages()->currentIndex(), 0);
}

TEST_F(TipPages, ColourBoxFollowsTheSelectionAndRecoloursIt) {
    auto* box = W<TColorPickCombo>("cpcRichColor");
    EXPECT_EQ(box->ActiveColor(), kWhite) << "white, like text without markup";
    Select(kAHwe);
    QTextCursor gold = Editor("reTip")->textCursor();
    gold.setPosition(7);
    gold.setPosition(8, QTextCursor::KeepAnchor);
    Editor("reTip")->setTextCursor(gold);
    EXPECT_EQ(box->ActiveColor(), 52479u);
    // A colour change alone is kept, also in a tooltip without markup.
    Select(kAatk);
    QTextCursor first = Editor("reTip")->textCursor();
    first.setPosition(0);
    first.setPosition(3, QTextCursor::KeepAnchor);
    Editor("reTip")->setTextCursor(first);
    box->SetActiveColor(0x0000FF);
    EXPECT_EQ(Rec("Aatk").Tip, "|cffff0000Att|rack");
}

TEST_F(TipPages, LineBreaksAndOtherEncodingsComeBackAsTheyWere) {
    Select(kAold);
    Select(kAatk);
    EXPECT_FALSE(frm_->HasUnsavedChanges());
    QTest::mouseClick(Pages()->tabBar(), Qt::LeftButton, {},
                      Pages()->tabBar()->tabRect(1).center());
    EXPECT_EQ(Editor("reUnTip")->toPlainText(), "Leave\nalone");
    EXPECT_EQ(Rec("Aatk").Untip, "Leave|nalone");
    QTextCursor end = Editor("reUnTip")->textCursor();
    end.movePosition(QTextCursor::End);
    Editor("reUnTip")->setTextCursor(end);
    QTest::keyClick(Editor("reUnTip"), Qt::Key_Return);
    QTest::keyClicks(Editor("reUnTip"), "now");
    EXPECT_EQ(Rec("Aatk").Untip, "Leave|nalone|nnow");
    // A Windows-1251 tooltip is shown but not stored back; the automatic
    // tooltip rewrites its own bytes.
    Select(kAold);
    EXPECT_EQ(Editor("reTip")->toPlainText(), QString::fromUtf8("Старый (O)"));
    EXPECT_EQ(Rec("Aold").Tip, "\xD1\xF2\xE0\xF0\xFB\xE9 (O)");
    Type("txtHotKey", "k");
    EXPECT_EQ(Rec("Aold").Tip, "\xD1\xF2\xE0\xF0\xFB\xE9 (|cffffcc00K|r)");
}

TEST_F(TipPages, ShowingATooltipStoresNothing) {
    WriteBytes(pf_ / "user.txt", "[Aatk]\nTip=|cFFFF0000Att|rack\n");
    ASSERT_TRUE(frm_->ReOpen(pf_.Q(pf_ / "user.txt")));
    Select(kAatk);
    EXPECT_EQ(Editor("reTip")->toPlainText(), "Attack");
    EXPECT_EQ(Rec("Aatk").Tip, "|cFFFF0000Att|rack");
    EXPECT_FALSE(frm_->HasUnsavedChanges());
}

TEST_F(TipPages, TemplateAppliedToTheOpenPage) {
    TdlgTemplate* dlg = Template();
    ASSERT_NE(dlg, nullptr);
    Select(kHamg);
    QTest::mouseClick(Pages()->tabBar(), Qt::LeftButton, {},
                      Pages()->tabBar()->tabRect(3).center());
    ASSERT_EQ(Pages()->currentIndex(), 3);
    dlg->show();
    EXPECT_EQ(dlg->findChild<TRichEdit*>("reTmplSample")->toPlainText(), "Revive Archmage")
        << "the revive page has no hotkey of its own";
    dlg->cpHK().SetActiveColor(0x0000FF);
    QTest::mouseClick(W("btnApply"), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(Rec("Hamg").Revivetip, "Revive Archmage (|cffff0000A|r)");
    // The colours are kept in the settings file.
    frm_->SaveProjectSettings();
    EXPECT_NE(test::ReadBytes(pf_.Settings()).find("cpHK=255"), std::string::npos);
    dlg->show();
    QTest::mouseClick(dlg->findChild<QPushButton*>("btnDefault"), Qt::LeftButton);
    EXPECT_EQ(dlg->cpHK().ActiveColor(), 52479u);
    // Escape takes back what the dialog changed.
    QTest::keyClick(dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->cpHK().ActiveColor(), 0x0000FFu);
}

} // namespace
} // namespace qm
