// The command-line companion, driven through its dispatcher and, once, as a process.

#include "app/TCli.h"
#include "support/CliRun.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include <sys/stat.h>

namespace qm {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

using test::RunCli;
using Result = test::TCliResult;

TEST(Cli, UsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"frobnicate"},
             {"normalize", "a"},
             {"normalize", "a", "b", "--bogus"},
             {"merge", "out"},
             {"same", "a"},
             {"strip"},
             {"autotip", "text"},
             {"autotip", "--hotkey", "Q", "--tip-colour", "red", "x"},
             {"autotip", "--hotkey", "Q", "a", "b"},
             {"buttonpos"},
             {"richtip"},
             {"richtip", "a", "b"}}) {
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_NE(r.err.find("usage: quillmark-cli"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
}

TEST(Cli, Normalize) {
    TempDir dir;
    WriteBytes(dir / "in.txt", "[A]\nhotkey = Q\nName=Alpha\n");
    Result r = RunCli({"normalize", (dir / "in.txt").string(), (dir / "out.txt").string()});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(ReadBytes(dir / "out.txt"), "//Alpha\r\n[A]\r\nHotKey=Q\r\n\r\n");
    r = RunCli(
        {"normalize", (dir / "in.txt").string(), (dir / "data.txt").string(), "--with-data"});
    EXPECT_EQ(ReadBytes(dir / "data.txt"), "//Alpha\r\n[A]\r\nHotKey=Q\r\nName=Alpha\r\n\r\n");

    WriteBytes(dir / "empty.txt", "no sections");
    r = RunCli({"normalize", (dir / "empty.txt").string(), (dir / "x.txt").string()});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.txt"));
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);

    r = RunCli({"normalize", (dir / "in.txt").string(), (dir / "none" / "x.txt").string()});
    EXPECT_EQ(r.code, kExitCannotWrite);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
}

// A missing file, a folder and a FIFO are told apart; sections without a
// value (what random bytes give) are no record and write nothing.
TEST(Cli, EveryFailureNamesTheFileAndWhy) {
    TempDir dir;
    const auto p = [&](const char* n) { return (dir / n).string(); };
    ASSERT_EQ(mkfifo(p("fifo").c_str(), 0600), 0);
    constexpr char kNoise[] = "[A\xe1~'\x00]\n\x7f[\x90\xff]\r\n\xfe\x01";
    WriteBytes(dir / "noise.bin", std::string(kNoise, sizeof kNoise - 1));
    WriteBytes(dir / "in.txt", "[A]\nHotkey=Q\n");
    for (const auto& [input, why] : std::vector<std::pair<std::string, std::string>>{
             {p("missing.txt"), "No such file or directory"},
             {dir.path().string(), "Is a directory"},
             {p("fifo"), "not a regular file"}}) {
        const Result r = RunCli({"normalize", input, p("out.txt")});
        EXPECT_EQ(r.code, kExitFailed);
        EXPECT_EQ(r.err,
                  "quillmark-cli: no section could be read from " + input + ": " + why + "\n");
    }
    Result r = RunCli({"normalize", p("noise.bin"), p("out.txt")});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.err, "quillmark-cli: no record could be read from " + p("noise.bin") +
                         ": no section holds a value\n");
    EXPECT_EQ(RunCli({"merge", p("out.txt"), p("in.txt"), p("noise.bin")}).code, kExitFailed);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.txt"));

    r = RunCli({"normalize", p("in.txt"), p("none/out.txt")});
    EXPECT_EQ(r.code, kExitCannotWrite);
    EXPECT_EQ(r.err,
              "quillmark-cli: cannot write " + p("none/out.txt") + ": No such file or directory\n");
}

TEST(Cli, MergeOverlaySame) {
    TempDir dir;
    WriteBytes(dir / "a.txt", "[B]\nHotkey=1\n[A]\nTip=a\n");
    WriteBytes(dir / "b.txt", "[A]\nHotkey=2\nTip=\n");
    const auto p = [&](const char* n) { return (dir / n).string(); };
    EXPECT_EQ(RunCli({"merge", p("m.txt"), p("a.txt"), p("b.txt")}).code, kExitOk);
    EXPECT_EQ(ReadBytes(dir / "m.txt"), "[A]\r\nHotKey=2\r\nTip=a\r\n\r\n[B]\r\nHotKey=1\r\n\r\n");
    EXPECT_EQ(RunCli({"merge", p("m2.txt"), p("a.txt"), p("missing.txt")}).code, kExitFailed);
    EXPECT_FALSE(std::filesystem::exists(dir / "m2.txt"));

    EXPECT_EQ(RunCli({"overlay", p("a.txt"), p("b.txt"), p("o.txt")}).code, kExitOk);
    EXPECT_EQ(ReadBytes(dir / "o.txt"), "[A]\r\nHotKey=2\r\nTip=a\r\n\r\n[B]\r\nHotKey=1\r\n\r\n");

    Result r = RunCli({"same", p("m.txt"), p("o.txt")});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out, "same\n");
    r = RunCli({"same", p("a.txt"), p("o.txt")});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.out, "different\n");
    r = RunCli({"same", p("a.txt"), p("missing.txt")});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.out, "");
}

TEST(Cli, MarkupCommands) {
    EXPECT_EQ(RunCli({"strip", "|cffff0000Fire|r Bolt"}).out, "Fire Bolt\n");
    EXPECT_EQ(RunCli({"autotip", "--hotkey", "Q", "Summon (W)"}).out, "Summon (|cffffcc00Q|r)\n");
    EXPECT_EQ(RunCli({"autotip", "Go", "--hotkey", "G", "--hotkey-colour", "16777215",
                      "--brackets-colour", "255"})
                  .out,
              "Go |cffff0000(|rG|cffff0000)|r\n");
    EXPECT_EQ(RunCli({"richtip", "|cFFFF0000Пламя|r 火|nx|cffff0000"}).out,
              "|cffff0000Пламя|r 火|nx\n");
    const Result notUtf8 = RunCli({"richtip", "\xcf\xeb\xe0\xec\xff"});
    EXPECT_EQ(notUtf8.code, kExitFailed);
    EXPECT_EQ(notUtf8.out, "");
    EXPECT_EQ(RunCli({"buttonpos", "0,2"}).out, "0,2\n");
    EXPECT_EQ(RunCli({"buttonpos", "7"}).out, "-1,-1\n");
    EXPECT_EQ(RunCli({"buttonpos", "x,1"}).out, "error\n");
}

TEST(Cli, RunsAsAProcess) {
    TempDir dir;
    WriteBytes(dir / "in.txt", "[A]\nHotkey=Q\n");
    const std::string cli = QUILLMARK_CLI;
    const auto run = [&](const std::string& args) {
        return WEXITSTATUS(std::system((cli + " " + args + " >/dev/null 2>&1").c_str()));
    };
    EXPECT_EQ(
        run("normalize '" + (dir / "in.txt").string() + "' '" + (dir / "o.txt").string() + "'"),
        kExitOk);
    EXPECT_EQ(ReadBytes(dir / "o.txt"), "[A]\r\nHotKey=Q\r\n\r\n");
    EXPECT_EQ(run("same '" + (dir / "in.txt").string() + "' '" + (dir / "o.txt").string() + "'"),
              kExitOk);
    EXPECT_EQ(run(""), kExitUsage);
    // Rich text needs no display.
    EXPECT_EQ(WEXITSTATUS(
                  std::system(("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + cli +
                               " richtip '|cFFffcc00Q|r|nz' >'" + (dir / "tip.txt").string() + "'")
                                  .c_str())),
              kExitOk);
    EXPECT_EQ(ReadBytes(dir / "tip.txt"), "|cffffcc00Q|n|rz\n");
}

} // namespace
} // namespace qm
