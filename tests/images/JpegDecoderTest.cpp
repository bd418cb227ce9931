// Decoding of icon files: the game's 4-component layout, ordinary JPEGs, and
// data that must give no picture.

#include "gamedata/JpegDecoder.h"
#include "ImageSamples.h"
#include "fixtures/ImageWriter.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using test::ButtonJpeg;
using test::ExpectQuadrants;
using test::NearColor;
using test::RgbJpeg;

std::optional<TPixelImage> Decode(const std::string& jpeg) {
    return DecodeJpeg(jpeg.data(), jpeg.size());
}

// The offset of the frame header's height field (SOF0: marker, length, precision).
size_t FrameSizeAt(const std::string& jpeg) {
    const size_t sof = jpeg.find("\xFF\xC0");
    EXPECT_NE(sof, std::string::npos);
    return sof + 5;
}

TEST(JpegDecoder, ButtonImageComponentsAreBlueGreenRed) {
    const auto image = Decode(ButtonJpeg(64, 64));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width, 64);
    EXPECT_EQ(image->Height, 64);
    ExpectQuadrants(*image);
}

// A size wanted lets the decoder scale by powers of two, never below it.
TEST(JpegDecoder, DecodesSmallerWhenAskedForLess) {
    const std::string jpeg = ButtonJpeg(64, 64);
    for (auto [want, side] : {std::pair{16, 16}, {17, 32}, {8, 8}, {5, 8}, {33, 64}, {0, 64}}) {
        const auto image = DecodeJpeg(jpeg.data(), jpeg.size(), want, want);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->Width, side) << "wanted " << want;
        EXPECT_EQ(image->Height, side);
        if (side >= 16)
            ExpectQuadrants(*image);
    }
}

TEST(JpegDecoder, FourthComponentIsIgnored) {
    std::vector<std::uint8_t> samples =
        ButtonSamples(std::vector<std::uint32_t>(16 * 16, 0x3060C0));
    for (size_t i = 3; i < samples.size(); i += 4)
        samples[i] = 0; // a colour transform would multiply by it
    const auto image = Decode(EncodeJpeg(samples, 16, 16, 4, 100));
    ASSERT_TRUE(image);
    EXPECT_TRUE(NearColor(image->Pixels[8 * 16 + 8], 0x3060C0));
}

TEST(JpegDecoder, ThreeComponentsDecodeFromYCbCr) {
    const auto image = Decode(RgbJpeg(48, 32));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width, 48);
    EXPECT_EQ(image->Height, 32);
    ExpectQuadrants(*image);
}

TEST(JpegDecoder, GreyscaleGivesGrey) {
    std::vector<std::uint8_t> samples(20 * 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            samples[y * 20 + x] = x < 10 ? 0x20 : 0xC0;
    const auto image = Decode(EncodeJpeg(samples, 20, 10, 1, 100));
    ASSERT_TRUE(image);
    EXPECT_TRUE(NearColor(image->Pixels[5 * 20 + 3], 0x202020, 4));
    EXPECT_TRUE(NearColor(image->Pixels[5 * 20 + 16], 0xC0C0C0, 4));
    for (const std::uint32_t p : image->Pixels) {
        EXPECT_EQ((p >> 16) & 0xFF, p & 0xFF);
        EXPECT_EQ((p >> 8) & 0xFF, p & 0xFF);
    }
}

TEST(JpegDecoder, AnyWidthWithoutRowPadding) {
    for (const auto& [w, h] : {std::pair{33, 17}, {1, 1}, {1, 40}, {35, 3}, {63, 64}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        for (const auto& jpeg : {ButtonJpeg(w, h), RgbJpeg(w, h)}) {
            const auto image = Decode(jpeg);
            ASSERT_TRUE(image);
            EXPECT_EQ(image->Width, w);
            EXPECT_EQ(image->Height, h);
            ASSERT_EQ(image->Pixels.size(), size_t(w) * h);
            // The last pixel of every row has the colour of its quadrant:
            // a padded row layout would shift the rows below the first.
            const int x = w - 1;
            for (const int y : {0, h - 1})
                EXPECT_TRUE(NearColor(image->Pixels[size_t(y) * w + x],
                                      test::QuadrantColor(x, y, w, h), w < 4 || h < 4 ? 60 : 24));
        }
    }
}

TEST(JpegDecoder, EmptyCorruptOrTruncatedDataGivesNoPicture) {
    const std::string good = ButtonJpeg(32, 32);
    EXPECT_FALSE(DecodeJpeg(nullptr, 0));
    EXPECT_FALSE(DecodeJpeg(good.data(), 0));
    EXPECT_FALSE(Decode("not a picture at all"));
    EXPECT_FALSE(Decode(std::string(4096, '\0')));
    EXPECT_FALSE(Decode("\xFF\xD8"));
    EXPECT_FALSE(Decode(good.substr(0, good.size() / 2))); // cut in the picture data
    const std::string rgb = RgbJpeg(32, 32);
    EXPECT_TRUE(Decode(rgb));
    EXPECT_FALSE(Decode(rgb.substr(0, rgb.size() - 40)));        // libjpeg would pad it with grey
    EXPECT_FALSE(Decode(good.substr(0, good.find("\xFF\xDA")))); // tables, no scan
    std::string badMarker = good;
    badMarker[FrameSizeAt(good) - 3] = 99; // sample precision
    EXPECT_FALSE(Decode(badMarker));
    std::string zeroWidth = good;
    zeroWidth[FrameSizeAt(good) + 2] = zeroWidth[FrameSizeAt(good) + 3] = 0;
    EXPECT_FALSE(Decode(zeroWidth));
}

TEST(JpegDecoder, HugeDimensionsAreRefusedBeforeAllocating) {
    std::string jpeg = ButtonJpeg(16, 16);
    const size_t at = FrameSizeAt(jpeg);
    for (size_t i : {at, at + 2}) { // height, then width: 60000 = 0xEA60
        jpeg[i] = '\xEA';
        jpeg[i + 1] = '\x60';
    }
    EXPECT_FALSE(Decode(jpeg));
    jpeg[at] = 0;
    jpeg[at + 1] = 16; // 60000 wide, 16 high: still too wide
    EXPECT_FALSE(Decode(jpeg));
}

TEST(JpegDecoder, LargestAcceptedSideDecodes) {
    const int side = kMaxJpegSide;
    const auto image =
        Decode(EncodeJpeg(std::vector<std::uint8_t>(size_t(side) * 2, 0x80), side, 2, 1));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width, side);
}

TEST(JpegDecoder, Files) {
    test::TempDir dir;
    test::WriteBytes(dir / "icon.jpg", ButtonJpeg(64, 64));
    test::WriteBytes(dir / "empty.jpg", "");
    const auto image = DecodeJpegFile(dir / "icon.jpg");
    ASSERT_TRUE(image);
    ExpectQuadrants(*image);
    EXPECT_FALSE(DecodeJpegFile(dir / "empty.jpg"));
    EXPECT_FALSE(DecodeJpegFile(dir / "missing.jpg"));
    EXPECT_FALSE(DecodeJpegFile(dir.path()));
}

} // namespace
} // namespace qm
