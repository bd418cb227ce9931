#pragma once
// Hotkeys laid over the command card by button position: the multi-editor's
// key grid, for the editor and the command-line companion alike. Cell
// (column, row) stands for the Buttonpos "column,row"; every action whose
// button sits in a cell that holds a letter takes that letter for each of
// its hotkeys that is set, with the matching tooltips rebuilt. Position,
// hotkeys and tooltips are read as the editor shows them: a record's empty
// values are its default record's (most players' files leave positions to
// the game).

#include "config/uBindRec.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

inline constexpr int kGridColumns = 4;
inline constexpr int kGridRows = 3;

// Letters by cell, row by row; 0 for an empty cell.
using TKeyGrid = std::array<char, kGridColumns * kGridRows>;

struct TGridCell {
    int Col = 0;
    int Row = 0;
};

// The cell of a Buttonpos of exactly a digit, a comma and a digit, inside
// the card; nothing for any other value.
std::optional<TGridCell> GridCellOf(std::string_view buttonpos);

// The position value a record shows on the card: the first set of Buttonpos,
// Unbuttonpos and Researchbuttonpos, each taken from the default record
// (when given) where the record leaves it empty.
std::string ShownButtonPos(const TBindRec& record, const TBindRec* defaults);

// A grid from three groups of four characters, "QWER/ASDF/ZXCV", "." for an
// empty cell, each letter (taken in upper case) at most once.
std::optional<TKeyGrid> ParseKeyGrid(std::string_view rows);

// How a field is set (the editor's single edit path, or plain assignment)
// and how a tooltip names its hotkey (the colour template).
using TFieldSetter = std::function<void(TBindRec&, int field, std::string_view bytes)>;
using TTemplateTip = std::function<std::string(std::string_view tip, std::string_view hotkey)>;

// Gives the record the letter of its cell. True when it was handled: its
// shown position is a cell of the grid and that cell holds a letter, even
// when none of its hotkeys is set (a hotkey empty in the record and in
// `defaults` is never filled in).
bool ApplyGridKeys(TBindRec& record, const TKeyGrid& grid, const TTemplateTip& templateTip,
                   const TFieldSetter& set, const TBindRec* defaults = nullptr);

} // namespace qm
