#pragma once
// One action record: the seventeen text fields of a section, by name and by
// index. Every field holds the bytes exactly as read from the file.

#include <array>
#include <string>
#include <string_view>

namespace qm {

// Field indexes are part of the interface: 1-3 hotkeys, 4-8 tooltips,
// 9-11 button positions, 12-16 data fields of the default configuration.
enum TFieldIndex : int {
    fiID = 0,
    fiHotkey,
    fiUnhotkey,
    fiResearchhotkey,
    fiTip,
    fiUntip,
    fiResearchtip,
    fiRevivetip,
    fiAwakentip,
    fiButtonpos,
    fiUnbuttonpos,
    fiResearchbuttonpos,
    fiName,
    fiUbertip,
    fiArt,
    fiSellunits,
    fiTrains,
};
inline constexpr int kFieldCount = 17;

struct TBindRec {
    std::string ID;
    std::string Hotkey;
    std::string Unhotkey;
    std::string Researchhotkey;
    std::string Tip;
    std::string Untip;
    std::string Researchtip;
    std::string Revivetip;
    std::string Awakentip;
    std::string Buttonpos;
    std::string Unbuttonpos;
    std::string Researchbuttonpos;
    std::string Name;
    std::string Ubertip;
    std::string Art;
    std::string Sellunits;
    std::string Trains;

    // Field by index 0-16; any other index throws std::out_of_range.
    std::string& operator[](int index);
    const std::string& operator[](int index) const;

    bool operator==(const TBindRec&) const = default;
};

// The key a field is read under (upper case), and written under.
std::string_view ReadingKey(int index);
std::string_view WritingKey(int index);
// The field read under a key given in upper case; -1 for none.
int FieldOfReadingKey(std::string_view upperKey);

} // namespace qm
