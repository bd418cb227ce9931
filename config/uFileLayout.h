#pragma once
// A configuration file as it was read: its bytes, and where each section and
// each value the reader took lies in them, so that the file can be written
// back with only the edited values changed. Built once by the reader and
// never changed afterwards: documents share it (a clone costs a pointer).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TFileLayout {
  public:
    // A value the reader took: the bytes [Begin, End) of its line (carriage
    // returns inside them were dropped on reading).
    struct TValue {
        std::uint32_t Begin = 0;
        std::uint32_t End = 0;
        int Field = 0;
    };
    // A section that became a record, in file order. Offsets are into
    // Bytes(); a line's range runs to the first byte of the next line.
    struct TSection {
        std::string ID;
        std::uint32_t HeaderBegin = 0; // the header line
        std::uint32_t BodyBegin = 0;   // the line after it
        std::uint32_t KeysEnd = 0;     // after its last "key=value" line (BodyBegin: none)
        std::uint32_t End = 0;         // where the next header line (or the text) ends it
        std::uint32_t FirstValue = 0;  // its values' index in the list of values
        std::uint32_t ValueCount = 0;
    };

    TFileLayout() = default;
    // Takes the whole file; the text is what lies between a leading UTF-8
    // byte-order mark and the first Ctrl+Z.
    explicit TFileLayout(std::string bytes);

    const std::string& Bytes() const { return bytes_; }
    std::uint32_t TextBegin() const { return textBegin_; }
    std::uint32_t TextEnd() const { return textEnd_; }
    std::string_view Text() const;
    // The line end new lines take: CR LF, or LF when more of the file's
    // lines end that way.
    std::string_view LineEnd() const { return crlf_ ? "\r\n" : "\n"; }

    const std::vector<TSection>& Sections() const { return sections_; }
    // A section's values in line order; a key given twice has two.
    std::span<const TValue> Values(const TSection& section) const;

    // Building, by the reader only.
    void AddSection(TSection section) { sections_.push_back(std::move(section)); }
    void AddValue(const TValue& value) { values_.push_back(value); }
    std::uint32_t ValueCount() const { return static_cast<std::uint32_t>(values_.size()); }
    void DropValuesFrom(std::uint32_t first) { values_.resize(first); }
    void Finish(bool crlf);

  private:
    std::string bytes_;
    std::uint32_t textBegin_ = 0;
    std::uint32_t textEnd_ = 0;
    bool crlf_ = true;
    std::vector<TSection> sections_;
    std::vector<TValue> values_;
};

// Whether a line, trimmed, is a "key=value" line: an "=" after some key,
// not a "//" comment.
bool IsKeyLine(std::string_view trimmed);

} // namespace qm
