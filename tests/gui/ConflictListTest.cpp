// The list of every clash of the document, in its dock: what it lists,
// following an edit, a swap and an undo, and where a double click leads.

#include "WindowFixture.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>

namespace qm {
namespace {

const char* kTree = "Human|?\n"           // 0
                    "\tPeasant|hpea\n"    // 1
                    "\t\tRepair|Arep\n"   // 2
                    "\t\tDefend|Adef\n"   // 3
                    "\t\tMilitia|Amil\n"; // 4

const char* kDefaults = "[hpea]\nHotkey=P\nButtonpos=0,0\n"
                        "[Arep]\nHotkey=R\nButtonpos=0,2\n"
                        "[Adef]\nHotkey=D\nUnhotkey=U\nButtonpos=1,2\n"
                        "[Amil]\nHotkey=C\nUnhotkey=U\nButtonpos=2,2\n";

enum { kRepair = 2, kDefend, kMilitia };
enum { colCard = 4 };

class ConflictList : public test::TWindowTest {
  protected:
    void SetUp() override {
        Start(kTree, kDefaults);
        W<QAction>("actConflicts")->trigger();
    }
    // Each row as "key kind first second card".
    QStringList Rows() {
        QStringList rows;
        auto* list = W<QTreeWidget>("lvConflicts");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QStringList cells;
            for (int c = 0; c < list->columnCount(); ++c)
                cells << list->topLevelItem(i)->text(c);
            rows << cells.join(u' ');
        }
        return rows;
    }
    QString Count() { return W<QLabel>("lblConflicts")->text(); }
};

TEST_F(ConflictList, FollowsEditsSwapsAndUndo) {
    EXPECT_TRUE(W<QDockWidget>("dkConflicts")->isVisible());
    EXPECT_FALSE(W<QTreeWidget>("lvConflicts")->isHeaderHidden());
    EXPECT_EQ(W<QTreeWidget>("lvConflicts")->headerItem()->text(colCard),
              Msg(msgConflictColumns).split(u'|').value(colCard));
    EXPECT_EQ(
        Rows(),
        QStringList({QString::fromUtf8("U Отключение Defend (Adef) Militia (Amil) Peasant")}));
    EXPECT_EQ(Count(), Msg(msgConflictCount).arg(1));

    // An edit that ends the clash, and its undo.
    W<QCheckBox>("cbTogEdit")->setChecked(false);
    Select(kMilitia);
    QTest::keyClick(W("txtUnHotKey"), Qt::Key_Backspace);
    QTest::keyClicks(W("txtUnHotKey"), "v");
    EXPECT_EQ(Rec("Amil").Unhotkey, "V");
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_EQ(Count(), Msg(msgConflictCount).arg(0));
    QTest::keyClick(frm_.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Rows().size(), 1);

    // A swap leaves no clash behind: Repair takes D, Defend its R.
    Select(kRepair);
    platform_.Answer(TMsgAnswer::Yes);
    Type("txtHotKey", "d");
    EXPECT_EQ(Rec("Adef").Hotkey, "R");
    EXPECT_EQ(Rows().size(), 1);

    auto* list = W<QTreeWidget>("lvConflicts");
    emit list->itemDoubleClicked(list->topLevelItem(0), 0);
    EXPECT_EQ(Selected(), kDefend);
}

// Hidden, the list still counts for the status bar, once the edit is done.
TEST_F(ConflictList, HiddenListKeepsCounting) {
    W<QAction>("actConflicts")->trigger();
    ASSERT_FALSE(W<QDockWidget>("dkConflicts")->isVisible());
    W<QCheckBox>("cbTogEdit")->setChecked(false);
    Select(kMilitia);
    QTest::keyClick(W("txtUnHotKey"), Qt::Key_Backspace);
    QTest::keyClicks(W("txtUnHotKey"), "v");
    QTRY_COMPARE(Count(), Msg(msgConflictCount).arg(0));
    QTest::keyClick(frm_.get(), Qt::Key_Z, Qt::ControlModifier);
    QTRY_COMPARE(Count(), Msg(msgConflictCount).arg(1));
    W<QAction>("actConflicts")->trigger();
    EXPECT_EQ(Rows().size(), 1);
}

} // namespace
} // namespace qm
