#pragma once
// Numeric key codes in hotkey values. Files for the newer game may write a
// hotkey as the key's virtual-key code ("Hotkey=222" for the quote key): a
// value made only of digits, two or more of them, is such a code, except
// "512", the game's mark for a button without a hotkey.

#include <string>
#include <string_view>

namespace qm {

bool IsKeyCode(std::string_view value);

// What the key of a code is called on a button: its own character ("'" for
// 222, "Q" for 81) or a short name ("F1", "Esc"); empty for a value that is
// no key code or a code of no key the game knows.
std::string KeyCodeName(std::string_view value);

// What a code is compared by: the character of its key when it types one,
// so that 81 and "Q" are the same key, otherwise the code itself without
// leading zeros (two digits at least, so that no code reads as a single
// character). Empty for a value that is no key code.
std::string KeyCodeKey(std::string_view value);

} // namespace qm
