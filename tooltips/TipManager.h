#pragma once
// Colour markup of tooltips and the automatic tooltip generator. Everything
// works on the stored bytes: markers, brackets, quotes and separators are
// ASCII, so UTF-8 characters pass through whole.

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// A display colour: red in the low byte, green, then blue.
using TColor = std::uint32_t;
inline constexpr TColor kWhite = 0xFFFFFF;

// The eight lowercase digits "ffRRGGBB" of a colour code.
std::string ColorToTipCode(TColor color);
// The colour of the (up to) eight digits starting at the 1-based `position`:
// hexadecimal up to the first non-digit, read as AARRGGBB with alpha dropped.
TColor TipCodeToColor(std::string_view text, int position);
// Rewrites a tooltip to name the hotkey in brackets, in the given colours;
// white means no colour code for that element.
std::string MakeAutoTip(std::string_view tip, std::string_view hotkey, TColor tipColor,
                        TColor hotkeyColor, TColor bracketsColor);

} // namespace qm
