#include "platform/TWineRegistry.h"

#include "config/uReadFile.h"
#include "text/TextCodec.h"

#include <cstdint>
#include <cstdlib>
#include <system_error>
#include <vector>

namespace qm {
namespace {

namespace fs = std::filesystem;

// A user.reg of a well-used prefix is a few megabytes.
constexpr std::uintmax_t kMaxFileSize = 256u << 20;
constexpr std::string_view kGameKey = "Software\\Blizzard Entertainment\\Warcraft III";

int DigitValue(char c, int base) {
    int v = 99;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

// Reads up to `maxDigits` digits of `base` at `pos`.
char32_t ReadNumber(std::string_view text, size_t& pos, int base, int maxDigits) {
    char32_t value = 0;
    for (int n = 0; n < maxDigits && pos < text.size(); ++n, ++pos) {
        const int d = DigitValue(text[pos], base);
        if (d < 0)
            break;
        value = value * static_cast<char32_t>(base) + static_cast<char32_t>(d);
    }
    return value;
}

// Collects UTF-16 units from "\x" escapes, pairing surrogates.
class TUnitWriter {
  public:
    explicit TUnitWriter(std::string& out) : out_(out) {}
    void Unit(char32_t unit) {
        if (unit >= 0xD800 && unit < 0xDC00) {
            Flush();
            high_ = unit;
            return;
        }
        if (unit >= 0xDC00 && unit < 0xE000 && high_) {
            AppendUtf8(out_, 0x10000 + ((high_ - 0xD800) << 10) + (unit - 0xDC00));
            high_ = 0;
            return;
        }
        Flush();
        AppendUtf8(out_, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    void Byte(char c) {
        Flush();
        out_ += c;
    }
    void Flush() {
        if (high_)
            AppendUtf8(out_, 0xFFFD);
        high_ = 0;
    }

  private:
    std::string& out_;
    char32_t high_ = 0;
};

// Reads an escaped text up to the unescaped `end` character, as Wine writes
// names and strings; `pos` ends past that character. nullopt when it never
// comes.
std::optional<std::string> ReadEscaped(std::string_view text, size_t& pos, char end) {
    std::string out;
    TUnitWriter writer(out);
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == end) {
            writer.Flush();
            return out;
        }
        if (c != '\\' || pos == text.size()) {
            writer.Byte(c);
            continue;
        }
        const char e = text[pos++];
        switch (e) {
        case 'a':
            writer.Byte('\a');
            break;
        case 'b':
            writer.Byte('\b');
            break;
        case 'e':
            writer.Byte('\x1B');
            break;
        case 'f':
            writer.Byte('\f');
            break;
        case 'n':
            writer.Byte('\n');
            break;
        case 'r':
            writer.Byte('\r');
            break;
        case 't':
            writer.Byte('\t');
            break;
        case 'v':
            writer.Byte('\v');
            break;
        case 'x':
            writer.Unit(ReadNumber(text, pos, 16, 4));
            break;
        default:
            if (e >= '0' && e <= '7') {
                --pos;
                writer.Unit(ReadNumber(text, pos, 8, 3));
            } else {
                writer.Byte(e);
            }
        }
    }
    return std::nullopt;
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The string data of a value line after "=": "..." or str(2):"...".
std::optional<std::string> ReadStringData(std::string_view data) {
    if (data.starts_with("str(2):"))
        data.remove_prefix(7);
    if (!data.starts_with('"'))
        return std::nullopt;
    size_t pos = 1;
    auto value = ReadEscaped(data, pos, '"');
    if (value) {
        // The terminating NUL of the stored string is not part of the text.
        const size_t nul = value->find('\0');
        if (nul != std::string::npos)
            value->resize(nul);
    }
    return value;
}

// The entry of a folder whose name matches without regard to case.
fs::path FindCaseless(const fs::path& folder, std::string_view name) {
    std::error_code ec;
    const std::string wanted = AsciiLower(name);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (AsciiLower(it->path().filename().string()) == wanted)
            return it->path();
    return folder / std::string(name);
}

} // namespace

bool TWineRegistry::Load(const fs::path& file) {
    keys_.clear();
    const auto bytes = ReadFileBytes(file, kMaxFileSize);
    return bytes && Parse(*bytes);
}

bool TWineRegistry::Parse(std::string_view text) {
    keys_.clear();
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(TrimRight(text.substr(start, end - start)));
        start = end + 1;
    }
    if (lines.empty() || !lines.front().starts_with("WINE REGISTRY Version "))
        return false;
    std::map<std::string, std::string>* current = nullptr;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = TrimLeft(lines[i]);
        size_t pos = 1;
        if (line.starts_with('[')) {
            const auto key = ReadEscaped(line, pos, ']');
            current = key ? &keys_[AsciiLower(*key)] : nullptr;
            continue;
        }
        if (!current)
            continue;
        std::optional<std::string> name;
        if (line.starts_with('"'))
            name = ReadEscaped(line, pos, '"');
        else if (line.starts_with("@="))
            name = std::string();
        if (!name || pos >= line.size() || line[pos] != '=')
            continue;
        if (auto value = ReadStringData(line.substr(pos + 1)))
            (*current)[AsciiLower(*name)] = std::move(*value);
    }
    return true;
}

std::optional<std::string> TWineRegistry::Value(std::string_view key, std::string_view name) const {
    const auto k = keys_.find(AsciiLower(key));
    if (k == keys_.end())
        return std::nullopt;
    const auto v = k->second.find(AsciiLower(name));
    if (v == k->second.end())
        return std::nullopt;
    return v->second;
}

fs::path TWineRegistry::DefaultPrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".wine";
    return {};
}

fs::path TWineRegistry::MapPath(const fs::path& prefix, std::string_view windowsPath) {
    if (prefix.empty() || windowsPath.size() < 2 || windowsPath[1] != ':')
        return {};
    const char letter = AsciiLower(windowsPath.substr(0, 1)).front();
    if (letter < 'a' || letter > 'z')
        return {};
    std::error_code ec;
    fs::path root = prefix / "drive_c";
    if (letter != 'c' || !fs::is_directory(root, ec))
        root = prefix / "dosdevices" / (std::string(1, letter) + ":");
    root = fs::canonical(root, ec);
    if (ec || !fs::is_directory(root, ec))
        return {};
    fs::path folder = root;
    std::string_view rest = windowsPath.substr(2);
    while (!rest.empty()) {
        const size_t sep = rest.find_first_of("\\/");
        const std::string_view part = rest.substr(0, sep);
        rest = sep == std::string_view::npos ? std::string_view() : rest.substr(sep + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (folder != root)
                folder = folder.parent_path();
            continue;
        }
        const fs::path exact = folder / std::string(part);
        folder = fs::exists(exact, ec) ? exact : FindCaseless(folder, part);
    }
    return folder;
}

fs::path TWineRegistry::GameFolder(const fs::path& prefix) {
    TWineRegistry registry;
    if (prefix.empty() || !registry.Load(prefix / "user.reg"))
        return {};
    const auto path = registry.Value(kGameKey, "InstallPath");
    return path ? MapPath(prefix, *path) : fs::path();
}

} // namespace qm
