#include "gamedata/CascStorage.h"

#include "config/uFileError.h"
#include "config/uFileOffsets.h"

#include <algorithm>
#include <cerrno>

namespace qm {
namespace {

using casc::TKey;

// The encoding table and the manifests of the game are a few megabytes.
constexpr std::uint64_t kMaxTable = 64u << 20;

std::vector<std::string_view> MountSteps(std::string_view path) {
    std::vector<std::string_view> steps;
    for (size_t start = 0;;) {
        const size_t colon = path.find(':', start);
        steps.push_back(path.substr(start, colon - start));
        if (colon == std::string_view::npos)
            return steps;
        start = colon + 1;
    }
}

// Decodes a whole table into `bytes` through the sink.
casc::TByteSink Collect(std::string& bytes) {
    return [&bytes](const unsigned char* b, size_t n) {
        bytes.append(reinterpret_cast<const char*>(b), n);
        return true;
    };
}

} // namespace

TCascStorage::TCascStorage(const std::filesystem::path& root) : data_(root / "Data" / "data") {
    std::string why;
    if (!Open(root, why))
        failure_ = "The game's data cannot be read: " + why + ".";
}

bool TCascStorage::Open(const std::filesystem::path& root, std::string& why) {
    if (!config_.Read(root, why) || !index_.Read(root / "Data" / "data", why))
        return false;
    const TKey& encodingKey = config_.EncodingKey();
    const auto where = index_.Find(encodingKey.data());
    if (!where) {
        why = "the indexes lack the encoding table";
        return false;
    }
    if (config_.EncodingSize() > kMaxTable) {
        why = "the encoding table claims an impossible size";
        return false;
    }
    std::string table;
    if (!data_.Decode(*where, encodingKey.data(), config_.EncodingSize(), Collect(table), why) ||
        !encoding_.Read(table, why))
        return false;
    if (!ReadManifest(config_.RootKey(), root_, why))
        return false;
    // Manifests of content not installed (other locales) are left out.
    for (const TKey& key : config_.ManifestKeys()) {
        const auto encoded = encoding_.ByContentKey(key);
        if (!encoded || !index_.Find(encoded->encodingKey.data()))
            continue;
        TMount mount;
        if (!ReadManifest(key, mount, why))
            return false;
        mounts_.push_back(std::move(mount));
    }
    return true;
}

bool TCascStorage::ReadManifest(const TKey& contentKey, TMount& mount, std::string& why) const {
    const auto encoded = encoding_.ByContentKey(contentKey);
    if (!encoded) {
        why = "the encoding table lacks the TVFS manifest " + casc::KeyHex(contentKey);
        return false;
    }
    const auto where = index_.Find(encoded->encodingKey.data());
    if (!where) {
        why = "the indexes lack the TVFS manifest " + casc::KeyHex(contentKey);
        return false;
    }
    if (encoded->size > kMaxTable) {
        why = "a TVFS manifest claims an impossible size";
        return false;
    }
    std::string bytes;
    if (!data_.Decode(*where, encoded->encodingKey.data(), encoded->size, Collect(bytes), why))
        return false;
    std::copy_n(encoded->encodingKey.begin(), casc::kShortKey, mount.key.begin());
    return mount.manifest.Read(std::move(bytes), why);
}

const casc::TCascTvfs*
TCascStorage::MountOf(const std::array<unsigned char, casc::kShortKey>& key) const {
    for (const TMount& mount : mounts_)
        if (mount.key == key)
            return &mount.manifest;
    return nullptr;
}

// Each name before a colon is a file of the manifest reached so far whose
// content is another manifest of the build.
std::optional<std::vector<casc::TCascSpan>> TCascStorage::Resolve(std::string_view path) const {
    const casc::TCascTvfs* manifest = &root_.manifest;
    const auto steps = MountSteps(path);
    for (size_t i = 0; i < steps.size(); ++i) {
        const auto spans = manifest->Find(casc::ComparablePath(steps[i]));
        if (!spans)
            return std::nullopt;
        manifest = spans->size() == 1 ? MountOf(spans->front().key) : nullptr;
        // A mount is a folder: only a path going on through it names a file.
        if (i + 1 == steps.size())
            return manifest ? std::nullopt : spans;
        if (!manifest)
            return std::nullopt;
    }
    return std::nullopt;
}

// Decodes the span's encoded file whole, so that its size and envelope are
// checked, and writes the span's part of it.
bool TCascStorage::CopySpan(const casc::TCascSpan& span, std::FILE* out,
                            std::string* writeWhy) const {
    const auto encoded = encoding_.ByEncodingKey(span.key.data());
    const auto where = index_.Find(span.key.data());
    if (!encoded || !where || span.offset + span.size > encoded->size)
        return false;
    std::uint64_t position = 0;
    const auto write = [&](const unsigned char* bytes, size_t size) {
        const std::uint64_t from = std::max(position, span.offset);
        const std::uint64_t to = std::min(position + size, span.offset + span.size);
        const size_t count = to > from ? static_cast<size_t>(to - from) : 0;
        const unsigned char* first = count ? bytes + (from - position) : bytes;
        position += size;
        if (count && std::fwrite(first, 1, count, out) != count) {
            SetWhy(writeWhy, ErrnoText(errno));
            return false;
        }
        return true;
    };
    std::string why;
    return data_.Decode(*where, span.key.data(), encoded->size, write, why);
}

bool TCascStorage::ExtractToHandle(std::string_view path, std::FILE* out, std::uint32_t maxSize,
                                   std::string* writeWhy) {
    if (!IsOpen() || !out || path.find('\0') != std::string_view::npos)
        return false;
    const auto spans = Resolve(path);
    if (!spans)
        return false;
    std::uint64_t total = 0;
    for (const casc::TCascSpan& span : *spans)
        total += span.size;
    if (total == 0 || total > std::min(maxSize, kMaxEntrySize))
        return false;
    const long long start = FilePosition(out);
    bool whole = true;
    for (const casc::TCascSpan& span : *spans)
        whole = whole && CopySpan(span, out, writeWhy);
    if (whole && std::fflush(out) != 0) {
        SetWhy(writeWhy, ErrnoText(errno));
        whole = false;
    }
    if (!whole && start >= 0)
        TruncateFile(out, start); // drop what the failed file wrote
    return whole;
}

bool TCascStorage::ExtractFile(std::string_view path, const std::filesystem::path& out) {
    std::FILE* file = std::fopen(out.c_str(), "wb");
    if (!file)
        return false;
    const bool whole = ExtractToHandle(path, file);
    return std::fclose(file) == 0 && whole;
}

} // namespace qm
