// The rules behind one key press, without a window: each user action is one
// transaction, undone as one, and a refused question leaves nothing.

#include "DocumentsFixture.h"
#include "editor/TRecordEditor.h"
#include "gamedata/TreeModel.h"
#include "lang/GlobalConst.h"

namespace qm {
namespace {

// Footman and Defend stand on the Barracks card; Blizzard has three levels.
const char* kTree = "Human|?\n"           // 0
                    "\tBarracks|hbar\n"   // 1
                    "\t\tFootman|hfoo\n"  // 2
                    "\t\tDefend|Adef\n"   // 3
                    "\t\tBlizzard|Abli\n" // 4
                    "\t\tRepair|Arep\n";  // 5

const char* kDefaults = "[hfoo]\nHotkey=F\nTip=Footman\nButtonpos=0,0\n"
                        "[Adef]\nHotkey=D\nUnhotkey=U\nResearchhotkey=E\nTip=Defend\n"
                        "Untip=Stop\nButtonpos=1,0\nUnbuttonpos=1,0\n"
                        "[Abli]\nHotkey=Q,W,E\nTip=Blizzard\nButtonpos=0,2\n"
                        "[Arep]\nHotkey=R\nButtonpos=2,0\n";

class RecordEditor : public test::TDocumentsTest {
  protected:
    void SetUp() override {
        ResetMessages();
        editor_.SetAskSwap([this](int node) {
            asked_.push_back(node);
            return answer_;
        });
    }
    const TBindRec& Rec(const char* id) {
        const TBindRec* rec = docs_.Record(id);
        EXPECT_NE(rec, nullptr) << id;
        static const TBindRec kNone;
        return rec ? *rec : kNone;
    }

    TTreeModel tree_ = TTreeModel::Parse(kTree);
    TRecordEditor editor_{docs_, tree_};
    TEditRules rules_;
    std::vector<int> asked_;
    bool answer_ = true;
};

TEST_F(RecordEditor, AKeyPressIsOneTransactionWithItsSwapAndEditTogether) {
    Open(kDefaults, "[hfoo]\nHotkey=F\n[Adef]\nHotkey=D\nTip=Defend (D)\n");
    const std::string before = Bytes();
    rules_.AutoTips = true;
    // Defend takes F: Footman is asked about and gets D; edit-together gives
    // the un-hotkey and research hotkey F as well; the tooltip names F.
    EXPECT_TRUE(editor_.TypeHotkey("Adef", 0, "F", rules_));
    EXPECT_EQ(asked_, std::vector<int>{2});
    EXPECT_EQ(Rec("Adef").Hotkey, "F");
    EXPECT_EQ(Rec("Adef").Unhotkey, "F");
    EXPECT_EQ(Rec("Adef").Researchhotkey, "F");
    EXPECT_EQ(Rec("Adef").Tip, "Defend (|cffffcc00F|r)");
    EXPECT_EQ(Rec("hfoo").Hotkey, "D");
    EXPECT_EQ(Rec("hfoo").Tip, "Footman (|cffffcc00D|r)") << "the other's tooltip follows";
    ASSERT_EQ(docs_.UndoStack().count(), 1);
    EXPECT_EQ(docs_.UndoStack().undoText(), Msg(msgEditHotkey).arg("Defend"));
    ExpectUndoRedo(before, Bytes());
}

TEST_F(RecordEditor, ARefusedQuestionLeavesNothing) {
    Open(kDefaults, "[hfoo]\nHotkey=F\n[Adef]\nHotkey=D\n");
    const std::string before = Bytes();
    answer_ = false;
    EXPECT_FALSE(editor_.TypeHotkey("Adef", 0, "F", rules_));
    EXPECT_EQ(asked_.size(), 1u);
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(docs_.UndoStack().count(), 0);
}

// Escape is "512", and a tooltip names it as the game's own do.
TEST_F(RecordEditor, EscapeIsNamedEscInTheTooltip) {
    Open(kDefaults, "[hfoo]\nHotkey=F\nTip=Footman (F)\n");
    EXPECT_TRUE(editor_.TypeHotkey("hfoo", 0, "512", rules_));
    EXPECT_EQ(Rec("hfoo").Tip, "Footman (|cffffcc00ESC|r)");
}

TEST_F(RecordEditor, FormatLevelsAndRefusedInput) {
    Open(kDefaults, "[Abli]\nHotkey=Q,W,E\n");
    EXPECT_FALSE(editor_.TypeHotkey("Abli", 0, "1", rules_));
    EXPECT_TRUE(editor_.TypeHotkey("Abli", 0, "Z", rules_));
    EXPECT_EQ(Rec("Abli").Hotkey, "Z,Z,Z");
    EXPECT_EQ(TRecordEditor::CorrectHotKeyFormat("x7Kq", 5), "K,K,K");
    EXPECT_EQ(TRecordEditor::CorrectHotKeyFormat("512", 5), "512");
    EXPECT_EQ(TRecordEditor::CorrectHotKeyFormat("222", 3), "222");
    EXPECT_EQ(TRecordEditor::CorrectHotKeyFormat("q", 1), "");
    EXPECT_EQ(editor_.LevelLimit("Abli"), 5);
    EXPECT_EQ(editor_.LevelLimit("Zzzz"), 1);
}

TEST_F(RecordEditor, EditingAnActionTheFileLacksAddsItsRecordInTheSameStep) {
    Open(kDefaults, "[hfoo]\nHotkey=F\n");
    const std::string before = Bytes();
    EXPECT_TRUE(editor_.TypeHotkey("Arep", 0, "G", rules_));
    EXPECT_EQ(Rec("Arep").Hotkey, "G");
    EXPECT_EQ(Rec("Arep").Buttonpos, "2,0");
    EXPECT_EQ(docs_.UndoStack().count(), 1);
    ExpectUndoRedo(before, Bytes());
}

TEST_F(RecordEditor, DefaultResetTipsAndMovesAreUndoneAsOne) {
    Open(kDefaults, "[Adef]\nHotkey=K\nUnhotkey=V\nTip=Mine\nButtonpos=1,0\nUnbuttonpos=1,0\n"
                    "[hfoo]\nHotkey=F\nButtonpos=0,0\n");
    const std::string asRead = Bytes();
    rules_.EditTogether = false;
    EXPECT_TRUE(editor_.DefaultHotkeys("Adef", rules_));
    EXPECT_EQ(Rec("Adef").Hotkey, "D");
    EXPECT_EQ(Rec("Adef").Unhotkey, "U");
    EXPECT_TRUE(editor_.DefaultTip("Adef", 0));
    EXPECT_EQ(Rec("Adef").Tip, "Defend");
    EXPECT_TRUE(editor_.ResetTip("Adef", 0));
    EXPECT_EQ(Rec("Adef").Tip, "Mine");
    EXPECT_TRUE(editor_.SetTip("Adef", 1, "Halt"));
    // Defend dropped on Footman's cell: the two exchange, and the off button
    // standing with Defend moves along.
    EXPECT_TRUE(editor_.MoveButton("Adef", "0,0", "hfoo", "1,0"));
    EXPECT_EQ(Rec("Adef").Buttonpos, "0,0");
    EXPECT_EQ(Rec("Adef").Unbuttonpos, "0,0");
    EXPECT_EQ(Rec("hfoo").Buttonpos, "1,0");
    EXPECT_TRUE(editor_.ResetHotkeys("Adef", rules_));
    EXPECT_EQ(Rec("Adef").Hotkey, "K");
    EXPECT_EQ(docs_.UndoStack().count(), 6);
    ExpectUndoRedo(asRead, Bytes());
}

} // namespace
} // namespace qm
