// The multi-editor in the window: the key grid, each scope with its depth,
// user values and default values over a block of cells.

#include "tools/MultiEdit.h"
#include "WindowFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>

namespace qm {
namespace {

const char* kTree = "Orc|?\n"        // 0
                    "\tGrunt|ogru\n" // 1
                    "\t\tA|Aaaa\n"   // 2
                    "\t\tB|Abbb\n"   // 3
                    "\t\tC|Accc\n"   // 4
                    "\t\tD|Addd\n"   // 5
                    "\t\tE|Aeee\n"   // 6
                    "\t\tF|Afff\n"   // 7
                    "\tPeon|opeo\n"  // 8
                    "\t\tG|Aggg\n";  // 9

const char* kDefaults = "[ogru]\nHotkey=G\nButtonpos=0,0\n"
                        "[Aaaa]\nHotkey=A\nTip=Attack (A)\nButtonpos=0,0\n"
                        "[Abbb]\nUnhotkey=U\nUntip=Stop (U)\nButtonpos=1,0\n"
                        "[Accc]\nHotkey=C\n"
                        "[Addd]\nHotkey=D\nButtonpos=1,0,0\n"
                        "[Aeee]\nHotkey=E\nButtonpos=a,b\n"
                        "[Afff]\nHotkey=F\nButtonpos=2,1\n"
                        "[opeo]\nHotkey=P\nButtonpos=1,0\n"
                        "[Aggg]\nHotkey=H\nResearchhotkey=R\nButtonpos=1,1\n";

class MultiEdit : public test::TWindowTest {
  protected:
    void SetUp() override {
        Start(kTree, kDefaults);
        frm_->findChild<QAction*>("actMultiEdit")->trigger();
        dlg_ = frm_->findChild<TdlgMultiEdit*>("dlgMultiEdit");
        ASSERT_TRUE(dlg_ && dlg_->isVisible());
        grid_ = dlg_->findChild<QTableWidget*>("sgKeyEditor");
        for (auto [row, col, key] : {std::tuple{0, 0, 'q'}, {0, 1, 'w'}, {1, 2, 'e'}, {1, 1, 's'}})
            TypeKey(row, col, key);
        Tree()->expandAll();
    }
    void TypeKey(int row, int col, char key) {
        grid_->setCurrentCell(row, col);
        QTest::keyClick(grid_, key);
    }
    QString Cell(int row, int col) { return grid_->item(row, col)->text(); }
    // A click on the radio button's circle.
    void Choose(const char* name) {
        auto* radio = dlg_->findChild<QRadioButton*>(name);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }
    void Apply(const char* scope, const char* depth = "99") {
        Choose(scope);
        dlg_->findChild<QLineEdit*>("txtMaxLevel")->setText(depth);
        QTest::mouseClick(dlg_->findChild<QWidget*>("btnApply"), Qt::LeftButton);
    }
    // The nodes given are the tree's selection, the first one current.
    void SelectOnly(std::initializer_list<int> nodes) {
        Select(*nodes.begin());
        Tree()->clearSelection();
        for (int n : nodes)
            frm_->Tree().ItemAt(n)->setSelected(true);
    }
    std::string Keys() {
        std::string keys;
        for (const char* id : {"ogru", "Aaaa", "Afff", "opeo", "Aggg"})
            keys += Rec(id).Hotkey;
        return keys;
    }
    TdlgMultiEdit* dlg_ = nullptr;
    QTableWidget* grid_ = nullptr;
};

TEST_F(MultiEdit, ALetterMovesBetweenCells) {
    TypeKey(2, 3, 'q');
    EXPECT_EQ(Cell(0, 0), "");
    EXPECT_EQ(Cell(2, 3), "Q");
    QTest::keyClick(grid_, Qt::Key_Backspace);
    EXPECT_EQ(Cell(2, 3), "");
    grid_->setCurrentCell(0, 1);
    QTest::keyClick(grid_, Qt::Key_Escape);
    EXPECT_EQ(Cell(0, 1), "");
    EXPECT_TRUE(dlg_->isVisible()) << "Escape empties the cell, it does not close the window";
}

TEST_F(MultiEdit, UserValuesToAll) {
    Apply("rbApplyAll");
    EXPECT_EQ(Rec("Aaaa").Hotkey, "Q");
    EXPECT_EQ(Rec("Aaaa").Tip, "Attack (|cffffcc00Q|r)");
    // An empty hotkey is never filled in, yet the action counts.
    EXPECT_EQ(Rec("Abbb").Hotkey, "");
    EXPECT_EQ(Rec("Abbb").Unhotkey, "W");
    EXPECT_EQ(Rec("Abbb").Untip, "Stop (|cffffcc00W|r)");
    EXPECT_EQ(Rec("Aggg").Researchhotkey, "S");
    // No position, one too long, one that is not digits: never touched.
    EXPECT_EQ(Rec("Accc").Hotkey, "C");
    EXPECT_EQ(Rec("Addd").Hotkey, "D");
    EXPECT_EQ(Rec("Aeee").Hotkey, "E");
    EXPECT_EQ(dlg_->findChild<QStatusBar*>("sbMultiEdit")->currentMessage(),
              Msg(msgRecordsChecked) + "6");
    EXPECT_TRUE(frm_->HasUnsavedChanges());
}

TEST_F(MultiEdit, ScopesFollowTheSelectionDownToTheDepth) {
    SelectOnly({1});
    Apply("rbApplySelEnc", "0");
    EXPECT_EQ(Keys(), "QAFPH") << "depth 0: the selected node alone";
    Apply("rbApplySelEnc", "1");
    EXPECT_EQ(Keys(), "QQEPH");
    ASSERT_TRUE(frm_->ReOpen(pf_.Q(pf_ / "QMKData/DefaultKeys.wrk")));
    Tree()->expandAll();
    SelectOnly({1});
    Apply("rbApplyEnc", "1");
    EXPECT_EQ(Keys(), "GQEPH") << "only what lies below the selected node";
    // A selected node hidden in a collapsed branch stays in scope itself.
    SelectOnly({8, 9});
    Tree()->collapseItem(frm_->Tree().ItemAt(8));
    Apply("rbApplyEnc", "5");
    EXPECT_EQ(Rec("opeo").Hotkey, "P");
    EXPECT_EQ(Rec("Aggg").Hotkey, "S");
}

TEST_F(MultiEdit, EmptyDepthBoxStillFocusedTakesZero) {
    SelectOnly({1});
    auto* depth = dlg_->findChild<QLineEdit*>("txtMaxLevel");
    Choose("rbApplySelEnc");
    depth->setFocus();
    depth->clear();
    QTest::mouseClick(dlg_->findChild<QWidget*>("btnApply"), Qt::LeftButton);
    EXPECT_EQ(Keys(), "QAFPH");
}

TEST_F(MultiEdit, DefaultValuesOverABlockOfCells) {
    Apply("rbApplyAll");
    ASSERT_EQ(Keys(), "QQEWS");
    Choose("rbValDef");
    EXPECT_EQ(grid_->selectedItems().size(), 12) << "the whole grid to begin with";
    grid_->clearSelection();
    grid_->setRangeSelected(QTableWidgetSelectionRange(0, 1, 1, 2), true);
    QTest::mouseClick(dlg_->findChild<QWidget*>("btnApply"), Qt::LeftButton);
    EXPECT_EQ(Keys(), "QQFPH") << "the cells (1,0) to (2,1) only";
    EXPECT_EQ(Rec("Abbb").Unhotkey, "U");
    EXPECT_EQ(Rec("Abbb").Untip, "Stop (U)");
    Choose("rbValUser");
    EXPECT_EQ(grid_->selectedItems().size(), 1);
}

} // namespace
} // namespace qm
