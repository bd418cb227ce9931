#include "gamedata/CascEncoding.h"

#include <algorithm>

namespace qm::casc {
namespace {

constexpr size_t kHeader = 22;
constexpr size_t kPageTableEntry = 32; // the page's first key and its MD5

struct THeader {
    std::uint32_t pageSize;
    std::uint32_t pageCount;
    std::uint32_t specBlockSize;
};

bool ReadHeader(std::string_view table, THeader& header, std::string& why) {
    const unsigned char* p = Bytes(table);
    if (table.size() < kHeader || p[0] != 'E' || p[1] != 'N' || p[2] != 1) {
        why = "the encoding table has no valid header";
        return false;
    }
    if (p[3] != 16 || p[4] != 16 || Be16(p + 5) == 0) {
        why = "the encoding table has keys or pages of an unknown size";
        return false;
    }
    // Pages are given in KiB, so at most 64 MiB; the table must hold them all.
    header = {std::uint32_t(Be16(p + 5)) * 1024, Be32(p + 9), Be32(p + 18)};
    const std::uint64_t needed =
        kHeader + std::uint64_t(header.specBlockSize) +
        std::uint64_t(header.pageCount) * (kPageTableEntry + std::uint64_t(header.pageSize));
    if (needed > table.size()) {
        why = "the encoding table claims more pages than it holds";
        return false;
    }
    return true;
}

} // namespace

bool TCascEncoding::Read(std::string_view table, std::string& why) {
    THeader header{};
    if (!ReadHeader(table, header, why))
        return false;
    size_t at = kHeader + header.specBlockSize + size_t(header.pageCount) * kPageTableEntry;
    for (std::uint32_t page = 0; page < header.pageCount; ++page, at += header.pageSize)
        if (!ReadPage(table.substr(at, header.pageSize), why))
            return false;
    std::sort(entries_.begin(), entries_.end(),
              [](const TEntry& a, const TEntry& b) { return a.contentKey < b.contentKey; });
    std::sort(byEncoding_.begin(), byEncoding_.end(),
              [](const TEncodedContent& a, const TEncodedContent& b) {
                  return CompareShort(a.encodingKey.data(), b.encodingKey.data()) < 0;
              });
    return true;
}

// Entries follow each other to the page's end or to a key count of 0:
// the count, the content's size (40 bits), its key and its encoding keys.
bool TCascEncoding::ReadPage(std::string_view page, std::string& why) {
    constexpr size_t kFixed = 1 + 5 + 16;
    const unsigned char* p = Bytes(page);
    for (size_t at = 0; at + kFixed <= page.size() && p[at] != 0;) {
        const size_t keys = p[at];
        if (at + kFixed + keys * 16 > page.size()) {
            why = "an encoding table entry runs past its page";
            return false;
        }
        TEntry entry{};
        entry.encoded.size = Be40(p + at + 1);
        std::copy_n(p + at + 6, 16, entry.contentKey.begin());
        std::copy_n(p + at + kFixed, 16, entry.encoded.encodingKey.begin());
        entries_.push_back(entry);
        // Each encoded form of the content is found by its own key.
        for (size_t k = 0; k < keys; ++k) {
            std::copy_n(p + at + kFixed + k * 16, 16, entry.encoded.encodingKey.begin());
            byEncoding_.push_back(entry.encoded);
        }
        at += kFixed + keys * 16;
    }
    return true;
}

std::optional<TEncodedContent> TCascEncoding::ByContentKey(const TKey& key) const {
    const auto it = std::lower_bound(
        entries_.begin(), entries_.end(), key,
        [](const TEntry& entry, const TKey& wanted) { return entry.contentKey < wanted; });
    if (it == entries_.end() || it->contentKey != key)
        return std::nullopt;
    return it->encoded;
}

std::optional<TEncodedContent> TCascEncoding::ByEncodingKey(const unsigned char* key) const {
    const auto it = std::lower_bound(byEncoding_.begin(), byEncoding_.end(), key,
                                     [](const TEncodedContent& entry, const unsigned char* k) {
                                         return CompareShort(entry.encodingKey.data(), k) < 0;
                                     });
    if (it == byEncoding_.end() || CompareShort(it->encodingKey.data(), key) != 0)
        return std::nullopt;
    return *it;
}

} // namespace qm::casc
