// The trees against the real English tables: every identifier exists, and
// every action with a button position is on a card or excluded with a reason.

#include "data/TreeFile.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace qm::test {
namespace {

namespace fs = std::filesystem;

fs::path RealUnits() {
    const fs::path real = RealData();
    return real.empty() ? real : real / "tables" / "enUS-1.24.4" / "Units";
}

// Identifier -> reason, from the list kept beside the tree script.
std::map<std::string, std::string> Exclusions() {
    std::map<std::string, std::string> list;
    std::ifstream in(SourceDir() / "scripts" / "tree_exclusions.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const size_t tab = line.find('\t');
        list[line.substr(0, tab)] = tab == std::string::npos ? "" : line.substr(tab + 1);
    }
    return list;
}

TEST(RealCoverage, EveryTreeIdentifierIsInTheEnglishTables) {
    const fs::path units = RealUnits();
    if (units.empty())
        GTEST_SKIP() << "no real data beside this checkout (" << QUILLMARK_REAL_DATA << ")";
    const auto strings = LoadTables(units, "Strings");
    for (const char* name : {"TV_foreign.wrk", "TV_rus.wrk"})
        for (const std::string& id : TreeIds(ReadTree(TreePath(name))))
            EXPECT_NE(strings->FindRecord(id), nullptr) << id << " in " << name;
}

TEST(RealCoverage, EveryActionWithAPositionIsOnACardOrExcluded) {
    const fs::path units = RealUnits();
    if (units.empty())
        GTEST_SKIP() << "no real data beside this checkout (" << QUILLMARK_REAL_DATA << ")";
    const auto funcs = LoadTables(units, "Func");
    const auto strings = LoadTables(units, "Strings");
    const auto inTrees = TreeIds(ReadTree(TreePath("TV_foreign.wrk")));
    const auto excluded = Exclusions();
    int withPosition = 0;
    for (int i = 0; i < funcs->Count(); ++i) {
        const TBindRec& rec = funcs->Records(i);
        // Only identifiers of the strings tables reach the default configuration.
        if (rec.Buttonpos.empty() || !strings->FindRecord(rec.ID))
            continue;
        ++withPosition;
        EXPECT_TRUE(inTrees.contains(rec.ID) || excluded.contains(rec.ID))
            << rec.ID << " (" << rec.Buttonpos << ") is on no card and not excluded";
    }
    EXPECT_GT(withPosition, 800);
}

TEST(RealCoverage, ExclusionsAreReasonedAndNotInTheTrees) {
    const auto inTrees = TreeIds(ReadTree(TreePath("TV_foreign.wrk")));
    const auto excluded = Exclusions();
    ASSERT_FALSE(excluded.empty());
    for (const auto& [id, reason] : excluded) {
        EXPECT_FALSE(reason.empty()) << id;
        EXPECT_FALSE(inTrees.contains(id)) << id << " is both excluded and in the trees";
    }
}

} // namespace
} // namespace qm::test
