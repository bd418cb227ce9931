#include "gamedata/BlpToJpeg.h"

#include "config/uAtomicFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <functional>
#include <optional>
#include <system_error>
#include <vector>

namespace qm {
namespace {

// The BLP1 header as far as the conversion reads it; offsets from the file start.
constexpr long kCompressionAt = 4;
constexpr long kMipmapOffsetAt = 28; // entry 0 of sixteen
constexpr long kMipmapSizeAt = 92;   // entry 0 of sixteen
constexpr long kJpegHeaderSizeAt = 156;
constexpr long kJpegHeaderAt = 160;

constexpr std::uint32_t kJpegCompression = 0;
constexpr size_t kCopyChunk = 64 * 1024;

struct TBlpLayout {
    std::uint64_t headerSize = 0;
    std::uint64_t mipmapOffset = 0;
    std::uint64_t mipmapSize = 0;
};

std::uint32_t U32At(const std::array<unsigned char, kJpegHeaderAt>& head, long at) {
    return std::uint32_t(head[at]) | std::uint32_t(head[at + 1]) << 8 |
           std::uint32_t(head[at + 2]) << 16 | std::uint32_t(head[at + 3]) << 24;
}

// The JPEG parts of the header, checked against the file size; nothing when
// the file is not JPEG-compressed or the values do not add up. The values are
// unsigned 32-bit, summed in 64 bits, so none can wrap round.
std::optional<TBlpLayout> ReadLayout(std::ifstream& in, std::uint64_t fileSize) {
    std::array<unsigned char, kJpegHeaderAt> head;
    if (fileSize < head.size() ||
        !in.read(reinterpret_cast<char*>(head.data()), std::streamsize(head.size())))
        return std::nullopt;
    if (U32At(head, kCompressionAt) != kJpegCompression)
        return std::nullopt;
    TBlpLayout layout{U32At(head, kJpegHeaderSizeAt), U32At(head, kMipmapOffsetAt),
                      U32At(head, kMipmapSizeAt)};
    const bool fits = kJpegHeaderAt + layout.headerSize <= fileSize &&
                      layout.mipmapOffset + layout.mipmapSize <= fileSize;
    // Without picture data the result would be no JPEG at all.
    if (!fits || layout.mipmapSize == 0)
        return std::nullopt;
    return layout;
}

using TWrite = std::function<bool(const char*, size_t)>;

// Copies `size` bytes from `offset` of `from` into `write`, a chunk at a time.
bool CopyRange(std::ifstream& from, std::uint64_t offset, std::uint64_t size, const TWrite& write) {
    if (!from.seekg(static_cast<std::streamoff>(offset)))
        return false;
    std::vector<char> chunk(std::min<std::uint64_t>(size, kCopyChunk));
    while (size > 0) {
        const size_t want = static_cast<size_t>(std::min<std::uint64_t>(size, chunk.size()));
        if (!from.read(chunk.data(), std::streamsize(want)) || !write(chunk.data(), want))
            return false;
        size -= want;
    }
    return true;
}

// Opens a BLP and reads its layout; false when it is not a JPEG BLP that adds up.
bool OpenBlp(const std::filesystem::path& file, std::ifstream& in, TBlpLayout& layout) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return false;
    const std::uint64_t fileSize = std::filesystem::file_size(file, ec);
    if (ec)
        return false;
    in.open(file, std::ios::binary);
    const auto read = in ? ReadLayout(in, fileSize) : std::nullopt;
    if (read)
        layout = *read;
    return read.has_value();
}

// The shared header followed by the full-size picture's data.
bool CopyJpeg(std::ifstream& in, const TBlpLayout& layout, const TWrite& write) {
    return CopyRange(in, kJpegHeaderAt, layout.headerSize, write) &&
           CopyRange(in, layout.mipmapOffset, layout.mipmapSize, write);
}

} // namespace

bool BlpToJpeg(const std::filesystem::path& file) {
    std::ifstream in;
    TBlpLayout layout;
    if (!OpenBlp(file, in, layout))
        return false;
    TAtomicFile out(file);
    const bool copied = out.Open() && CopyJpeg(in, layout, [&](const char* data, size_t size) {
                            return out.Write(data, size);
                        });
    in.close(); // some systems refuse to rename over an open file
    return copied && out.Commit();
}

bool BlpToJpeg(const std::filesystem::path& blp, const std::filesystem::path& jpeg,
               std::string* writeWhy) {
    std::ifstream in;
    TBlpLayout layout;
    if (!OpenBlp(blp, in, layout))
        return false;
    return FillNewFile(
        jpeg, [&](const TFileWrite& write) { return CopyJpeg(in, layout, write); }, writeWhy);
}

} // namespace qm
