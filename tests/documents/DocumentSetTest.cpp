// Transactions on the working copy: one step of the undo history each,
// announced once, undone and redone byte for byte.

#include "DocumentsFixture.h"

namespace qm {
namespace {

using test::TDocumentsTest;

const char* kDefaults = "[Aabc]\nHotkey=A\nTip=Attack\nButtonpos=0,0\n"
                        "[Bbcd]\nHotkey=B\nButtonpos=1,0\n";

TEST_F(TDocumentsTest, ShowingFillsFromTheDefaultsAndWritesNothing) {
    Open(kDefaults, "[Aabc]\nHotkey=Q\n");
    const std::string before = Bytes();
    const TBindRec shown = docs_.Shown("Aabc");
    EXPECT_EQ(shown.Hotkey, "Q");
    EXPECT_EQ(shown.Buttonpos, "0,0");
    EXPECT_EQ(docs_.Shown("Bbcd").Hotkey, "B") << "an action the file lacks, from its defaults";
    EXPECT_EQ(docs_.Shown("Zzzz").ID, "Zzzz");
    EXPECT_EQ(docs_.Record("Bbcd"), nullptr);
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(docs_.UndoStack().count(), 0);
}

TEST_F(TDocumentsTest, ATransactionIsOneStepAnnouncedOnce) {
    Open(kDefaults, "[Aabc]\nHotkey=Q\n");
    const std::string before = Bytes();
    int announced = 0;
    QObject::connect(&docs_, &TDocumentSet::Changed, [&] { ++announced; });
    {
        TDocumentSet::TEdit outer(docs_, "outer");
        TDocumentSet::TEdit inner(docs_, "inner");
        EXPECT_TRUE(docs_.SetField("Aabc", fiHotkey, "W"));
        EXPECT_FALSE(docs_.SetField("Aabc", fiHotkey, "W"));
        EXPECT_FALSE(docs_.SetField("Bbcd", fiHotkey, "X")) << "no record to set";
        EXPECT_TRUE(docs_.AddDefaultRecord("Bbcd"));
        EXPECT_FALSE(docs_.AddDefaultRecord("Bbcd"));
        EXPECT_TRUE(docs_.SetField("Bbcd", fiHotkey, "X"));
        EXPECT_EQ(announced, 0);
    }
    EXPECT_EQ(announced, 1);
    ASSERT_EQ(docs_.UndoStack().count(), 1);
    EXPECT_EQ(docs_.UndoStack().undoText(), "outer");
    EXPECT_TRUE(docs_.HasUnsavedChanges());
    const std::string after = Bytes();
    ExpectUndoRedo(before, after);
    EXPECT_EQ(announced, 3);
    // An edit that changes nothing leaves no step.
    { TDocumentSet::TEdit nothing(docs_, "nothing"); }
    EXPECT_EQ(docs_.UndoStack().count(), 1);
}

TEST_F(TDocumentsTest, ClearAndResetGiveBackTheVeryRecords) {
    Open(kDefaults, "[Aabc]\nHotkey=Q\n[Aabc]\nHotkey=R\n[Bbcd]\nTip=b\n");
    const std::string asRead = Bytes();
    docs_.SetField("Aabc", fiHotkey, "W");
    const std::string edited = Bytes();
    const TBindRec* first = docs_.Record("Aabc");
    docs_.ClearWorkingCopy();
    EXPECT_EQ(docs_.CurCfgMngr()->Count(), 0);
    docs_.UndoStack().undo();
    EXPECT_EQ(Bytes(), edited);
    EXPECT_EQ(docs_.Record("Aabc"), first) << "records survive their removal";
    docs_.ResetWorkingCopy();
    EXPECT_EQ(Bytes(), asRead);
    docs_.UndoStack().undo();
    EXPECT_EQ(Bytes(), edited);
}

TEST_F(TDocumentsTest, TypingIntoOneFieldMergesAndUndoingToTheSavedStateIsClean) {
    Open(kDefaults, "[Aabc]\nTip=a\n");
    for (const char* tip : {"ab", "abc", "abcd"}) {
        TDocumentSet::TEdit edit(docs_, "tip", true);
        docs_.SetField("Aabc", fiTip, tip);
    }
    EXPECT_EQ(docs_.UndoStack().count(), 1);
    docs_.UndoStack().undo();
    EXPECT_EQ(docs_.Record("Aabc")->Tip, "a");
    EXPECT_FALSE(docs_.HasUnsavedChanges());
    docs_.UndoStack().redo();
    EXPECT_EQ(docs_.Record("Aabc")->Tip, "abcd");
    // Reading the file again starts a new history.
    Open(kDefaults, "[Aabc]\nTip=a\n");
    EXPECT_EQ(docs_.UndoStack().count(), 0);
    EXPECT_FALSE(docs_.HasUnsavedChanges());
}

} // namespace
} // namespace qm
