#pragma once
// Read access to the game's CASC storage (the game from patch 1.30 on): the
// installation's root holds `.build.info`, and `Data/` the build
// configuration, the local indexes and the data files. Files are found by
// the game's paths, whose mounts are split by colons
// ("war3.w3mod:_locales\enus.w3mod:units\humanunitstrings.txt"), without
// regard to case or to '\' versus '/', and copied out the way TMPQManager
// copies an archive's entries. The storage is only ever read.

#include "gamedata/CascConfig.h"
#include "gamedata/CascData.h"
#include "gamedata/CascEncoding.h"
#include "gamedata/CascIndex.h"
#include "gamedata/CascTvfs.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TCascStorage {
  public:
    // As TMPQManager: nothing the game stores comes near 2 GiB.
    static constexpr std::uint32_t kMaxEntrySize = 0x7FFFFFFF;

    // Reads the tables of the installation at `root`; never fails. A
    // storage that cannot be read gives an object on which every
    // extraction fails and Failure() says why.
    explicit TCascStorage(const std::filesystem::path& root);

    bool IsOpen() const { return failure_.empty(); }
    // What is wrong with the storage, a sentence; empty when it is open.
    const std::string& Failure() const { return failure_; }
    // The locale of the game's texts ("enUS"), as the installation's tags say.
    const std::string& TextLocale() const { return config_.TextLocale(); }

    // Appends the file at `path` to `out` at its current position. True
    // when the whole file was written; a missing, empty, damaged, encrypted
    // or oversized (over `maxSize` bytes) file gives false, and a failure
    // leaves a seekable stream as it was. `writeWhy`, when given, is set
    // only when `out` refused the bytes.
    bool ExtractToHandle(std::string_view path, std::FILE* out,
                         std::uint32_t maxSize = kMaxEntrySize, std::string* writeWhy = nullptr);
    // Creates `out` (emptying any file there) and writes the file into it.
    bool ExtractFile(std::string_view path, const std::filesystem::path& out);

  private:
    struct TMount {
        std::array<unsigned char, casc::kShortKey> key{};
        casc::TCascTvfs manifest;
    };
    bool Open(const std::filesystem::path& root, std::string& why);
    bool ReadManifest(const casc::TKey& contentKey, TMount& mount, std::string& why) const;
    const casc::TCascTvfs* MountOf(const std::array<unsigned char, casc::kShortKey>& key) const;
    std::optional<std::vector<casc::TCascSpan>> Resolve(std::string_view path) const;
    bool CopySpan(const casc::TCascSpan& span, std::FILE* out, std::string* writeWhy) const;

    casc::TCascConfig config_;
    casc::TCascIndex index_;
    casc::TCascEncoding encoding_;
    casc::TCascData data_;
    TMount root_;
    std::vector<TMount> mounts_;
    std::string failure_;
};

} // namespace qm
