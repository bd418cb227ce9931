// Reading files out of CASC installations laid out by the fixture writer:
// every envelope kind, paths across mounts, the ceilings, and damaged
// storages and files.

#include "gamedata/CascStorage.h"
#include "GameFixture.h"
#include "fixtures/CascWriter.h"

#include <gtest/gtest.h>

#include <functional>

namespace qm {
namespace {

using test::Noise;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
namespace fs = std::filesystem;

const std::string kFunc = "war3.w3mod:units\\HumanUnitFunc.txt";
const std::string kStrings = "war3.w3mod:_locales\\enus.w3mod:units\\HumanUnitStrings.txt";
const std::string kButton = "war3.w3mod:ReplaceableTextures\\CommandButtons\\BTNFootman.blp";
const std::string kTop = "Readme.txt";
const std::string kSecret = "war3.w3mod:units\\Secret.txt";
// Decodes to several times zlib's output buffer from one chunk.
const std::string kLarge = "war3.w3mod:units\\Large.txt";

std::string TableText(size_t size) {
    std::string text;
    for (int i = 0; text.size() < size; ++i)
        text += "[h" + std::to_string(i) + "]\r\nButtonpos=0,0\r\nHotkey=F\r\n";
    text.resize(size);
    return text;
}

std::map<std::string, std::string> Files() {
    return {{kFunc, TableText(5000)},
            {kStrings, "[hfoo]\r\nName=Footman\r\nTip=Train |cffffcc00F|rootman\r\n"},
            {kButton, Noise(7321, 1)},
            {kTop, "top level"},
            {kLarge, TableText(300000)}};
}

// Content as read through ExtractToHandle after "kept", or "<failed>"; a
// failed extraction must leave "kept" alone.
std::string Extract(TCascStorage& storage, std::string_view path,
                    std::uint32_t maxSize = TCascStorage::kMaxEntrySize) {
    std::FILE* out = std::tmpfile();
    std::fputs("kept", out);
    const bool whole = storage.ExtractToHandle(path, out, maxSize);
    std::fflush(out);
    std::string bytes(static_cast<size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
    bytes.resize(got);
    if (!whole) {
        EXPECT_EQ(bytes, "kept") << "a failed extraction changed the stream: " << path;
        return "<failed>";
    }
    EXPECT_EQ(bytes.substr(0, 4), "kept");
    return bytes.substr(4);
}

void Patch(const fs::path& file, std::uint64_t at, const std::string& bytes) {
    std::string all = ReadBytes(file);
    ASSERT_LE(at + bytes.size(), all.size()) << file;
    all.replace(static_cast<size_t>(at), bytes.size(), bytes);
    WriteBytes(file, all);
}

std::string Be(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out += static_cast<char>(value >> (8 * i));
    return out;
}

class CascKinds : public ::testing::TestWithParam<TBlteKind> {};

TEST_P(CascKinds, EveryFileArrivesWholeThroughItsMounts) {
    TempDir dir;
    TCascWriter writer("ruRU");
    for (const auto& [path, bytes] : Files())
        writer.Add(path, bytes, GetParam());
    writer.StoreTablesAs(GetParam());
    ASSERT_TRUE(writer.Write(dir.path()));
    TCascStorage storage(dir.path());
    ASSERT_TRUE(storage.IsOpen()) << storage.Failure();
    EXPECT_EQ(storage.TextLocale(), "ruRU");
    for (const auto& [path, bytes] : Files())
        EXPECT_EQ(Extract(storage, path), bytes) << path;
}

INSTANTIATE_TEST_SUITE_P(Envelopes, CascKinds,
                         ::testing::Values(TBlteKind::Plain, TBlteKind::Zlib, TBlteKind::Frames));

class CascStorage : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const auto& [path, bytes] : Files())
            writer.Add(path, bytes, TBlteKind::Frames);
        writer.Add(kSecret, "hidden", TBlteKind::Encrypted);
    }
    void Write() { ASSERT_TRUE(writer.Write(dir.path())); }
    const TCascWriter::TPlacement& Placed(const std::string& name) const {
        return writer.Placed().at(name);
    }

    TempDir dir;
    TCascWriter writer;
};

TEST_F(CascStorage, PathsMatchWithoutRegardToCaseOrSlashes) {
    Write();
    TCascStorage storage(dir.path());
    EXPECT_EQ(storage.TextLocale(), "enUS");
    EXPECT_EQ(Extract(storage, "WAR3.W3MOD:Units/humanunitfunc.TXT"), Files()[kFunc]);
    EXPECT_EQ(Extract(storage, "war3.w3mod:_LOCALES/enUS.w3mod:/units//HUMANUNITSTRINGS.txt"),
              Files()[kStrings]);
    EXPECT_EQ(Extract(storage, "readme.TXT"), "top level");
}

TEST_F(CascStorage, WhatIsNoFileIsNotExtracted) {
    Write();
    TCascStorage storage(dir.path());
    for (const std::string& path : std::vector<std::string>{
             "war3.w3mod:units\\Missing.txt", "war3.w3mod:units", "war3.w3mod:units\\HumanUnit",
             "units\\HumanUnitFunc.txt", "war3.w3mod:units\\HumanUnitFunc.txt:x", "war3.w3mod",
             "Readme.txt:units", "", std::string("Readme.txt\0", 11)})
        EXPECT_EQ(Extract(storage, path), "<failed>") << path;
}

TEST_F(CascStorage, AFileOverTheCeilingIsNotExtracted) {
    Write();
    TCascStorage storage(dir.path());
    const auto size = static_cast<std::uint32_t>(Files()[kButton].size());
    EXPECT_EQ(Extract(storage, kButton, size - 1), "<failed>");
    EXPECT_EQ(Extract(storage, kButton, size), Files()[kButton]);
}

TEST_F(CascStorage, ContentStoredInTwoWaysIsReadEitherWay) {
    writer.Add("war3.w3mod:units\\Copy.txt", Files()[kFunc], TBlteKind::Plain);
    Write();
    TCascStorage storage(dir.path());
    EXPECT_EQ(Extract(storage, "war3.w3mod:units\\Copy.txt"), Files()[kFunc]);
    EXPECT_EQ(Extract(storage, kFunc), Files()[kFunc]);
}

TEST(CascStorageLocale, TagsWithoutATextLocaleMeanEnglish) {
    TempDir dir;
    TCascWriter writer("koKR");
    writer.Add(kTop, "top level");
    ASSERT_TRUE(writer.Write(dir.path()));
    EXPECT_EQ(TCascStorage(dir.path()).TextLocale(), "koKR");
    std::string info = ReadBytes(dir / ".build.info");
    info.replace(info.find("koKR text?"), 10, "koKR");
    WriteBytes(dir / ".build.info", info);
    TCascStorage storage(dir.path());
    EXPECT_TRUE(storage.IsOpen()) << storage.Failure();
    EXPECT_EQ(storage.TextLocale(), "enUS");
}

TEST_F(CascStorage, ExtractFileReplacesTheFile) {
    Write();
    TCascStorage storage(dir.path());
    WriteBytes(dir / "out", "previous content that is longer");
    EXPECT_TRUE(storage.ExtractFile(kTop, dir / "out"));
    EXPECT_EQ(ReadBytes(dir / "out"), "top level");
    EXPECT_FALSE(storage.ExtractFile("Missing.txt", dir / "out"));
    EXPECT_EQ(ReadBytes(dir / "out"), "");
}

TEST_F(CascStorage, OlderIndexesAreIgnored) {
    Write();
    WriteBytes(dir / "Data/data/0000000000.idx", "an older, broken index");
    WriteBytes(dir / "Data/data/notes.idx", "not an index");
    TCascStorage storage(dir.path());
    ASSERT_TRUE(storage.IsOpen()) << storage.Failure();
    EXPECT_EQ(Extract(storage, kFunc), Files()[kFunc]);
}

// A damaged file fails alone: the storage and its other files stay readable.
struct TFileDamage {
    const char* name;
    std::function<void(TCascWriter&)> before;
    std::function<void(const TCascWriter&)> after;
};

class CascFileDamage : public CascStorage, public ::testing::WithParamInterface<TFileDamage> {};

TEST_P(CascFileDamage, OnlyThatFileFails) {
    if (GetParam().before)
        GetParam().before(writer);
    Write();
    if (GetParam().after)
        GetParam().after(writer);
    TCascStorage storage(dir.path());
    ASSERT_TRUE(storage.IsOpen()) << storage.Failure();
    EXPECT_EQ(Extract(storage, kButton), "<failed>");
    EXPECT_EQ(Extract(storage, kFunc), Files()[kFunc]);
    EXPECT_EQ(Extract(storage, kStrings), Files()[kStrings]);
}

const TFileDamage kFileDamages[] = {
    {"Encrypted", [](TCascWriter& w) { w.Add(kButton, "secret", TBlteKind::Encrypted); }, {}},
    {"NotInEncodingTable", [](TCascWriter& w) { w.LeaveOutOfEncoding(kButton); }, {}},
    {"IndexPastTheEnd",
     {},
     [](const TCascWriter& w) {
         const auto& place = w.Placed().at(kButton);
         Patch(place.index, place.indexEntry + 9, Be(0x3FFFFF00, 5));
     }},
    {"ChunkLongerThanItsFile",
     {},
     [](const TCascWriter& w) {
         Patch(w.DataFile(), w.Placed().at(kButton).offset + 42, Be(900000, 4));
     }},
    {"ChunkShorterThanItsContent",
     {},
     [](const TCascWriter& w) {
         Patch(w.DataFile(), w.Placed().at(kButton).offset + 46, Be(999, 4));
     }},
    {"ZlibStreamDamaged",
     {},
     [](const TCascWriter& w) {
         // The second chunk is zlib: its stream begins after the 7-chunk table and 1000+1 bytes.
         Patch(w.DataFile(), w.Placed().at(kButton).offset + 30 + 12 + 8 * 24 + 1001 + 1,
               std::string(8, '\xFF'));
     }},
    {"HeaderOfAnotherFile",
     {},
     [](const TCascWriter& w) {
         // The header's key is reversed: its last bytes are the key's first.
         Patch(w.DataFile(), w.Placed().at(kButton).offset + 10, "other");
     }},
};

INSTANTIATE_TEST_SUITE_P(Damage, CascFileDamage, ::testing::ValuesIn(kFileDamages),
                         [](const auto& info) { return std::string(info.param.name); });

// A storage whose tables are damaged does not open, and says why.
struct TStorageDamage {
    const char* name;
    TBlteKind tables;
    std::function<void(TCascWriter&)> before;
    std::function<void(const TCascWriter&, const fs::path&)> after;
    const char* message;
};

class CascStorageDamage : public CascStorage,
                          public ::testing::WithParamInterface<TStorageDamage> {};

TEST_P(CascStorageDamage, TheStorageFailsWithAMessage) {
    writer.StoreTablesAs(GetParam().tables);
    if (GetParam().before)
        GetParam().before(writer);
    Write();
    if (GetParam().after)
        GetParam().after(writer, dir.path());
    TCascStorage storage(dir.path());
    EXPECT_FALSE(storage.IsOpen());
    EXPECT_NE(storage.Failure().find(GetParam().message), std::string::npos) << storage.Failure();
    EXPECT_EQ(Extract(storage, kFunc), "<failed>");
}

std::uint64_t Content(const TCascWriter& w, const std::string& name) {
    return w.Placed().at(name).content;
}

const TStorageDamage kStorageDamages[] = {
    {"NoBuildInfo",
     TBlteKind::Plain,
     {},
     [](const TCascWriter&, const fs::path& root) { fs::remove(root / ".build.info"); },
     ".build.info is missing"},
    {"GarbledBuildInfo",
     TBlteKind::Plain,
     {},
     [](const TCascWriter&, const fs::path& root) {
         WriteBytes(root / ".build.info", Noise(300, 5));
     },
     ".build.info"},
    {"NoActiveBuild",
     TBlteKind::Plain,
     {},
     [](const TCascWriter&, const fs::path& root) {
         std::string info = ReadBytes(root / ".build.info");
         info.replace(info.find("eu|1|"), 5, "eu|0|");
         WriteBytes(root / ".build.info", info);
     },
     "no active build"},
    {"BuildKeyNotHex",
     TBlteKind::Plain,
     {},
     [](const TCascWriter&, const fs::path& root) {
         std::string info = ReadBytes(root / ".build.info");
         info.replace(info.find("eu|1|") + 5, 6, "../../");
         WriteBytes(root / ".build.info", info);
     },
     "no valid build key"},
    {"NoBuildConfiguration",
     TBlteKind::Plain,
     {},
     [](const TCascWriter&, const fs::path& root) { fs::remove_all(root / "Data/config"); },
     "build configuration"},
    {"BucketWithoutIndex",
     TBlteKind::Plain,
     {},
     [](const TCascWriter&, const fs::path& root) {
         fs::remove(root / "Data/data/0700000001.idx");
     },
     "indexes are missing"},
    {"TruncatedDataFile",
     TBlteKind::Plain,
     {},
     [](const TCascWriter& w, const fs::path&) {
         fs::resize_file(w.DataFile(), fs::file_size(w.DataFile()) / 2);
     },
     "points past the end of data.000"},
    {"IndexPastTheEnd",
     TBlteKind::Plain,
     {},
     [](const TCascWriter& w, const fs::path&) {
         const auto& place = w.Placed().at("encoding");
         Patch(place.index, place.indexEntry + 9, Be(0x3FFFFF00, 5));
     },
     "points past the end of data.000"},
    {"ChunkLongerThanItsFile",
     TBlteKind::Frames,
     {},
     [](const TCascWriter& w, const fs::path&) {
         Patch(w.DataFile(), w.Placed().at("vfs-root").offset + 42, Be(1u << 30, 4));
     },
     "a BLTE chunk is longer than its file"},
    {"RootMissingFromEncoding",
     TBlteKind::Plain,
     [](TCascWriter& w) { w.LeaveOutOfEncoding("vfs-root"); },
     {},
     "the encoding table lacks the TVFS manifest"},
    {"AbsurdChunkCount",
     TBlteKind::Frames,
     {},
     [](const TCascWriter& w, const fs::path&) {
         Patch(w.DataFile(), w.Placed().at("encoding").offset + 39, "\xFF\xFF\xFF");
     },
     "impossible number of chunks"},
    {"AbsurdEncodingPages",
     TBlteKind::Plain,
     {},
     [](const TCascWriter& w, const fs::path&) {
         Patch(w.DataFile(), Content(w, "encoding") + 9, "\xFF\xFF\xFF\xFF");
     },
     "claims more pages than it holds"},
    {"AbsurdIndexEntries",
     TBlteKind::Plain,
     {},
     [](const TCascWriter& w, const fs::path&) {
         Patch(w.Placed().at("encoding").index, 32, "\xF0\xFF\xFF\xFF");
     },
     "claims more entries than it holds"},
    {"AbsurdPathTable",
     TBlteKind::Plain,
     {},
     [](const TCascWriter& w, const fs::path&) {
         Patch(w.DataFile(), Content(w, "vfs-root") + 16, "\xFF\xFF\xFF\xF0");
     },
     "runs past its end"},
    {"MountedManifestDamaged",
     TBlteKind::Plain,
     {},
     [](const TCascWriter& w, const fs::path&) {
         Patch(w.DataFile(), Content(w, "war3.w3mod"), "TVFX");
     },
     "a TVFS manifest has no valid header"},
};

INSTANTIATE_TEST_SUITE_P(Damage, CascStorageDamage, ::testing::ValuesIn(kStorageDamages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CascStorageFolder, AnEmptyFolderIsNoStorage) {
    TempDir dir;
    TCascStorage storage(dir.path());
    EXPECT_FALSE(storage.IsOpen());
    EXPECT_NE(storage.Failure().find(".build.info is missing"), std::string::npos);
}

} // namespace
} // namespace qm
