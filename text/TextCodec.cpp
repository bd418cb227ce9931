#include "text/TextCodec.h"

#include <algorithm>
#include <array>

namespace qm {
namespace {

// Code points of Windows-1251 bytes 0x80..0xBF; 0xC0..0xFF map to U+0410..U+044F.
constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char32_t Cp1251CodePoint(unsigned char b) {
    if (b < 0x80)
        return b;
    if (b >= 0xC0)
        return 0x0410 + (b - 0xC0);
    return kCp1251High[b - 0x80];
}

// Decodes one well-formed sequence at `i`; returns its length, or 0 when the
// bytes there are not well-formed UTF-8.
size_t DecodeUtf8(std::string_view s, size_t i, char32_t& cp) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    size_t len;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, min = 0x80, cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, min = 0x800, cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, min = 0x10000, cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

} // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

bool IsValidUtf8(std::string_view bytes) {
    char32_t cp;
    for (size_t i = 0; i < bytes.size();) {
        // Most of every file is ASCII: those bytes need no decoding.
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t len = DecodeUtf8(bytes, i, cp);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

std::string WithoutBrokenUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    char32_t cp;
    for (size_t i = 0; i < bytes.size();) {
        const size_t len = DecodeUtf8(bytes, i, cp);
        out.append(bytes.substr(i, len));
        i += len ? len : 1;
    }
    return out;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes)
        AppendUtf8(out, Cp1251CodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string FieldToUtf8(std::string_view bytes) {
    return IsValidUtf8(bytes) ? std::string(bytes) : Cp1251ToUtf8(bytes);
}

char32_t FirstCodePoint(std::string_view utf8) {
    if (utf8.empty())
        return 0;
    char32_t cp;
    return DecodeUtf8(utf8, 0, cp) ? cp : 0xFFFD;
}

std::string_view FirstCharacter(std::string_view text) {
    if (text.empty())
        return text;
    const auto lead = static_cast<unsigned char>(text[0]);
    size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xF4)
        length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    return text.substr(0, std::min(length, text.size()));
}

std::string FileTextToUtf8(std::string_view bytes) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (IsValidUtf8(bytes))
        return std::string(bytes.starts_with(kBom) ? bytes.substr(kBom.size()) : bytes);
    return Cp1251ToUtf8(bytes);
}

std::string_view Trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && IsTrimmable(text[b]))
        ++b;
    while (e > b && IsTrimmable(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

} // namespace qm
