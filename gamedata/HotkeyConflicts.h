#pragma once
// Hotkey clashes between the buttons of one command card. Three kinds are
// compared, each only with itself: hotkey, un-hotkey and research hotkey. A
// value is compared by its first character, case-sensitively; an empty value
// matches nothing, so "Q,Q,Q" clashes with "Q" and "512" with "5". A key code
// is compared whole, or by the character its key types: "81" clashes with
// "Q", "27" with "027" but not with "2".

#include "config/uBindRec.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TCfgManager;
class TTreeModel;

// The kinds as flags, in the order the editor hands values over.
enum THotkeyKind : int { hkHotkey = 1, hkUnhotkey = 2, hkResearchhotkey = 4 };
inline constexpr std::array<int, 3> kHotkeyKinds = {hkHotkey, hkUnhotkey, hkResearchhotkey};
// The record field of a kind (fiHotkey, fiUnhotkey, fiResearchhotkey).
int HotkeyField(int kind);
const char* HotkeyKindName(int kind); // "hotkey", "unhotkey", "researchhotkey"

// The comparison key of a value: its first character (a whole UTF-8
// sequence), empty for an empty value; for a key code, KeyCodeKey.
std::string HotkeyKey(std::string_view value);

// The kinds in which the values (hotkey, un-hotkey, research hotkey) clash
// with a sibling's record, as a set of flags.
int ClashFlags(const std::array<std::string_view, 3>& values, const TBindRec& sibling);

struct THotkeyClash {
    int Kind = hkHotkey;
    std::string ID1; // before ID2 in byte order
    std::string ID2;
    std::string Key;
    auto operator<=>(const THotkeyClash&) const = default;
};

// Every pair of actions that share a command card (TTreeModel::CardMatesOf)
// and whose values of one kind clash; each pair and
// kind once, sorted. With `defaults`, a record is seen as the editor shows
// it: its empty fields filled from the defaults, and an action the
// configuration lacks taken from them.
std::vector<THotkeyClash> FindHotkeyClashes(const TTreeModel& tree, const TCfgManager& config,
                                            const TCfgManager* defaults);
// How many FindHotkeyClashes would list, without listing them.
int CountHotkeyClashes(const TTreeModel& tree, const TCfgManager& config,
                       const TCfgManager* defaults);

} // namespace qm
