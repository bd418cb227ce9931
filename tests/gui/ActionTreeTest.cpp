// The action tree: the loader's splitting and level rules, binding nodes to
// a document, and icons loaded per group of siblings.

#include "EditorFixture.h"
#include "config/uCfgManager.h"
#include "editor/IconImage.h"
#include "editor/TActionTree.h"
#include "editor/TImageList.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteBytes;

class ActionTree : public ::testing::Test {
  protected:
    ActionTree() : tree_(view_, images_, dir_ / "Icons") { fs::create_directories(dir_ / "Icons"); }

    void Load(const std::string& text) {
        WriteBytes(dir_ / "tree.wrk", text);
        tree_.LoadTVFromFile(dir_ / "tree.wrk");
    }
    TTVNode* Top(int i) { return TTVNode::From(view_.topLevelItem(i)); }
    TTVNode* Child(QTreeWidgetItem* parent, int i) { return TTVNode::From(parent->child(i)); }
    std::unique_ptr<TCfgManager> Document(const std::string& text) {
        WriteBytes(dir_ / "doc.txt", text);
        return TCfgManager::CreateFromFile(dir_ / "doc.txt");
    }
    void Icon(const std::string& name) {
        WriteBytes(dir_ / "Icons" / name, test::SolidJpeg(0xC04020));
    }

    TempDir dir_;
    QTreeWidget view_;
    TImageList images_;
    TActionTree tree_;
};

TEST_F(ActionTree, SplitterDropsEmptyFieldsAndSplitsAtQuotes) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(TTreeModel::ExtractTVFields("A||B"), (V{"A", "B"}));
    EXPECT_EQ(TTreeModel::ExtractTVFields("\t\tCap|\tId|Ic\r"), (V{"Cap", "Id", "Ic"}));
    EXPECT_EQ(TTreeModel::ExtractTVFields("Say \"hi\"|Abcd"), (V{"Say ", "hi", "Abcd"}));
    EXPECT_EQ(TTreeModel::ExtractTVFields(" sp ace |it's\t|x"), (V{" sp ace ", "it's\t", "x"}));
    EXPECT_TRUE(TTreeModel::ExtractTVFields("\t\t\t\r").empty());
    EXPECT_TRUE(TTreeModel::ExtractTVFields("").empty());
}

TEST_F(ActionTree, LoaderFieldsMakeGroupsAndActions) {
    Load("A||B\r\n\t\t\t\r\n\r\nGroup|?|Grp.jpg\r\nQ|??\r\nOnly\r\nSay \"hi\"|X\r\n");
    ASSERT_EQ(view_.topLevelItemCount(), 5);
    EXPECT_EQ(Top(0)->text(0), "A");
    EXPECT_EQ(Top(0)->Data.ID, "B");
    EXPECT_EQ(Top(1)->Data.ID, "");
    EXPECT_EQ(Top(1)->Data.Icon, "Grp.jpg");
    EXPECT_EQ(Top(2)->Data.ID, "??");
    EXPECT_EQ(Top(3)->Data.ID, "");
    EXPECT_EQ(Top(3)->Data.Icon, "");
    EXPECT_EQ(Top(4)->text(0), "Say ");
    EXPECT_EQ(Top(4)->Data.ID, "hi");
    EXPECT_EQ(Top(4)->Data.Icon, "X");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Top(i)->ImageIndex, 0);
}

TEST_F(ActionTree, LevelJumpsGiveOneLevelDownAndFallBackToTheTop) {
    Load("Root\r\n\t\t\tDeep\r\n\t\t\t\tDeeper\r\n\t\tSibling\r\nTop\n\tKid\n");
    ASSERT_EQ(view_.topLevelItemCount(), 2);
    QTreeWidgetItem* root = view_.topLevelItem(0);
    ASSERT_EQ(root->childCount(), 1);
    QTreeWidgetItem* deep = root->child(0);
    EXPECT_EQ(deep->text(0), "Deep");
    ASSERT_EQ(deep->childCount(), 2);
    EXPECT_EQ(deep->child(0)->text(0), "Deeper");
    // Level 2 after a node at depth 2: a sibling of that node.
    EXPECT_EQ(deep->child(1)->text(0), "Sibling");
    EXPECT_EQ(view_.topLevelItem(1)->text(0), "Top");
    EXPECT_EQ(view_.topLevelItem(1)->child(0)->text(0), "Kid");
}

TEST_F(ActionTree, MissingFileAddsNothingAndOldFilesReadAsCp1251) {
    tree_.LoadTVFromFile(dir_ / "none.wrk");
    EXPECT_EQ(view_.topLevelItemCount(), 0);
    Load("\xCF\xE5\xF5\xEE\xF2\xE0|Aabc\r\n"); // "Пехота" in Windows-1251
    ASSERT_EQ(view_.topLevelItemCount(), 1);
    EXPECT_EQ(Top(0)->text(0), QString::fromUtf8("Пехота"));
    view_.clear();
    Load("Пехота|Aabc\r\n");
    EXPECT_EQ(Top(0)->text(0), QString::fromUtf8("Пехота"));
}

// Nodes keep no pointer into a document: each answer is the document's.
TEST_F(ActionTree, AssignNodeDataAsksTheDocumentGiven) {
    Load("Group|?|G.jpg\r\n\tHave|Aabc\r\n\tLack|Zzzz\r\n");
    auto first = Document("[Aabc]\r\nHotkey=A\r\n");
    QTreeWidgetItem* group = view_.topLevelItem(0);
    EXPECT_EQ(tree_.AssignNodeData(group, *first), -1);
    EXPECT_EQ(tree_.AssignNodeData(group->child(0), *first), 0);
    EXPECT_EQ(tree_.AssignNodeData(group->child(1), *first), 1);
    auto second = Document("[Zzzz]\r\nHotkey=Z\r\n");
    EXPECT_EQ(tree_.AssignNodeData(group->child(0), *second), 1);
    EXPECT_EQ(tree_.AssignNodeData(group->child(1), *second), 0);
}

TEST_F(ActionTree, IconsLoadPerSiblingGroupAndMissingOnesAreRetried) {
    Load("One|?|one.jpg\r\n\tKid|Aabc|kid.jpg\r\nTwo|?|two.jpg\r\nThree|?|?\r\n");
    Icon("one.jpg");
    Icon("kid.jpg");
    tree_.CheckUpBrunchIcons(view_.topLevelItem(0));
    EXPECT_EQ(Top(0)->ImageIndex, 1);
    EXPECT_EQ(images_.Count(), 2);
    // Children wait until their group is shown; the missing icon stays at 0.
    EXPECT_EQ(Child(Top(0), 0)->ImageIndex, 0);
    EXPECT_EQ(Top(1)->ImageIndex, 0);
    EXPECT_TRUE(tree_.NeedsBranchIcon(Top(1)));
    EXPECT_TRUE(tree_.NeedsBranchIcon(Top(2)));
    EXPECT_FALSE(tree_.NeedsBranchIcon(Top(0)));

    Icon("TWO.JPG"); // names match whatever the case
    tree_.CheckUpBrunchIcons(view_.topLevelItem(0));
    EXPECT_EQ(Top(0)->ImageIndex, 1);
    EXPECT_EQ(Top(1)->ImageIndex, 2);
    EXPECT_EQ(images_.Count(), 3);
    EXPECT_EQ(Top(2)->ImageIndex, 0);

    tree_.CheckUpBrunchIcons(Top(0)->child(0));
    EXPECT_EQ(Child(Top(0), 0)->ImageIndex, 3);
    EXPECT_EQ(images_.Pixmap(3).size(), QSize(32, 32));
}

TEST_F(ActionTree, AnIconSharedByManyNodesIsDecodedOnce) {
    Load("A|?|same.jpg\r\nB|?|SAME.jpg\r\nC|?|same.jpg\r\n");
    Icon("same.jpg");
    tree_.CheckUpBrunchIcons(view_.topLevelItem(0));
    EXPECT_EQ(images_.Count(), 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Top(i)->ImageIndex, 1);
}

TEST_F(ActionTree, IconNamesNeverLeaveTheIconsFolder) {
    WriteBytes(dir_ / "outside.jpg", test::SolidJpeg(0xFF0000));
    Load("A|?|../outside.jpg\r\nB|?|..\\outside.jpg\r\nC|?|" + (dir_ / "outside.jpg").string() +
         "\r\nD|?|C:outside.jpg\r\nE|?|..\r\n");
    ASSERT_EQ(view_.topLevelItemCount(), 5);
    tree_.CheckUpBrunchIcons(view_.topLevelItem(0));
    EXPECT_EQ(images_.Count(), 1);
    EXPECT_TRUE(TActionTree::IsSafeIconName("BTNFootman.jpg"));
    EXPECT_FALSE(TActionTree::IsSafeIconName("a/b.jpg"));
    EXPECT_FALSE(TActionTree::IsSafeIconName("a\\b.jpg"));
    EXPECT_FALSE(TActionTree::IsSafeIconName("D:b.jpg"));
    EXPECT_FALSE(TActionTree::IsSafeIconName(".."));
}

TEST_F(ActionTree, DamagedIconKeepsTheDefaultPicture) {
    Load("A|?|bad.jpg\r\n");
    WriteBytes(dir_ / "Icons" / "bad.jpg", "not a jpeg at all");
    tree_.CheckUpBrunchIcons(view_.topLevelItem(0));
    EXPECT_EQ(Top(0)->ImageIndex, 0);
    EXPECT_EQ(images_.Count(), 1);
}

TEST_F(ActionTree, FreeTvDataReleasesEveryNode) {
    Load("A|?\r\n\tB|Bbbb\r\n");
    EXPECT_EQ(tree_.NodeCount(), 2);
    tree_.FreeTvData();
    EXPECT_EQ(tree_.NodeCount(), 0);
}

TEST(IconImage, ScalesSmoothlyOrKeepsItsOwnSize) {
    TempDir dir;
    WriteBytes(dir / "i.jpg", test::SolidJpeg(0x20A040, 64));
    const QString path = QString::fromStdString((dir / "i.jpg").string());
    const QImage own = LoadJpegBitmap(path, 0, 0);
    EXPECT_EQ(own.size(), QSize(64, 64));
    const QImage small = LoadJpegBitmap(path, 32, 32);
    ASSERT_EQ(small.size(), QSize(32, 32));
    const QColor c = small.pixelColor(16, 16);
    EXPECT_NEAR(c.red(), 0x20, 6);
    EXPECT_NEAR(c.green(), 0xA0, 6);
    EXPECT_NEAR(c.blue(), 0x40, 6);
    // Decoded smaller inside the decoder where it can be, scaled the rest.
    EXPECT_EQ(LoadJpegBitmap(path, 16, 16).size(), QSize(16, 16));
    EXPECT_EQ(LoadJpegBitmap(path, 20, 12).size(), QSize(20, 12));
    EXPECT_EQ(LoadJpegBitmap(path, 100, 100).size(), QSize(100, 100));
    EXPECT_TRUE(
        LoadJpegBitmap(QString::fromStdString((dir / "none.jpg").string()), 32, 32).isNull());
}

} // namespace
} // namespace qm
