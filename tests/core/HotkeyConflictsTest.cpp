// Command cards of the tree and the hotkey clashes over them, through the
// library and through `quillmark-cli conflicts`.

#include "gamedata/HotkeyConflicts.h"
#include "config/uCfgManager.h"
#include "gamedata/TreeModel.h"
#include "support/CliRun.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <set>

namespace qm {
namespace {

using test::RunCli;
using test::WriteBytes;

// A building training a unit that is listed again under a group node, a
// hero with its own card, and common commands under a group.
const char* kTree = "Common|?\n"
                    "\tMove|Cmov\n"
                    "\tStop|Cstp\n"
                    "Human|?\n"
                    "\tBarracks|hbar\n"
                    "\t\tFootman|hfoo\n"
                    "\t\tRifleman|hrif\n"
                    "\tTown Hall|htow\n"
                    "\t\tPeasant|hpea\n"
                    "\t\tFootman|hfoo\n"
                    "\tUnits|?\n"
                    "\t\tFootman|hfoo\n"
                    "\t\t\tDefend|Adef\n"
                    "\t\tPeasant|hpea\n"
                    "\t\t\tRepair|Arep\n"
                    "\t\t\tDefend|Adef\n";

TEST(TreeModel, LevelsParentsAndCards) {
    const TTreeModel tree = TTreeModel::Parse(kTree);
    ASSERT_EQ(tree.Count(), 16);
    EXPECT_EQ(tree[5].Caption, "Footman");
    EXPECT_EQ(tree[5].Parent, 4);
    EXPECT_EQ(tree[5].Level, 2);
    EXPECT_EQ(tree.Children(-1), (std::vector<int>{0, 3}));
    EXPECT_EQ(tree.NodesOf("hfoo"), (std::vector<int>{5, 9, 11}));
    // The places under "Units" are no card; the unit's own node is.
    EXPECT_EQ(tree.CardsOf("hfoo"), (std::vector<int>{4, 7}));
    EXPECT_EQ(tree.CardsOf("Adef"), (std::vector<int>{11, 13}));
    EXPECT_EQ(tree.CardsOf("Cmov"), (std::vector<int>{0}));
    EXPECT_EQ(TTreeModel::Parse("A|x\nB|y\n").CardsOf("x"), (std::vector<int>{-1}));
    EXPECT_TRUE(tree.CardsOf("none").empty());
}

// Common commands on the cards the tree's fourth field names, and the same
// tree as an older file without it.
const char* kCommandTree = "Common|?\n"
                           "\tMove|Cmov\n"
                           "\tAttack|Catk\n"
                           "\tBuild|Cbld\n"
                           "\tBuild|Cbhu\n"
                           "Human|?|?|Cmov\n"
                           "\tPriest|hmpr|?|Cmov, Catk,,Cnone\n"
                           "\t\tHeal|Ahea\n"
                           "\t\tBuild|Cbhu\n"
                           "\tSheep|nshe|?|Cmov\n";

TEST(TreeModel, CommonCommandsStandOnTheCardsTheTreeNames) {
    const TTreeModel tree = TTreeModel::Parse(kCommandTree);
    EXPECT_EQ(tree[6].Commands, (std::vector<std::string>{"Cmov", "Catk", "Cnone"}));
    EXPECT_EQ(tree.CardsOf("Cmov"), (std::vector<int>{6, 9}));
    EXPECT_EQ(tree.CardsOf("Cbhu"), (std::vector<int>{6})) << "the unit's card, not the group";
    EXPECT_EQ(tree.CardsOf("Cbld"), (std::vector<int>{0}));
    EXPECT_EQ(tree.ButtonsOf(6), (std::vector<int>{7, 8, 1, 2}));
    EXPECT_EQ(tree.ButtonsOf(9), (std::vector<int>{1}));
    EXPECT_EQ(tree.ButtonsOf(0), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(tree.CardMatesOf("Ahea"), (std::vector<int>{8, 1, 2}));
    EXPECT_EQ(tree.CardMatesOf("Cmov"), (std::vector<int>{7, 8, 2}));
    // The group shows Build beside Move, but neither has it as its only card.
    EXPECT_TRUE(tree.CardMatesOf("Cbld").empty());

    std::string old = kCommandTree;
    EXPECT_TRUE(tree[5].Commands.empty()) << "a group is no card of commands";
    for (const char* field : {"|?|Cmov, Catk,,Cnone", "|?|Cmov", "|?|Cmov"})
        old.erase(old.find(field), std::string_view(field).size());
    const TTreeModel oldTree = TTreeModel::Parse(old);
    EXPECT_EQ(oldTree.CardsOf("Cmov"), (std::vector<int>{0}));
    EXPECT_EQ(oldTree.CardMatesOf("Cmov"), (std::vector<int>{2, 3}));
    EXPECT_EQ(oldTree.CardMatesOf("Cbhu"), (std::vector<int>{7}));

    EXPECT_TRUE(tree.CaptionRepeats("Build"));
    EXPECT_FALSE(tree.CaptionRepeats("Move"));
    EXPECT_FALSE(tree.CaptionRepeats("Human")) << "a group is no action";
}

class Conflicts : public ::testing::Test {
  protected:
    std::unique_ptr<TCfgManager> Doc(const std::string& name, const std::string& text) {
        WriteBytes(dir_ / name, text);
        return TCfgManager::CreateFromFile(dir_ / name);
    }
    std::string Path(const std::string& name) { return (dir_ / name).string(); }
    test::TempDir dir_;
};

TEST_F(Conflicts, OnlyButtonsOfOneCardClashEachKindOnItsOwn) {
    const TTreeModel tree = TTreeModel::Parse(kTree);
    // Footman and Peasant share Town Hall; Footman and Rifleman Barracks;
    // Repair and Defend share the Peasant; Move and Stop the commands.
    const auto doc = Doc("c.txt", "[hfoo]\nHotkey=F\nUnhotkey=U\n[hrif]\nHotkey=f\n"
                                  "[hpea]\nHotkey=F,F,F\n[Arep]\nResearchhotkey=R\nUnhotkey=U\n"
                                  "[Adef]\nHotkey=D\nResearchhotkey=R\n[Cmov]\nHotkey=M\n"
                                  "[Cstp]\nHotkey=\n");
    const auto clashes = FindHotkeyClashes(tree, *doc, nullptr);
    ASSERT_EQ(clashes.size(), 2u);
    EXPECT_EQ(clashes[0], (THotkeyClash{hkHotkey, "hfoo", "hpea", "F"}));
    EXPECT_EQ(clashes[1], (THotkeyClash{hkResearchhotkey, "Adef", "Arep", "R"}));
}

TEST_F(Conflicts, CommandLineWithAndWithoutDefaults) {
    WriteBytes(dir_ / "tree.wrk", kTree);
    Doc("user.txt", "[hfoo]\nHotkey=Q\n[hpea]\nTip=Peasant\n");
    Doc("defaults.txt", "[hpea]\nHotkey=Q\n[Cmov]\nHotkey=M\n[Cstp]\nHotkey=M\n");
    auto r = RunCli({"conflicts", Path("tree.wrk"), Path("user.txt")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "");
    r = RunCli(
        {"conflicts", Path("tree.wrk"), Path("user.txt"), "--defaults", Path("defaults.txt")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "hotkey\tCmov\tCstp\tM\nhotkey\thfoo\thpea\tQ\n");

    EXPECT_EQ(RunCli({"conflicts", Path("tree.wrk")}).code, 2);
    EXPECT_EQ(RunCli({"conflicts", Path("tree.wrk"), Path("none.txt")}).code, 3);
    EXPECT_EQ(RunCli({"conflicts", Path("none.wrk"), Path("user.txt")}).code, 3);
}

TEST_F(Conflicts, GridLayoutFromTheCommandLine) {
    WriteBytes(dir_ / "tree.wrk", kTree);
    Doc("in.txt", "[hfoo]\nHotkey=F\nTip=Footman (F)\nButtonpos=0,0\n"
                  "[hrif]\nUnhotkey=U\nButtonpos=3,2\n[hpea]\nHotkey=P\nButtonpos=x,0\n");
    const auto r = RunCli({"grid", Path("in.txt"), Path("out.txt"), "--keys", "qWER/ASDF/ZXC.",
                           "--tree", Path("tree.wrk"), "--hotkey-colour", "255"});
    ASSERT_EQ(r.code, 0) << r.err;
    // The Footman stands three times in the tree, and is counted each time.
    EXPECT_EQ(r.out, "3 records\n");
    const auto out = TCfgManager::CreateFromFile(dir_ / "out.txt");
    EXPECT_EQ(out->FindRecord("hfoo")->Tip, "Footman (|cffff0000Q|r)");
    EXPECT_EQ(out->FindRecord("hrif")->Unhotkey, "U") << "an empty cell changes nothing";
    EXPECT_EQ(out->FindRecord("hpea")->Hotkey, "P");
    for (const char* keys : {"QWER/ASDF", "QWER/ASDF/ZXCQ", "QWER/AS1F/ZXCV", "QWERASDFZXCV"})
        EXPECT_EQ(RunCli({"grid", Path("in.txt"), Path("o.txt"), "--keys", keys}).code, 2) << keys;
    EXPECT_EQ(RunCli({"grid", Path("tree.wrk"), Path("o.txt"), "--keys", "QWER/ASDF/ZXCV", "--tree",
                      Path("tree.wrk")})
                  .code,
              1);
    EXPECT_EQ(RunCli({"grid", Path("in.txt"), Path("none/o.txt"), "--keys", "QWER/ASDF/ZXCV",
                      "--tree", Path("tree.wrk")})
                  .code,
              3);
}

std::string ShippedTree() {
    return std::string(QUILLMARK_SOURCE_DIR) + "/QMKData/TV_foreign.wrk";
}

// Whether a shares a card with b, by the shipped tree, holds both ways; and
// no clash is asked or listed in one direction only.
TEST_F(Conflicts, ShippedTreeSharesCardsBothWays) {
    const auto tree = TTreeModel::LoadFromFile(ShippedTree());
    ASSERT_TRUE(tree);
    std::set<std::pair<std::string, std::string>> pairs;
    for (const TTreeNode& node : tree->Nodes()) {
        if (node.ID.empty())
            continue;
        for (int mate : tree->CardMatesOf(node.ID))
            pairs.insert({node.ID, (*tree)[mate].ID});
    }
    ASSERT_GT(pairs.size(), 1000u);
    for (const auto& [a, b] : pairs)
        EXPECT_TRUE(pairs.contains({b, a})) << a << " " << b;
    EXPECT_TRUE(tree->CaptionRepeats("Build Structure"));
    EXPECT_FALSE(tree->CaptionRepeats("Footman"));

    // The Priest's Heal on A meets Attack; the generic Build shares no card
    // with the Peon's, nor Rally with the Peasant's build menu.
    Doc("keys.txt", "[Ahea]\nHotkey=A\n[CmdAttack]\nHotkey=A\n[CmdBuild]\nHotkey=B\n"
                    "[CmdBuildOrc]\nHotkey=B\n[CmdBuildHuman]\nHotkey=Y\n[CmdRally]\nHotkey=Y\n");
    const auto r = RunCli({"conflicts", ShippedTree(), Path("keys.txt")});
    EXPECT_EQ(r.out, "hotkey\tAhea\tCmdAttack\tA\n");
}

// Every real player's file goes through, each clash once and in order.
TEST(ConflictsRealData, PlayersFilesOverTheShippedTree) {
    const auto data = test::RealData();
    if (data.empty())
        GTEST_SKIP() << "no ../shared/real-data beside the checkout";
    const std::string tree = ShippedTree();
    test::TempDir dir;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(data / "customkeys")) {
        const auto r = RunCli({"conflicts", tree, entry.path().string()});
        ASSERT_TRUE(r.code == 0 || r.code == 1) << entry.path() << r.err;
        std::vector<std::string> lines;
        for (size_t at = 0, end; at < r.out.size(); at = end + 1) {
            end = r.out.find('\n', at);
            lines.push_back(r.out.substr(at, end - at));
        }
        EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
        EXPECT_EQ(std::adjacent_find(lines.begin(), lines.end()), lines.end());
        EXPECT_LT(lines.size(), 100u) << entry.path();
        const auto grid = RunCli({"grid", entry.path().string(), (dir.path() / "grid.txt").string(),
                                  "--keys", "QWER/ASDF/ZXCV", "--tree", tree});
        EXPECT_EQ(grid.code, 0) << entry.path() << grid.err;
        EXPECT_NE(grid.out.find(" records"), std::string::npos);
        ++files;
    }
    EXPECT_EQ(files, 24);
}

} // namespace
} // namespace qm
