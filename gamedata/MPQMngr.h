#pragma once
// Read access to one of the game's MPQ archives: entries are copied out into
// plain files, streamed in bounded chunks. The archive is opened read-only,
// so the game's files are never changed and an installation the user cannot
// write to still imports.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TMPQManager {
  public:
    // Sizes from 2 GiB up are refused: nothing the game stores comes near
    // them, so such a size can only come from a damaged archive.
    static constexpr std::uint32_t kMaxEntrySize = 0x7FFFFFFF;

    // Opens the archive; never fails. An archive that cannot be opened gives
    // a manager on which every extraction fails.
    explicit TMPQManager(const std::filesystem::path& archive);
    ~TMPQManager(); // closes the archive
    TMPQManager(const TMPQManager&) = delete;
    TMPQManager& operator=(const TMPQManager&) = delete;

    bool IsOpen() const { return archive_ != nullptr; }

    // Appends the entry (named with backslashes) to `out` at its current
    // position. True when the whole entry was written; an empty, missing,
    // unreadable or oversized (over `maxSize` bytes) entry gives false, and
    // a failure leaves a seekable stream as it was. Callers that know what
    // they read pass a ceiling of their own: a damaged archive can claim an
    // entry of gigabytes that decompresses from a few bytes. `writeWhy`,
    // when given, is set only when `out` refused the bytes (the system's
    // reason: a full disk), which no other archive can mend.
    bool ExtractToHandle(std::string_view entry, std::FILE* out,
                         std::uint32_t maxSize = kMaxEntrySize, std::string* writeWhy = nullptr);
    // Creates `out` (emptying any file there) and writes the entry into it.
    // The file is created before the entry is looked up, so it stays behind,
    // empty, when the entry is missing.
    bool ExtractFile(std::string_view entry, const std::filesystem::path& out);
    // Creates `out` and writes the listed entries into it one after another,
    // in list order; returns how many were written whole. An empty list
    // creates no file.
    int ExtractFiles(const std::filesystem::path& out, const std::vector<std::string>& entries);

  private:
    std::filesystem::path path_;
    void* archive_ = nullptr;
};

} // namespace qm
