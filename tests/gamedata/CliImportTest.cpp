// The import subcommands of the command-line companion.

#include "GameFixture.h"
#include "app/TCli.h"
#include "fixtures/ImageWriter.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qm {
namespace {

using test::MakeArchive;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
namespace fs = std::filesystem;

using test::RunCli;
using TResult = test::TCliResult;

TEST(CliImport, UsageErrors) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"extract", "a", "b"},
                                               {"extract", "a", "b", "c", "d"},
                                               {"build-defaults", "game"},
                                               {"build-defaults", "game", "out", "--fix"},
                                               {"build-defaults", "game", "out", "--bogus", "fix"},
                                               {"extract-icons", "game", "defaults"}}) {
        const TResult r = RunCli(args);
        EXPECT_EQ(r.code, kExitUsage) << args[0];
        EXPECT_NE(r.err.find("usage: quillmark-cli " + args[0]), std::string::npos);
    }
}

TEST(CliImport, Extract) {
    TempDir dir;
    MakeArchive(dir / "war3.mpq", {{"Units\\A.txt", "alpha"}, {"Units\\Empty.txt", ""}});
    const auto p = [&](const char* name) { return (dir / name).string(); };

    TResult r = RunCli({"extract", p("war3.mpq"), "Units\\A.txt", p("a.txt")});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(ReadBytes(dir / "a.txt"), "alpha");

    // A failed extraction leaves the old output alone.
    for (const char* entry : {"Units\\Missing.txt", "Units\\Empty.txt", "Units/A.txt"}) {
        r = RunCli({"extract", p("war3.mpq"), entry, p("a.txt")});
        EXPECT_EQ(r.code, kExitFailed) << entry;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
        EXPECT_EQ(ReadBytes(dir / "a.txt"), "alpha");
    }
    EXPECT_EQ(RunCli({"extract", p("war3.mpq"), "Units\\Missing.txt", p("new.txt")}).code,
              kExitFailed);
    EXPECT_FALSE(fs::exists(dir / "new.txt"));
    EXPECT_EQ(RunCli({"extract", p("a.txt"), "Units\\A.txt", p("b.txt")}).code, kExitFailed);
    EXPECT_EQ(RunCli({"extract", p("war3.mpq"), "Units\\A.txt", p("no/b.txt")}).code,
              kExitCannotWrite);
    EXPECT_EQ(test::ListFolder(dir.path()), (std::vector<std::string>{"a.txt", "war3.mpq"}));
}

TEST(CliImport, BuildDefaults) {
    TempDir dir;
    fs::create_directory(dir / "game");
    MakeArchive(dir / "game" / "war3.mpq",
                {{"Units\\NeutralAbilityStrings.txt", "[ACac]\r\nName=\xD0\x90\xD1\x83\r\n"},
                 {"Units\\NeutralAbilityFunc.txt", "[ACac]\r\nHotkey=C\r\n"}});
    WriteBytes(dir / "Fix.wrk", "[ACac]\r\nHotkey=F\r\n");
    const auto p = [&](const char* name) { return (dir / name).string(); };

    TResult r = RunCli({"build-defaults", p("game"), p("d.wrk")});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out, "rus\n");
    EXPECT_NE(ReadBytes(dir / "d.wrk").find("HotKey=C\r\n"), std::string::npos);

    r = RunCli({"build-defaults", p("game"), p("d.wrk"), "--fix", p("Fix.wrk")});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_NE(ReadBytes(dir / "d.wrk").find("HotKey=F\r\n"), std::string::npos);

    r = RunCli({"build-defaults", p("game"), p("x.wrk"), "--fix", p("missing.wrk")});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_FALSE(fs::exists(dir / "x.wrk"));
    r = RunCli({"build-defaults", p("nogame"), p("x.wrk")});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(RunCli({"build-defaults", p("game"), p("no/x.wrk")}).code, kExitCannotWrite);
}

TEST(CliImport, ExtractIcons) {
    TempDir dir;
    fs::create_directory(dir / "game");
    const std::string jpeg =
        EncodeJpeg(ButtonSamples(std::vector<std::uint32_t>(64, 0x00FF00)), 8, 8, 4);
    MakeArchive(dir / "game" / "war3.mpq", {{"Buttons\\BTNA.blp", MakeJpegBlp(jpeg, 8, 8)}});
    WriteBytes(dir / "d.wrk", "[A000]\r\nArt=Buttons\\BTNA.blp,Buttons\\BTNMissing.blp\r\n");
    const auto p = [&](const char* name) { return (dir / name).string(); };

    TResult r = RunCli({"extract-icons", p("game"), p("d.wrk"), p("Icons")});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out, "1\n");
    EXPECT_EQ(ReadBytes(dir / "Icons" / "BTNA.jpg"), jpeg);
    EXPECT_EQ(RunCli({"extract-icons", p("game"), p("d.wrk"), p("Icons")}).out, "0\n");

    r = RunCli({"extract-icons", p("Icons"), p("d.wrk"), p("Icons")});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_NE(r.err.find("war3.mpq"), std::string::npos);
    r = RunCli({"extract-icons", p("game"), p("missing.wrk"), p("Icons")});
    EXPECT_EQ(r.code, kExitFailed);
}

// An archive that cannot be used and an output that cannot be written are
// named, with why.
TEST(CliImport, FailuresSayWhy) {
    TempDir dir;
    fs::create_directory(dir / "game");
    MakeArchive(dir / "game" / "war3.mpq",
                {{"Units\\NeutralAbilityStrings.txt", "[ACac]\r\nName=Aura\r\n"}});
    WriteBytes(dir / "game" / "war3x.mpq", std::string(8192, '\0'));
    const auto p = [&](const char* name) { return (dir / name).string(); };
    TResult r = RunCli({"build-defaults", p("game"), p("d.wrk")});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.err, "quillmark-cli: cannot use " + p("game/war3x.mpq") +
                         ": not an archive the program can read\n");
    EXPECT_FALSE(fs::exists(dir / "d.wrk"));
    fs::remove(dir / "game" / "war3x.mpq");
    r = RunCli({"build-defaults", p("game"), p("no/d.wrk")});
    EXPECT_EQ(r.code, kExitCannotWrite);
    EXPECT_EQ(r.err,
              "quillmark-cli: cannot write " + p("no/d.wrk") + ": No such file or directory\n");
    r = RunCli({"extract", p("game"), "Units\\A.txt", p("a.txt")});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.err, "quillmark-cli: cannot read " + p("game") + ": Is a directory\n");
}

// Every import command reads the archives in a child: an archive that kills
// StormLib is reported and leaves no file.
TEST(CliImport, AnArchiveThatCrashesTheReaderIsReported) {
    TempDir dir;
    fs::create_directory(dir / "game");
    const std::string image = "Buttons\\BTNA.blp";
    test::MakeCrashingArchive(dir / "game" / "war3.mpq", image);
    SKIP_UNLESS_READING_KILLS(dir / "game" / "war3.mpq", image);
    WriteBytes(dir / "d.wrk", "[A000]\r\nArt=" + image + "\r\n");
    const auto p = [&](const char* name) { return (dir / name).string(); };
    const std::string archive = (dir / "game" / "war3.mpq").string();
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"extract", archive, image, p("out.blp")},
             {"extract-icons", p("game"), p("d.wrk"), p("Icons")}}) {
        const TResult r = RunCli(args);
        SKIP_IF_READ_THROUGH(r.code == 0);
        EXPECT_EQ(r.code, kExitFailed) << args[0];
        EXPECT_NE(r.err.find("the archive reading stopped on "), std::string::npos) << r.err;
    }
    test::MakeCrashingArchive(dir / "game" / "war3.mpq", "Units\\CommandStrings.txt");
    const TResult r = RunCli({"build-defaults", p("game"), p("x.wrk")});
    SKIP_IF_READ_THROUGH(r.code == 0);
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_NE(r.err.find("the archive reading stopped on " + p("game")), std::string::npos);
    EXPECT_EQ(test::ListFolder(dir.path()), (std::vector<std::string>{"Icons", "d.wrk", "game"}));
    EXPECT_TRUE(test::ListFolder(dir / "Icons").empty());
}

} // namespace
} // namespace qm
