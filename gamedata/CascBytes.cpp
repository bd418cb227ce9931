#include "gamedata/CascBytes.h"

#include "text/TextCodec.h"

#include <fstream>
#include <system_error>

namespace qm::casc {

bool ParseKey(std::string_view hex, TKey& key) {
    if (hex.size() != 2 * key.size())
        return false;
    for (size_t i = 0; i < key.size(); ++i) {
        const int high = HexDigit(hex[2 * i]);
        const int low = HexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        key[i] = static_cast<unsigned char>(high << 4 | low);
    }
    return true;
}

std::string KeyHex(const TKey& key) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char b : key) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 0xF];
    }
    return hex;
}

std::string ComparablePath(std::string_view path) {
    std::string out;
    for (char c : path) {
        if (c == '\\')
            c = '/';
        if (c == '/' && (out.empty() || out.back() == '/'))
            continue;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

bool ReadWholeFile(const std::filesystem::path& path, std::uint64_t ceiling, std::string& bytes,
                   std::string& why) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        why = path.filename().string() + " is missing";
        return false;
    }
    const std::uint64_t size = std::filesystem::file_size(path, ec);
    if (ec || size > ceiling) {
        why = path.filename().string() + " is too large to be what it claims";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    bytes.assign(static_cast<size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(size))) {
        why = path.filename().string() + " cannot be read";
        return false;
    }
    return true;
}

} // namespace qm::casc
