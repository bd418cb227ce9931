#include "tooltips/TipManager.h"

#include "config/uCfgManager.h"
#include "config/uColorMarkup.h"
#include "config/uKeyCodes.h"
#include "text/TextCodec.h"
#include "text/TextSplit.h"

#include <cstdio>
#include <vector>

namespace qm {
namespace {

// Levels of a multi-level tooltip end at a comma outside quotes.
std::vector<std::string> SplitLevels(std::string_view tip) {
    return SplitQuoted(tip, ",", "");
}

// The plain characters of a tooltip's markup, with its line breaks ("|n",
// a lone bar before "n") kept: they are text, not colour.
class TPlainKeepingBreaks : public TMarkupVisitor {
  public:
    void PlainChar(char c) override {
        if (afterBar_ && c == 'n')
            text += '|';
        text += c;
        afterBar_ = false;
    }
    void ColorCode(std::string_view) override { afterBar_ = false; }
    void ColorReset() override { afterBar_ = false; }
    void LoneBar() override { afterBar_ = true; }

    std::string text;

  private:
    bool afterBar_ = false;
};

std::string WithoutColours(std::string_view markup) {
    TPlainKeepingBreaks plain;
    ScanColorMarkup(markup, plain);
    return std::move(plain.text);
}

// Removes every bracketed group; an unmatched ")" stays and lowers the depth.
std::string RemoveBracketed(std::string_view text) {
    std::string out;
    int depth = 0;
    for (const char c : text) {
        if (c == '(')
            ++depth;
        if (depth <= 0)
            out += c;
        if (c == ')')
            --depth;
    }
    return out;
}

std::string Colored(std::string_view text, TColor color) {
    if (color == kWhite)
        return std::string(text);
    return "|c" + ColorToTipCode(color) + std::string(text) + "|r";
}

} // namespace

std::string ColorToTipCode(TColor color) {
    const std::uint32_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    char digits[9];
    std::snprintf(digits, sizeof digits, "ff%02x%02x%02x", static_cast<unsigned>(r),
                  static_cast<unsigned>(g), static_cast<unsigned>(b));
    return digits;
}

TColor TipCodeToColor(std::string_view text, int position) {
    if (position < 1 || static_cast<size_t>(position) > text.size())
        return 0;
    std::uint32_t value = 0;
    for (const char c : text.substr(position - 1, 8)) {
        const int d = HexDigit(c);
        if (d < 0)
            break;
        value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    const std::uint32_t r = (value >> 16) & 0xFF, g = (value >> 8) & 0xFF, b = value & 0xFF;
    return r | (g << 8) | (b << 16);
}

std::string MakeAutoTip(std::string_view tip, std::string_view hotkey, TColor tipColor,
                        TColor hotkeyColor, TColor bracketsColor) {
    const std::string plainKey = RemoveColorCodes(hotkey);
    std::string result;
    const std::vector<std::string> levels = SplitLevels(WithoutColours(tip));
    for (size_t i = 0; i < levels.size(); ++i) {
        const std::string& level = levels[i];
        if (i > 0)
            result += ',';
        result += Colored(Trim(RemoveBracketed(level)), tipColor);
        if (plainKey.empty())
            continue;
        result += bracketsColor == kWhite ? " (" : " |c" + ColorToTipCode(bracketsColor) + "(|r";
        result += Colored(plainKey, hotkeyColor);
        result += bracketsColor == kWhite ? ")" : "|c" + ColorToTipCode(bracketsColor) + ")|r";
    }
    return result;
}

std::string TipHotkeyName(std::string_view value) {
    if (value == "512" || (IsKeyCode(value) && KeyCodeKey(value) == KeyCodeKey("27")))
        return "ESC";
    if (IsKeyCode(value)) {
        const std::string name = KeyCodeName(value);
        return name.empty() ? std::string(value) : name;
    }
    return std::string(FirstCharacter(value));
}

} // namespace qm
