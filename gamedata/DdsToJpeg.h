#pragma once
// Turns a DDS button image of the newer game (HD, usually 256 x 256) into
// the same kind of JPEG icon the classic BLP images give: 64 x 64 at most,
// shrunk by averaging whole blocks of pixels.

#include <filesystem>
#include <string>

namespace qm {

// The side of the icons the classic button images give.
inline constexpr int kIconSide = 64;

// Writes the icon of the DDS `dds` into the new file `jpeg`. False, with no
// `jpeg` left behind, when the DDS cannot be decoded; false too, touching
// nothing, when anything is already at `jpeg`. `writeWhy`, when given, is set
// only when `jpeg` could not be written (the system's reason).
bool DdsToJpeg(const std::filesystem::path& dds, const std::filesystem::path& jpeg,
               std::string* writeWhy = nullptr);

} // namespace qm
