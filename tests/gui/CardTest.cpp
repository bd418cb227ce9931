// The command card: buttons at their positions with their letters, drag
// and drop writing positions, and clicks selecting actions.

#include "WindowFixture.h"
#include "editor/TCardCell.h"
#include "editor/TCommandCard.h"

#include <QAction>
#include <QApplication>
#include <QMimeData>

namespace qm {
namespace {

const char* kTree = "Orc|?\n"
                    "\tGrunt|ogru\n"
                    "\t\tA|Aaaa\n"
                    "\t\tB|Abbb\n"
                    "\t\tC|Accc\n"
                    "\t\tD|Addd\n"
                    "\t\tE|Aeee\n"
                    "\t\tToggle|Attt\n";

const char* kDefaults = "[ogru]\nHotkey=G\nButtonpos=0,0\n"
                        "[Aaaa]\nHotkey=Q,Q,Q\nButtonpos=0,0\n"
                        "[Abbb]\nHotkey=512\nUnhotkey=U\nButtonpos=3,2\n"
                        "[Accc]\nHotkey=C\n"
                        "[Addd]\nUnhotkey=N\nResearchbuttonpos=1,2\n"
                        "[Aeee]\nHotkey=E\nButtonpos=a,b\n"
                        "[Attt]\nHotkey=T\nUnhotkey=T\nButtonpos=2,0\nUnbuttonpos=2,0\n";

enum { kGrunt = 1, kA, kB, kC, kD, kE, kToggle };

class Card : public test::TWindowTest {
  protected:
    void SetUp() override {
        Start(kTree, kDefaults);
        Select(kGrunt);
    }
    TCommandCard& C() { return frm_->Card(); }
    TCardCell* At(int col, int row) { return C().CellAt(col, row); }
    // Which node each cell shows, row by row; -1 for an empty cell.
    std::vector<int> Shown() {
        std::vector<int> tags;
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col)
                tags.push_back(At(col, row)->HoldsButton() ? At(col, row)->Tag : -1);
        return tags;
    }
    void Drop(TCardCell* source, TCardCell* target) {
        QMimeData data;
        data.setData(TCardCell::kMimeType, source->objectName().toUtf8());
        QDragEnterEvent over(QPoint(16, 16), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &over);
        ASSERT_EQ(over.isAccepted(), source->HoldsButton());
        QDropEvent drop(QPointF(16, 16), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }
};

TEST_F(Card, ButtonsStandAtTheirPositionsWithTheirLetters) {
    EXPECT_TRUE(C().isEnabled());
    // C has no position and E none that is a pair of numbers.
    EXPECT_EQ(Shown(), (std::vector<int>{kA, -1, kToggle, -1, -1, -1, -1, -1, -1, kD, -1, kB}));
    EXPECT_EQ(W<TCommandCard>("pnlGreed")->ShownLetter(Rec("Aaaa")), "Q");
    EXPECT_EQ(W<TCommandCard>("pnlGreed")->ShownLetter(Rec("Abbb")), "") << "512 shows no letter";
    EXPECT_EQ(W<TCommandCard>("pnlGreed")->ShownLetter(Rec("Addd")), "N");

    const QImage lettered = At(0, 0)->Picture().toImage();
    frm_->findChild<QAction*>("mnuAlphasShow")->trigger();
    const QImage plain = At(0, 0)->Picture().toImage();
    EXPECT_NE(lettered, plain);
    EXPECT_EQ(plain, At(3, 2)->Picture().toImage()) << "both show the bare default icon";
    frm_->findChild<QAction*>("mnuAlphasShow")->trigger();
    EXPECT_EQ(At(0, 0)->Picture().toImage(), lettered);
}

TEST_F(Card, DropsWriteButtonPositions) {
    Drop(At(0, 0), At(1, 0)); // onto an empty cell
    EXPECT_EQ(Rec("Aaaa").Buttonpos, "1,0");
    EXPECT_EQ(Rec("Abbb").Buttonpos, "3,2");
    Drop(At(1, 0), At(3, 2)); // onto a button: the two exchange
    EXPECT_EQ(Rec("Aaaa").Buttonpos, "3,2");
    EXPECT_EQ(Rec("Abbb").Buttonpos, "1,0");
    EXPECT_EQ(Shown()[11], kA);
    // A research position stays where it was; Buttonpos takes the new cell.
    Drop(At(1, 2), At(3, 0));
    EXPECT_EQ(Rec("Addd").Buttonpos, "3,0");
    EXPECT_EQ(Rec("Addd").Researchbuttonpos, "1,2");
    // A toggled ability's "off" button in the same cell moves along.
    Drop(At(2, 0), At(0, 1));
    EXPECT_EQ(Rec("Attt").Buttonpos, "0,1");
    EXPECT_EQ(Rec("Attt").Unbuttonpos, "0,1");
    Drop(At(2, 2), At(0, 2)); // an empty cell is never dragged
    EXPECT_EQ(Shown()[8], -1);
}

TEST_F(Card, ClicksSelectTheButtonsActionAndBackReturns) {
    // Released after 3 pixels: a click, not a drag.
    QTest::mousePress(At(3, 2), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(At(3, 2), QPoint(12, 11));
    QTest::mouseRelease(At(3, 2), Qt::LeftButton, {}, QPoint(12, 11));
    EXPECT_EQ(Selected(), kB);
    // The whole card stays, the selected button framed; another is a click away.
    const std::vector<int> card = Shown();
    EXPECT_EQ(card, (std::vector<int>{kA, -1, kToggle, -1, -1, -1, -1, -1, -1, kD, -1, kB}));
    const QImage framed = At(3, 2)->Picture().toImage();
    EXPECT_EQ(framed.pixelColor(1, 16), QColor(255, 204, 0));
    EXPECT_NE(At(0, 0)->Picture().toImage().pixelColor(1, 16), QColor(255, 204, 0));
    QTest::mouseClick(W("btnBack"), Qt::LeftButton);
    EXPECT_EQ(Selected(), kGrunt);
    QTest::mouseDClick(At(1, 2), Qt::LeftButton);
    EXPECT_EQ(Selected(), kD);
    EXPECT_EQ(Shown(), card);
}

// Tab reaches the card, the arrows its cells, Enter picks, a letter types.
TEST_F(Card, TheKeyboardWalksTheCard) {
    C().setFocus();
    ASSERT_TRUE(C().hasFocus());
    QTest::keyClick(&C(), Qt::Key_Right);
    QTest::keyClick(&C(), Qt::Key_Right);
    QTest::keyClick(&C(), Qt::Key_Return);
    EXPECT_EQ(Selected(), kToggle);
    QTest::keyClick(&C(), Qt::Key_Down);
    QTest::keyClick(&C(), Qt::Key_Down);
    QTest::keyClick(&C(), Qt::Key_Down); // stays on the last row
    QTest::keyClick(&C(), Qt::Key_Left);
    QTest::keyClick(&C(), 'z');
    EXPECT_EQ(Selected(), kD);
    EXPECT_EQ(Rec("Addd").Unhotkey, "z") << "its first field that takes a key, as in the tree";
    EXPECT_TRUE(C().hasFocus());
    QTest::keyClick(&C(), Qt::Key_Left);
    QTest::keyClick(&C(), 'y'); // an empty cell: nothing
    EXPECT_EQ(Selected(), kD);
}

} // namespace
} // namespace qm

namespace qm {
namespace {

// The common commands stand on the cards the tree names for them: drawn in
// their cells, asked about in clashes, swapped by drops.
const char* kCommandsTree = "Common commands|?\n"                 // 0
                            "\tMove|CmdMove\n"                    // 1
                            "\tAttack|CmdAttack\n"                // 2
                            "Human|?\n"                           // 3
                            "\tPriest|hmpr|?|CmdMove,CmdAttack\n" // 4
                            "\t\tHeal|Ahea\n";                    // 5

const char* kCommandsDefaults = "[CmdMove]\nHotkey=M\nButtonpos=0,0\n"
                                "[CmdAttack]\nHotkey=A\nButtonpos=3,0\n"
                                "[hmpr]\nHotkey=P\nButtonpos=0,0\n"
                                "[Ahea]\nHotkey=E\nButtonpos=1,2\n";

using CommonCommands = test::TWindowTest;

TEST_F(CommonCommands, StandOnTheCardsTheTreeNames) {
    Start(kCommandsTree, kCommandsDefaults);
    Select(4);
    TCommandCard& card = frm_->Card();
    EXPECT_EQ(card.CellAt(0, 0)->Tag, 1);
    EXPECT_EQ(card.CellAt(3, 0)->Tag, 2);
    EXPECT_EQ(card.CellAt(1, 2)->Tag, 5);
    // Heal set to A asks about Attack, which stands on the Priest's card.
    Select(5);
    platform_.Answer(TMsgAnswer::Yes);
    Type("txtHotKey", "a");
    ASSERT_EQ(platform_.asked.size(), 1u);
    EXPECT_TRUE(platform_.asked[0].text.contains("Attack"));
    EXPECT_EQ(Rec("CmdAttack").Hotkey, "E");
    // A drop onto Move's cell swaps with Move.
    Select(4);
    TCardCell* heal = card.CellAt(1, 2);
    QMimeData data;
    data.setData(TCardCell::kMimeType, heal->objectName().toUtf8());
    QDragEnterEvent over(QPoint(16, 16), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(card.CellAt(0, 0), &over);
    QDropEvent drop(QPointF(16, 16), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(card.CellAt(0, 0), &drop);
    EXPECT_EQ(Rec("Ahea").Buttonpos, "0,0");
    EXPECT_EQ(Rec("CmdMove").Buttonpos, "1,2");
}

} // namespace
} // namespace qm
