// The key grid over records as the editor shows them, in the library and
// through `quillmark-cli grid --defaults` on the players' real files.

#include "config/uCfgManager.h"
#include "config/uGridKeys.h"
#include "gamedata/TreeModel.h"
#include "support/CliRun.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using test::RunCli;

std::string Named(std::string_view tip, std::string_view key) {
    return std::string(tip) + "[" + std::string(key) + "]";
}

void Assign(TBindRec& r, int field, std::string_view bytes) {
    r[field] = bytes;
}

TEST(GridKeys, EmptyValuesAreTheDefaultRecords) {
    const TKeyGrid grid = *ParseKeyGrid("QWER/ASDF/ZXCV");
    TBindRec defaults;
    defaults.Buttonpos = "1,2";
    defaults.Hotkey = "F";
    defaults.Tip = "Footman";
    defaults.Unbuttonpos = "3,0";

    TBindRec record;
    record.Researchbuttonpos = "3,1";
    record.Revivetip = "Revive";
    EXPECT_EQ(ShownButtonPos(record, nullptr), "3,1");
    // Each position is the default's where the record leaves it empty.
    EXPECT_EQ(ShownButtonPos(record, &defaults), "1,2");

    const TBindRec own = record;
    EXPECT_TRUE(ApplyGridKeys(record, grid, Named, Assign, nullptr));
    EXPECT_EQ(record, own) << "a cell, but no hotkey to set";
    ASSERT_TRUE(ApplyGridKeys(record, grid, Named, Assign, &defaults));
    EXPECT_EQ(record.Hotkey, "X");
    EXPECT_EQ(record.Tip, "Footman[X]");
    EXPECT_EQ(record.Revivetip, "Revive[X]");
    EXPECT_TRUE(record.Unhotkey.empty()) << "a hotkey empty in both stays empty";
    EXPECT_TRUE(record.Buttonpos.empty()) << "positions are read, not written";
}

// Every real file: the records whose shown position is a cell take its
// letter, and nothing else changes.
TEST(GridKeys, PlayersFilesWithTheGamesDefaults) {
    const auto data = test::RealData();
    if (data.empty())
        GTEST_SKIP() << "no ../shared/real-data beside the checkout";
    test::TempDir dir;
    const std::string defaultsPath = (dir / "defaults.txt").string();
    std::vector<std::string> merge = {"merge", defaultsPath};
    for (const auto& table : test::ListFolder(data / "tables" / "enUS-1.24.4" / "Units"))
        merge.push_back((data / "tables" / "enUS-1.24.4" / "Units" / table).string());
    ASSERT_EQ(RunCli(merge).code, 0);
    const auto defaults = TCfgManager::CreateFromFile(defaultsPath);
    const std::string treePath = std::string(QUILLMARK_SOURCE_DIR) + "/QMKData/TV_foreign.wrk";
    const auto tree = TTreeModel::LoadFromFile(treePath);
    ASSERT_TRUE(tree);
    const std::string grid = "QWER/ASDF/ZXCV";

    int changedFiles = 0;
    for (const auto& name : test::ListFolder(data / "customkeys")) {
        SCOPED_TRACE(name);
        const auto in = data / "customkeys" / name;
        const auto out = dir / "out.txt";
        const auto r = RunCli({"grid", in.string(), out.string(), "--keys", grid, "--tree",
                               treePath, "--defaults", defaultsPath});
        ASSERT_EQ(r.code, 0) << r.err;
        const auto before = TCfgManager::CreateFromFile(in);
        const auto after = TCfgManager::CreateFromFile(out);
        int handled = 0;
        bool changed = false;
        for (const TTreeNode& node : tree->Nodes()) {
            const TBindRec* was = node.ID.empty() ? nullptr : before->FindRecord(node.ID);
            if (!was)
                continue;
            const TBindRec* standard = defaults->FindRecord(node.ID);
            std::string position;
            for (int f = fiButtonpos; f <= fiResearchbuttonpos && position.empty(); ++f)
                position = (*was)[f].empty() && standard ? (*standard)[f] : (*was)[f];
            const auto cell = GridCellOf(position);
            handled += cell ? 1 : 0;
            // The writer leaves out a section with no value it keeps ("Hotkey= ").
            const TBindRec* now = after->FindRecord(node.ID);
            for (int f = fiHotkey; now && f <= fiResearchhotkey; ++f) {
                const bool shown = !(*was)[f].empty() || (standard && !(*standard)[f].empty());
                const std::string letter(1, grid[cell ? cell->Row * 5 + cell->Col : 0]);
                EXPECT_EQ((*now)[f], cell && shown ? letter : (*was)[f]) << node.ID;
                changed |= (*now)[f] != (*was)[f];
            }
        }
        EXPECT_EQ(r.out, std::to_string(handled) + " records\n");
        changedFiles += changed ? 1 : 0;
        // This file has no position of its own; the Grunt kept G.
        if (name.starts_with("MonsterBigBig")) {
            EXPECT_EQ(after->FindRecord("ogru")->Hotkey, "Q");
        }
    }
    // Every file changes: the two of a map's own keys too, whose sections of
    // the game's actions are all spelled in another case ([CMDSELECTSKILL]).
    EXPECT_EQ(changedFiles, 24);
}

} // namespace
} // namespace qm
