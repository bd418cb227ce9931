#include "gamedata/TreeRewrite.h"

#include "config/uAtomicFile.h"
#include "config/uCfgManager.h"
#include "config/uFileError.h"
#include "config/uLineReader.h"
#include "gamedata/IconNames.h"
#include "text/TextCodec.h"
#include "text/TextSplit.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace qm {
namespace {

using TLineRewriter = std::function<std::string(const std::string& line)>;

constexpr std::string_view kPlaceholder = "?";
constexpr std::string_view kLineEnd = "\r\n";

// The fields of a line for rewriting: a field ends at "|", CR or LF outside
// quotes; a double quote or apostrophe switches quoting (another kind of quote
// takes over), and quote characters stay in the field. CR and LF before a
// field are skipped, TABs are not; empty fields are dropped.
std::vector<std::string> SplitFields(std::string_view line) {
    return SplitQuoted(line, "|\r\n", "\r\n");
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Characters, not bytes: a Cyrillic letter is one character in two bytes.
size_t CharCount(std::string_view utf8) {
    size_t n = 0;
    for (const char c : utf8)
        n += IsContinuationByte(c) ? 0 : 1;
    return n;
}

std::string Tabs(std::string_view line) {
    return std::string(static_cast<size_t>(TabCount(line)), '\t');
}

void AppendFieldsFrom(std::string& out, const std::vector<std::string>& fields, size_t first) {
    for (size_t i = first; i < fields.size(); ++i)
        out.append("|").append(fields[i]);
}

// A caption taken from the game data, as it may stand in a tree line: no
// colour codes and no "|" or double quote, which would split the line for
// the tree loader, no TABs at the start, which would change its level, and
// no broken characters.
std::string CaptionFromData(std::string_view utf8) {
    // A colour code of eight bytes may end inside a character; the tree
    // file must stay UTF-8, or it would all read as Windows-1251.
    std::string plain = WithoutBrokenUtf8(RemoveColorCodes(utf8));
    std::erase(plain, '"');
    return std::string(Trim(plain));
}

// The caption for an action line: the record's name, else its first tooltip
// without colour codes and bracketed hotkey, else the line's own caption.
std::string CaptionFor(const TBindRec* record, std::string_view ownCaption) {
    if (record) {
        std::string caption = CaptionFromData(FieldToUtf8(record->Name));
        if (caption.empty()) {
            const std::string tip = FirstNonEmptyField(*record, fiTip, fiAwakentip);
            caption = CaptionFromData(CutBeforeLastBracket(RemoveColorCodes(FieldToUtf8(tip))));
        }
        if (!caption.empty())
            return caption;
    }
    return std::string(Trim(ownCaption));
}

std::string IconFor(const TBindRec* record, const std::string& ownIcon) {
    if (ownIcon == kPlaceholder && record && !record->Art.empty()) {
        std::string icon = IconFileNameOfArt(FieldToUtf8(record->Art));
        if (!icon.empty())
            return icon;
    }
    return ownIcon;
}

std::string ClearLine(const std::string& line) {
    const auto fields = SplitFields(line);
    if (fields.size() < 2 || fields[1] == kPlaceholder)
        return line;
    std::string out = Tabs(line).append(kPlaceholder);
    AppendFieldsFrom(out, fields, 1);
    return out;
}

// An action line is rewritten when its identifier and its caption (TABs
// included) both have two characters or more.
bool IsRewritable(const std::vector<std::string>& fields) {
    return fields.size() >= 2 && CharCount(fields[1]) >= 2 && fields[1] != kPlaceholder &&
           CharCount(fields[0]) >= 2 && fields[0] != kPlaceholder;
}

// The first record of each trimmed identifier, as FindRecordLinear finds it
// (the exact spelling first, then any case): looked up once per tree line, so
// a large tree file and a large configuration cost their sizes added, not
// multiplied.
class TRecordIndex {
  public:
    explicit TRecordIndex(const TCfgManager& document) {
        for (int i = 0; i < document.Count(); ++i) {
            const std::string_view id = Trim(document.Records(i).ID);
            exact_.emplace(id, &document.Records(i));
            folded_.emplace(AsciiLower(id), &document.Records(i));
        }
    }
    const TBindRec* Find(std::string_view id) const {
        if (const auto it = exact_.find(id); it != exact_.end())
            return it->second;
        const auto it = folded_.find(AsciiLower(id));
        return it == folded_.end() ? nullptr : it->second;
    }

  private:
    std::unordered_map<std::string_view, const TBindRec*> exact_;
    std::unordered_map<std::string, const TBindRec*> folded_;
};

std::string FillLine(const std::string& line, const TRecordIndex& defaults) {
    const auto fields = SplitFields(line);
    if (!IsRewritable(fields))
        return line;
    const TBindRec* record = defaults.Find(Trim(fields[1]));
    std::string out = Tabs(line) + CaptionFor(record, fields[0]) + "|" + fields[1];
    if (fields.size() >= 3)
        out.append("|").append(IconFor(record, fields[2]));
    AppendFieldsFrom(out, fields, 3);
    return out;
}

// Whether every line of the file is valid UTF-8; nothing, with the reason
// in `why`, when it cannot be read.
std::optional<bool> IsUtf8File(const std::filesystem::path& file, std::string* why) {
    TLineReader reader;
    if (!reader.Open(file, why))
        return std::nullopt;
    bool utf8 = true;
    std::string line;
    while (utf8 && reader.ReadLine(line))
        utf8 = IsValidUtf8(line);
    if (reader.Failed()) {
        SetWhy(why, reader.Error());
        return std::nullopt;
    }
    return utf8;
}

// Writes the rewritten lines of `tree` to `out`; false, with the reason in
// `why`, when reading or writing failed.
bool WriteRewritten(const std::filesystem::path& tree, bool utf8, const TLineRewriter& rewrite,
                    TAtomicFile& out, std::string* why) {
    TLineReader reader;
    if (!reader.Open(tree, why))
        return false;
    std::string line;
    while (reader.ReadLine(line)) {
        if (!utf8)
            line = Cp1251ToUtf8(line);
        if (!out.Write(rewrite(line)) || !out.Write(kLineEnd)) {
            SetWhy(why, out.Error());
            return false;
        }
    }
    if (reader.Failed())
        SetWhy(why, reader.Error());
    return !reader.Failed();
}

bool RewriteTree(const std::filesystem::path& tree, const TLineRewriter& rewrite,
                 std::string* why) {
    const std::optional<bool> utf8 = IsUtf8File(tree, why);
    if (!utf8)
        return false;
    TAtomicFile out(tree);
    if (out.Open() && WriteRewritten(tree, *utf8, rewrite, out, why) && out.Commit())
        return true;
    if (!out.Error().empty())
        SetWhy(why, out.Error());
    return false;
}

} // namespace

bool ClearTVNames(const std::filesystem::path& tree, std::string* why) {
    return RewriteTree(tree, ClearLine, why);
}

bool FillTVFromDefaults(const std::filesystem::path& tree, const std::filesystem::path& defaults,
                        std::string* why) {
    const auto document = TCfgManager::CreateFromFile(defaults);
    const TRecordIndex index(*document);
    return RewriteTree(
        tree, [&](const std::string& line) { return FillLine(line, index); }, why);
}

std::string CutBeforeLastBracket(std::string_view text) {
    const size_t bracket = text.rfind('(');
    return std::string(bracket == std::string_view::npos ? text : text.substr(0, bracket));
}

int TabCount(std::string_view line) {
    const size_t first = line.find_first_not_of('\t');
    return static_cast<int>(first == std::string_view::npos ? line.size() : first);
}

} // namespace qm
