#pragma once
// The encoding table of a CASC storage ('EN'): for every content key the
// content's size and the encoding keys of its encoded forms, kept in pages
// of a fixed size listed by a page table.

#include "gamedata/CascBytes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::casc {

struct TEncodedContent {
    TKey encodingKey{};
    std::uint64_t size = 0; // of the content
};

class TCascEncoding {
  public:
    // Reads the decoded table; false with `why` set when it is damaged.
    bool Read(std::string_view table, std::string& why);
    std::optional<TEncodedContent> ByContentKey(const TKey& key) const;
    // By the first 9 bytes of an encoding key, as the manifests name content.
    std::optional<TEncodedContent> ByEncodingKey(const unsigned char* key) const;

  private:
    struct TEntry {
        TKey contentKey;
        TEncodedContent encoded;
    };
    bool ReadPage(std::string_view page, std::string& why);

    std::vector<TEntry> entries_;             // by content key
    std::vector<TEncodedContent> byEncoding_; // by encoding key
};

} // namespace qm::casc
