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
// white means no colour code for that element. Levels are split at commas
// outside quotes; each loses its bracketed text (the old hotkey's name among
// it) and gets the hotkey at its end. Line breaks, "|n" or raw CR and LF,
// are text inside a level and stay where they are.
std::string MakeAutoTip(std::string_view tip, std::string_view hotkey, TColor tipColor,
                        TColor hotkeyColor, TColor bracketsColor);
// What a tooltip calls a hotkey value, as the game's own tooltips do: "ESC"
// for Escape ("512", or the key code 27), the key's name for another key code
// ("F1", "'"; a code of no known key by its digits), else the value's first
// character; empty for an empty value.
std::string TipHotkeyName(std::string_view value);

} // namespace qm
