// Button images out of the archives into the icons folder: which archive
// wins, how icon names are made, and that nothing lands outside the folder.

#include "GameFixture.h"
#include "fixtures/ImageWriter.h"
#include "gamedata/PreLoad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qm {
namespace {

using test::ListFolder;
using test::MakeArchive;
using test::ReadBytes;
using test::TempDir;
using test::TEntries;
using test::WriteBytes;
namespace fs = std::filesystem;

// A button picture of one colour, as JPEG and as the BLP wrapping it.
struct TButton {
    std::string Jpeg;
    std::string Blp;
};
TButton Button(std::uint32_t rgb) {
    TButton b;
    b.Jpeg = EncodeJpeg(ButtonSamples(std::vector<std::uint32_t>(16 * 16, rgb)), 16, 16, 4);
    b.Blp = MakeJpegBlp(b.Jpeg, 16, 16);
    return b;
}

const std::string kFootman = "ReplaceableTextures\\CommandButtons\\BTNFootman.blp";
const std::string kKnight = "ReplaceableTextures\\CommandButtons\\BTNKnight.blp";

class Icons : public ::testing::Test {
  protected:
    fs::path Game() const { return dir / "game"; }
    fs::path Defaults() const { return dir / "DefaultKeys.wrk"; }
    fs::path IconsFolder() const { return dir / "Icons"; }

    void Archive(const std::string& name, const TEntries& entries) {
        fs::create_directories(Game());
        MakeArchive(Game() / name, entries);
    }
    // A default configuration whose records carry these Art values.
    void Arts(const std::vector<std::string>& arts) {
        std::string text;
        for (size_t i = 0; i < arts.size(); ++i)
            text += "[A" + std::to_string(100 + i) + "]\r\nArt=" + arts[i] + "\r\n";
        WriteBytes(Defaults(), text);
    }
    int Extract() { return ExtractIcons(Game(), Defaults(), IconsFolder()).Written; }
    std::string Icon(const std::string& name) const { return ReadBytes(IconsFolder() / name); }

    TempDir dir;
    const TButton red = Button(0xFF0000);
    const TButton blue = Button(0x0000FF);
    const TButton green = Button(0x00FF00);
};

TEST_F(Icons, EveryPathOfAnArtValueBecomesAJpegIcon) {
    Archive("war3.mpq", {{kFootman, red.Blp}, {kKnight, blue.Blp}});
    Arts({kFootman + "," + kKnight});
    EXPECT_EQ(Extract(), 2);
    EXPECT_EQ(ListFolder(IconsFolder()),
              (std::vector<std::string>{"BTNFootman.jpg", "BTNKnight.jpg"}));
    EXPECT_EQ(Icon("BTNFootman.jpg"), red.Jpeg);
    EXPECT_EQ(Icon("BTNKnight.jpg"), blue.Jpeg);
    // A second run finds them present and fetches nothing.
    EXPECT_EQ(Extract(), 0);
}

TEST_F(Icons, ProgressRunsOncePerPercentToTheEnd) {
    Archive("war3.mpq", {{kFootman, red.Blp}});
    Arts(std::vector<std::string>(250, kFootman));
    std::vector<std::pair<int, int>> heard;
    EXPECT_EQ(ExtractIcons(Game(), Defaults(), IconsFolder(),
                           [&](int done, int total) { heard.emplace_back(done, total); })
                  .Written,
              1);
    ASSERT_EQ(heard.size(), 101u); // 0% to 99% while working, then the end
    EXPECT_EQ(heard.front(), std::make_pair(0, 250));
    EXPECT_EQ(heard.back(), std::make_pair(250, 250));
    EXPECT_TRUE(std::is_sorted(heard.begin(), heard.end()));
}

TEST_F(Icons, FirstHolderWinsAndFileNamesShareOneIcon) {
    Archive("war3.mpq", {{kFootman, red.Blp}});
    Archive("war3x.mpq", {{kFootman, green.Blp}, {kKnight, green.Blp}});
    Archive("war3patch.mpq", {{kFootman, blue.Blp},
                              {kKnight, blue.Blp},
                              {"Other\\BTNPeasant.blp", blue.Blp},
                              {"Elsewhere\\BTNFootman.blp", blue.Blp}});
    Arts({"Elsewhere\\BTNFootman.blp", kFootman, kKnight, "Other\\BTNPeasant.blp"});
    EXPECT_EQ(Extract(), 3);
    // The record order decides which of two same-named images is kept.
    EXPECT_EQ(Icon("BTNFootman.jpg"), blue.Jpeg);
    EXPECT_EQ(Icon("BTNKnight.jpg"), green.Jpeg);
    EXPECT_EQ(Icon("BTNPeasant.jpg"), blue.Jpeg);

    fs::remove_all(IconsFolder());
    Arts({kFootman});
    EXPECT_EQ(Extract(), 1);
    EXPECT_EQ(Icon("BTNFootman.jpg"), red.Jpeg); // war3.mpq beats the patch
}

TEST_F(Icons, ArtValuesSplitLikeTipPieces) {
    EXPECT_EQ(SplitArtPaths(" A\\a.blp,\r\n  B\\b.blp,,C\\c.blp\r\n"),
              (std::vector<std::string>{"A\\a.blp", "B\\b.blp", "C\\c.blp"}));
    EXPECT_EQ(SplitArtPaths("'x,y.blp',z.blp"), (std::vector<std::string>{"'x,y.blp'", "z.blp"}));
    EXPECT_EQ(SplitArtPaths(""), std::vector<std::string>{});
    EXPECT_EQ(SplitArtPaths(" , ,"), std::vector<std::string>{});
}

TEST_F(Icons, IconNamesNeverLeaveTheFolder) {
    EXPECT_EQ(IconFileName("ReplaceableTextures\\CommandButtons\\BTNFootman.blp"),
              "BTNFootman.jpg");
    EXPECT_EQ(IconFileName("Textures/BTNKnight.BLP"), "BTNKnight.jpg");
    EXPECT_EQ(IconFileName("..\\..\\evil.blp"), "evil.jpg");
    EXPECT_EQ(IconFileName("a/../b.blp"), "b.jpg");
    EXPECT_EQ(IconFileName("BTNPlain.blp"), "BTNPlain.jpg");
    for (const char* unsafe :
         {"", "Folder\\", "Folder/", "..", "a\\..", ".", "C:evil.blp", "x\\C:evil.blp", "D:"})
        EXPECT_EQ(IconFileName(unsafe), "") << unsafe;
    EXPECT_EQ(IconFileName(std::string_view("a\0b.blp", 7)), "");
    // Art that names no image file (the command tables' skin keys) names no icon.
    EXPECT_EQ(IconFileName("CommandMove"), "");
    EXPECT_EQ(IconFileName("a|b.blp"), "");
    EXPECT_EQ(IconFileNameOfArt("A\\x.blp,B\\y.blp"), "y.jpg");
    EXPECT_EQ(IconFileNameOfArt(""), "");
}

TEST_F(Icons, PathsFromTheDataCannotWriteOutsideTheIconsFolder) {
    Archive("war3.mpq", {{"..\\..\\evil.blp", red.Blp},
                         {"C:evil.blp", red.Blp},
                         {"a/../b.blp", blue.Blp},
                         {"..\\..", red.Blp},
                         {"Icons\\", red.Blp}});
    Arts({"..\\..\\evil.blp,C:evil.blp", "a/../b.blp", "..\\..", "Icons\\"});
    const auto outside = ListFolder(dir.path());
    EXPECT_EQ(Extract(), 2);
    EXPECT_EQ(ListFolder(IconsFolder()), (std::vector<std::string>{"b.jpg", "evil.jpg"}));
    EXPECT_EQ(Icon("b.jpg"), blue.Jpeg);
    auto now = ListFolder(dir.path());
    std::erase(now, "Icons");
    EXPECT_EQ(now, outside);
    EXPECT_EQ(ListFolder(Game()), std::vector<std::string>{"war3.mpq"});
}

TEST_F(Icons, FailedExtractionLeavesNoFile) {
    Archive("war3.mpq", {{kFootman, red.Blp}, {"Empty.blp", ""}});
    Arts({"Missing\\BTNNothing.blp," + kFootman + ",Empty.blp"});
    EXPECT_EQ(Extract(), 1);
    EXPECT_EQ(ListFolder(IconsFolder()), std::vector<std::string>{"BTNFootman.jpg"});
}

TEST_F(Icons, ImageThatIsNoJpegBlpIsKeptAsExtracted) {
    std::string palette = red.Blp;
    palette[4] = 1; // palette compression
    Archive("war3.mpq", {{kFootman, palette}});
    Arts({kFootman});
    EXPECT_EQ(Extract(), 1);
    EXPECT_EQ(Icon("BTNFootman.jpg"), palette);
}

TEST_F(Icons, ExistingIconsAreKept) {
    Archive("war3.mpq", {{kFootman, red.Blp}, {kKnight, blue.Blp}});
    Arts({kFootman + "," + kKnight});
    fs::create_directories(IconsFolder());
    WriteBytes(IconsFolder() / "BTNFootman.jpg", "mine");
    EXPECT_EQ(Extract(), 1);
    EXPECT_EQ(Icon("BTNFootman.jpg"), "mine");
    EXPECT_EQ(Icon("BTNKnight.jpg"), blue.Jpeg);
}

TEST_F(Icons, IconsFolderIsCreatedWhenMissing) {
    Archive("War3.mpq", {{kFootman, red.Blp}});
    Arts({kFootman});
    EXPECT_EQ(ExtractIcons(Game(), Defaults(), dir / "deep" / "Icons").Written, 1);
    EXPECT_EQ(ReadBytes(dir / "deep" / "Icons" / "BTNFootman.jpg"), red.Jpeg);
}

TEST_F(Icons, NothingHappensWithoutWar3OrUsableInputs) {
    Archive("war3x.mpq", {{kFootman, red.Blp}});
    Arts({kFootman});
    EXPECT_EQ(Extract(), 0); // war3.mpq is required
    EXPECT_FALSE(fs::exists(IconsFolder()));

    Archive("war3.mpq", {{kKnight, blue.Blp}});
    EXPECT_EQ(ExtractIcons(Game(), dir / "missing.wrk", IconsFolder()).Written, 0);
    WriteBytes(dir / "file", "x");
    EXPECT_EQ(ExtractIcons(Game(), Defaults(), dir / "file").Written,
              0); // icons "folder" is a file
    EXPECT_EQ(ReadBytes(dir / "file"), "x");
    EXPECT_EQ(ExtractIcons(dir / "file", Defaults(), IconsFolder()).Written,
              0);            // game folder is a file
    EXPECT_EQ(Extract(), 1); // war3x.mpq still serves what war3.mpq lacks
}

// Links planted in the icons folder under scratch names of old never lead
// the extraction outside it; its own scratch names are new each time.
TEST_F(Icons, PlantedLinksAreNeverWrittenThrough) {
    Archive("war3.mpq", {{kFootman, red.Blp}, {kKnight, blue.Blp}});
    Arts({kFootman, kKnight});
    fs::create_directories(IconsFolder());
    WriteBytes(dir / "victim", "keep");
    for (const char* name : {".extracting.part", ".converting.part", "tmp.blp"})
        fs::create_symlink(dir / "victim", IconsFolder() / name);
    EXPECT_EQ(Extract(), 2);
    EXPECT_EQ(ReadBytes(dir / "victim"), "keep");
    EXPECT_EQ(Icon("BTNFootman.jpg"), red.Jpeg);
    EXPECT_EQ(ListFolder(IconsFolder()),
              (std::vector<std::string>{".converting.part", ".extracting.part", "BTNFootman.jpg",
                                        "BTNKnight.jpg", "tmp.blp"}));
}

// An image that kills StormLib fails the extraction in its child: the icons
// fetched before it stay whole, and no scratch file is left.
TEST_F(Icons, AnImageThatCrashesTheReaderFailsTheStepAlone) {
    fs::create_directories(Game());
    test::MakeCrashingArchive(Game() / "war3.mpq", kKnight, {{kFootman, red.Blp}});
    SKIP_UNLESS_READING_KILLS(Game() / "war3.mpq", kKnight);
    Arts({kFootman, kKnight});
    std::vector<std::pair<int, int>> heard;
    const TIconsExtracted icons =
        ExtractIcons(Game(), Defaults(), IconsFolder(),
                     [&](int done, int total) { heard.emplace_back(done, total); });
    SKIP_IF_READ_THROUGH(icons.Failure.empty());
    EXPECT_EQ(icons.Written, 0);
    EXPECT_EQ(heard, (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}}));
    EXPECT_EQ(ListFolder(IconsFolder()), std::vector<std::string>{"BTNFootman.jpg"});
    EXPECT_EQ(Icon("BTNFootman.jpg"), red.Jpeg);
}

// What keeps the extraction from its work is named: an archive of the game
// folder it cannot open (nothing is extracted then), a default
// configuration it cannot read, an icon it cannot write.
TEST_F(Icons, WhatStopsTheExtractionIsNamed) {
    Archive("war3.mpq", {{kFootman, red.Blp}});
    WriteBytes(Game() / "War3x.mpq", std::string(8192, '\0'));
    Arts({kFootman});
    TIconsExtracted icons = ExtractIcons(Game(), Defaults(), IconsFolder());
    EXPECT_EQ(icons.Problem.Kind, TImportProblem::UnusableArchive);
    EXPECT_EQ(icons.Problem.File, Game() / "War3x.mpq");
    EXPECT_EQ(icons.Written, 0);
    EXPECT_TRUE(ListFolder(IconsFolder()).empty());

    fs::remove(Game() / "War3x.mpq");
    icons = ExtractIcons(Game(), dir / "missing.wrk", IconsFolder());
    EXPECT_EQ(icons.Problem.Kind, TImportProblem::Unreadable);
    EXPECT_EQ(icons.Problem.File, dir / "missing.wrk");
    EXPECT_EQ(icons.Problem.Why, "No such file or directory");

    // A file-size limit stands in for a full disk: the first icon that
    // cannot be written stops the step, and no scratch file is left.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{red.Jpeg.size() / 2, red.Jpeg.size() / 2};
        setrlimit(RLIMIT_FSIZE, &limit);
        icons = ExtractIcons(Game(), Defaults(), IconsFolder());
        _exit(icons.Problem.Kind == TImportProblem::Unwritten &&
                      icons.Problem.File == IconsFolder() / "BTNFootman.jpg" &&
                      icons.Problem.Why == "File too large" && icons.Written == 0
                  ? 0
                  : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(ListFolder(IconsFolder()).empty());
    EXPECT_EQ(Extract(), 1);
}

TEST_F(Icons, ReadOnlyIconsFolderFailsQuietly) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    Archive("war3.mpq", {{kFootman, red.Blp}});
    Arts({kFootman});
    fs::create_directories(IconsFolder());
    fs::permissions(IconsFolder(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(Extract(), 0);
    fs::permissions(IconsFolder(), fs::perms::owner_all);
    EXPECT_TRUE(ListFolder(IconsFolder()).empty());
}

} // namespace
} // namespace qm
