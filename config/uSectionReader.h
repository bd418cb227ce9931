#pragma once
// Reads the sections of a configuration file's text one at a time, as
// records; and, when given a layout, notes where each section and value lies.
//
// Lines end at LF; a carriage return never belongs to a line; every line is
// trimmed of codes 0-32. A line that starts with "[" heads a section (its
// identifier runs to the first "]"); a known key's line sets that field, a
// later line with the same key overwriting it. A section without identifier
// is skipped, and a first header on the text's last line yields nothing.

#include "config/uBindRec.h"
#include "config/uFileLayout.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TSectionReader {
  public:
    // Reads bytes [begin, end) of `bytes`; notes into `layout` when given.
    TSectionReader(std::string_view bytes, std::uint32_t begin, std::uint32_t end,
                   TFileLayout* layout = nullptr);

    // The next section with a non-empty identifier; false at the end.
    bool Next(TBindRec& rec);
    // Whether, of the lines read so far, at least as many end in CR LF as in
    // a bare LF.
    bool MostLinesEndInCrLf() const { return crlfLines_ >= lfLines_; }

  private:
    struct THeader {
        std::string ID;
        std::uint32_t Begin = 0;
        std::uint32_t Next = 0;
    };

    bool ReadLine();
    bool AtEnd() const { return pos_ >= end_; }
    // The file offset of a position in the current line's text.
    std::uint32_t Offset(size_t posInLine) const;
    bool FindHeader(THeader& header);
    THeader HeaderOfLine(std::string_view trimmed) const;
    void ReadBody(TBindRec& rec, TFileLayout::TSection& section);

    std::string_view bytes_;
    std::uint32_t pos_;
    std::uint32_t end_;
    TFileLayout* layout_;
    // The current line: its text without carriage returns, and where it lies.
    std::string_view line_;
    std::uint32_t lineBegin_ = 0;
    std::uint32_t lineNext_ = 0;
    // Only for a line with carriage returns inside: its text, and each
    // character's file offset.
    std::string stripped_;
    std::vector<std::uint32_t> offsets_;
    THeader pending_;
    bool hasPending_ = false;
    size_t crlfLines_ = 0;
    size_t lfLines_ = 0;
};

} // namespace qm
