// Stands in for the BLP conversion until it is part of the core: the header
// and mipmap 0 of a JPEG-compressed BLP, written back as one JPEG.

#include "support/TestFiles.h"

#include <cstdint>
#include <cstring>

namespace qm {

bool BlpToJpeg(const std::filesystem::path& file) {
    const std::string blp = test::ReadBytes(file);
    const auto u32 = [&](size_t at) {
        std::uint32_t v = 0;
        std::memcpy(&v, blp.data() + at, 4);
        return size_t(v);
    };
    if (blp.size() < 160 || u32(4) != 0 || 160 + u32(156) > blp.size() ||
        u32(28) + u32(92) > blp.size())
        return false;
    test::WriteBytes(file, blp.substr(160, u32(156)) + blp.substr(u32(28), u32(92)));
    return true;
}

} // namespace qm
