#pragma once
// Decoding of BLTE, the envelope every file of a CASC storage is kept in:
// 'BLTE', the size of a frame table (0: one chunk), then chunks that are
// plain ('N'), zlib-compressed ('Z') or encrypted ('E', which we cannot
// read). The content streams out a piece at a time, so that a file costs
// little memory whatever its size, and every size the frame table claims is
// checked against the bytes the envelope really has.

#include "gamedata/CascBytes.h"

#include <cstdint>
#include <string>

namespace qm::casc {

class TBlteDecoder {
  public:
    // A frame table of more chunks than this is damage: the game's largest
    // files have a few thousand.
    static constexpr std::uint32_t kMaxChunks = 1u << 20;

    // Decodes an envelope of `size` bytes from `in`, whose content must
    // come to exactly `contentSize` bytes. False with `why` set on any
    // damage or an encrypted chunk; the sink may have had part of the
    // content by then.
    TBlteDecoder(TByteSource& in, std::uint64_t size, std::uint64_t contentSize, TByteSink out);
    bool Decode();
    const std::string& Why() const { return why_; }

  private:
    struct TChunk {
        std::uint64_t encoded;
        std::uint64_t decoded;
    };
    bool ReadChunks(std::uint32_t headerSize);
    bool DecodeChunk(const TChunk& chunk);
    bool CopyPlain(std::uint64_t size);
    bool Inflate(const TChunk& chunk);
    bool Emit(const unsigned char* bytes, size_t size);
    bool Fail(std::string why);

    TByteSource& in_;
    std::uint64_t size_;
    std::uint64_t contentSize_;
    TByteSink out_;
    std::uint64_t produced_ = 0;
    std::string why_;
};

} // namespace qm::casc
