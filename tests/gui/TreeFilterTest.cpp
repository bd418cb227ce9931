// The field above the tree and the changed actions: narrowing as the player
// types, bold marks that follow edits and undo, only the changed actions.

#include "WindowFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QToolButton>

namespace qm {
namespace {

const char* kTree = "Human|?\n"               // 0
                    "\tPriest|hmpr\n"         // 1
                    "\t\tHeal|Ahea\n"         // 2
                    "\t\tDispel Magic|Adis\n" // 3
                    "\tAdept Training|Rhpt\n" // 4
                    "Orc|?\n"                 // 5
                    "\tGrunt|ogru\n";         // 6

const char* kDefaults = "[hmpr]\nHotkey=P\nButtonpos=0,0\n"
                        "[Ahea]\nHotkey=H\nButtonpos=0,2\n"
                        "[Adis]\nHotkey=D\nButtonpos=1,2\n"
                        "[Rhpt]\nHotkey=A\nButtonpos=1,0\n"
                        "[ogru]\nHotkey=G\nButtonpos=0,0\n";

class TreeFilter : public test::TWindowTest {
  protected:
    void SetUp() override { Start(kTree, kDefaults, "[Ahea]\r\nHotkey=H\r\n"); }
    QLineEdit* Field() { return W<QLineEdit>("edTreeFilter"); }
    // The nodes shown, by index.
    std::vector<int> Shown() {
        std::vector<int> shown;
        frm_->Tree().ForEachNode([&](const TTVNode& node) {
            if (!node.isHidden())
                shown.push_back(node.Index);
        });
        return shown;
    }
    bool Bold(int index) { return frm_->Tree().ItemAt(index)->font(0).bold(); }
};

TEST_F(TreeFilter, NarrowsByCaptionIdentifierAndKey) {
    QTest::keyClick(frm_.get(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(Field()->hasFocus());
    QTest::keyClicks(Field(), "adept");
    EXPECT_EQ(Shown(), (std::vector<int>{0, 4})) << "anywhere in a caption";
    Field()->setText("ogru");
    EXPECT_EQ(Shown(), (std::vector<int>{5, 6}));
    Field()->setText("key:D");
    EXPECT_EQ(Shown(), (std::vector<int>{0, 1, 3}));
    EXPECT_TRUE(frm_->Tree().ItemAt(1)->isExpanded()) << "what is found is shown";
    // The field's own clear button, shown while it holds text.
    const QList<QToolButton*> buttons = Field()->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_TRUE(buttons[0]->isVisible());
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    EXPECT_TRUE(Field()->text().isEmpty());
    EXPECT_EQ(Shown().size(), 7u);
    EXPECT_FALSE(buttons[0]->isVisible());
}

TEST_F(TreeFilter, ChangedActionsAreMarkedAndCanBeShownAlone) {
    EXPECT_FALSE(Bold(2)) << "the file holds Heal's default";
    Select(3);
    Type("txtHotKey", "x");
    EXPECT_TRUE(Bold(3));
    EXPECT_FALSE(Bold(2));
    W<QAction>("actOnlyChanged")->trigger();
    EXPECT_EQ(Shown(), (std::vector<int>{0, 1, 3}));
    QTest::keyClick(frm_.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(Bold(3));
    EXPECT_TRUE(Shown().empty()) << "nothing is changed any more";
    W<QAction>("actOnlyChanged")->trigger();
    EXPECT_EQ(Shown().size(), 7u);
}

} // namespace
} // namespace qm
