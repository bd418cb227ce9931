// Undo and redo in the window: a letter typed, a button dropped, a
// multi-editor run, each taken back with Ctrl+Z as one step, the caption's
// asterisk following; and showing actions records nothing.

#include "WindowFixture.h"
#include "editor/TCardCell.h"
#include "editor/TCommandCard.h"
#include "tools/MultiEdit.h"

#include <QAction>
#include <QApplication>
#include <QMimeData>
#include <QTableWidget>
#include <QTextEdit>
#include <QUndoStack>

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::TScriptedPlatform;

const char* kTree = "Orc|?\n"        // 0
                    "\tGrunt|ogru\n" // 1
                    "\t\tA|Aaaa\n"   // 2
                    "\t\tB|Abbb\n";  // 3

const char* kDefaults = "[ogru]\nHotkey=G\nButtonpos=0,0\n"
                        "[Aaaa]\nHotkey=A\nTip=Attack (A)\nButtonpos=0,0\n"
                        "[Abbb]\nHotkey=B\nButtonpos=1,0\n";

class Undo : public test::TWindowTest {
  protected:
    void SetUp() override { Start(kTree, kDefaults, "[Aaaa]\r\nHotkey=A\r\nButtonpos=0,0\r\n"); }
    void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        QTest::keyClick(Tree(), key, mods);
    }
    std::string Bytes() { return frm_->CurCfgMngr()->Serialize(true); }
    bool Starred() { return frm_->isWindowModified(); }
};

TEST_F(Undo, TypingDroppingAndTheMultiEditorEachUndoAsOne) {
    const std::string asRead = Bytes();
    Select(2);
    Tree()->setFocus();
    QTest::keyClicks(Tree(), "q");
    EXPECT_EQ(Rec("Aaaa").Tip, "Attack (|cffffcc00Q|r)");
    EXPECT_TRUE(Starred());
    EXPECT_EQ(frm_->findChild<QAction*>("actUndo")->text(),
              Msg(msgUndoNamed).arg(Msg(msgEditHotkey).arg("A")));
    Press(Qt::Key_Z);
    EXPECT_EQ(Bytes(), asRead);
    EXPECT_FALSE(Starred());
    EXPECT_EQ(W<QTextEdit>("reTip")->toPlainText(), "Attack (A)") << "the panel follows";
    Press(Qt::Key_Y);
    EXPECT_EQ(Rec("Aaaa").Hotkey, "Q");
    Press(Qt::Key_Z);

    // B dropped on A's cell: the two exchange places, in one step.
    Select(1);
    TCardCell* a = frm_->Card().CellAt(0, 0);
    TCardCell* b = frm_->Card().CellAt(1, 0);
    QMimeData data;
    data.setData(TCardCell::kMimeType, b->objectName().toUtf8());
    QDragEnterEvent over(QPoint(16, 16), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(a, &over);
    QDropEvent drop(QPointF(16, 16), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(a, &drop);
    EXPECT_EQ(Rec("Abbb").Buttonpos, "0,0");
    EXPECT_EQ(Rec("Aaaa").Buttonpos, "1,0");
    Press(Qt::Key_Z);
    EXPECT_EQ(Bytes(), asRead);
    EXPECT_EQ(frm_->Card().CellAt(0, 0)->Tag, 2) << "the card follows";

    frm_->findChild<QAction*>("actMultiEdit")->trigger();
    auto* dlg = frm_->findChild<TdlgMultiEdit*>("dlgMultiEdit");
    auto* grid = dlg->findChild<QTableWidget*>("sgKeyEditor");
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, 'z');
    QTest::mouseClick(dlg->findChild<QWidget*>("btnApply"), Qt::LeftButton);
    EXPECT_EQ(Rec("Aaaa").Hotkey, "Z");
    EXPECT_EQ(Rec("ogru").Hotkey, "Z") << "the Grunt the file lacks, at its default cell";
    EXPECT_EQ(frm_->Documents().UndoStack().undoText(), Msg(msgEditMultiEditor).arg(2));
    Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // redo of nothing
    Press(Qt::Key_Z);
    EXPECT_EQ(Bytes(), asRead);
    Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Rec("Aaaa").Hotkey, "Z");
}

TEST_F(Undo, ATooltipEditorKeepsItsOwnHistory) {
    Select(2);
    auto* editor = W<QTextEdit>("reTip");
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, "!!");
    EXPECT_EQ(Rec("Aaaa").Tip, "Attack (A)!!");
    EXPECT_EQ(frm_->Documents().UndoStack().count(), 1) << "typing in one tooltip is one step";
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->toPlainText(), "Attack (A)") << "the editor's own undo";
    EXPECT_EQ(Rec("Aaaa").Tip, "Attack (A)");
}

// Every node of the shipped tree shown over a real player's file: no step
// recorded, no byte of the working copy changed.
TEST(UndoOnRealFiles, BrowsingTheShippedTreeWritesNothing) {
    const fs::path real = test::RealData();
    if (real.empty())
        GTEST_SKIP() << "no ../shared/real-data beside the checkout";
    test::TProgramFolder pf;
    const fs::path files = real / "customkeys";
    fs::copy_file(QUILLMARK_SOURCE_DIR "/QMKData/TV_foreign.wrk", pf / "QMKData/TV_foreign.wrk",
                  fs::copy_options::overwrite_existing);
    fs::copy_file(files / "tlo9__Warcraft-3-Keybinds-3.txt", pf / "QMKData/DefaultKeys.wrk",
                  fs::copy_options::overwrite_existing);
    TScriptedPlatform platform;
    TfrmMain frm(platform, pf.path());
    ASSERT_TRUE(frm.Start());
    ASSERT_TRUE(frm.ReOpen(pf.Q(files / "MonsterBigBig__war3CustomKey-1.txt")));
    const std::string asRead = frm.CurCfgMngr()->Serialize(true);
    auto* tree = frm.findChild<QTreeWidget*>("tvMain");
    frm.Tree().ForEachNode([&](TTVNode& node) { tree->setCurrentItem(&node); });
    EXPECT_EQ(frm.Documents().UndoStack().count(), 0);
    EXPECT_FALSE(frm.HasUnsavedChanges());
    EXPECT_EQ(frm.CurCfgMngr()->Serialize(true), asRead);
}

} // namespace
} // namespace qm
