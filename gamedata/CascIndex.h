#pragma once
// The local indexes of a CASC storage (`Data/data/<bucket><version>.idx`,
// the newest version of each of the 16 buckets): where each encoded file
// lies, by the first 9 bytes of its encoding key. An entry is the key, a
// 5-byte big-endian field (the data file's number above a 30-bit offset)
// and the entry's 4-byte size.

#include "gamedata/CascBytes.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qm::casc {

struct TCascLocation {
    std::uint32_t archive = 0; // data.NNN
    std::uint64_t offset = 0;
    std::uint32_t size = 0; // the entry's header and its BLTE envelope
};

class TCascIndex {
  public:
    // Reads the indexes in `dataDir`; false with `why` set when a bucket
    // has none or one is damaged.
    bool Read(const std::filesystem::path& dataDir, std::string& why);
    std::optional<TCascLocation> Find(const unsigned char* key) const;

  private:
    struct TEntry {
        std::array<unsigned char, kShortKey> key;
        TCascLocation where;
    };
    bool ReadFile(const std::filesystem::path& file, std::string& why);

    std::vector<TEntry> entries_;
};

} // namespace qm::casc
