#include "config/uSectionReader.h"

#include "text/TextCodec.h"

#include <cstring>

namespace qm {
namespace {

// Fields whose values never start with blanks: hotkeys and button positions.
bool DropsLeadingBlanks(int index) {
    return (index >= fiHotkey && index <= fiResearchhotkey) ||
           (index >= fiButtonpos && index <= fiResearchbuttonpos);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanksFront(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

std::string_view TrimBlanks(std::string_view s) {
    s = TrimBlanksFront(s);
    while (!s.empty() && IsBlank(s.back()))
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
    // The longest reading key is RESEARCHBUTTONPOS.
    char upper[17];
    if (key.size() > sizeof upper)
        return -1;
    for (size_t i = 0; i < key.size(); ++i)
        upper[i] = key[i] >= 'a' && key[i] <= 'z' ? static_cast<char>(key[i] - 32) : key[i];
    return FieldOfReadingKey(std::string_view(upper, key.size()));
}

} // namespace

TSectionReader::TSectionReader(std::string_view bytes, std::uint32_t begin, std::uint32_t end,
                               TFileLayout* layout)
    : bytes_(bytes), pos_(begin), end_(end), layout_(layout) {}

bool TSectionReader::ReadLine() {
    if (AtEnd())
        return false;
    const char* begin = bytes_.data() + pos_;
    const char* lf = static_cast<const char*>(std::memchr(begin, '\n', end_ - pos_));
    const std::uint32_t stop = lf ? static_cast<std::uint32_t>(lf - bytes_.data()) : end_;
    lineBegin_ = pos_;
    lineNext_ = lf ? stop + 1 : end_;
    pos_ = lineNext_;
    std::string_view raw = bytes_.substr(lineBegin_, stop - lineBegin_);
    const bool crlf = raw.ends_with('\r');
    if (crlf)
        raw.remove_suffix(1);
    if (lf)
        ++(crlf ? crlfLines_ : lfLines_);
    if (raw.find('\r') == std::string_view::npos) {
        line_ = raw;
        offsets_.clear();
        return true;
    }
    stripped_.clear();
    offsets_.clear();
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\r') {
            stripped_ += raw[i];
            offsets_.push_back(lineBegin_ + static_cast<std::uint32_t>(i));
        }
    }
    line_ = stripped_;
    return true;
}

std::uint32_t TSectionReader::Offset(size_t posInLine) const {
    if (offsets_.empty())
        return lineBegin_ + static_cast<std::uint32_t>(posInLine);
    if (posInLine < offsets_.size())
        return offsets_[posInLine];
    return offsets_.back() + 1;
}

TSectionReader::THeader TSectionReader::HeaderOfLine(std::string_view trimmed) const {
    const std::string_view inner = trimmed.substr(1);
    return {std::string(inner.substr(0, inner.find(']'))), lineBegin_, lineNext_};
}

bool TSectionReader::Next(TBindRec& rec) {
    for (;;) {
        rec = TBindRec{};
        THeader header;
        if (!FindHeader(header))
            return false;
        TFileLayout::TSection section;
        section.HeaderBegin = header.Begin;
        section.BodyBegin = section.KeysEnd = header.Next;
        section.FirstValue = layout_ ? layout_->ValueCount() : 0;
        rec.ID = std::move(header.ID);
        ReadBody(rec, section);
        // A section without identifier ("[]") is skipped; reading goes on.
        if (!rec.ID.empty()) {
            if (layout_) {
                section.ID = rec.ID;
                section.ValueCount = layout_->ValueCount() - section.FirstValue;
                layout_->AddSection(std::move(section));
            }
            return true;
        }
        if (layout_)
            layout_->DropValuesFrom(section.FirstValue);
    }
}

bool TSectionReader::FindHeader(THeader& header) {
    if (hasPending_) {
        header = std::move(pending_);
        hasPending_ = false;
        return true;
    }
    while (ReadLine()) {
        const std::string_view trimmed = Trim(line_);
        if (trimmed.starts_with('[')) {
            header = HeaderOfLine(trimmed);
            // A first header on the text's last line yields nothing.
            return !AtEnd();
        }
    }
    return false;
}

void TSectionReader::ReadBody(TBindRec& rec, TFileLayout::TSection& section) {
    while (ReadLine()) {
        const std::string_view trimmed = Trim(line_);
        std::string_view key, value;
        SplitKeyValue(trimmed, key, value);
        const int field = key.empty() ? -1 : FieldOfKey(key);
        if (field >= 0) {
            if (DropsLeadingBlanks(field))
                value = TrimBlanksFront(value);
            rec[field].assign(value);
            if (layout_) {
                const size_t at = static_cast<size_t>(value.data() - line_.data());
                const std::uint32_t begin = Offset(at);
                const std::uint32_t end = value.empty() ? begin : Offset(at + value.size() - 1) + 1;
                layout_->AddValue({begin, end, field});
            }
        } else if (trimmed.starts_with('[')) {
            pending_ = HeaderOfLine(trimmed);
            hasPending_ = true;
            section.End = lineBegin_;
            return;
        }
        if (IsKeyLine(trimmed))
            section.KeysEnd = lineNext_;
    }
    section.End = end_;
}

} // namespace qm
