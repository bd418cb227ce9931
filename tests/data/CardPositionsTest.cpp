// Command cards of the trees: every button has a cell, and two buttons of one
// card share a cell only where the game's own data does the same.

#include "data/TreeFile.h"
#include "support/TestFiles.h"
#include "text/TextCodec.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

namespace qm::test {
namespace {

namespace fs = std::filesystem;

// (card, first button, second button) for every pair of buttons of a card on one cell.
using TClash = std::tuple<std::string, std::string, std::string>;

std::set<TClash> CardClashes(const std::vector<TTreeLine>& tree, const TCfgManager& funcs) {
    std::map<std::pair<int, std::pair<int, int>>, std::vector<std::string>> cells;
    for (const TTreeLine& line : tree) {
        if (line.Parent < 0 || tree[line.Parent].Id.empty() || line.Id.empty())
            continue;
        const TBindRec* rec = funcs.FindRecord(line.Id);
        if (!rec)
            continue;
        const TButtonPos pos = ParseButtonPos(rec->Buttonpos);
        cells[{line.Parent, {pos.Col, pos.Row}}].push_back(line.Id);
    }
    std::set<TClash> clashes;
    for (const auto& [cell, ids] : cells)
        for (size_t a = 0; a < ids.size(); ++a)
            for (size_t b = a + 1; b < ids.size(); ++b)
                clashes.emplace(tree[cell.first].Id, std::min(ids[a], ids[b]),
                                std::max(ids[a], ids[b]));
    return clashes;
}

TEST(CardPositions, EveryButtonOfACardHasACell) {
    const auto tree = ReadTree(TreePath("TV_foreign.wrk"));
    const auto funcs = LoadDemoFuncs();
    for (const TTreeLine& line : tree) {
        if (line.Parent < 0 || tree[line.Parent].Id.empty() || line.Id.empty())
            continue;
        const TBindRec* rec = funcs->FindRecord(line.Id);
        ASSERT_NE(rec, nullptr) << line.Id << " has no function data in the demo";
        const TButtonPos pos = ParseButtonPos(rec->Buttonpos);
        EXPECT_TRUE(pos.Ok && pos.Col >= 0 && pos.Col <= 3 && pos.Row >= 0 && pos.Row <= 2)
            << line.Id << " on the card of " << tree[line.Parent].Id << ": '" << rec->Buttonpos
            << "'";
    }
}

TEST(CardPositions, SharedCellsOnlyWhereTheGameSharesThem) {
    const fs::path real = RealData();
    if (real.empty())
        GTEST_SKIP() << "no real data beside this checkout (" << QUILLMARK_REAL_DATA
                     << "): nothing to compare the demo's cells with";
    const auto tree = ReadTree(TreePath("TV_foreign.wrk"));
    auto game = LoadTables(real / "tables" / "enUS-1.24.4" / "Units", "Func");
    game->LoadFromFile(FixPath(), true);
    game->Sort();
    const auto inGame = CardClashes(tree, *game);
    for (const TClash& clash : CardClashes(tree, *LoadDemoFuncs())) {
        EXPECT_TRUE(inGame.contains(clash))
            << std::get<1>(clash) << " and " << std::get<2>(clash)
            << " share a cell on the card of " << std::get<0>(clash) << " only in the demo";
    }
}

TEST(CardPositions, DemoKeepsTheGamesPositionsHotkeysAndNames) {
    const fs::path real = RealData();
    if (real.empty())
        GTEST_SKIP() << "no real data beside this checkout (" << QUILLMARK_REAL_DATA << ")";
    const fs::path units = real / "tables" / "enUS-1.24.4" / "Units";
    // Both as the default configuration takes them: function data and
    // corrections over the strings.
    auto game = LoadTables(units, "Strings");
    auto gameFuncs = LoadTables(units, "Func");
    gameFuncs->LoadFromFile(FixPath(), true);
    gameFuncs->Sort();
    game->Overlay(*gameFuncs);
    auto demo = LoadDemoTables("Strings", {"war3", "war3x"});
    demo->Overlay(*LoadDemoFuncs());
    for (const std::string& id : TreeIds(ReadTree(TreePath("TV_foreign.wrk")))) {
        SCOPED_TRACE(id);
        const TBindRec* ours = demo->FindRecord(id);
        const TBindRec* theirs = game->FindRecord(id);
        ASSERT_TRUE(ours && theirs);
        for (int field : {fiHotkey, fiUnhotkey, fiResearchhotkey, fiButtonpos, fiUnbuttonpos,
                          fiResearchbuttonpos, fiName, fiArt})
            EXPECT_EQ(Trim((*ours)[field]), Trim((*theirs)[field])) << ReadingKey(field);
        // Tooltips are our own words, never the game's.
        if (!theirs->Tip.empty()) {
            EXPECT_NE(ours->Tip, theirs->Tip);
        }
        if (!theirs->Ubertip.empty()) {
            EXPECT_NE(ours->Ubertip, theirs->Ubertip);
        }
    }
}

} // namespace
} // namespace qm::test
