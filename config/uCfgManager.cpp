#include "config/uCfgManager.h"

#include "config/uAtomicFile.h"
#include "config/uColorMarkup.h"
#include "config/uFileError.h"
#include "config/uLineReader.h"
#include "text/TextCodec.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <unordered_map>
#include <utility>

namespace qm {
namespace {

// Fields whose values never start with blanks: hotkeys and button positions.
bool DropsLeadingBlanks(int index) {
    return (index >= fiHotkey && index <= fiResearchhotkey) ||
           (index >= fiButtonpos && index <= fiResearchbuttonpos);
}

std::string_view TrimBlanks(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The key is the text before the first "=", the value the text after it, cut
// at the first "//" that follows. Blanks around the key are not part of it.
void SplitKeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        key = {};
        value = {};
        return;
    }
    key = TrimBlanks(line.substr(0, eq));
    value = line.substr(eq + 1);
    if (const size_t comment = value.find("//"); comment != std::string_view::npos)
        value = value.substr(0, comment);
}

int FieldOfKey(std::string_view key) {
    const std::string upper = AsciiUpper(key);
    for (int i = fiHotkey; i < kFieldCount; ++i) {
        if (upper == ReadingKey(i))
            return i;
    }
    return -1;
}

// The identifier of a trimmed header line: after "[" up to the first "]".
std::string HeaderId(std::string_view header) {
    const std::string_view inner = header.substr(1);
    return std::string(inner.substr(0, inner.find(']')));
}

// Reads sections one at a time, carrying the header that ended the previous
// section's body over to the next call.
class TSectionReader {
  public:
    explicit TSectionReader(TLineReader& lines) : lines_(lines) {}

    // The next section with a non-empty identifier; false at the end.
    bool Next(TBindRec& rec) {
        for (;;) {
            rec = TBindRec{};
            std::string header;
            if (!FindHeader(header))
                return false;
            rec.ID = HeaderId(header);
            ReadBody(rec);
            // A section without identifier ("[]") is skipped; reading goes on.
            if (!rec.ID.empty())
                return true;
        }
    }

  private:
    bool FindHeader(std::string& header) {
        if (!pending_.empty()) {
            header = std::move(pending_);
            pending_.clear();
            return true;
        }
        while (lines_.ReadLine(line_)) {
            const std::string_view trimmed = Trim(line_);
            if (trimmed.starts_with('[')) {
                header = trimmed;
                // A first header on the file's last line yields nothing.
                return !lines_.AtEnd();
            }
        }
        return false;
    }

    void ReadBody(TBindRec& rec) {
        while (lines_.ReadLine(line_)) {
            const std::string_view trimmed = Trim(line_);
            std::string_view key, value;
            SplitKeyValue(trimmed, key, value);
            const int field = key.empty() ? -1 : FieldOfKey(key);
            if (field >= 0) {
                if (DropsLeadingBlanks(field))
                    value = TrimBlanksFront(value);
                rec[field].assign(value);
            } else if (trimmed.starts_with('[')) {
                pending_ = trimmed;
                return;
            }
        }
    }

    static std::string_view TrimBlanksFront(std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
            s.remove_prefix(1);
        return s;
    }

    TLineReader& lines_;
    std::string line_;
    std::string pending_;
};

bool IdLess(const std::unique_ptr<TBindRec>& a, const std::unique_ptr<TBindRec>& b) {
    return a->ID < b->ID; // char_traits<char> compares bytes as unsigned
}

bool HasAnyValue(const TBindRec& rec) {
    for (int i = fiHotkey; i < kFieldCount; ++i) {
        if (!rec[i].empty())
            return true;
    }
    return false;
}

void AppendRecord(std::string& out, const TBindRec& rec, bool withDataFields) {
    if (!rec.Name.empty())
        out.append("//").append(rec.Name).append("\r\n");
    out.append("[").append(rec.ID).append("]\r\n");
    const int last = withDataFields ? kFieldCount - 1 : fiResearchbuttonpos;
    for (int i = fiHotkey; i <= last; ++i) {
        if (Trim(rec[i]).empty())
            continue;
        out.append(WritingKey(i)).append(rec[i]).append("\r\n");
    }
    out.append("\r\n");
}

class TPlainText : public TMarkupVisitor {
  public:
    std::string text;
    void PlainChar(char c) override { text += c; }
    void ColorCode(std::string_view) override {}
    void ColorReset() override {}
};

} // namespace

std::unique_ptr<TCfgManager> TCfgManager::Create() {
    return std::make_unique<TCfgManager>();
}

std::unique_ptr<TCfgManager> TCfgManager::CreateFromFile(const std::filesystem::path& path,
                                                         std::string* why) {
    auto doc = Create();
    if (doc->LoadFromFile(path, false, why) > 0) {
        doc->fileName_ = path;
        doc->Sort();
    }
    return doc;
}

int TCfgManager::LoadFromFile(const std::filesystem::path& path, bool merge, std::string* why) {
    TLineReader lines;
    if (!lines.Open(path, why))
        return 0;
    if (!merge)
        records_.clear();
    // Merging looks up every section; an index of the first record per
    // trimmed identifier keeps that linear instead of quadratic.
    std::unordered_map<std::string, TBindRec*> firstById;
    if (merge) {
        for (const auto& rec : records_)
            firstById.emplace(Trim(rec->ID), rec.get());
    }
    TSectionReader sections(lines);
    TBindRec rec;
    int count = 0;
    while (sections.Next(rec)) {
        ++count;
        if (merge) {
            auto [it, added] = firstById.emplace(Trim(rec.ID), nullptr);
            if (!added) {
                CopyNonEmptyFields(*it->second, rec);
                continue;
            }
            it->second = records_.emplace_back(std::make_unique<TBindRec>(std::move(rec))).get();
        } else {
            records_.push_back(std::make_unique<TBindRec>(std::move(rec)));
        }
    }
    if (lines.Failed()) {
        SetWhy(why, lines.Error());
        return kReadError;
    }
    if (count == 0)
        SetWhy(why, kWhyNoSection);
    return count;
}

void TCfgManager::Sort() {
    std::stable_sort(records_.begin(), records_.end(), IdLess);
}

TBindRec& TCfgManager::Records(int index) {
    if (index < 0 || index >= Count())
        throw std::out_of_range("record index " + std::to_string(index));
    return *records_[index];
}

const TBindRec& TCfgManager::Records(int index) const {
    return const_cast<TCfgManager*>(this)->Records(index);
}

void TCfgManager::Clear() {
    records_.clear();
}

TBindRec& TCfgManager::AddRecord(std::string_view id) {
    auto rec = std::make_unique<TBindRec>();
    rec->ID = id;
    const auto at = std::upper_bound(records_.begin(), records_.end(), rec, IdLess);
    return **records_.insert(at, std::move(rec));
}

std::unique_ptr<TBindRec> TCfgManager::TakeRecord(const TBindRec& record, int* at) {
    const auto it = std::find_if(records_.begin(), records_.end(),
                                 [&](const auto& held) { return held.get() == &record; });
    if (it == records_.end())
        return nullptr;
    if (at)
        *at = static_cast<int>(it - records_.begin());
    std::unique_ptr<TBindRec> taken = std::move(*it);
    records_.erase(it);
    return taken;
}

TBindRec& TCfgManager::InsertRecord(std::unique_ptr<TBindRec> record, int at) {
    const auto index = static_cast<size_t>(std::clamp(at, 0, Count()));
    return **records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(index),
                             std::move(record));
}

std::vector<std::unique_ptr<TBindRec>> TCfgManager::TakeAll() {
    return std::exchange(records_, {});
}

void TCfgManager::PutAll(std::vector<std::unique_ptr<TBindRec>> records) {
    records_ = std::move(records);
}

std::unique_ptr<TCfgManager> TCfgManager::Clone() const {
    auto copy = Create();
    copy->records_.reserve(records_.size());
    for (const auto& rec : records_)
        copy->records_.push_back(std::make_unique<TBindRec>(*rec));
    copy->fileName_ = fileName_;
    return copy;
}

TBindRec* TCfgManager::FindRecord(std::string_view id) {
    const auto at =
        std::lower_bound(records_.begin(), records_.end(), id,
                         [](const auto& rec, std::string_view v) { return rec->ID < v; });
    return at != records_.end() && (*at)->ID == id ? at->get() : nullptr;
}

const TBindRec* TCfgManager::FindRecord(std::string_view id) const {
    return const_cast<TCfgManager*>(this)->FindRecord(id);
}

TBindRec* TCfgManager::FindRecordLinear(std::string_view id) {
    const std::string_view wanted = Trim(id);
    for (const auto& rec : records_) {
        if (Trim(rec->ID) == wanted)
            return rec.get();
    }
    return nullptr;
}

std::string TCfgManager::Serialize(bool withDataFields) const {
    size_t estimate = 0;
    for (const auto& rec : records_) {
        for (int i = 0; i < kFieldCount; ++i)
            estimate += (*rec)[i].size() + 24; // key, brackets, line end
    }
    std::string out;
    out.reserve(estimate);
    for (const auto& rec : records_) {
        if (!rec->ID.empty() && HasAnyValue(*rec))
            AppendRecord(out, *rec, withDataFields);
    }
    return out;
}

bool TCfgManager::SaveToFile(const std::filesystem::path& path, bool withDataFields,
                             std::string* why) const {
    if (records_.empty()) {
        SetWhy(why, kWhyNothingToWrite);
        return false;
    }
    return WriteFileAtomically(path, Serialize(withDataFields), why);
}

bool TCfgManager::SameAs(const TCfgManager& other) const {
    if (Count() != other.Count())
        return false;
    for (size_t r = 0; r < records_.size(); ++r) {
        for (int i = fiID; i <= fiResearchbuttonpos; ++i) {
            if ((*records_[r])[i] != (*other.records_[r])[i])
                return false;
        }
    }
    return true;
}

void TCfgManager::Overlay(const TCfgManager& other) {
    std::unordered_map<std::string_view, const TBindRec*> firstById;
    for (const auto& rec : other.records_)
        firstById.emplace(rec->ID, rec.get());
    for (const auto& rec : records_) {
        if (rec->ID.empty())
            continue;
        if (const auto it = firstById.find(rec->ID); it != firstById.end())
            CopyNonEmptyFields(*rec, *it->second);
    }
}

void TCfgManager::FillEmptyFields(TBindRec& record) const {
    const TBindRec* defaults = nullptr;
    for (int i = 0; i < kFieldCount; ++i) {
        if (!record[i].empty())
            continue;
        if (!defaults && !(defaults = FindRecord(record.ID)))
            return;
        record[i] = (*defaults)[i];
    }
}

const std::string& GetField(const TBindRec& record, int index) {
    return record[index];
}

std::string FirstNonEmptyField(const TBindRec& record, int from, int to) {
    for (int i = std::max(from, 0); i <= std::min(to, kFieldCount - 1); ++i) {
        if (!record[i].empty())
            return record[i];
    }
    return {};
}

void CopyNonEmptyFields(TBindRec& target, const TBindRec& source) {
    for (int i = 0; i < kFieldCount; ++i) {
        if (!source[i].empty())
            target[i] = source[i];
    }
}

TButtonPos ParseButtonPos(std::string_view text) {
    std::vector<std::string_view> items;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsTrimmable(text[i]) && text[i] != '\n')
            ++i;
        if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
            const char quote = text[i];
            const size_t close = text.find(quote, i + 1);
            const size_t end = close == std::string_view::npos ? text.size() : close;
            items.push_back(text.substr(i + 1, end - i - 1));
            i = std::min(text.size(), end + 1);
        } else {
            const size_t end = std::min(text.find_first_of(",\n", i), text.size());
            if (const auto item = Trim(text.substr(i, end - i)); !item.empty())
                items.push_back(item);
            i = end;
        }
        // Skip to just after the next separator.
        while (i < text.size() && text[i] != ',' && text[i] != '\n')
            ++i;
        ++i;
    }
    TButtonPos pos;
    if (items.size() != 2)
        return pos;
    int values[2];
    for (int k = 0; k < 2; ++k) {
        const std::string_view item = items[k];
        const char* first = item.data() + (item.starts_with('+') ? 1 : 0);
        const char* last = item.data() + item.size();
        const auto [end, ec] = std::from_chars(first, last, values[k]);
        if (ec != std::errc() || end != last || first == last) {
            pos.Ok = false;
            return pos;
        }
    }
    pos.Col = values[0];
    pos.Row = values[1];
    return pos;
}

std::string RemoveColorCodes(std::string_view markup) {
    TPlainText plain;
    ScanColorMarkup(markup, plain);
    return std::move(plain.text);
}

} // namespace qm
