// Conversion of the game's JPEG-compressed BLP images, and of files whose
// header does not add up.

#include "gamedata/BlpToJpeg.h"
#include "ImageSamples.h"
#include "fixtures/ImageWriter.h"
#include "gamedata/JpegDecoder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <unistd.h>

namespace qm {
namespace {

using test::ListFolder;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr size_t kCompressionAt = 4;
constexpr size_t kMipmapOffsetAt = 28;
constexpr size_t kMipmapSizeAt = 92;
constexpr size_t kJpegHeaderSizeAt = 156;

void PutU32(std::string& blp, size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        blp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint32_t GetU32(const std::string& blp, size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(blp[at + i]);
    return v;
}

class BlpToJpegTest : public ::testing::Test {
  protected:
    const std::string jpeg = test::ButtonJpeg(64, 64);
    const std::string blp = MakeJpegBlp(jpeg, 64, 64);
    TempDir dir;
    const std::filesystem::path file = dir / "BTNFootman.jpg";

    // Writes `bytes`, converts, and expects the file left exactly as written.
    void ExpectLeftAlone(const std::string& bytes, int line = __builtin_LINE()) {
        SCOPED_TRACE("from line " + std::to_string(line));
        WriteBytes(file, bytes);
        EXPECT_FALSE(BlpToJpeg(file, dir / "new.jpg")); // leaves no new file either
        EXPECT_FALSE(BlpToJpeg(file));
        EXPECT_EQ(ReadBytes(file), bytes);
        EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"BTNFootman.jpg"});
    }
    std::string WithU32(size_t at, std::uint32_t v) const {
        std::string bytes = blp;
        PutU32(bytes, at, v);
        return bytes;
    }
};

TEST_F(BlpToJpegTest, ConvertsInPlaceToTheWrappedJpeg) {
    WriteBytes(file, blp);
    ASSERT_TRUE(BlpToJpeg(file));
    EXPECT_EQ(ReadBytes(file), jpeg);
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"BTNFootman.jpg"});
    const auto image = DecodeJpegFile(file);
    ASSERT_TRUE(image);
    test::ExpectQuadrants(*image);
}

TEST_F(BlpToJpegTest, ConvertsIntoANewFile) {
    WriteBytes(dir / "part", blp);
    ASSERT_TRUE(BlpToJpeg(dir / "part", file));
    EXPECT_EQ(ReadBytes(file), jpeg);
    EXPECT_EQ(ReadBytes(dir / "part"), blp);
    EXPECT_FALSE(BlpToJpeg(dir / "part", dir / "no-such-folder" / "x.jpg"));
    // The new file is new: nothing there, a planted link least of all, is
    // written or removed.
    WriteBytes(dir / "elsewhere", "keep");
    std::filesystem::create_symlink(dir / "elsewhere", dir / "planted.jpg");
    EXPECT_FALSE(BlpToJpeg(dir / "part", dir / "planted.jpg"));
    EXPECT_FALSE(BlpToJpeg(dir / "part", file));
    EXPECT_EQ(ReadBytes(dir / "elsewhere"), "keep");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "planted.jpg"));
    EXPECT_EQ(ReadBytes(file), jpeg);
}

TEST_F(BlpToJpegTest, MipmapDataIsTakenFromItsOffset) {
    // Game files keep smaller mipmaps and padding around the full-size data.
    std::string moved = blp.substr(0, 160 + GetU32(blp, kJpegHeaderSizeAt));
    const std::string data = blp.substr(GetU32(blp, kMipmapOffsetAt));
    moved += std::string(100, '\x55');
    PutU32(moved, kMipmapOffsetAt, static_cast<std::uint32_t>(moved.size()));
    moved += data + std::string(50, '\x66');
    WriteBytes(file, moved);
    ASSERT_TRUE(BlpToJpeg(file));
    EXPECT_EQ(ReadBytes(file), jpeg);
}

TEST_F(BlpToJpegTest, PaletteImageIsLeftAlone) {
    ExpectLeftAlone(WithU32(kCompressionAt, 1));
    ExpectLeftAlone(WithU32(kCompressionAt, 0xFFFFFFFF));
}

TEST_F(BlpToJpegTest, LyingHeadersLeaveTheFileAlone) {
    const auto size = static_cast<std::uint32_t>(blp.size());
    const std::uint32_t offset = GetU32(blp, kMipmapOffsetAt);
    const std::uint32_t length = GetU32(blp, kMipmapSizeAt);
    ExpectLeftAlone(WithU32(kJpegHeaderSizeAt, size));
    ExpectLeftAlone(WithU32(kJpegHeaderSizeAt, size - 159));
    ExpectLeftAlone(WithU32(kJpegHeaderSizeAt, 0x80000000));
    ExpectLeftAlone(WithU32(kJpegHeaderSizeAt, 0xFFFFFFFF));
    ExpectLeftAlone(WithU32(kMipmapOffsetAt, size));
    ExpectLeftAlone(WithU32(kMipmapOffsetAt, offset + 1));
    ExpectLeftAlone(WithU32(kMipmapOffsetAt, 0xFFFFFFF0));
    ExpectLeftAlone(WithU32(kMipmapSizeAt, length + 1));
    ExpectLeftAlone(WithU32(kMipmapSizeAt, 0x80000000));
    ExpectLeftAlone(WithU32(kMipmapSizeAt, 0));
    // Offset and size that would wrap round in 32 bits.
    std::string wrap = WithU32(kMipmapOffsetAt, 0xFFFFFFFF);
    PutU32(wrap, kMipmapSizeAt, 2);
    ExpectLeftAlone(wrap);
}

TEST_F(BlpToJpegTest, TruncatedOrEmptyFilesAreLeftAlone) {
    ExpectLeftAlone(blp.substr(0, blp.size() - 1));
    ExpectLeftAlone(blp.substr(0, 200));
    ExpectLeftAlone(blp.substr(0, 159));
    ExpectLeftAlone(blp.substr(0, 4));
    ExpectLeftAlone("");
}

TEST_F(BlpToJpegTest, MissingFileOrFolderIsNotConverted) {
    EXPECT_FALSE(BlpToJpeg(dir / "missing.jpg"));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.jpg"));
    std::filesystem::create_directory(dir / "folder.jpg");
    EXPECT_FALSE(BlpToJpeg(dir / "folder.jpg"));
}

TEST_F(BlpToJpegTest, UnwritableFolderLeavesTheFileAlone) {
    if (geteuid() == 0)
        GTEST_SKIP() << "read-only folders do not stop root";
    WriteBytes(file, blp);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_FALSE(BlpToJpeg(file));
    EXPECT_EQ(ReadBytes(file), blp);
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"BTNFootman.jpg"});
}

} // namespace
} // namespace qm
