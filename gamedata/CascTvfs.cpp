#include "gamedata/CascTvfs.h"

#include <algorithm>

namespace qm::casc {
namespace {

constexpr size_t kMinHeader = 38;
constexpr std::uint32_t kFolder = 0x80000000;
constexpr unsigned char kValueMark = 0xFF;
// A file of more spans than this is not a file of the format.
constexpr unsigned kMaxSpans = 224;

char Comparable(char c) {
    if (c == '\\')
        return '/';
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The container file table's offsets take as few bytes as its size needs.
size_t OffsetWidth(std::uint64_t tableSize) {
    if (tableSize > 0xFFFFFF)
        return 4;
    if (tableSize > 0xFFFF)
        return 3;
    return tableSize > 0xFF ? 2 : 1;
}

std::uint32_t BeN(const unsigned char* p, size_t width) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value = value << 8 | p[i];
    return value;
}

} // namespace

bool TCascTvfs::Read(std::string manifest, std::string& why) {
    bytes_ = std::move(manifest);
    const unsigned char* p = Bytes(bytes_);
    if (bytes_.size() < kMinHeader || bytes_.compare(0, 4, "TVFS") != 0 || p[4] != 1 ||
        p[5] < kMinHeader || p[5] > bytes_.size()) {
        why = "a TVFS manifest has no valid header";
        return false;
    }
    keySize_ = p[6];
    if (keySize_ < kShortKey || keySize_ > sizeof(TKey)) {
        why = "a TVFS manifest names content by keys of an unknown size";
        return false;
    }
    return ReadTable(p + 12, paths_, why) && ReadTable(p + 20, vfs_, why) &&
           ReadTable(p + 28, files_, why);
}

bool TCascTvfs::ReadTable(const unsigned char* field, TTable& table, std::string& why) const {
    table = {Be32(field), Be32(field + 4)};
    if (table.offset + table.size > bytes_.size()) {
        why = "a TVFS manifest's table runs past its end";
        return false;
    }
    return true;
}

// A node: a 0 byte for a separator before it, its name (length and bytes),
// a 0 byte for a separator after it, then 0xFF and its 32-bit value.
bool TCascTvfs::ParseNode(size_t at, size_t end, TNode& node) const {
    const unsigned char* p = Bytes(bytes_);
    node.piece.clear();
    if (at < end && p[at] == 0) {
        node.piece += '/';
        ++at;
    }
    if (at < end && p[at] != kValueMark) {
        const size_t length = p[at++];
        if (length > end - at)
            return false;
        for (size_t i = 0; i < length; ++i)
            node.piece += Comparable(static_cast<char>(p[at + i]));
        at += length;
    }
    if (at < end && p[at] == 0) {
        node.piece += '/';
        ++at;
    }
    if (at >= end || p[at] != kValueMark || end - at < 5)
        return false;
    node.value = Be32(p + at + 1);
    node.next = at + 5;
    return true;
}

// Walks down the tree along `path`: a folder whose piece begins what is
// left of the path is entered, any other node skipped whole. Every step
// moves forward, and a folder's end stays within its parent's.
std::optional<std::vector<TCascSpan>> TCascTvfs::Find(std::string_view path) const {
    size_t at = paths_.offset, end = paths_.offset + paths_.size;
    size_t matched = 0;
    TNode node;
    while (at < end) {
        if (!ParseNode(at, end, node))
            return std::nullopt;
        std::string_view piece = node.piece;
        if (!piece.empty() && piece.front() == '/' && (matched == 0 || path[matched - 1] == '/'))
            piece.remove_prefix(1); // one separator between names
        const bool fits = path.substr(matched).starts_with(piece);
        if (!(node.value & kFolder)) {
            if (fits && matched + piece.size() == path.size())
                return Spans(node.value);
            at = node.next;
            continue;
        }
        const std::uint64_t folderEnd = node.next - 4 + std::uint64_t(node.value & ~kFolder);
        if ((node.value & ~kFolder) < 4 || folderEnd > end)
            return std::nullopt;
        if (fits) {
            matched += piece.size();
            at = node.next;
            end = static_cast<size_t>(folderEnd);
        } else {
            at = static_cast<size_t>(folderEnd);
        }
    }
    return std::nullopt;
}

// A VFS entry: the span count, then per span the offset into the content,
// the span's size and where its container file entry is.
std::optional<std::vector<TCascSpan>> TCascTvfs::Spans(std::uint32_t vfsOffset) const {
    const unsigned char* p = Bytes(bytes_);
    const size_t width = OffsetWidth(files_.size);
    if (vfsOffset >= vfs_.size)
        return std::nullopt;
    const size_t count = p[vfs_.offset + vfsOffset];
    const size_t spanBytes = 8 + width;
    if (count == 0 || count > kMaxSpans || 1 + count * spanBytes > vfs_.size - vfsOffset)
        return std::nullopt;
    std::vector<TCascSpan> spans(count);
    const unsigned char* span = p + vfs_.offset + vfsOffset + 1;
    for (TCascSpan& out : spans) {
        const std::uint64_t file = BeN(span + 8, width);
        if (file + keySize_ > files_.size)
            return std::nullopt;
        std::copy_n(p + files_.offset + file, kShortKey, out.key.begin());
        out.offset = Be32(span);
        out.size = Be32(span + 4);
        span += spanBytes;
    }
    return spans;
}

} // namespace qm::casc
