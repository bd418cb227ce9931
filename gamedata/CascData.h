#pragma once
// The data files of a CASC storage (`Data/data/data.NNN`): each encoded file
// lies there behind a 30-byte header (its encoding key reversed, its size,
// flags and checksums) as a BLTE envelope. The place an index gives is
// checked against the data file and that header before anything is read.

#include "gamedata/CascBlte.h"
#include "gamedata/CascIndex.h"

#include <filesystem>
#include <string>

namespace qm::casc {

class TCascData {
  public:
    explicit TCascData(std::filesystem::path dataDir) : dataDir_(std::move(dataDir)) {}

    // Decodes the encoded file of `key` at `where`, whose content has
    // `contentSize` bytes, into `out`. False with `why` set when the entry
    // is damaged, encrypted or does not fit in its data file.
    bool Decode(const TCascLocation& where, const unsigned char* key, std::uint64_t contentSize,
                const TByteSink& out, std::string& why) const;

  private:
    std::filesystem::path dataDir_;
};

} // namespace qm::casc
