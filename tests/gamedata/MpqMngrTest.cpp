// Reading entries out of archives made by StormLib's writer: every storage
// kind, chunk boundaries, missing and empty entries, and damaged archives.

#include "gamedata/MPQMngr.h"
#include "GameFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>

namespace qm {
namespace {

using test::MakeArchive;
using test::Noise;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
namespace fs = std::filesystem;

// Table-like text that compresses, so that every codec really works on it.
std::string TableText(size_t size) {
    std::string text;
    for (int i = 0; text.size() < size; ++i)
        text += "[A" + std::to_string(i) + "]\r\nHotkey=Q\r\nTip=Train |cffffcc00F|rootman\r\n";
    text.resize(size);
    return text;
}

std::string ExtractToString(TMPQManager& mpq, std::string_view entry) {
    TempDir dir;
    return mpq.ExtractFile(entry, dir / "out") ? ReadBytes(dir / "out") : "<not extracted>";
}

class MpqKinds : public ::testing::TestWithParam<TMpqEntryKind> {};

TEST_P(MpqKinds, EntriesOfEveryKindAndSizeArriveWhole) {
    TempDir dir;
    const test::TEntries entries = {
        {"Units\\CommandFunc.txt", TableText(70000)},
        {"Units\\Small.txt", "[ACac]\r\nName=Captain\r\n"},
        {"Units\\Exact65535.bin", Noise(65535, 1)},
        {"Units\\Over65536.bin", Noise(65536, 2)},
        {"Units\\Several.bin", Noise(3 * 65535 + 17, 3)},
        {"ReplaceableTextures\\CommandButtons\\BTNFootman.blp", Noise(8000, 4)}};
    MakeArchive(dir / "war3.mpq", entries, GetParam());
    TMPQManager mpq(dir / "war3.mpq");
    ASSERT_TRUE(mpq.IsOpen());
    for (const auto& [name, bytes] : entries)
        EXPECT_EQ(ExtractToString(mpq, name), bytes) << name;
}

INSTANTIATE_TEST_SUITE_P(Archive, MpqKinds,
                         ::testing::Values(TMpqEntryKind::Stored, TMpqEntryKind::Zlib,
                                           TMpqEntryKind::Bzip2, TMpqEntryKind::Pkware,
                                           TMpqEntryKind::Imploded, TMpqEntryKind::EncryptedZlib));

class MpqArchive : public ::testing::Test {
  protected:
    void SetUp() override {
        MakeArchive(dir / "war3.mpq", {{"Units\\A.txt", "alpha\r\n"},
                                       {"Units\\B.txt", "bravo"},
                                       {"Units\\Empty.txt", ""},
                                       {"Units\\Big.bin", big}});
    }
    TempDir dir;
    const std::string big = Noise(200000, 9);
};

TEST_F(MpqArchive, MissingAndEmptyEntriesAreNotExtracted) {
    TMPQManager mpq(dir / "war3.mpq");
    // The output file is made before the lookup and stays, empty.
    WriteBytes(dir / "old", "previous content");
    EXPECT_FALSE(mpq.ExtractFile("Units\\Missing.txt", dir / "old"));
    EXPECT_TRUE(fs::exists(dir / "old"));
    EXPECT_EQ(ReadBytes(dir / "old"), "");
    EXPECT_FALSE(mpq.ExtractFile("Units\\Empty.txt", dir / "empty"));
    EXPECT_EQ(ReadBytes(dir / "empty"), "");
    EXPECT_FALSE(mpq.ExtractFile("", dir / "noname"));
    EXPECT_FALSE(mpq.ExtractFile(std::string_view("Units\\A.txt\0x", 13), dir / "zero"));
    EXPECT_EQ(ReadBytes(dir / "zero"), "");
    // Names use backslashes; a forward slash names another entry.
    EXPECT_EQ(ExtractToString(mpq, "Units\\A.txt"), "alpha\r\n");
    EXPECT_EQ(ExtractToString(mpq, "units\\a.TXT"), "alpha\r\n"); // the format ignores case
}

TEST_F(MpqArchive, ExtractFileReplacesTheOutput) {
    TMPQManager mpq(dir / "war3.mpq");
    WriteBytes(dir / "out", std::string(1000, 'x'));
    EXPECT_TRUE(mpq.ExtractFile("Units\\B.txt", dir / "out"));
    EXPECT_EQ(ReadBytes(dir / "out"), "bravo");
}

TEST_F(MpqArchive, ExtractToHandleAppendsAtThePosition) {
    TMPQManager mpq(dir / "war3.mpq");
    std::FILE* out = std::fopen((dir / "joined").c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fputs("head|", out);
    EXPECT_TRUE(mpq.ExtractToHandle("Units\\B.txt", out));
    EXPECT_FALSE(mpq.ExtractToHandle("Units\\Missing.txt", out));
    EXPECT_FALSE(mpq.ExtractToHandle("Units\\Empty.txt", out));
    EXPECT_TRUE(mpq.ExtractToHandle("Units\\A.txt", out));
    std::fclose(out);
    EXPECT_EQ(ReadBytes(dir / "joined"), "head|bravoalpha\r\n");
    EXPECT_FALSE(mpq.ExtractToHandle("Units\\A.txt", nullptr));
}

TEST_F(MpqArchive, ExtractFilesJoinsWhatItFindsInListOrder) {
    TMPQManager mpq(dir / "war3.mpq");
    EXPECT_EQ(mpq.ExtractFiles(dir / "none", {}), 0);
    EXPECT_FALSE(fs::exists(dir / "none"));

    EXPECT_EQ(
        mpq.ExtractFiles(dir / "joined", {"Units\\B.txt", "Units\\Missing.txt", "Units\\Empty.txt",
                                          "Units\\A.txt", "Units\\B.txt"}),
        3);
    EXPECT_EQ(ReadBytes(dir / "joined"), "bravoalpha\r\nbravo");

    EXPECT_EQ(mpq.ExtractFiles(dir / "nothing", {"Units\\Missing.txt"}), 0);
    EXPECT_TRUE(fs::exists(dir / "nothing"));
    EXPECT_EQ(ReadBytes(dir / "nothing"), "");

    EXPECT_EQ(mpq.ExtractFiles(dir / "big", {"Units\\Big.bin", "Units\\A.txt"}), 2);
    EXPECT_EQ(ReadBytes(dir / "big"), big + "alpha\r\n");
}

TEST_F(MpqArchive, OutputThatCannotBeCreatedFails) {
    TMPQManager mpq(dir / "war3.mpq");
    EXPECT_FALSE(mpq.ExtractFile("Units\\A.txt", dir / "no" / "such" / "folder"));
    EXPECT_EQ(mpq.ExtractFiles(dir / "no" / "file", {"Units\\A.txt"}), 0);
    EXPECT_FALSE(mpq.ExtractFile("Units\\A.txt", dir.path()));
}

TEST_F(MpqArchive, ArchiveIsOpenedReadOnlyAndLeftUnchanged) {
    const std::string before = ReadBytes(dir / "war3.mpq");
    fs::permissions(dir / "war3.mpq", fs::perms::owner_read | fs::perms::group_read);
    {
        TMPQManager mpq(dir / "war3.mpq");
        ASSERT_TRUE(mpq.IsOpen());
        EXPECT_EQ(ExtractToString(mpq, "Units\\A.txt"), "alpha\r\n");
        // A second manager on the same archive works beside the first.
        TMPQManager again(dir / "war3.mpq");
        EXPECT_EQ(ExtractToString(again, "Units\\B.txt"), "bravo");
    }
    EXPECT_EQ(ReadBytes(dir / "war3.mpq"), before);
}

TEST(MpqBadArchives, PathsThatAreNoArchiveReportEveryEntryMissing) {
    TempDir dir;
    WriteBytes(dir / "text.mpq", "MPQ? no, just some text that is not an archive at all\n");
    WriteBytes(dir / "empty.mpq", "");
    WriteBytes(dir / "header.mpq", std::string("MPQ\x1A", 4) + Noise(4000, 5));
    fs::create_directory(dir / "folder.mpq");
    for (const char* name : {"missing.mpq", "text.mpq", "empty.mpq", "header.mpq", "folder.mpq"}) {
        TMPQManager mpq(dir / name);
        EXPECT_FALSE(mpq.IsOpen()) << name;
        EXPECT_FALSE(mpq.ExtractFile("Units\\A.txt", dir / "out")) << name;
        EXPECT_EQ(mpq.ExtractFiles(dir / "out", {"Units\\A.txt", "(listfile)"}), 0) << name;
    }
}

TEST(MpqBadArchives, TruncatedArchiveNeverYieldsWrongBytes) {
    TempDir dir;
    const test::TEntries entries = {{"A\\First.bin", Noise(150000, 6)},
                                    {"B\\Second.txt", TableText(150000)},
                                    {"C\\Third.txt", "third"}};
    MakeArchive(dir / "war3.mpq", entries);
    const std::string whole = ReadBytes(dir / "war3.mpq");
    for (const size_t keep : {whole.size() - 1, whole.size() / 2, size_t(100), size_t(31)}) {
        WriteBytes(dir / "cut.mpq", whole.substr(0, keep));
        TMPQManager mpq(dir / "cut.mpq");
        for (const auto& [name, bytes] : entries) {
            const std::string got = ExtractToString(mpq, name);
            if (got != "<not extracted>") {
                EXPECT_EQ(got, bytes) << name << " from " << keep << " bytes";
            }
        }
    }
}

TEST(MpqBadArchives, CorruptEntryIsNotExtractedAndLeavesNothing) {
    TempDir dir;
    // Entries are laid out in name order after the 32-byte header, so
    // "A\\Bad.txt" starts at offset 32 with its table of sector offsets.
    // Damaging the compression byte of sector 40 lets the first 40 sectors
    // arrive before the damage shows.
    const std::string bad = TableText(300000);
    MakeArchive(dir / "war3.mpq", {{"A\\Bad.txt", bad}, {"B\\Good.txt", "good"}});
    std::string bytes = ReadBytes(dir / "war3.mpq");
    std::uint32_t sector40 = 0;
    std::memcpy(&sector40, bytes.data() + 32 + 40 * 4, 4);
    ASSERT_LT(32 + sector40, bytes.size());
    bytes[32 + sector40] = static_cast<char>(0xFF);
    WriteBytes(dir / "war3.mpq", bytes);

    TMPQManager mpq(dir / "war3.mpq");
    ASSERT_TRUE(mpq.IsOpen());
    EXPECT_EQ(ExtractToString(mpq, "A\\Bad.txt"), "<not extracted>");
    EXPECT_FALSE(mpq.ExtractFile("A\\Bad.txt", dir / "bad"));
    EXPECT_EQ(ReadBytes(dir / "bad"), "");
    EXPECT_EQ(mpq.ExtractFiles(dir / "joined", {"B\\Good.txt", "A\\Bad.txt", "B\\Good.txt"}), 2);
    EXPECT_EQ(ReadBytes(dir / "joined"), "goodgood");
}

} // namespace
} // namespace qm
