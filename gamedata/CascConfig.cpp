#include "gamedata/CascConfig.h"

#include <charconv>

namespace qm::casc {
namespace {

// Both files are a few kilobytes; anything near this is not one of them.
constexpr std::uint64_t kMaxTextFile = 1 << 20;
// Nothing the game ships has more manifests than this.
constexpr size_t kMaxManifests = 4096;

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A column's name without its type: "Build Key!HEX:16" is "Build Key".
std::string_view ColumnName(std::string_view header) {
    return Trimmed(header.substr(0, header.find('!')));
}

bool IsLocale(std::string_view word) {
    auto lower = [](char c) { return c >= 'a' && c <= 'z'; };
    auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
    return word.size() == 4 && lower(word[0]) && lower(word[1]) && upper(word[2]) && upper(word[3]);
}

// The tags are groups split by ':', each a list of words; the group ending
// in "text?" names the locale of the texts ("... enUS text?").
std::string TextLocaleOf(std::string_view tags) {
    for (const std::string_view group : Split(tags, ':')) {
        const auto words = Split(Trimmed(group), ' ');
        bool forText = false;
        for (const std::string_view word : words)
            forText = forText || word == "text?";
        for (const std::string_view word : words)
            if (forText && IsLocale(word))
                return std::string(word);
    }
    return "enUS";
}

bool ParseNumber(std::string_view text, std::uint64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

bool TCascConfig::Read(const std::filesystem::path& root, std::string& why) {
    TKey buildKey{};
    if (!ReadBuildInfo(root, buildKey, why))
        return false;
    const std::string hex = KeyHex(buildKey);
    const auto file = root / "Data" / "config" / hex.substr(0, 2) / hex.substr(2, 2) / hex;
    return ReadBuildConfig(file, why);
}

bool TCascConfig::ReadBuildInfo(const std::filesystem::path& root, TKey& buildKey,
                                std::string& why) {
    std::string text;
    if (!ReadWholeFile(root / ".build.info", kMaxTextFile, text, why))
        return false;
    std::vector<std::string_view> lines;
    for (const std::string_view line : Split(text, '\n'))
        if (!Trimmed(line).empty() && line.front() != '#')
            lines.push_back(Trimmed(line));
    if (lines.empty()) {
        why = ".build.info is empty";
        return false;
    }
    const auto columns = Split(lines[0], '|');
    for (size_t row = 1; row < lines.size(); ++row) {
        const auto cells = Split(lines[row], '|');
        if (cells.size() != columns.size())
            continue;
        std::string_view active, key, tags;
        for (size_t c = 0; c < columns.size(); ++c) {
            const std::string_view name = ColumnName(columns[c]);
            if (name == "Active")
                active = Trimmed(cells[c]);
            else if (name == "Build Key")
                key = Trimmed(cells[c]);
            else if (name == "Tags")
                tags = cells[c];
        }
        if (active != "1")
            continue;
        if (!ParseKey(key, buildKey)) {
            why = ".build.info names no valid build key";
            return false;
        }
        textLocale_ = TextLocaleOf(tags);
        return true;
    }
    why = ".build.info has no active build";
    return false;
}

bool TCascConfig::ReadBuildConfig(const std::filesystem::path& file, std::string& why) {
    std::string text;
    if (!ReadWholeFile(file, kMaxTextFile, text, why)) {
        why = "the build configuration: " + why;
        return false;
    }
    bool haveEncoding = false, haveRoot = false;
    for (const std::string_view line : Split(text, '\n')) {
        const size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos)
            continue;
        const std::string_view name = Trimmed(line.substr(0, equals));
        if (!TakeLine(name, Trimmed(line.substr(equals + 1)), why))
            return false;
        haveEncoding = haveEncoding || name == "encoding";
        haveRoot = haveRoot || name == "vfs-root";
    }
    if (!haveEncoding || !haveRoot || encodingSize_ == 0) {
        why = "the build configuration names no encoding table or no TVFS root";
        return false;
    }
    return true;
}

// Takes what a line says of the tables: "encoding = ckey ekey",
// "encoding-size = csize esize", "vfs-root = ckey ekey", "vfs-3 = ckey ekey".
bool TCascConfig::TakeLine(std::string_view name, std::string_view value, std::string& why) {
    const auto words = Split(value, ' ');
    TKey contentKey{};
    const bool keyPair = words.size() == 2 && ParseKey(words[0], contentKey);
    if (name == "encoding" && keyPair && ParseKey(words[1], encodingKey_))
        return true;
    if (name == "encoding-size" && !words.empty() && ParseNumber(words[0], encodingSize_))
        return true;
    if (name == "vfs-root" && keyPair) {
        rootKey_ = contentKey;
        return true;
    }
    const bool manifest = name.starts_with("vfs-") && name != "vfs-root" &&
                          name.find("-size") == std::string_view::npos;
    if (manifest && keyPair && manifestKeys_.size() < kMaxManifests) {
        manifestKeys_.push_back(contentKey);
        return true;
    }
    if (name == "encoding" || name == "encoding-size" || name == "vfs-root" || manifest) {
        why = "the build configuration's line \"" + std::string(name) + "\" is damaged";
        return false;
    }
    return true; // lines of other tables
}

} // namespace qm::casc
