// The editing panel driven by key presses: the hotkey rules, edit-together,
// Default and Reset, typing from the tree, and the conflict question with
// the command-card rule for siblings.

#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolTip>

namespace qm {
namespace {

using test::ReadBytes;
using test::WriteBytes;
using A = TMsgAnswer;

// Footman stands on the Barracks card and, a second time, under "Units";
// Defend stands on two cards, the Footman's and the Peasant's.
const char* kTree = "Human|?\n"             // 0
                    "\tBarracks|hbar\n"     // 1
                    "\t\tFootman|hfoo\n"    // 2
                    "\t\tRifleman|hrif\n"   // 3
                    "\t\tDefend|Rhde\n"     // 4
                    "\tTown Hall|htow\n"    // 5
                    "\t\tPeasant|hpea\n"    // 6
                    "\tUnits|?\n"           // 7
                    "\t\tFootman|hfoo\n"    // 8
                    "\t\t\tDefend|Adef\n"   // 9
                    "\t\t\tBlizzard|Abli\n" // 10
                    "\t\tPeasant|hpea\n"    // 11
                    "\t\t\tRepair|Arep\n"   // 12
                    "\t\t\tDefend|Adef\n"   // 13
                    "\t\t\tMilitia|Amil\n"; // 14

const char* kDefaults = "[hbar]\nHotkey=B\nButtonpos=0,0\n"
                        "[htow]\nHotkey=T\nButtonpos=1,0\n"
                        "[hfoo]\nHotkey=F\nButtonpos=0,0\n"
                        "[hrif]\nHotkey=R\nButtonpos=1,0\n"
                        "[Rhde]\nResearchhotkey=D\nButtonpos=2,0\n"
                        "[hpea]\nHotkey=P\nButtonpos=0,0\n"
                        "[Adef]\nHotkey=D\nUnhotkey=U\nResearchhotkey=E\nButtonpos=1,0\n"
                        "[Abli]\nHotkey=Q,W,E\nUnhotkey=X\nButtonpos=0,2\n"
                        "[Arep]\nHotkey=R\nButtonpos=2,0\n"
                        "[Amil]\nHotkey=512\nButtonpos=3,0\n";

enum { kFootman = 2, kRhde = 4, kUnitsFootman = 8, kAdef = 9, kAbli = 10, kArep = 12, kAmil = 14 };

class Panel : public test::TWindowTest {
  protected:
    void SetUp() override { Start(kTree, kDefaults); }
    QString Field(const char* name) { return W<QLineEdit>(name)->text(); }
    void Open(const std::string& user) {
        WriteBytes(pf_ / "user.txt", user);
        ASSERT_TRUE(frm_->ReOpen(pf_.Q(pf_ / "user.txt")));
    }
};

TEST_F(Panel, OneLetterPerLevelAndRefusedCharacters) {
    Select(kAbli);
    Type("txtHotKey", "q");
    EXPECT_EQ(Rec("Abli").Hotkey, "Q,Q,Q");
    EXPECT_EQ(Field("txtHotKey"), "Q,Q,Q");
    Type("txtHotKey", "1");
    EXPECT_EQ(Rec("Abli").Hotkey, "Q,Q,Q");
    EXPECT_EQ(Field("txtHotKey"), "Q,Q,Q");
    QTest::keyClick(W("txtHotKey"), Qt::Key_Escape);
    EXPECT_EQ(Rec("Abli").Hotkey, "512");
    // An action whose default is "512" has one level.
    Select(kAmil);
    Type("txtHotKey", "k");
    EXPECT_EQ(Rec("Amil").Hotkey, "K");
    EXPECT_TRUE(platform_.asked.empty());
}

TEST_F(Panel, EditTogetherRunsEveryFieldsOwnHandling) {
    Select(kAdef);
    Type("txtHotKey", "w");
    EXPECT_EQ(Rec("Adef").Hotkey, "W");
    EXPECT_EQ(Rec("Adef").Unhotkey, "W");
    EXPECT_EQ(Rec("Adef").Researchhotkey, "W");
    // From the un-hotkey of a three-level action: the hotkey gets one letter
    // per level, and the absent research hotkey stays absent.
    Select(kAbli);
    EXPECT_FALSE(W("txtResearchHotKey")->isEnabled());
    Type("txtUnHotKey", "z");
    EXPECT_EQ(Rec("Abli").Unhotkey, "Z");
    EXPECT_EQ(Rec("Abli").Hotkey, "Z,Z,Z");
    EXPECT_EQ(Rec("Abli").Researchhotkey, "");

    W<QCheckBox>("cbTogEdit")->setChecked(false);
    Select(kAdef);
    Type("txtResearchHotKey", "y");
    EXPECT_EQ(Rec("Adef").Researchhotkey, "Y");
    EXPECT_EQ(Rec("Adef").Hotkey, "W");
}

TEST_F(Panel, OtherFieldsTakeOnlyWhatAKeyWrites) {
    Select(kAdef);
    W<QCheckBox>("cbTogEdit")->setChecked(false);
    Type("txtUnHotKey", "1");
    EXPECT_EQ(Rec("Adef").Unhotkey, "1");
    for (const QString& refused : {QString(" "), QString("\x01"), QString::fromUtf8("é")})
        QTest::sendKeyEvent(QTest::Press, W("txtUnHotKey"), Qt::Key_unknown, refused,
                            Qt::NoModifier);
    EXPECT_EQ(Rec("Adef").Unhotkey, "1");
    EXPECT_EQ(Field("txtUnHotKey"), "1");
}

// A paste is the typing of its first character, through the same rules;
// a refused key says why in the status bar.
TEST_F(Panel, PastesAreTypedAndRefusedKeysSaySo) {
    Select(kAdef);
    W<QCheckBox>("cbTogEdit")->setChecked(false);
    const auto paste = [this](const char* field, const char* text) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
        W(field)->setFocus();
        frm_->findChild<QAction*>("actPaste")->trigger();
    };
    paste("txtUnHotKey", "é x");
    EXPECT_EQ(Rec("Adef").Unhotkey, "U");
    EXPECT_TRUE(frm_->statusBar()->currentMessage().contains(QString::fromUtf8("É")));
    paste("txtHotKey", "81");
    EXPECT_EQ(Rec("Adef").Hotkey, "D");
    paste("txtHotKey", "wx");
    EXPECT_EQ(Rec("Adef").Hotkey, "W");
    W("txtResearchHotKey")->setFocus();
    QTest::keyClick(W("txtResearchHotKey"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Rec("Adef").Researchhotkey, "W");
    Type("txtHotKey", "7");
    EXPECT_TRUE(frm_->statusBar()->currentMessage().startsWith(QString::fromUtf8("«7»")));
}

TEST_F(Panel, TypingInTheTreeFillsTheFirstEnabledField) {
    Select(kAdef);
    Tree()->setFocus();
    QTest::keyClicks(Tree(), "e");
    EXPECT_EQ(Rec("Adef").Hotkey, "E");
    QTest::keyClick(Tree(), Qt::Key_Escape);
    EXPECT_EQ(Rec("Adef").Hotkey, "E");
    EXPECT_EQ(Selected(), kAdef) << "the tree does not search by typing";
    // An upgrade without a hotkey of its own takes the letter as research hotkey.
    Select(kRhde);
    QTest::keyClicks(Tree(), "g");
    EXPECT_EQ(Rec("Rhde").Researchhotkey, "G");
    // Enter in a field gives the focus back to the tree.
    W("txtResearchHotKey")->setFocus();
    QTest::keyClick(W("txtResearchHotKey"), Qt::Key_Return);
    EXPECT_TRUE(Tree()->hasFocus());
}

TEST_F(Panel, DefaultAndResetNeverRemoveAHotkey) {
    Open("[Adef]\nHotkey=K\nUnhotkey=V\n[Arep]\nHotkey=G\nUnhotkey=Y\n[Abli]\nHotkey=A,A,A\n");
    W<QCheckBox>("cbTogEdit")->setChecked(false);
    Select(kAdef);
    Type("txtHotKey", "m");
    QTest::mouseClick(W("btnDefHotKeys"), Qt::LeftButton);
    EXPECT_EQ(Rec("Adef").Hotkey, "D");
    EXPECT_EQ(Rec("Adef").Unhotkey, "U");
    QTest::mouseClick(W("btnResetHotKeys"), Qt::LeftButton);
    EXPECT_EQ(Rec("Adef").Hotkey, "K");
    EXPECT_EQ(Rec("Adef").Unhotkey, "V");
    EXPECT_EQ(Rec("Adef").Researchhotkey, "E") << "the file has none: the default stays";
    // A default without an un-hotkey leaves the user's in place.
    Select(kArep);
    QTest::mouseClick(W("btnDefHotKeys"), Qt::LeftButton);
    EXPECT_EQ(Rec("Arep").Hotkey, "R");
    EXPECT_EQ(Rec("Arep").Unhotkey, "Y");
    // Different letters per level come back as the first one repeated.
    Select(kAbli);
    QTest::mouseClick(W("btnDefHotKeys"), Qt::LeftButton);
    EXPECT_EQ(Rec("Abli").Hotkey, "Q,Q,Q");
}

TEST_F(Panel, ConflictAnsweredNoThenYes) {
    Select(kArep);
    platform_.Answer(A::No);
    Type("txtHotKey", "d");
    ASSERT_EQ(platform_.asked.size(), 1u);
    EXPECT_EQ(platform_.asked[0].text,
              Msg(msgHotkeyInUse) + "Defend (Adef)\"\n\r" + Msg(msgSwapButtons))
        << "two actions are called Defend: the question names which";
    EXPECT_EQ(platform_.asked[0].caption, Msg(msgQuestion));
    EXPECT_EQ(platform_.asked[0].owner, frm_.get());
    EXPECT_EQ(Rec("Arep").Hotkey, "R");
    EXPECT_EQ(Field("txtHotKey"), "R");
    EXPECT_EQ(Rec("Adef").Hotkey, "D");

    platform_.Answer(A::Yes);
    Type("txtHotKey", "d");
    EXPECT_EQ(Rec("Arep").Hotkey, "D");
    EXPECT_EQ(Rec("Adef").Hotkey, "R");
}

TEST_F(Panel, ClashThatAlreadyExistedInAnotherKindIsAskedAgain) {
    Open("[Arep]\nHotkey=R\nUnhotkey=U\n[Adef]\nHotkey=D\nUnhotkey=U\n");
    W<QCheckBox>("cbTogEdit")->setChecked(false);
    Select(kArep);
    platform_.Answer(A::Yes);
    Type("txtHotKey", "z");
    ASSERT_EQ(platform_.asked.size(), 1u);
    EXPECT_EQ(Rec("Arep").Hotkey, "Z");
    EXPECT_EQ(Rec("Arep").Unhotkey, "U");
    EXPECT_EQ(Rec("Adef").Unhotkey, "U");
    EXPECT_EQ(Rec("Adef").Hotkey, "D");
}

TEST_F(Panel, SiblingsAreTheButtonsOfTheActionsCards) {
    // The Footman under "Units" shares no card with the Peasant there ...
    Select(kUnitsFootman);
    Type("txtHotKey", "p");
    EXPECT_EQ(Rec("hfoo").Hotkey, "P");
    EXPECT_TRUE(platform_.asked.empty());
    // ... but its Barracks card holds the Rifleman.
    platform_.Answer(A::No);
    Type("txtHotKey", "r");
    EXPECT_TRUE(platform_.asked.back().text.contains("Rifleman"));
    // Defend stands on the Footman's and the Peasant's cards: Repair is a sibling.
    Select(kAdef);
    platform_.Answer(A::No);
    Type("txtHotKey", "r");
    EXPECT_TRUE(platform_.asked.back().text.contains("Repair"));
    EXPECT_EQ(Rec("Adef").Hotkey, "D");
}

TEST_F(Panel, AddButtonOnlyForAnActionWithoutRecord) {
    Open("[hfoo]\nHotkey=F\n");
    auto* btnAdd = W<QPushButton>("btnAdd");
    frm_->findChild<QAction*>("mnuAutoAdd")->trigger(); // auto-add off
    Select(kArep);
    EXPECT_TRUE(btnAdd->isEnabled());
    EXPECT_FALSE(W("gbSettings")->isEnabled());
    Select(kFootman); // has a record: a click could only add a second one
    EXPECT_FALSE(btnAdd->isEnabled());
    Select(kArep);
    QTest::mouseClick(btnAdd, Qt::LeftButton);
    EXPECT_EQ(Rec("Arep").Hotkey, "R");
    EXPECT_FALSE(btnAdd->isEnabled());
    EXPECT_TRUE(W("gbSettings")->isEnabled());
    EXPECT_EQ(frm_->CurCfgMngr()->Count(), 2);
}

TEST_F(Panel, ShowingActionsIsNoEdit) {
    // Fields the file leaves empty are filled from the defaults, and
    // auto-add copies missing records: neither is a change to save.
    Open("[hpea]\nHotkey=P\n[Arep]\nHotkey=G\n");
    for (int node : {kArep, kAdef, kAmil, kUnitsFootman})
        Select(node);
    EXPECT_EQ(Rec("Arep").Buttonpos, "2,0");
    EXPECT_FALSE(frm_->HasUnsavedChanges());
    Select(kArep);
    Type("txtHotKey", "j");
    EXPECT_TRUE(frm_->HasUnsavedChanges());
}

using TreeHint = test::TWindowTest;

TEST_F(TreeHint, CaptionCutShortShowsInFullAsToolTip) {
    const QString longName = QString::fromUtf8("Iron Plating, Steel Plating, Mithril Plating");
    Start("Human|?\n\t" + longName.toStdString() + "|Rhar\n\tFarm|hhou\n", kDefaults);
    Tree()->expandAll();
    const auto hint = [this](int index) {
        QTreeWidgetItem* item = frm_->Tree().ItemAt(index);
        const QPoint at = Tree()->visualItemRect(item).center();
        QHelpEvent event(QEvent::ToolTip, at, Tree()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(Tree()->viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(hint(2), "");
    EXPECT_EQ(hint(1), longName);
}

} // namespace
} // namespace qm
