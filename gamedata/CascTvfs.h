#pragma once
// One TVFS manifest ('TVFS'): the game's paths in a prefix tree (the path
// table), each file's spans of content (the VFS table), each span naming an
// encoded file by the first bytes of its encoding key (the container file
// table). Every offset a lookup meets is checked against the table it
// points into.

#include "gamedata/CascBytes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::casc {

// A part of a file: `size` bytes from `offset` of the content of `key`.
struct TCascSpan {
    std::array<unsigned char, kShortKey> key{};
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

class TCascTvfs {
  public:
    // Takes the decoded manifest; false with `why` set when its header or
    // tables do not fit in it.
    bool Read(std::string manifest, std::string& why);
    // The spans of the file at `path`, given as ComparablePath() makes it;
    // nothing when the manifest has no such file or its entry is damaged.
    std::optional<std::vector<TCascSpan>> Find(std::string_view path) const;

  private:
    struct TTable {
        std::uint64_t offset = 0;
        std::uint64_t size = 0;
    };
    struct TNode {
        std::string piece; // the node's part of a path, with its separators
        std::uint32_t value = 0;
        size_t next = 0; // the byte after the node's value
    };
    bool ReadTable(const unsigned char* field, TTable& table, std::string& why) const;
    bool ParseNode(size_t at, size_t end, TNode& node) const;
    std::optional<std::vector<TCascSpan>> Spans(std::uint32_t vfsOffset) const;

    std::string bytes_;
    size_t keySize_ = 0;
    TTable paths_, vfs_, files_;
};

} // namespace qm::casc
