#include "config/uGridKeys.h"

namespace qm {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Each hotkey with the tooltips that name it.
struct THotkeyTips {
    int Hotkey;
    std::array<int, 3> Tips; // 0 ends the list
};
constexpr THotkeyTips kHotkeyTips[] = {
    {fiHotkey, {fiTip, fiRevivetip, fiAwakentip}},
    {fiUnhotkey, {fiUntip, 0, 0}},
    {fiResearchhotkey, {fiResearchtip, 0, 0}},
};

// A value as the editor shows it: the record's own, else the default's.
const std::string& Shown(const TBindRec& record, const TBindRec* defaults, int field) {
    return record[field].empty() && defaults ? (*defaults)[field] : record[field];
}

} // namespace

std::optional<TGridCell> GridCellOf(std::string_view buttonpos) {
    if (buttonpos.size() != 3 || !IsDigit(buttonpos[0]) || buttonpos[1] != ',' ||
        !IsDigit(buttonpos[2]))
        return std::nullopt;
    const TGridCell cell{buttonpos[0] - '0', buttonpos[2] - '0'};
    if (cell.Col >= kGridColumns || cell.Row >= kGridRows)
        return std::nullopt;
    return cell;
}

std::optional<TKeyGrid> ParseKeyGrid(std::string_view rows) {
    TKeyGrid grid{};
    if (rows.size() != kGridRows * (kGridColumns + 1) - 1)
        return std::nullopt;
    for (int row = 0; row < kGridRows; ++row) {
        const size_t start = static_cast<size_t>(row * (kGridColumns + 1));
        if (row > 0 && rows[start - 1] != '/')
            return std::nullopt;
        for (int col = 0; col < kGridColumns; ++col) {
            char c = rows[start + static_cast<size_t>(col)];
            if (c == '.')
                continue;
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            if (c < 'A' || c > 'Z')
                return std::nullopt;
            for (char taken : grid) {
                if (taken == c)
                    return std::nullopt;
            }
            grid[static_cast<size_t>(row * kGridColumns + col)] = c;
        }
    }
    return grid;
}

std::string ShownButtonPos(const TBindRec& record, const TBindRec* defaults) {
    for (int field = fiButtonpos; field <= fiResearchbuttonpos; ++field) {
        if (const std::string& value = Shown(record, defaults, field); !value.empty())
            return value;
    }
    return {};
}

bool ApplyGridKeys(TBindRec& record, const TKeyGrid& grid, const TTemplateTip& templateTip,
                   const TFieldSetter& set, const TBindRec* defaults) {
    const auto cell = GridCellOf(ShownButtonPos(record, defaults));
    if (!cell)
        return false;
    const char letter = grid[static_cast<size_t>(cell->Row * kGridColumns + cell->Col)];
    if (letter == 0)
        return false;
    const std::string key(1, letter);
    for (const THotkeyTips& kind : kHotkeyTips) {
        if (Shown(record, defaults, kind.Hotkey).empty())
            continue;
        set(record, kind.Hotkey, key);
        for (int tip : kind.Tips) {
            // The main tooltip is always rebuilt; a hero's revive and awaken
            // tooltips only when there are any.
            const std::string shown = tip == 0 ? std::string() : Shown(record, defaults, tip);
            if (tip != 0 && (tip == kind.Tips[0] || !shown.empty()))
                set(record, tip, templateTip(shown, key));
        }
    }
    return true;
}

} // namespace qm
