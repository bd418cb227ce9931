// The first-start import from the newer game's CASC storage, laid out by the
// fixture writer: the defaults from the function, skin and locale tables,
// the icons from the button images, and a storage that cannot be read.

#include "GameFixture.h"
#include "config/uCfgManager.h"
#include "fixtures/CascWriter.h"
#include "fixtures/ImageWriter.h"
#include "gamedata/PreLoad.h"
#include "gamedata/StorageTables.h"
#include "gamedata/TreeModel.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <set>

namespace qm {
namespace {

using test::ReadBytes;
using test::TempDir;
namespace fs = std::filesystem;

const std::string kUnits = "war3.w3mod:units\\";
const std::string kButton = "ReplaceableTextures\\CommandButtons\\BTNFootman.blp";

// Writes the installation into `root`.
void Lay(TCascWriter& casc, const fs::path& root) {
    ASSERT_TRUE(casc.Write(root));
    ASSERT_TRUE(HoldsGame(root));
}

std::string GreenButton() {
    const std::string jpeg =
        EncodeJpeg(ButtonSamples(std::vector<std::uint32_t>(64, 0x00FF00)), 8, 8, 4);
    return MakeJpegBlp(jpeg, 8, 8);
}

// The function table holds the position, the skin the art, the locale's
// strings the name and hotkey: the record joins all three.
TEST(CascImport, DefaultsJoinFunctionsSkinsAndTheLocalesStrings) {
    TempDir dir;
    TCascWriter casc("ruRU");
    casc.Add(kUnits + "humanunitfunc.txt", "[hfoo]\r\nButtonpos=0,0\r\n");
    casc.Add(kUnits + "unitskin.txt", "[hfoo]\r\nArt=" + kButton + "\r\n");
    casc.Add("war3.w3mod:_locales\\ruru.w3mod:units\\humanunitstrings.txt",
             "[hfoo]\r\nName=Пехотинец\r\nHotkey=F\r\n");
    casc.Add("war3.w3mod:_locales\\ruru.w3mod:units\\commonabilitystrings.txt",
             "[ACac]\r\nName=Командная аура\r\n");
    casc.Add("war3.w3mod:_locales\\enus.w3mod:units\\humanunitstrings.txt",
             "[hfoo]\r\nName=Footman\r\nHotkey=Q\r\n");
    casc.Add("war3.w3mod:" + kButton, GreenButton());
    Lay(casc, dir / "game");

    const TDefaultKeys built = BuildDefaultConfiguration(dir / "game", dir / "keys.wrk", {});
    ASSERT_TRUE(built.Written) << built.Failure << built.Problem.Why;
    EXPECT_EQ(built.Language, "rus");
    const auto keys = TCfgManager::CreateFromFile(dir / "keys.wrk");
    const TBindRec* footman = keys->FindRecord("hfoo");
    ASSERT_NE(footman, nullptr);
    EXPECT_EQ(footman->Buttonpos, "0,0");
    EXPECT_EQ(footman->Art, kButton);
    EXPECT_EQ(footman->Hotkey, "F");

    const TIconsExtracted icons = ExtractIcons(dir / "game", dir / "keys.wrk", dir / "Icons");
    EXPECT_EQ(icons.Written, 1) << icons.Failure << icons.Problem.Why;
    EXPECT_EQ(ReadBytes(dir / "Icons" / "BTNFootman.jpg").substr(0, 2), "\xFF\xD8");
}

// Where the storage has no classic image, the HD one gives the icon; a DDS
// that cannot be decoded gives none.
TEST(CascImport, HdImagesWhereTheClassicOnesAreMissing) {
    TempDir dir;
    TCascWriter casc;
    std::string red;
    for (int i = 0; i < 16 * 16; ++i)
        red += Bc1Block(0xF800, 0xF800, 0);
    casc.Add("war3.w3mod:_hd.w3mod:ReplaceableTextures\\CommandButtons\\BTNFootman.dds",
             MakeDds(64, 64, "DXT1", red));
    casc.Add("war3.w3mod:_hd.w3mod:ReplaceableTextures\\CommandButtons\\BTNKnight.dds",
             "DDS damaged");
    Lay(casc, dir / "game");
    test::WriteBytes(
        dir / "keys.wrk",
        "[hfoo]\r\nArt=" + kButton +
            "\r\n[hkni]\r\nArt=ReplaceableTextures\\CommandButtons\\BTNKnight.blp\r\n");
    const TIconsExtracted icons = ExtractIcons(dir / "game", dir / "keys.wrk", dir / "Icons");
    EXPECT_EQ(icons.Written, 1) << icons.Failure << icons.Problem.Why;
    EXPECT_EQ(test::ListFolder(dir / "Icons"), std::vector<std::string>{"BTNFootman.jpg"});
}

// The companion builds the defaults and extracts the icons from a storage
// as from archives.
TEST(CascImport, TheCommandLineTakesAStorage) {
    TempDir dir;
    TCascWriter casc;
    casc.Add(kUnits + "unitskin.txt", "[hfoo]\r\nArt=" + kButton + "\r\n");
    casc.Add("war3.w3mod:_locales\\enus.w3mod:units\\humanunitstrings.txt",
             "[hfoo]\r\nName=Footman\r\nHotkey=F\r\n");
    casc.Add("war3.w3mod:" + kButton, GreenButton());
    Lay(casc, dir / "game");
    const auto p = [&](const char* name) { return (dir / name).string(); };
    auto r = test::RunCli({"build-defaults", p("game"), p("d.wrk")});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "foreign\n");
    r = test::RunCli({"extract-icons", p("game"), p("d.wrk"), p("Icons")});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "1\n");
    EXPECT_TRUE(fs::is_regular_file(dir / "Icons" / "BTNFootman.jpg"));
}

// A storage that cannot be read names itself and why; nothing is written.
TEST(CascImport, AnUnreadableStorageIsNamedWithItsReason) {
    TempDir dir;
    TCascWriter casc;
    casc.Add(kUnits + "humanunitfunc.txt", "[hfoo]\r\nButtonpos=0,0\r\n");
    Lay(casc, dir / "game");
    fs::remove_all(dir / "game" / "Data" / "config");

    const TDefaultKeys built = BuildDefaultConfiguration(dir / "game", dir / "keys.wrk", {});
    EXPECT_FALSE(built.Written);
    EXPECT_EQ(built.Problem.Kind, TImportProblem::UnusableArchive);
    EXPECT_EQ(built.Problem.File, dir / "game" / ".build.info");
    EXPECT_FALSE(built.Problem.Why.empty());
    EXPECT_FALSE(fs::exists(dir / "keys.wrk"));

    test::WriteBytes(dir / "keys.wrk", "[hfoo]\r\nArt=" + kButton + "\r\n");
    const TIconsExtracted icons = ExtractIcons(dir / "game", dir / "keys.wrk", dir / "Icons");
    EXPECT_EQ(icons.Problem.Kind, TImportProblem::UnusableArchive);
    EXPECT_EQ(icons.Written, 0);
}

// Every section of the tables the import reads from a storage, by identifier.
std::set<std::string> SectionsOf(const fs::path& folder) {
    std::set<std::string> ids;
    for (const auto& name : test::ListFolder(folder)) {
        const auto table = TCfgManager::CreateFromFile(folder / name);
        for (int r = 0; r < table->Count(); ++r)
            ids.insert(table->Records(r).ID);
    }
    return ids;
}

// The real tables of the 2020 edition, laid out as its storage: the defaults
// hold every action of the shipped trees that those tables define.
TEST(CascImport, RealTablesOfTheNewerGame) {
    const fs::path real = test::RealData() / "tables" / "reforged-1.32";
    if (test::RealData().empty() || !fs::is_directory(real))
        GTEST_SKIP() << "no reforged-1.32 tables beside this checkout (" << QUILLMARK_REAL_DATA
                     << ")";
    TempDir dir;
    TCascWriter casc;
    for (const auto* folder : {"units", "_locales/enus.w3mod/units"}) {
        for (const auto& name : test::ListFolder(real / folder)) {
            const std::string mount =
                std::string(folder) == "units" ? kUnits : "war3.w3mod:_locales\\enus.w3mod:units\\";
            casc.Add(mount + name, ReadBytes(real / folder / name));
        }
    }
    Lay(casc, dir / "game");
    const TDefaultKeys built = BuildDefaultConfiguration(dir / "game", dir / "keys.wrk", {});
    ASSERT_TRUE(built.Written) << built.Failure << built.Problem.Why;
    EXPECT_EQ(built.Language, "foreign");
    const auto keys = TCfgManager::CreateFromFile(dir / "keys.wrk");

    std::set<std::string> defined = SectionsOf(real / "units");
    defined.merge(SectionsOf(real / "_locales" / "enus.w3mod" / "units"));
    int nodes = 0, actions = 0, found = 0;
    for (const char* treeFile : {"TV_foreign.wrk", "TV_rus.wrk"}) {
        const auto tree =
            TTreeModel::LoadFromFile(fs::path(QUILLMARK_SOURCE_DIR) / "QMKData" / treeFile);
        ASSERT_TRUE(tree);
        for (const TTreeNode& node : tree->Nodes()) {
            nodes += node.ID.empty() ? 0 : 1;
            if (node.ID.empty() || !defined.contains(node.ID))
                continue;
            ++actions;
            found += keys->FindRecord(node.ID) ? 1 : 0;
            EXPECT_NE(keys->FindRecord(node.ID), nullptr) << treeFile << ": " << node.ID;
        }
    }
    EXPECT_GT(actions, 1000);
    RecordProperty("nodes", nodes);
    RecordProperty("actions", actions);
    RecordProperty("found", found);
}

} // namespace
} // namespace qm
