#pragma once
// Decodes DDS pictures, the newer game's HD button images, into plain
// pixels: block-compressed BC1 (DXT1, with its one-bit alpha), BC2 (DXT3)
// and BC3 (DXT5), and uncompressed 32-bit pixels described by their masks,
// with or without the DX10 header. Only the full-size picture is read.

#include "gamedata/JpegDecoder.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qm {

// The picture as 0xAARRGGBB, or nothing, with the reason in `why`, for a
// file that is not such a DDS, is damaged, or is larger than kMaxJpegSide on
// either side. Every size is checked against the data before any pixel
// memory is taken.
std::optional<TPixelImage> DecodeDds(const void* data, size_t size, std::string* why = nullptr);

} // namespace qm
