#pragma once
// Reads a whole small file of outside input, with a ceiling on its size so
// that no file, however damaged, makes the program allocate without bound.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace qm {

// The bytes of a regular file of at most `maxSize` bytes; nothing for a
// missing, special, oversized or unreadable file, with the reason in `why`
// when asked (see uFileError.h; an oversized file's names its size).
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path, std::uintmax_t maxSize,
                                         std::string* why = nullptr);

// Opens a file for reading only when it is a regular one: a folder fails to
// read, a FIFO or device may never end (it is opened without waiting for a
// writer, then refused). The descriptor, or -1 with the reason in `why`.
int OpenRegularFile(const std::filesystem::path& path, std::string* why);

} // namespace qm
