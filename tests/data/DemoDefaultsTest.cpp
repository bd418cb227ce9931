// The first start on the demo game: the default configuration it builds
// binds every action of both trees, every action with art gets the icon its
// tree line names, and the tree rewriting gives every action its game name.

#include "data/TreeFile.h"
#include "gamedata/PreLoad.h"
#include "gamedata/TreeRewrite.h"
#include "support/TestFiles.h"
#include "text/TextCodec.h"

#include <gtest/gtest.h>

namespace qm::test {
namespace {

namespace fs = std::filesystem;

class DemoDefaults : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(BuildDefaultKeys(game, defaults, FixPath()), "foreign"); }

    TempDir dir;
    const fs::path game = QUILLMARK_DEMO_GAME;
    const fs::path defaults = dir / "DefaultKeys.wrk";
};

TEST_F(DemoDefaults, EveryTreeActionIsBoundAndHasItsIcon) {
    const auto doc = TCfgManager::CreateFromFile(defaults);
    ASSERT_GT(doc->Count(), 500);
    ASSERT_GT(ExtractIcons(game, defaults, dir / "Icons").Written, 400);

    for (const char* name : {"TV_foreign.wrk", "TV_rus.wrk"}) {
        SCOPED_TRACE(name);
        for (const TTreeLine& node : ReadTree(TreePath(name))) {
            if (node.Id.empty())
                continue;
            SCOPED_TRACE(node.Id);
            // The lookup a tree node makes: its identifier exactly as split.
            const TBindRec* rec = doc->FindRecord(node.Id);
            ASSERT_NE(rec, nullptr);
            const auto paths = SplitArtPaths(rec->Art);
            // A command's art may be an interface skin key, not an image path.
            if (paths.empty() || paths.back().find('\\') == std::string::npos)
                continue;
            // The tree names the icon the first start would write for "?".
            EXPECT_EQ(node.Icon, IconFileName(paths.back()));
            const std::string icon = ReadBytes(dir / "Icons" / node.Icon);
            ASSERT_GT(icon.size(), 2u) << node.Icon;
            EXPECT_EQ(icon.substr(0, 2), "\xFF\xD8") << "not a JPEG: " << node.Icon;
        }
    }
}

TEST_F(DemoDefaults, ThePatchArchiveWinsOverTheBase) {
    const auto doc = TCfgManager::CreateFromFile(defaults);
    const auto patch = LoadDemoTables("Strings", {"war3patch"});
    ASSERT_GT(patch->Count(), 0);
    for (int i = 0; i < patch->Count(); ++i) {
        const TBindRec* rec = doc->FindRecord(patch->Records(i).ID);
        ASSERT_NE(rec, nullptr);
        EXPECT_EQ(rec->Ubertip, patch->Records(i).Ubertip);
    }
}

TEST_F(DemoDefaults, RewritingGivesEveryActionItsGameName) {
    const auto doc = TCfgManager::CreateFromFile(defaults);
    const fs::path tree = dir / "TV_rus.wrk";
    fs::copy_file(TreePath("TV_rus.wrk"), tree);
    ASSERT_TRUE(FillTVFromDefaults(tree, defaults));
    const auto before = ReadTree(TreePath("TV_rus.wrk"));
    const auto after = ReadTree(tree);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < after.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(after[i].Number));
        EXPECT_EQ(after[i].Level, before[i].Level);
        EXPECT_EQ(after[i].Id, before[i].Id);
        EXPECT_EQ(after[i].Icon, before[i].Icon);
        // The common commands of a card stay with it.
        EXPECT_EQ(after[i].Fields.size(), before[i].Fields.size());
        EXPECT_EQ(after[i].Fields.back(), before[i].Fields.back());
        if (after[i].Id.empty())
            continue;
        // The demo game is English: no Russian caption of an action survives.
        const TBindRec* rec = doc->FindRecord(after[i].Id);
        ASSERT_NE(rec, nullptr);
        const char32_t first = FirstCodePoint(after[i].Fields[0]);
        EXPECT_LT(first, U'\u0400') << after[i].Fields[0];
        if (!rec->Name.empty()) {
            // As the loader reads it: quotes around a name with commas split away.
            EXPECT_EQ(after[i].Fields[0], SplitTreeLine(rec->Name).front());
        }
    }
}

} // namespace
} // namespace qm::test

namespace qm::test {
namespace {

// The defaults of a start without a game, as the build makes them: the
// demo's records without any tooltip, every tree action named and with an
// icon of its own.
TEST(BuiltinDefaults, HoldEveryTreeActionAndNoTooltip) {
    const fs::path builtin = QUILLMARK_BUILTIN;
    const auto doc = TCfgManager::CreateFromFile(builtin / "DefaultKeys.wrk");
    ASSERT_GT(doc->Count(), 500);
    for (int i = 0; i < doc->Count(); ++i) {
        const TBindRec& rec = doc->Records(i);
        for (int field : {fiTip, fiUntip, fiResearchtip, fiRevivetip, fiAwakentip, fiUbertip})
            EXPECT_EQ(rec[field], "") << rec.ID;
    }
    int actions = 0;
    for (const TTreeLine& node : ReadTree(builtin / "TV_foreign.wrk")) {
        if (node.Id.empty())
            continue;
        SCOPED_TRACE(node.Id);
        const TBindRec* rec = doc->FindRecord(node.Id);
        ASSERT_NE(rec, nullptr);
        EXPECT_FALSE(rec->Name.empty() && rec->Hotkey.empty());
        EXPECT_NE(node.Fields.at(0), "?") << "named";
        if (!node.Icon.empty()) {
            EXPECT_TRUE(fs::exists(builtin / "Icons" / node.Icon)) << node.Icon;
        }
        ++actions;
    }
    EXPECT_GT(actions, 900);
}

} // namespace
} // namespace qm::test
