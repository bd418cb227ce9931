#pragma once
// The reading grammar of the game's colour markup, shared by everything that
// parses tooltips: "|c" and eight digits set a colour, "|r" resets it, and any
// other bar is dropped while the character after it is read normally. Only
// lowercase c and r are markers.

#include <string_view>

namespace qm {

struct TMarkupVisitor {
    virtual ~TMarkupVisitor() = default;
    virtual void PlainChar(char c) = 0;
    // The digits after "|c": eight, or fewer when the text ends sooner.
    virtual void ColorCode(std::string_view digits) = 0;
    virtual void ColorReset() = 0;
    // A bar that is no marker, just before it is dropped; readers that give
    // "|n" a meaning of their own look at the character after it.
    virtual void LoneBar() {}
};

void ScanColorMarkup(std::string_view markup, TMarkupVisitor& visitor);

} // namespace qm
