#include "gamedata/CascIndex.h"

#include <algorithm>
#include <map>
#include <system_error>

namespace qm::casc {
namespace {

constexpr int kBuckets = 16;
// An index of the game is a few megabytes.
constexpr std::uint64_t kMaxIndexFile = 256u << 20;
// The header block: its size and hash, then version, bucket, the sizes of
// an entry's fields (extra bytes, size, offset, key), the offset's bits and
// the largest data file.
constexpr size_t kHeaderBlock = 8 + 16;
constexpr size_t kEntriesBlock = 32; // where the entries' size and hash begin
constexpr size_t kEntry = kShortKey + 5 + 4;
constexpr unsigned kOffsetBits = 30;

// "0a00000012.idx": bucket 0x0a, version 0x12; -1 for other names.
int BucketOf(const std::string& name, std::uint32_t& version) {
    if (name.size() != 14 || name.substr(10) != ".idx")
        return -1;
    TKey scratch{};
    // Two digits for the bucket and eight for the version, read as hex.
    std::string hex = name.substr(0, 10) + std::string(22, '0');
    if (!ParseKey(hex, scratch) || scratch[0] >= kBuckets)
        return -1;
    version = Be32(&scratch[1]);
    return scratch[0];
}

} // namespace

bool TCascIndex::Read(const std::filesystem::path& dataDir, std::string& why) {
    std::map<int, std::pair<std::uint32_t, std::filesystem::path>> newest;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dataDir, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::uint32_t version = 0;
        const int bucket = BucketOf(it->path().filename().string(), version);
        if (bucket < 0)
            continue;
        auto [place, added] = newest.try_emplace(bucket, version, it->path());
        if (!added && place->second.first < version)
            place->second = {version, it->path()};
    }
    if (ec || newest.size() != kBuckets) {
        why = "the storage's indexes are missing (Data/data/*.idx)";
        return false;
    }
    for (const auto& [bucket, file] : newest)
        if (!ReadFile(file.second, why))
            return false;
    std::sort(entries_.begin(), entries_.end(),
              [](const TEntry& a, const TEntry& b) { return a.key < b.key; });
    return true;
}

bool TCascIndex::ReadFile(const std::filesystem::path& file, std::string& why) {
    std::string bytes;
    if (!ReadWholeFile(file, kMaxIndexFile, bytes, why))
        return false;
    const unsigned char* p = Bytes(bytes);
    const std::string name = file.filename().string();
    if (bytes.size() < kEntriesBlock + 8 || Le32(p) != kHeaderBlock - 8) {
        why = "the index " + name + " has no valid header";
        return false;
    }
    const unsigned char* header = p + 8;
    // Field sizes other than the game's would need another reading of entries.
    if (header[3] != 0 || header[4] != 4 || header[5] != 5 || header[6] != kShortKey ||
        header[7] != kOffsetBits) {
        why = "the index " + name + " has entries of an unknown layout";
        return false;
    }
    const std::uint64_t size = Le32(p + kEntriesBlock);
    if (size % kEntry != 0 || size > bytes.size() - kEntriesBlock - 8) {
        why = "the index " + name + " claims more entries than it holds";
        return false;
    }
    for (std::uint64_t at = kEntriesBlock + 8; at < kEntriesBlock + 8 + size; at += kEntry) {
        TEntry entry;
        std::copy_n(p + at, kShortKey, entry.key.begin());
        const std::uint64_t field = Be40(p + at + kShortKey);
        entry.where = {static_cast<std::uint32_t>(field >> kOffsetBits),
                       field & ((1u << kOffsetBits) - 1), Le32(p + at + kShortKey + 5)};
        entries_.push_back(entry);
    }
    return true;
}

std::optional<TCascLocation> TCascIndex::Find(const unsigned char* key) const {
    std::array<unsigned char, kShortKey> wanted;
    std::copy_n(key, kShortKey, wanted.begin());
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), wanted,
                                     [](const TEntry& e, const auto& k) { return e.key < k; });
    if (it == entries_.end() || it->key != wanted)
        return std::nullopt;
    return it->where;
}

} // namespace qm::casc
