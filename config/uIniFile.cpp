#include "config/uIniFile.h"

#include "config/uAtomicFile.h"
#include "config/uFileError.h"
#include "config/uReadFile.h"
#include "text/TextCodec.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <system_error>

namespace qm {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// A settings or language file is a few kilobytes; anything near this is not one.
constexpr std::uintmax_t kMaxFileSize = 64u << 20;

constexpr size_t npos = std::string::npos;

// The first `count` characters of UTF-8 text, never splitting one.
std::string_view FirstChars(std::string_view utf8, size_t count) {
    size_t chars = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const bool starts = (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80;
        if (starts && chars++ == count)
            return utf8.substr(0, i);
    }
    return utf8;
}

// A written value must stay on its own line.
// Text has no control codes but TAB, LF, CR and Ctrl+Z, which old editors
// leave at the end of a file.
bool HoldsBinaryBytes(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u < 32 && c != '\t' && c != '\n' && c != '\r' && c != 26) || u == 127;
    });
}

std::string OneLine(std::string_view value) {
    std::string out(Trim(value));
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return out;
}

bool ParseDigits(std::string_view digits, int base, std::uint64_t limit, std::uint64_t& out) {
    if (digits.empty())
        return false;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), out, base);
    return ec == std::errc() && end == digits.data() + digits.size() && out <= limit;
}

} // namespace

bool ParseIniInteger(std::string_view text, int& value) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint64_t magnitude = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        // Hexadecimal covers the 32 bits, so "0xFFFFFFFF" is -1 as in Windows.
        if (!ParseDigits(text.substr(2), 16, 0xFFFFFFFFu, magnitude))
            return false;
        const auto bits = static_cast<std::uint32_t>(magnitude);
        value = static_cast<std::int32_t>(negative ? 0u - bits : bits);
        return true;
    }
    const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    if (!ParseDigits(text, 10, limit, magnitude))
        return false;
    const auto signedValue = static_cast<std::int64_t>(magnitude);
    value = static_cast<int>(negative ? -signedValue : signedValue);
    return true;
}

TIniFile::TIniFile(std::filesystem::path path) : path_(std::move(path)) {
    Load();
}

void TIniFile::Load() {
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec))
        return;
    const auto bytes = ReadFileBytes(path_, kMaxFileSize, &readError_);
    if (!bytes || HoldsBinaryBytes(*bytes))
        return;
    asRead_ = *bytes;
    bom_ = bytes->starts_with(kBom);
    Parse(FileTextToUtf8(*bytes));
    const bool junk =
        std::none_of(lines_.begin(), lines_.end(), [](const TLine& l) { return l.header; }) &&
        std::any_of(lines_.begin(), lines_.end(), [](const TLine& l) {
            const std::string_view t = Trim(l.text);
            return !t.empty() && !t.starts_with(';');
        });
    if (junk) {
        lines_.clear();
        bom_ = false;
        eol_ = "\r\n";
    }
}

void TIniFile::Parse(const std::string& text) {
    const size_t firstLf = text.find('\n');
    if (firstLf != npos && (firstLf == 0 || text[firstLf - 1] != '\r'))
        eol_ = "\n";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        AddLine(std::move(line));
        start = end + 1;
    }
}

void TIniFile::AddLine(std::string text) {
    TLine line;
    const std::string_view trimmed = Trim(text);
    if (trimmed.starts_with('[')) {
        std::string_view name = trimmed.substr(1);
        const size_t close = name.rfind(']');
        if (close != npos)
            name = name.substr(0, close);
        line.header = true;
        line.section = AsciiLower(Trim(name));
    } else if (!trimmed.starts_with(';')) {
        const size_t eq = text.find('=');
        if (eq != npos && !Trim(std::string_view(text).substr(0, eq)).empty()) {
            line.key = AsciiLower(Trim(std::string_view(text).substr(0, eq)));
            line.valueStart = eq + 1;
        }
    }
    line.text = std::move(text);
    lines_.push_back(std::move(line));
}

size_t TIniFile::FindSection(std::string_view section) const {
    const std::string wanted = AsciiLower(Trim(section));
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].header && lines_[i].section == wanted)
            return i;
    return npos;
}

size_t TIniFile::SectionEnd(size_t header) const {
    size_t end = header + 1;
    for (size_t i = header + 1; i < lines_.size() && !lines_[i].header; ++i)
        if (!lines_[i].key.empty())
            end = i + 1;
    return end;
}

size_t TIniFile::FindKey(size_t header, std::string_view key) const {
    const std::string wanted = AsciiLower(Trim(key));
    for (size_t i = header + 1; i < lines_.size() && !lines_[i].header; ++i)
        if (!lines_[i].key.empty() && lines_[i].key == wanted)
            return i;
    return npos;
}

std::optional<std::string_view> TIniFile::FindValue(std::string_view section,
                                                    std::string_view key) const {
    const size_t header = FindSection(section);
    if (header == npos)
        return std::nullopt;
    const size_t at = FindKey(header, key);
    if (at == npos)
        return std::nullopt;
    const TLine& line = lines_[at];
    return Trim(std::string_view(line.text).substr(line.valueStart));
}

bool TIniFile::SectionExists(std::string_view section) const {
    return FindSection(section) != npos;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FindValue(section, key).has_value();
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    const size_t header = FindSection(section);
    if (header == npos)
        return keys;
    std::vector<std::string> seen;
    for (size_t i = header + 1; i < lines_.size() && !lines_[i].header; ++i) {
        const TLine& line = lines_[i];
        if (line.key.empty() || std::find(seen.begin(), seen.end(), line.key) != seen.end())
            continue;
        seen.push_back(line.key);
        keys.emplace_back(Trim(std::string_view(line.text).substr(0, line.valueStart - 1)));
    }
    return keys;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
    const auto value = FindValue(section, key);
    return std::string(value ? FirstChars(*value, kMaxValueLength) : fallback);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    const auto value = FindValue(section, key);
    int parsed = 0;
    return value && ParseIniInteger(FirstChars(*value, kMaxValueLength), parsed) ? parsed
                                                                                 : fallback;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const size_t header = FindSection(section);
    if (header == npos) {
        if (!lines_.empty() && !Trim(lines_.back().text).empty())
            AddLine(std::string());
        AddLine("[" + std::string(Trim(section)) + "]");
        AddLine(std::string(Trim(key)) + "=" + OneLine(value));
        return;
    }
    const size_t at = FindKey(header, key);
    if (at != npos) {
        // The key keeps its spelling from the file.
        TLine& line = lines_[at];
        line.text = line.text.substr(0, line.valueStart) + OneLine(value);
        return;
    }
    const size_t end = SectionEnd(header);
    const size_t count = lines_.size();
    AddLine(std::string(Trim(key)) + "=" + OneLine(value));
    if (end != count)
        std::rotate(lines_.begin() + static_cast<std::ptrdiff_t>(end),
                    lines_.begin() + static_cast<std::ptrdiff_t>(count), lines_.end());
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::Save(std::string* why) const {
    if (!readError_.empty()) {
        SetWhy(why, readError_);
        return false;
    }
    std::string bytes;
    if (bom_)
        bytes += kBom;
    for (const TLine& line : lines_) {
        bytes += line.text;
        bytes += eol_;
    }
    // Nothing changed since the file was read: it is left alone, so that a
    // start that changes no setting writes nothing.
    std::error_code ec;
    if (asRead_ == bytes && std::filesystem::file_size(path_, ec) == bytes.size())
        return true;
    return WriteFileAtomically(path_, bytes, why);
}

} // namespace qm
