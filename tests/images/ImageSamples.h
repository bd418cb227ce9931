#pragma once
// Pictures with known colours for the image tests: four flat quadrants, so
// that JPEG's loss stays small away from the edges between them.

#include "fixtures/ImageWriter.h"
#include "gamedata/JpegDecoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace qm::test {

inline constexpr std::uint32_t kQuadrantColors[4] = {0xE01010, 0x10C020, 0x1020E0, 0xF0F0F0};

// 0xRRGGBB of the quadrant (x, y) lies in.
inline std::uint32_t QuadrantColor(int x, int y, int width, int height) {
    return kQuadrantColors[(x >= width / 2 ? 1 : 0) + (y >= height / 2 ? 2 : 0)];
}

inline std::vector<std::uint32_t> QuadrantPicture(int width, int height) {
    std::vector<std::uint32_t> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rgb.push_back(QuadrantColor(x, y, width, height));
    return rgb;
}

// A picture in the game's button layout: four components, blue first.
inline std::string ButtonJpeg(int width, int height) {
    return EncodeJpeg(ButtonSamples(QuadrantPicture(width, height)), width, height, 4, 100);
}

inline std::string RgbJpeg(int width, int height) {
    std::vector<std::uint8_t> samples;
    for (const std::uint32_t p : QuadrantPicture(width, height)) {
        samples.push_back((p >> 16) & 0xFF);
        samples.push_back((p >> 8) & 0xFF);
        samples.push_back(p & 0xFF);
    }
    return EncodeJpeg(samples, width, height, 3, 100);
}

// Each channel of `actual` (0xFFRRGGBB) within `tolerance` of `expected` (0xRRGGBB).
inline ::testing::AssertionResult NearColor(std::uint32_t actual, std::uint32_t expected,
                                            int tolerance = 12) {
    if ((actual >> 24) != 0xFF)
        return ::testing::AssertionFailure() << "not opaque: " << std::hex << actual;
    for (int shift : {16, 8, 0}) {
        const int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
        if (std::abs(a - e) > tolerance)
            return ::testing::AssertionFailure()
                   << std::hex << "0x" << actual << " is not near 0x" << expected;
    }
    return ::testing::AssertionSuccess();
}

// Checks the centre of every quadrant of a decoded quadrant picture.
inline void ExpectQuadrants(const TPixelImage& image) {
    const int w = image.Width, h = image.Height;
    ASSERT_EQ(image.Pixels.size(), size_t(w) * h);
    for (int q = 0; q < 4; ++q) {
        const int x = (q % 2) ? (3 * w) / 4 : w / 4;
        const int y = (q / 2) ? (3 * h) / 4 : h / 4;
        SCOPED_TRACE("quadrant " + std::to_string(q));
        EXPECT_TRUE(NearColor(image.Pixels[size_t(y) * w + x], QuadrantColor(x, y, w, h)));
    }
}

} // namespace qm::test
