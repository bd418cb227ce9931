#pragma once
// Small pieces shared by the readers of a CASC storage: numbers in the byte
// orders the storage mixes, content and encoding keys, the way a path is
// compared, and where encoded bytes come from and decoded ones go.

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace qm::casc {

// A content or encoding key: an MD5 digest in the storage's own files.
using TKey = std::array<unsigned char, 16>;
// The local indexes and the TVFS manifests keep only the first bytes of an
// encoding key; keys are compared by these.
constexpr size_t kShortKey = 9;

inline std::uint16_t Be16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}
inline std::uint32_t Be32(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}
inline std::uint64_t Be40(const unsigned char* p) {
    return std::uint64_t(p[0]) << 32 | Be32(p + 1);
}
inline std::uint32_t Le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
inline const unsigned char* Bytes(std::string_view s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

// Order of keys by their short form.
inline int CompareShort(const unsigned char* a, const unsigned char* b) {
    return std::memcmp(a, b, kShortKey);
}

// Where the encoded bytes come from, read front to back.
class TByteSource {
  public:
    virtual ~TByteSource() = default;
    // Exactly `size` bytes, or false.
    virtual bool Read(unsigned char* out, size_t size) = 0;
};

// Takes the content as it is decoded; false stops the decoding.
using TByteSink = std::function<bool(const unsigned char* bytes, size_t size)>;

// Reads 32 hex digits; false for anything else, so that a key can name a
// file without reaching outside its folder.
bool ParseKey(std::string_view hex, TKey& key);
std::string KeyHex(const TKey& key);

// A path the way paths are compared: ASCII lower case, '/' between names,
// no empty names.
std::string ComparablePath(std::string_view path);

// Reads a whole file of at most `ceiling` bytes; false with `why` set when
// it is missing, unreadable or larger.
bool ReadWholeFile(const std::filesystem::path& path, std::uint64_t ceiling, std::string& bytes,
                   std::string& why);

} // namespace qm::casc
