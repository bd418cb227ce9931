#include "gamedata/CascBlte.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace qm::casc {
namespace {

constexpr size_t kPiece = 64 * 1024;
constexpr std::uint32_t kPrefix = 8;      // 'BLTE' and the frame table's size
constexpr std::uint32_t kTableHead = 4;   // flags and the chunk count
constexpr std::uint32_t kChunkEntry = 24; // sizes and the chunk's MD5

// Ends the inflation on every way out.
class TInflater {
  public:
    TInflater() { ok_ = inflateInit(&stream_) == Z_OK; }
    ~TInflater() {
        if (ok_)
            inflateEnd(&stream_);
    }
    TInflater(const TInflater&) = delete;
    TInflater& operator=(const TInflater&) = delete;
    bool Ok() const { return ok_; }
    z_stream& Stream() { return stream_; }

  private:
    z_stream stream_{};
    bool ok_ = false;
};

} // namespace

TBlteDecoder::TBlteDecoder(TByteSource& in, std::uint64_t size, std::uint64_t contentSize,
                           TByteSink out)
    : in_(in), size_(size), contentSize_(contentSize), out_(std::move(out)) {}

bool TBlteDecoder::Fail(std::string why) {
    why_ = std::move(why);
    return false;
}

bool TBlteDecoder::Decode() {
    unsigned char prefix[kPrefix];
    if (size_ < kPrefix || !in_.Read(prefix, kPrefix))
        return Fail("the file's BLTE envelope is cut short");
    if (std::memcmp(prefix, "BLTE", 4) != 0)
        return Fail("the file is not in a BLTE envelope");
    const std::uint32_t headerSize = Be32(prefix + 4);
    if (headerSize == 0) // one chunk holding the whole content
        return DecodeChunk({size_ - kPrefix, contentSize_});
    return ReadChunks(headerSize);
}

bool TBlteDecoder::ReadChunks(std::uint32_t headerSize) {
    if (headerSize < kPrefix + kTableHead || headerSize > size_)
        return Fail("the BLTE frame table is larger than its file");
    unsigned char head[kTableHead];
    if (!in_.Read(head, kTableHead))
        return Fail("the BLTE frame table is cut short");
    const std::uint32_t count = std::uint32_t(head[1]) << 16 | Be16(head + 2);
    if (count == 0 || count > kMaxChunks ||
        headerSize != kPrefix + kTableHead + std::uint64_t(count) * kChunkEntry)
        return Fail("the BLTE frame table claims an impossible number of chunks");
    std::vector<unsigned char> table(std::size_t(count) * kChunkEntry);
    if (!in_.Read(table.data(), table.size()))
        return Fail("the BLTE frame table is cut short");
    std::vector<TChunk> chunks(count);
    std::uint64_t encoded = 0, decoded = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        chunks[i] = {Be32(&table[i * kChunkEntry]), Be32(&table[i * kChunkEntry + 4])};
        encoded += chunks[i].encoded;
        decoded += chunks[i].decoded;
    }
    if (encoded != size_ - headerSize)
        return Fail("a BLTE chunk is longer than its file");
    if (decoded != contentSize_)
        return Fail("the BLTE chunks do not add up to the file's size");
    for (const TChunk& chunk : chunks)
        if (!DecodeChunk(chunk))
            return false;
    return true;
}

bool TBlteDecoder::DecodeChunk(const TChunk& chunk) {
    unsigned char mode = 0;
    if (chunk.encoded < 1 || !in_.Read(&mode, 1))
        return Fail("a BLTE chunk is empty or cut short");
    const std::uint64_t before = produced_;
    bool decoded = false;
    switch (mode) {
    case 'N':
        decoded = chunk.encoded - 1 == chunk.decoded && CopyPlain(chunk.encoded - 1);
        break;
    case 'Z':
        decoded = Inflate(chunk);
        break;
    case 'E':
        return Fail("the file is encrypted");
    default:
        return Fail("a BLTE chunk is stored in a way we cannot read");
    }
    if (decoded && produced_ - before == chunk.decoded)
        return true;
    return why_.empty() ? Fail("a BLTE chunk decodes to the wrong size") : false;
}

bool TBlteDecoder::CopyPlain(std::uint64_t size) {
    unsigned char piece[kPiece];
    while (size > 0) {
        const size_t now = static_cast<size_t>(std::min<std::uint64_t>(size, kPiece));
        if (!in_.Read(piece, now))
            return Fail("a BLTE chunk is cut short");
        if (!Emit(piece, now))
            return false;
        size -= now;
    }
    return true;
}

bool TBlteDecoder::Inflate(const TChunk& chunk) {
    TInflater inflater;
    if (!inflater.Ok())
        return Fail("zlib cannot start");
    z_stream& z = inflater.Stream();
    std::vector<unsigned char> input(kPiece), output(kPiece);
    std::uint64_t left = chunk.encoded - 1, allowed = chunk.decoded;
    for (;;) {
        if (z.avail_in == 0 && left > 0) {
            const size_t now = static_cast<size_t>(std::min<std::uint64_t>(left, kPiece));
            if (!in_.Read(input.data(), now))
                return Fail("a BLTE chunk is cut short");
            left -= now;
            z.next_in = input.data();
            z.avail_in = static_cast<uInt>(now);
        }
        z.next_out = output.data();
        z.avail_out = static_cast<uInt>(output.size());
        // Every call either makes progress or says it cannot (Z_BUF_ERROR).
        const int status = inflate(&z, Z_NO_FLUSH);
        if (status == Z_BUF_ERROR && z.avail_in == 0 && left == 0)
            return Fail("a zlib chunk ends before its stream does");
        if (status != Z_OK && status != Z_STREAM_END)
            return Fail("a zlib chunk is damaged");
        const size_t got = output.size() - z.avail_out;
        if (got > allowed)
            return Fail("a zlib chunk decodes to more than it claims");
        allowed -= got;
        if (got && !Emit(output.data(), got))
            return false;
        if (status == Z_STREAM_END)
            break;
    }
    if (left != 0 || z.avail_in != 0)
        return Fail("a zlib chunk has bytes after its stream");
    return true;
}

bool TBlteDecoder::Emit(const unsigned char* bytes, size_t size) {
    if (produced_ + size > contentSize_)
        return Fail("the file's content is larger than it claims");
    produced_ += size;
    return out_(bytes, size) || Fail("the content could not be written");
}

} // namespace qm::casc
