#include "config/uCfgManager.h"

#include "config/uAtomicFile.h"
#include "config/uColorMarkup.h"
#include "config/uEditWriter.h"
#include "config/uFileError.h"
#include "config/uReadFile.h"
#include "config/uSectionReader.h"
#include "text/TextCodec.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace qm {
namespace {

bool IdLess(const std::unique_ptr<TBindRec>& a, const std::unique_ptr<TBindRec>& b) {
    return a->ID < b->ID; // char_traits<char> compares bytes as unsigned
}

// Runs of records this short are looked through rather than narrowed.
constexpr std::ptrdiff_t kShortRun = 8;

// The records a merge may join, by trimmed identifier: merging looks up
// every section, and an index keeps that linear instead of quadratic. Keyed
// without regard to case; the spellings of one key beyond the first are rare.
class TMergeIndex {
  public:
    struct TFound {
        TBindRec* Exact = nullptr;
        TBindRec* OtherCase = nullptr; // the first indexed in another case
        const std::string* OtherCaseID = nullptr;
    };

    // The first record of each spelling is kept.
    void Add(std::string_view id, TBindRec* record) {
        auto [it, added] = byFolded_.try_emplace(AsciiLower(id));
        TSpellings& spellings = it->second;
        if (added) {
            spellings.First = {std::string(id), record};
        } else if (spellings.First.first != id &&
                   std::none_of(spellings.More.begin(), spellings.More.end(),
                                [&](const auto& more) { return more.first == id; })) {
            spellings.More.emplace_back(std::string(id), record);
        }
    }

    TFound Find(std::string_view id) const {
        const auto it = byFolded_.find(AsciiLower(id));
        if (it == byFolded_.end())
            return {};
        const TSpellings& spellings = it->second;
        if (spellings.First.first == id)
            return {spellings.First.second};
        for (const auto& [spelling, record] : spellings.More) {
            if (spelling == id)
                return {record};
        }
        return {nullptr, spellings.First.second, &spellings.First.first};
    }

  private:
    struct TSpellings {
        std::pair<std::string, TBindRec*> First;
        std::vector<std::pair<std::string, TBindRec*>> More;
    };
    std::unordered_map<std::string, TSpellings> byFolded_;
};

// The byte of an identifier at a position, -1 past its end: shorter sorts first.
int ByteAt(const std::string& id, size_t at) {
    return at < id.size() ? static_cast<unsigned char>(id[at]) : -1;
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

std::unique_ptr<TCfgManager> TCfgManager::CreateFromBytes(std::string bytes,
                                                          const std::filesystem::path& path) {
    auto doc = Create();
    if (doc->ReadSections(std::move(bytes)) > 0) {
        doc->fileName_ = path;
        doc->Sort();
    }
    return doc;
}

int TCfgManager::LoadFromFile(const std::filesystem::path& path, bool merge, std::string* why) {
    auto bytes = ReadFileBytes(path, kMaxFileSize, why);
    if (!bytes)
        return 0;
    int count = 0;
    if (merge) {
        count = MergeSections(TFileLayout(std::move(*bytes)));
        // A merged document is no longer one file.
        layout_.reset();
    } else {
        count = ReadSections(std::move(*bytes));
    }
    if (count == 0)
        SetWhy(why, kWhyNoSection);
    return count;
}

// The document becomes the file's sections in file order, with its layout.
int TCfgManager::ReadSections(std::string bytes) {
    auto layout = std::make_shared<TFileLayout>(std::move(bytes));
    TSectionReader sections(layout->Bytes(), layout->TextBegin(), layout->TextEnd(),
                            layout.get());
    std::vector<std::unique_ptr<TBindRec>> read;
    for (TBindRec rec; sections.Next(rec);)
        read.push_back(std::make_unique<TBindRec>(std::move(rec)));
    records_ = std::move(read);
    layout->Finish(sections.MostLinesEndInCrLf());
    layout_ = std::move(layout);
    return Count();
}

int TCfgManager::MergeSections(const TFileLayout& file) {
    TMergeIndex index;
    for (const auto& held : records_)
        index.Add(Trim(held->ID), held.get());
    // A section never joins a record of another case that the file also
    // spells: the game's own tables hold both Achd and AChd. The file's
    // spellings are only gathered when a section first differs in case.
    std::optional<std::unordered_set<std::string>> spelled;
    const auto fileSpells = [&](const std::string& id) {
        if (!spelled) {
            spelled.emplace();
            TSectionReader all(file.Bytes(), file.TextBegin(), file.TextEnd());
            for (TBindRec rec; all.Next(rec);)
                spelled->emplace(Trim(rec.ID));
        }
        return spelled->contains(id);
    };
    TSectionReader sections(file.Bytes(), file.TextBegin(), file.TextEnd());
    int count = 0;
    for (TBindRec rec; sections.Next(rec); ++count) {
        const std::string_view id = Trim(rec.ID);
        const TMergeIndex::TFound found = index.Find(id);
        TBindRec* target = found.Exact;
        if (!target && found.OtherCase && !fileSpells(*found.OtherCaseID))
            target = found.OtherCase;
        if (target) {
            CopyNonEmptyFields(*target, rec);
        } else {
            const std::string kept(id);
            index.Add(kept,
                      records_.emplace_back(std::make_unique<TBindRec>(std::move(rec))).get());
        }
    }
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
    copy->layout_ = layout_;
    return copy;
}

TBindRec* TCfgManager::FindRecord(std::string_view id) {
    const auto at =
        std::lower_bound(records_.begin(), records_.end(), id,
                         [](const auto& rec, std::string_view v) { return rec->ID < v; });
    if (at != records_.end() && (*at)->ID == id)
        return at->get();
    return FindOtherCase(id);
}

const TBindRec* TCfgManager::FindRecord(std::string_view id) const {
    return const_cast<TCfgManager*>(this)->FindRecord(id);
}

// The sorted list keeps the identifiers that differ from `id` only in case
// apart, but every record sharing a prefix with it is one run: narrowing the
// run byte by byte, a letter in either case, finds them without an index.
// Upper case sorts first, so the first found is the first in list order.
TBindRec* TCfgManager::FindOtherCase(std::string_view id) {
    using TIt = decltype(records_)::iterator;
    struct TRun {
        size_t Depth;
        TIt First, Last;
    };
    std::vector<TRun> runs{{0, records_.begin(), records_.end()}};
    while (!runs.empty()) {
        const TRun run = runs.back();
        runs.pop_back();
        if (run.First == run.Last)
            continue;
        // A short run is quicker looked through.
        if (run.Last - run.First <= kShortRun) {
            for (TIt it = run.First; it != run.Last; ++it) {
                if (SameIgnoringAsciiCase((*it)->ID, id))
                    return it->get();
            }
            continue;
        }
        if (run.Depth == id.size()) {
            if ((*run.First)->ID.size() == run.Depth)
                return run.First->get();
            continue;
        }
        const auto push = [&](char variant) {
            const int v = static_cast<unsigned char>(variant);
            const TIt first = std::lower_bound(run.First, run.Last, v, [&](const auto& rec, int b) {
                return ByteAt(rec->ID, run.Depth) < b;
            });
            const TIt last = std::upper_bound(first, run.Last, v, [&](int b, const auto& rec) {
                return b < ByteAt(rec->ID, run.Depth);
            });
            runs.push_back({run.Depth + 1, first, last});
        };
        const char c = id[run.Depth];
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            push(static_cast<char>(c | 0x20));
            push(static_cast<char>(c & ~0x20)); // upper case, pushed last, is taken first
        } else {
            push(c);
        }
    }
    return nullptr;
}

TBindRec* TCfgManager::FindRecordLinear(std::string_view id) {
    const std::string_view wanted = Trim(id);
    for (const auto& rec : records_) {
        if (Trim(rec->ID) == wanted)
            return rec.get();
    }
    for (const auto& rec : records_) {
        if (SameIgnoringAsciiCase(Trim(rec->ID), wanted))
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
        if (IsWritten(*rec))
            AppendRecordText(out, *rec, withDataFields);
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

std::string TCfgManager::SerializeEdits() const {
    return layout_ ? WriteEdits(*layout_, *this) : Serialize(false);
}

bool TCfgManager::SaveEdits(const std::filesystem::path& path, std::string* why) const {
    if (!layout_ && records_.empty()) {
        SetWhy(why, kWhyNothingToWrite);
        return false;
    }
    return WriteFileAtomically(path, SerializeEdits(), why);
}

bool TCfgManager::SameAs(const TCfgManager& other) const {
    if (Count() != other.Count())
        return false;
    const auto mine = InFoldedOrder();
    const auto theirs = other.InFoldedOrder();
    for (size_t r = 0; r < mine.size(); ++r) {
        if (!SameIgnoringAsciiCase(mine[r]->ID, theirs[r]->ID))
            return false;
        for (int i = fiHotkey; i <= fiResearchbuttonpos; ++i) {
            if ((*mine[r])[i] != (*theirs[r])[i])
                return false;
        }
    }
    return true;
}

std::vector<const TBindRec*> TCfgManager::InFoldedOrder() const {
    std::vector<const TBindRec*> order;
    order.reserve(records_.size());
    for (const auto& rec : records_)
        order.push_back(rec.get());
    const auto fold = [](char c) {
        return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    };
    std::stable_sort(order.begin(), order.end(), [&](const TBindRec* a, const TBindRec* b) {
        return std::lexicographical_compare(a->ID.begin(), a->ID.end(), b->ID.begin(), b->ID.end(),
                                            [&](char x, char y) { return fold(x) < fold(y); });
    });
    return order;
}

void TCfgManager::Overlay(const TCfgManager& other) {
    std::unordered_map<std::string_view, const TBindRec*> exact;
    std::unordered_map<std::string, const TBindRec*> folded;
    for (const auto& rec : other.records_) {
        exact.emplace(rec->ID, rec.get());
        folded.emplace(AsciiLower(rec->ID), rec.get());
    }
    for (const auto& rec : records_) {
        if (rec->ID.empty())
            continue;
        if (const auto it = exact.find(rec->ID); it != exact.end())
            CopyNonEmptyFields(*rec, *it->second);
        else if (const auto near = folded.find(AsciiLower(rec->ID)); near != folded.end())
            CopyNonEmptyFields(*rec, *near->second);
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

TTextEncoding DetectEncoding(const TCfgManager& document) {
    TEncodingGuess guess;
    for (int r = 0; r < document.Count(); ++r) {
        for (int i = fiHotkey; i < kFieldCount; ++i)
            guess.Add(document.Records(r)[i]);
    }
    return guess.Result();
}

bool IsWritten(const TBindRec& record) {
    if (record.ID.empty())
        return false;
    for (int i = fiHotkey; i < kFieldCount; ++i) {
        if (!record[i].empty())
            return true;
    }
    return false;
}

void AppendRecordText(std::string& out, const TBindRec& record, bool withDataFields,
                      std::string_view lineEnd) {
    if (!record.Name.empty())
        out.append("//").append(record.Name).append(lineEnd);
    out.append("[").append(record.ID).append("]").append(lineEnd);
    const int last = withDataFields ? kFieldCount - 1 : fiResearchbuttonpos;
    for (int i = fiHotkey; i <= last; ++i) {
        if (Trim(record[i]).empty())
            continue;
        out.append(WritingKey(i)).append(record[i]).append(lineEnd);
    }
    out.append(lineEnd);
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
