#pragma once
// Decodes JPEG files into plain pixels for the icons of the action tree. The
// game's button images are 4-component JPEGs stored without colour transform,
// their first three components blue, green and red; ordinary 3-component and
// greyscale files decode as usual.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace qm {

struct TPixelImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels; // 0xFFRRGGBB, row-major (QImage::Format_RGB32 layout)
};

// Pictures larger than this on either side are refused before any pixel
// memory is taken: no icon comes near it, and a lying header cannot make the
// decoder allocate gigabytes.
inline constexpr int kMaxJpegSide = 4096;

// The picture, or nothing for empty, corrupt, truncated or unsupported data.
// Given a size wanted, a picture at least twice as large is decoded at a
// half, a quarter or an eighth of its size, as long as it stays at least
// that large.
std::optional<TPixelImage> DecodeJpeg(const void* data, size_t size, int atLeastWidth = 0,
                                      int atLeastHeight = 0);
std::optional<TPixelImage> DecodeJpegFile(const std::filesystem::path& file, int atLeastWidth = 0,
                                          int atLeastHeight = 0);

} // namespace qm
