#pragma once
// Reads a whole small file of outside input, with a ceiling on its size so
// that no file, however damaged, makes the program allocate without bound.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace qm {

// The bytes of a regular file of at most `maxSize` bytes; nothing for a
// missing, special, oversized or unreadable file.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path, std::uintmax_t maxSize);

} // namespace qm
