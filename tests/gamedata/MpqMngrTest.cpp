// Reading entries out of archives made by StormLib's writer: every storage
// kind, chunk boundaries, missing and empty entries, and damaged archives.

#include "gamedata/MPQMngr.h"
#include "GameFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdint>
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

// A header claiming tables of billions of entries, or sectors of gigabytes,
// would make the library allocate gigabytes for an archive of kilobytes.
TEST_F(MpqArchive, TablesThatCannotFitTheArchiveAreRefused) {
    std::string bytes = ReadBytes(dir / "war3.mpq");
    ASSERT_EQ(bytes.substr(0, 4), "MPQ\x1A");
    EXPECT_TRUE(TMPQManager(dir / "war3.mpq").IsOpen());
    std::string huge = bytes;
    huge.replace(24, 4, std::string("\x80\x00\x00\xFF", 4)); // hash table entries
    WriteBytes(dir / "war3.mpq", huge);
    EXPECT_FALSE(TMPQManager(dir / "war3.mpq").IsOpen());
    // Sectors of 2 GiB, which every read would allocate.
    bytes.replace(14, 2, std::string("\x16\x00", 2));
    WriteBytes(dir / "war3.mpq", bytes);
    EXPECT_FALSE(TMPQManager(dir / "war3.mpq").IsOpen());
}

// A sector marked as LZMA-compressed in an archive of the old format trips
// an assertion inside StormLib: the entry fails, the program goes on.
TEST(MpqBadArchives, ASectorThatTripsStormLibsAssertionFailsTheEntryOnly) {
    TempDir dir;
    MakeArchive(dir / "war3.mpq", {{"Units\\A.txt", TableText(3000)}}, TMpqEntryKind::Zlib);
    std::string bytes = ReadBytes(dir / "war3.mpq");
    // The only entry comes first, after the 32-byte header: its sector table
    // (whose first offset is its own size), then the sector's compression mark.
    ASSERT_GT(bytes.size(), 40u);
    const size_t sector = 32 + static_cast<unsigned char>(bytes[32]);
    ASSERT_EQ(bytes[sector], '\x02'); // zlib
    bytes[sector] = '\x12';
    WriteBytes(dir / "war3.mpq", bytes);
    TMPQManager mpq(dir / "war3.mpq");
    ASSERT_TRUE(mpq.IsOpen());
    EXPECT_EQ(ExtractToString(mpq, "Units\\A.txt"), "<not extracted>");
    EXPECT_EQ(ExtractToString(mpq, "Units\\A.txt"), "<not extracted>"); // and again
}

TEST_F(MpqArchive, EntriesOverTheCallersCeilingAreRefused) {
    TMPQManager mpq(dir / "war3.mpq");
    std::FILE* out = std::fopen((dir / "out").c_str(), "wb");
    ASSERT_NE(out, nullptr);
    EXPECT_FALSE(mpq.ExtractToHandle("Units\\A.txt", out, 6));
    EXPECT_TRUE(mpq.ExtractToHandle("Units\\A.txt", out, 7));
    std::fclose(out);
    EXPECT_EQ(ReadBytes(dir / "out"), "alpha\r\n");
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

// The archive format's own cipher, enough to rewrite a block table entry.
class TMpqCipher {
  public:
    TMpqCipher() {
        std::uint32_t seed = 0x00100001;
        for (int i = 0; i < 0x100; ++i)
            for (int j = i, n = 0; n < 5; ++n, j += 0x100) {
                seed = (seed * 125 + 3) % 0x2AAAAB;
                const std::uint32_t high = (seed & 0xFFFF) << 16;
                seed = (seed * 125 + 3) % 0x2AAAAB;
                table_[j] = high | (seed & 0xFFFF);
            }
    }
    std::uint32_t Key(std::string_view name) const {
        std::uint32_t seed1 = 0x7FED7FED, seed2 = 0xEEEEEEEE;
        for (const char c : name) {
            const std::uint32_t ch = static_cast<unsigned char>(std::toupper(c));
            seed1 = table_[0x300 + ch] ^ (seed1 + seed2);
            seed2 = ch + seed1 + seed2 + (seed2 << 5) + 3;
        }
        return seed1;
    }
    void Crypt(std::uint32_t* data, size_t count, std::uint32_t key, bool encrypt) const {
        std::uint32_t seed = 0xEEEEEEEE;
        for (size_t i = 0; i < count; ++i) {
            seed += table_[0x400 + (key & 0xFF)];
            const std::uint32_t plain = encrypt ? data[i] : data[i] ^ (key + seed);
            data[i] = encrypt ? data[i] ^ (key + seed) : plain;
            key = ((~key << 21) + 0x11111111) | (key >> 11);
            seed = plain + seed + (seed << 5) + 3;
        }
    }

  private:
    std::array<std::uint32_t, 0x500> table_{};
};

// Rewrites the unpacked size of the entry whose size is `from` in the block
// table of a version-1 archive.
void SetEntrySize(std::string& archive, std::uint32_t from, std::uint32_t to) {
    std::uint32_t tablePos = 0, count = 0;
    std::memcpy(&tablePos, archive.data() + 20, 4);
    std::memcpy(&count, archive.data() + 28, 4);
    std::vector<std::uint32_t> table(count * 4);
    std::memcpy(table.data(), archive.data() + tablePos, table.size() * 4);
    const TMpqCipher cipher;
    const std::uint32_t key = cipher.Key("(block table)");
    cipher.Crypt(table.data(), table.size(), key, false);
    for (std::uint32_t i = 0; i < count; ++i)
        if (table[i * 4 + 2] == from)
            table[i * 4 + 2] = to;
    cipher.Crypt(table.data(), table.size(), key, true);
    std::memcpy(archive.data() + tablePos, table.data(), table.size() * 4);
}

TEST(MpqBadArchives, EntriesClaimingTwoGibibytesOrMoreAreRefused) {
    TempDir dir;
    for (const auto kind : {TMpqEntryKind::Stored, TMpqEntryKind::Zlib}) {
        MakeArchive(dir / "war3.mpq", {{"A\\Huge.bin", TableText(12345)}, {"B\\Fine.txt", "fine"}},
                    kind);
        const std::string original = ReadBytes(dir / "war3.mpq");
        for (const std::uint32_t claimed : {0x80000000u, 0xFFFFFFFEu, 0x7FFFFFFFu}) {
            std::string bytes = original;
            SetEntrySize(bytes, 12345, claimed);
            ASSERT_NE(bytes, original);
            WriteBytes(dir / "war3.mpq", bytes);
            TMPQManager mpq(dir / "war3.mpq");
            EXPECT_FALSE(mpq.ExtractFile("A\\Huge.bin", dir / "out")) << claimed;
            EXPECT_EQ(ReadBytes(dir / "out"), "");
            EXPECT_EQ(ExtractToString(mpq, "B\\Fine.txt"), "fine");
        }
    }
}

} // namespace
} // namespace qm
