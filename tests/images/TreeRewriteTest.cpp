// Rewriting of action tree files from the default configuration.

#include "gamedata/TreeRewrite.h"
#include "support/TestFiles.h"
#include "text/TextCodec.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

namespace qm {
namespace {

using test::ListFolder;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr const char* kDefaults = "[hfoo]\r\n"
                                  "Name=Footman\r\n"
                                  "Art=ReplaceableTextures\\CommandButtons\\BTNFootman.blp\r\n"
                                  "[hpea]\r\n"
                                  "Tip=Train |cffffcc00P|reasant (|cffffcc00P|r)\r\n"
                                  "[hkni]\r\n"
                                  "Hotkey=K\r\n"
                                  "Art=BTNKnight.blp\r\n"
                                  "[Hamg]\r\n"
                                  "Name=|cffff0000Archmage|r\r\n"
                                  "Tip=Summon Archmage\r\n"
                                  "Art=A\\BTNFirst.blp,B\\BTNSecond.blp\r\n"
                                  "[Amov]\r\n"
                                  "Name=  Say \"Move\"|n  \r\n"
                                  "Art=BTNOne.blp,BTNTwo.blp\r\n"
                                  "[Aatk]\r\n"
                                  "Name=|r\r\n"
                                  "Researchtip=Attack (A)\r\n"
                                  "Art=C:BTNEvil.blp\r\n"
                                  "[Aone]\r\n"
                                  "Untip=(Q)\r\n"
                                  "[CmdMove]\r\n"
                                  "Name=Move\r\n"
                                  "Art=CommandMove\r\n";

class TreeRewriteTest : public ::testing::Test {
  protected:
    TempDir dir;
    const std::filesystem::path tree = dir / "TV_foreign.wrk";
    const std::filesystem::path defaults = dir / "DefaultKeys.wrk";

    void SetUp() override { WriteBytes(defaults, kDefaults); }

    // The file after filling it from the defaults, which must succeed.
    std::string Fill(const std::string& content) {
        WriteBytes(tree, content);
        EXPECT_TRUE(FillTVFromDefaults(tree, defaults));
        return ReadBytes(tree);
    }
    std::string Clear(const std::string& content) {
        WriteBytes(tree, content);
        EXPECT_TRUE(ClearTVNames(tree));
        return ReadBytes(tree);
    }
};

TEST(TreeText, TabCountCountsOnlyLeadingTabs) {
    EXPECT_EQ(TabCount(""), 0);
    EXPECT_EQ(TabCount("Human|?"), 0);
    EXPECT_EQ(TabCount("\t\tA\tB"), 2);
    EXPECT_EQ(TabCount("\t\t\t"), 3);
    EXPECT_EQ(TabCount(" \tA"), 0);
}

TEST(TreeText, CutBeforeLastBracket) {
    EXPECT_EQ(CutBeforeLastBracket(""), "");
    EXPECT_EQ(CutBeforeLastBracket("No bracket"), "No bracket");
    EXPECT_EQ(CutBeforeLastBracket("Train Footman (F)"), "Train Footman ");
    EXPECT_EQ(CutBeforeLastBracket("A (b) c (D)"), "A (b) c ");
    EXPECT_EQ(CutBeforeLastBracket("(Q)"), "");
    EXPECT_EQ(CutBeforeLastBracket("Close) only"), "Close) only");
}

TEST_F(TreeRewriteTest, ClearSetsActionCaptionsToPlaceholder) {
    EXPECT_EQ(Clear("Human|?|?\r\n"
                    "\tFootman|hfoo|BTNFootman.jpg|x\r\n"
                    "Group\r\n"
                    "Top action|Amov\r\n"
                    "\t\tA||B\r\n"
                    "\t'a|b'|Aatk|icon.jpg\r\n"
                    "\tName|\tAone|icon.jpg\r\n"),
              "Human|?|?\r\n"
              "\t?|hfoo|BTNFootman.jpg|x\r\n"
              "Group\r\n"
              "?|Amov\r\n"
              "\t\t?|B\r\n"
              "\t?|Aatk|icon.jpg\r\n"
              "\t?|\tAone|icon.jpg\r\n");
}

TEST_F(TreeRewriteTest, UnpairedApostropheKeepsTheLineAsItIs) {
    const std::string line = "\tKel'Thuzad|Ukel|BTNKel.jpg\r\n";
    EXPECT_EQ(Clear(line), line);
    EXPECT_EQ(Fill(line), line);
}

TEST_F(TreeRewriteTest, FillTakesNamesAndIcons) {
    EXPECT_EQ(Fill("Human|?|?\r\n"
                   "\tOld caption|hfoo|?\r\n"
                   "\t?|hpea|?\r\n"
                   "\t\tKnight|hkni|?|extra|more\r\n"
                   "\tX|hfoo\r\n"
                   "\tX|hfoo|Mine.jpg\r\n"),
              "Human|?|?\r\n"
              "\tFootman|hfoo|BTNFootman.jpg\r\n"
              "\tTrain Peasant|hpea|?\r\n"
              "\t\tKnight|hkni|BTNKnight.jpg|extra|more\r\n"
              "\tFootman|hfoo\r\n"
              "\tFootman|hfoo|Mine.jpg\r\n");
}

TEST_F(TreeRewriteTest, AfterClearingOnlyIndentedActionsAreNamed) {
    Clear("Footman|hfoo|?\r\n\tFootman|hfoo|?\r\n\tKnight|hkni|?\r\n");
    EXPECT_EQ(Fill(ReadBytes(tree)), "?|hfoo|?\r\n\tFootman|hfoo|BTNFootman.jpg\r\n"
                                     "\t?|hkni|BTNKnight.jpg\r\n");
}

TEST_F(TreeRewriteTest, LinesThatAreNotActionsStayAsTheyAre) {
    EXPECT_EQ(Fill("A|hfoo|?\r\n"  // one-character caption at the top
                   "\tCap|h|?\r\n" // one-character identifier
                   "\tCap|?|?\r\n" // group
                   "\tOnly caption\r\n"
                   "\t\t\t\r\n"
                   "\r\n"),
              "A|hfoo|?\r\n\tCap|h|?\r\n\tCap|?|?\r\n\tOnly caption\r\n\t\t\t\r\n\r\n");
}

TEST_F(TreeRewriteTest, UnknownOrNamelessActionsKeepTheirOwnCaptionTrimmed) {
    EXPECT_EQ(Fill("\t  Own caption  |zzzz|?|four\r\n"
                   "  Spaced top  |hkni|?\r\n"),
              "\tOwn caption|zzzz|?|four\r\n"
              "Spaced top|hkni|BTNKnight.jpg\r\n");
}

TEST_F(TreeRewriteTest, IdentifiersAreMatchedTrimmedAndWrittenAsTheyStand) {
    EXPECT_EQ(Fill("\tCap| hfoo |?\r\n"), "\tFootman| hfoo |BTNFootman.jpg\r\n");
}

TEST_F(TreeRewriteTest, CaptionsFromTheDataCannotBreakTheLine) {
    EXPECT_EQ(Fill("\tCap|Hamg|?\r\n"      // colour codes
                   "\tCap|Amov|?\r\n"      // quotes, a lone bar, spaces
                   "\tCap|Aatk|?\r\n"      // a name of markup only: the tooltip names it
                   "\tCap|Aone|keep\r\n"), // a tooltip that is only a bracket
              "\tArchmage|Hamg|BTNSecond.jpg\r\n"
              "\tSay Moven|Amov|BTNTwo.jpg\r\n"
              "\tAttack|Aatk|?\r\n"
              "\tCap|Aone|keep\r\n");
}

// A colour code takes eight bytes, here the first half of "Ж": the rest of
// that character goes too, so the tree file stays UTF-8 and reads as such.
TEST_F(TreeRewriteTest, CaptionsCutInsideACharacterStayUtf8) {
    WriteBytes(defaults, "[hfoo]\r\nName=Foot|cffffcc0\xD0\x96man\r\n");
    EXPECT_EQ(Fill("\t\xD0\x96|hfoo|?\r\n"), "\tFootman|hfoo|?\r\n");
}

TEST_F(TreeRewriteTest, ArtWithoutExtensionGivesNoIconName) {
    EXPECT_EQ(Fill("\tCap|CmdMove|?\r\n"), "\tMove|CmdMove|?\r\n");
}

TEST_F(TreeRewriteTest, MissingDefaultsKeepCaptionsAndIcons) {
    std::filesystem::remove(defaults);
    EXPECT_EQ(Fill("\t Cap |hfoo|?\r\n"), "\tCap|hfoo|?\r\n");
}

TEST_F(TreeRewriteTest, Windows1251TreeIsWrittenAsUtf8) {
    // "Пехота" and "А" in Windows-1251.
    EXPECT_EQ(Fill("\xCF\xE5\xF5\xEE\xF2\xE0|?|?\n\t\xCF\xE5\xF5\xEE\xF2\xE0 |zzzz|?\n"
                   "\xC0|hfoo|?\n"),
              "\xD0\x9F\xD0\xB5\xD1\x85\xD0\xBE\xD1\x82\xD0\xB0|?|?\r\n"
              "\t\xD0\x9F\xD0\xB5\xD1\x85\xD0\xBE\xD1\x82\xD0\xB0|zzzz|?\r\n"
              "\xD0\x90|hfoo|?\r\n");
}

TEST_F(TreeRewriteTest, Utf8TreeStaysUtf8) {
    const std::string utf8 =
        "\xEF\xBB\xBF\xD0\x9F\xD0\xB5|?|?\n\t\xE6\xAD\xA9\xE5\x85\xB5|zzzz|?\n";
    EXPECT_EQ(Fill(utf8), "\xD0\x9F\xD0\xB5|?|?\r\n\t\xE6\xAD\xA9\xE5\x85\xB5|zzzz|?\r\n");
}

TEST_F(TreeRewriteTest, NamesStoredInEitherEncodingAreWrittenAsUtf8) {
    WriteBytes(defaults,
               "[h001]\nName=\xCF\xE5\xF5\xEE\xF2\xE0\n[h002]\nName=\xE6\xAD\xA9\xE5\x85\xB5\n");
    EXPECT_EQ(Fill("\tA1|h001|?\n\tA2|h002|?\n"),
              "\t\xD0\x9F\xD0\xB5\xD1\x85\xD0\xBE\xD1\x82\xD0\xB0|h001|?\r\n"
              "\t\xE6\xAD\xA9\xE5\x85\xB5|h002|?\r\n");
}

TEST_F(TreeRewriteTest, BinaryJunkAndEnormousLinesAreRewritten) {
    std::mt19937 rng(5);
    std::string junk;
    for (int i = 0; i < 200000; ++i)
        junk += static_cast<char>(rng() % 256);
    std::erase(junk, '\x1A'); // Ctrl+Z would end the file early
    junk += "\n\t" + std::string(4'000'000, 'x') + "|hfoo|?|" + std::string(1'000'000, '|') + "\n";
    const std::string out = Fill(junk);
    EXPECT_TRUE(IsValidUtf8(out));
    EXPECT_NE(out.find("\tFootman|hfoo|BTNFootman.jpg\r\n"), std::string::npos);
    EXPECT_TRUE(ClearTVNames(tree));
    EXPECT_TRUE(IsValidUtf8(ReadBytes(tree)));
}

TEST_F(TreeRewriteTest, MissingTreeFileFails) {
    EXPECT_FALSE(ClearTVNames(dir / "missing.wrk"));
    EXPECT_FALSE(FillTVFromDefaults(dir / "missing.wrk", defaults));
    EXPECT_FALSE(FillTVFromDefaults(dir.path(), defaults));
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"DefaultKeys.wrk"});
}

// A failed write keeps the old tree and leaves no temporary file. A file-size
// limit makes the write fail even for root.
TEST_F(TreeRewriteTest, FailedWriteLeavesTheOldFile) {
    std::string big;
    for (int i = 0; i < 20000; ++i)
        big += "\tCaption " + std::to_string(i) + "|hfoo|?\n";
    WriteBytes(tree, big);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limited = old;
    limited.rlim_cur = 64 * 1024;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool filled = FillTVFromDefaults(tree, defaults);
    const bool cleared = ClearTVNames(tree);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(filled);
    EXPECT_FALSE(cleared);
    EXPECT_EQ(ReadBytes(tree), big);
    EXPECT_EQ(ListFolder(dir.path()),
              (std::vector<std::string>{"DefaultKeys.wrk", "TV_foreign.wrk"}));
}

TEST_F(TreeRewriteTest, ReadOnlyFolderLeavesTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "read-only folders do not stop root";
    WriteBytes(tree, "\tCap|hfoo|?\n");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_FALSE(FillTVFromDefaults(tree, defaults));
    EXPECT_EQ(ReadBytes(tree), "\tCap|hfoo|?\n");
}

} // namespace
} // namespace qm
