// The tree-rewriting subcommands of the command-line companion.

#include "app/TCli.h"
#include "support/CliRun.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace qm {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

using test::RunCli;
using Result = test::TCliResult;

TEST(TreeCli, ClearAndFillRewriteInPlace) {
    TempDir dir;
    const std::string tree = (dir / "tree.wrk").string();
    const std::string defaults = (dir / "defaults.wrk").string();
    WriteBytes(tree, "Human|?|?\n\tFootman|hfoo|?\n");
    WriteBytes(defaults, "[hfoo]\nName=Footman\nArt=Buttons\\BTNFootman.blp\n");

    Result r = RunCli({"clear-tree", tree});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(ReadBytes(tree), "Human|?|?\r\n\t?|hfoo|?\r\n");

    r = RunCli({"fill-tree", tree, defaults});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(ReadBytes(tree), "Human|?|?\r\n\tFootman|hfoo|BTNFootman.jpg\r\n");
}

TEST(TreeCli, UnreadableTreeFailsWithOneLine) {
    TempDir dir;
    WriteBytes(dir / "d.wrk", "[hfoo]\nName=Footman\n");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"clear-tree", (dir / "none.wrk").string()},
             {"fill-tree", (dir / "none.wrk").string(), (dir / "d.wrk").string()},
             {"fill-tree", dir.path().string(), (dir / "d.wrk").string()}}) {
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, kExitFailed);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
        EXPECT_NE(r.err.find("cannot rewrite"), std::string::npos);
    }
}

// Every failure names its file and why; defaults that give no record leave
// the tree as it was.
TEST(TreeCli, FailuresSayWhy) {
    TempDir dir;
    const std::string tree = (dir / "tree.wrk").string();
    WriteBytes(tree, "Human|?|?\n\tFootman|hfoo|?\n");
    Result r = RunCli({"fill-tree", tree, (dir / "none.wrk").string()});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.err, "quillmark-cli: no section could be read from " + (dir / "none.wrk").string() +
                         ": No such file or directory\n");
    WriteBytes(dir / "empty.wrk", "[hfoo]\n[hkni]\n");
    r = RunCli({"fill-tree", tree, (dir / "empty.wrk").string()});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_NE(r.err.find("no record could be read from " + (dir / "empty.wrk").string() + ": "),
              std::string::npos);
    EXPECT_EQ(ReadBytes(tree), "Human|?|?\n\tFootman|hfoo|?\n");

    r = RunCli({"clear-tree", dir.path().string()});
    EXPECT_EQ(r.err, "quillmark-cli: cannot rewrite " + dir.path().string() + ": Is a directory\n");
    r = RunCli({"conflicts", (dir / "none.wrk").string(), tree});
    EXPECT_EQ(r.code, kExitCannotRead);
    EXPECT_EQ(r.err, "quillmark-cli: cannot read the tree " + (dir / "none.wrk").string() +
                         ": No such file or directory\n");
}

TEST(TreeCli, UsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"clear-tree"},
                                                                  {"clear-tree", "a", "b"},
                                                                  {"fill-tree", "a"},
                                                                  {"fill-tree", "a", "b", "c"}}) {
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_NE(r.err.find("usage: quillmark-cli " + args[0]), std::string::npos);
    }
}

} // namespace
} // namespace qm
