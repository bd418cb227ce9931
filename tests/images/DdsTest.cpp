// DDS pictures, the newer game's HD button images: blocks of each kind
// decoded to known colours, sizes that are no multiple of four, damaged
// files refused, and the icon made from a large picture.

#include "fixtures/ImageWriter.h"
#include "gamedata/DdsDecoder.h"
#include "gamedata/DdsToJpeg.h"
#include "gamedata/JpegDecoder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qm {
namespace {

using test::TempDir;
using test::WriteBytes;

constexpr std::uint16_t kRed = 0xF800, kBlue = 0x001F;

std::uint32_t At(const TPixelImage& image, int x, int y) {
    return image.Pixels[size_t(y) * image.Width + x];
}

std::optional<TPixelImage> Decode(const std::string& bytes, std::string* why = nullptr) {
    return DecodeDds(bytes.data(), bytes.size(), why);
}

TEST(Dds, ColourBlocksInBothModes) {
    // Four colours: red, blue and the two thirds between, one per row.
    auto image = Decode(MakeDds(4, 4, "DXT1", Bc1Block(kRed, kBlue, 0xFFAA5500)));
    ASSERT_TRUE(image);
    EXPECT_EQ(At(*image, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(At(*image, 3, 1), 0xFF0000FFu);
    EXPECT_EQ(At(*image, 1, 2), 0xFFAA0055u);
    EXPECT_EQ(At(*image, 2, 3), 0xFF5500AAu);
    // The smaller end point first: three colours and transparent black.
    image = Decode(MakeDds(4, 4, "DXT1", Bc1Block(kBlue, kRed, 0xFFAA5500)));
    ASSERT_TRUE(image);
    EXPECT_EQ(At(*image, 0, 2), 0xFF7F007Fu);
    EXPECT_EQ(At(*image, 0, 3), 0u);
    // The same through the DX10 header.
    image = Decode(MakeDds(4, 4, "DX10", Bc1Block(kRed, kBlue, 0), 71));
    ASSERT_TRUE(image);
    EXPECT_EQ(At(*image, 3, 3), 0xFFFF0000u);
}

TEST(Dds, AlphaOfTheSecondAndThirdKinds) {
    // BC2: explicit alphas 0..15 scaled to 0..255.
    std::string alphas(8, '\0');
    for (int i = 0; i < 8; ++i)
        alphas[i] = static_cast<char>((2 * i) | ((2 * i + 1) << 4));
    auto image = Decode(MakeDds(4, 4, "DXT3", alphas + Bc1Block(kBlue, kRed, 0)));
    ASSERT_TRUE(image);
    EXPECT_EQ(At(*image, 0, 0), 0x000000FFu) << "a four-colour block even with c0 < c1";
    EXPECT_EQ(At(*image, 3, 3), 0xFF0000FFu);
    EXPECT_EQ(At(*image, 1, 0) >> 24, 17u);
    // BC3: index 0 and 1 are the end points, 2..7 the six between.
    const std::string eight = std::string("\xFF\x00\x10\x00\x00\x00\x00\x00", 8); // 0, 2, 0...
    image = Decode(MakeDds(4, 4, "DXT5", eight + Bc1Block(kRed, kBlue, 0)));
    ASSERT_TRUE(image);
    EXPECT_EQ(At(*image, 0, 0) >> 24, 255u);
    EXPECT_EQ(At(*image, 1, 0) >> 24, 218u); // (6 * 255 + 1 * 0) / 7
    // The smaller end point first: six alphas, then 0 and 255.
    const std::string six = std::string("\x00\xFF", 2) + "\xFE\xFF\xFF\xFF\xFF\xFF"; // 6, 7, ...
    image = Decode(MakeDds(4, 4, "DXT5", six + Bc1Block(kRed, kBlue, 0)));
    ASSERT_TRUE(image);
    EXPECT_EQ(At(*image, 0, 0) >> 24, 0u);
    EXPECT_EQ(At(*image, 1, 0) >> 24, 255u);
}

TEST(Dds, UncompressedPixelsAndOddSizes) {
    // Blue, green, red, alpha bytes per pixel, as the masks say.
    std::string pixels;
    for (int i = 0; i < 6; ++i)
        pixels += std::string("\x10\x20\x30\x40", 4);
    auto image = Decode(MakeDds(3, 2, "", pixels));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width, 3);
    EXPECT_EQ(At(*image, 2, 1), 0x40302010u);
    // A 5 x 3 picture takes two blocks across and one down.
    image = Decode(MakeDds(5, 3, "DXT1", Bc1Block(kRed, kRed, 0) + Bc1Block(kBlue, kBlue, 0)));
    ASSERT_TRUE(image);
    EXPECT_EQ(At(*image, 3, 2), 0xFFFF0000u);
    EXPECT_EQ(At(*image, 4, 2), 0xFF0000FFu);
}

TEST(Dds, DamagedFilesAreRefusedWithAReason) {
    const std::string good = MakeDds(8, 8, "DXT1", std::string(32, '\0'));
    std::string wrongMagic = good;
    wrongMagic[0] = 'X';
    const std::string huge = MakeDds(0x7FFFFFFF, 8, "DXT1", std::string(32, '\0'));
    std::string unknown = good;
    unknown.replace(84, 4, "ATI2");
    for (const std::string& bad :
         {std::string(), good.substr(0, 100), good.substr(0, good.size() - 1), wrongMagic, huge,
          unknown, MakeDds(4, 4, "DX10", Bc1Block(0, 0, 0), 999),
          MakeDds(0, 4, "DXT1", Bc1Block(0, 0, 0))}) {
        std::string why;
        EXPECT_FALSE(Decode(bad, &why));
        EXPECT_FALSE(why.empty());
    }
}

// A 256 x 256 picture gives a 64 x 64 icon of its colour.
TEST(Dds, LargePictureBecomesAnIcon) {
    std::string blocks;
    for (int i = 0; i < 64 * 64; ++i)
        blocks += Bc1Block(kRed, kRed, 0);
    TempDir dir;
    WriteBytes(dir / "a.dds", MakeDds(256, 256, "DXT1", blocks));
    ASSERT_TRUE(DdsToJpeg(dir / "a.dds", dir / "a.jpg"));
    const auto icon = DecodeJpegFile(dir / "a.jpg");
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->Width, kIconSide);
    EXPECT_EQ(icon->Height, kIconSide);
    EXPECT_GT((At(*icon, 10, 10) >> 16) & 0xFF, 240u);
    EXPECT_LT(At(*icon, 10, 10) & 0xFF, 16u);
    // A narrow, tall picture keeps within the icon on both sides.
    WriteBytes(dir / "tall.dds", MakeDds(2, 130, "DXT1", blocks.substr(0, 33 * 8)));
    ASSERT_TRUE(DdsToJpeg(dir / "tall.dds", dir / "tall.jpg"));
    const auto tall = DecodeJpegFile(dir / "tall.jpg");
    ASSERT_TRUE(tall);
    EXPECT_EQ(tall->Width, 1);
    EXPECT_EQ(tall->Height, 44);
    // Nothing replaces what is there, and nothing is left of a failure.
    EXPECT_FALSE(DdsToJpeg(dir / "a.dds", dir / "a.jpg"));
    WriteBytes(dir / "bad.dds", "DDS junk");
    EXPECT_FALSE(DdsToJpeg(dir / "bad.dds", dir / "bad.jpg"));
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.jpg"));
}

} // namespace
} // namespace qm
