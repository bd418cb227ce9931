#include "config/uEditWriter.h"

#include "config/uCfgManager.h"
#include "config/uFileLayout.h"
#include "text/TextCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace qm {
namespace {

// Bytes [Begin, End) of the file replaced by Text.
struct TEdit {
    std::uint32_t Begin;
    std::uint32_t End;
    std::string Text;
};

class TEditWriter {
  public:
    TEditWriter(const TFileLayout& layout, const TCfgManager& edited)
        : layout_(layout), bytes_(layout.Bytes()), edited_(edited) {}

    std::string Write() {
        const std::vector<const TBindRec*> records = MatchSections();
        const auto& sections = layout_.Sections();
        for (size_t i = 0; i < sections.size(); ++i) {
            if (records[i])
                EditSection(sections[i], *records[i]);
            else
                RemoveSection(sections[i]);
        }
        std::string out = ApplyEdits();
        AppendNewRecords(out);
        out.append(bytes_.substr(layout_.TextEnd()));
        return out;
    }

  private:
    // The edited record of each section, or null; the records the file lacks
    // are kept for the end. Sections and records both in identifier order,
    // stably, pair up walking along both.
    std::vector<const TBindRec*> MatchSections() {
        const auto& sections = layout_.Sections();
        std::vector<std::uint32_t> byId(sections.size());
        for (std::uint32_t i = 0; i < byId.size(); ++i)
            byId[i] = i;
        std::stable_sort(byId.begin(), byId.end(), [&](std::uint32_t a, std::uint32_t b) {
            return sections[a].ID < sections[b].ID;
        });
        std::vector<const TBindRec*> records;
        records.reserve(static_cast<size_t>(edited_.Count()));
        for (int r = 0; r < edited_.Count(); ++r)
            records.push_back(&edited_.Records(r));
        std::stable_sort(records.begin(), records.end(),
                         [](const TBindRec* a, const TBindRec* b) { return a->ID < b->ID; });
        std::vector<const TBindRec*> matched(sections.size(), nullptr);
        size_t s = 0;
        for (const TBindRec* record : records) {
            while (s < byId.size() && sections[byId[s]].ID < record->ID)
                ++s;
            if (s < byId.size() && sections[byId[s]].ID == record->ID)
                matched[byId[s++]] = record;
            else
                newRecords_.push_back(record);
        }
        return matched;
    }

    void EditSection(const TFileLayout::TSection& section, const TBindRec& record) {
        const auto values = layout_.Values(section);
        std::array<const TFileLayout::TValue*, kFieldCount> read{};
        for (const auto& value : values)
            read[static_cast<size_t>(value.Field)] = &value;
        std::string added;
        for (int field = fiHotkey; field <= fiResearchbuttonpos; ++field) {
            const std::string& now = record[field];
            const TFileLayout::TValue* was = read[static_cast<size_t>(field)];
            if (!was) {
                if (!Trim(now).empty())
                    added.append(WritingKey(field)).append(now).append(layout_.LineEnd());
            } else if (!ReadsAs(*was, now)) {
                if (Trim(now).empty())
                    RemoveLinesOf(values, field);
                else
                    edits_.push_back({was->Begin, was->End, now});
            }
        }
        if (!added.empty())
            InsertLines(section.KeysEnd, std::move(added));
    }

    // Whether a value, as the reader took it from the file, equals `now`.
    bool ReadsAs(const TFileLayout::TValue& value, std::string_view now) const {
        const std::string_view raw = bytes_.substr(value.Begin, value.End - value.Begin);
        if (raw.find('\r') == std::string_view::npos)
            return raw == now;
        std::string read(raw);
        std::erase(read, '\r');
        return read == now;
    }

    void RemoveLinesOf(std::span<const TFileLayout::TValue> values, int field) {
        for (const auto& value : values) {
            if (value.Field == field)
                edits_.push_back({LineBegin(value.Begin), LineNext(value.End), {}});
        }
    }

    // Lines (each with its line end) inserted at the start of the line at
    // `at`; after a last line without its end they go behind a line end, and
    // the last of them goes without one.
    void InsertLines(std::uint32_t at, std::string lines) {
        if (!EndsLine(at)) {
            lines.resize(lines.size() - layout_.LineEnd().size());
            lines.insert(0, layout_.LineEnd());
        }
        edits_.push_back({at, at, std::move(lines)});
    }

    void RemoveSection(const TFileLayout::TSection& section) {
        std::uint32_t begin = section.HeaderBegin;
        while (begin > layout_.TextBegin()) {
            const std::uint32_t above = LineBegin(begin - 1);
            if (!Trim(bytes_.substr(above, begin - above)).starts_with("//"))
                break;
            begin = above;
        }
        std::uint32_t end = section.KeysEnd;
        while (end < section.End) {
            const std::uint32_t next = LineNext(end);
            if (!Trim(bytes_.substr(end, next - end)).empty())
                break;
            end = next;
        }
        edits_.push_back({begin, end, {}});
    }

    // The file's text with every edit made. Edits never overlap: each lies
    // within a section's lines or between sections; an insertion comes before
    // a removal that starts where it goes.
    std::string ApplyEdits() {
        std::sort(edits_.begin(), edits_.end(), [](const TEdit& a, const TEdit& b) {
            return a.Begin != b.Begin ? a.Begin < b.Begin : a.End < b.End;
        });
        std::string out;
        out.reserve(bytes_.size() + 64 * edits_.size());
        std::uint32_t done = 0;
        for (const TEdit& edit : edits_) {
            out.append(bytes_.substr(done, edit.Begin - done));
            out.append(edit.Text);
            done = edit.End;
        }
        out.append(bytes_.substr(done, layout_.TextEnd() - done));
        return out;
    }

    void AppendNewRecords(std::string& out) const {
        const std::string_view lineEnd = layout_.LineEnd();
        bool first = true;
        for (const TBindRec* record : newRecords_) {
            if (!IsWritten(*record))
                continue;
            if (first)
                SeparateFromText(out);
            first = false;
            AppendRecordText(out, *record, false, lineEnd);
        }
    }

    // Ends the text's last line, and leaves a blank line after it.
    void SeparateFromText(std::string& out) const {
        if (out.size() == layout_.TextBegin())
            return;
        if (out.back() != '\n')
            out.append(layout_.LineEnd());
        const std::string_view text =
            std::string_view(out).substr(layout_.TextBegin(), out.size() - 1 - layout_.TextBegin());
        const size_t lf = text.rfind('\n');
        if (!Trim(text.substr(lf == std::string_view::npos ? 0 : lf + 1)).empty())
            out.append(layout_.LineEnd());
    }

    // Whether `at`, a line start or the text's end, follows a line feed.
    bool EndsLine(std::uint32_t at) const {
        return at > layout_.TextBegin() && bytes_[at - 1] == '\n';
    }
    std::uint32_t LineBegin(std::uint32_t at) const {
        const size_t lf = bytes_.rfind('\n', at == 0 ? 0 : at - 1);
        const std::uint32_t begin =
            lf == std::string_view::npos || at == 0 ? 0 : static_cast<std::uint32_t>(lf + 1);
        return std::max(begin, layout_.TextBegin());
    }
    std::uint32_t LineNext(std::uint32_t at) const {
        const size_t lf = bytes_.find('\n', at);
        return lf == std::string_view::npos || lf >= layout_.TextEnd()
                   ? layout_.TextEnd()
                   : static_cast<std::uint32_t>(lf + 1);
    }

    const TFileLayout& layout_;
    std::string_view bytes_;
    const TCfgManager& edited_;
    std::vector<TEdit> edits_;
    std::vector<const TBindRec*> newRecords_;
};

} // namespace

std::string WriteEdits(const TFileLayout& layout, const TCfgManager& edited) {
    return TEditWriter(layout, edited).Write();
}

} // namespace qm
