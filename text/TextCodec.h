#pragma once
// Encoding helpers. Documents keep every field's bytes as read; text is only
// converted where it is shown, typed or compared as characters.

#include <string>
#include <string_view>

namespace qm {

// True when the bytes form well-formed UTF-8 (no overlongs, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The well-formed UTF-8 sequences of `bytes`, every other byte dropped: for
// text cut without regard to characters (a colour code takes eight bytes,
// whatever they are).
std::string WithoutBrokenUtf8(std::string_view bytes);

// Windows-1251 bytes to UTF-8. Every byte has a meaning except 0x98, which
// becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view bytes);

// How a stored text field reads as characters: the bytes themselves when
// they are valid UTF-8, otherwise their Windows-1251 reading, in UTF-8.
std::string FieldToUtf8(std::string_view bytes);

// Appends a code point in UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// Letters A-Z / a-z changed case; every other byte kept. Keys of the
// configuration, settings and language files are matched this way.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
// Whether two texts differ at most in the case of letters A-Z: identifiers
// are matched this way when no exact spelling is held, as the game does.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);
// The value of a hexadecimal digit, either case; -1 for any other byte.
int HexDigit(char c);

// The first code point of a UTF-8 text, or 0 for an empty one.
char32_t FirstCodePoint(std::string_view utf8);
// The first character of a text as bytes: as many as its lead byte announces
// for a UTF-8 sequence (fewer when the text ends sooner), else one; empty for
// an empty text.
std::string_view FirstCharacter(std::string_view text);

// A whole file's text as UTF-8: kept when it is valid UTF-8 (a leading
// byte-order mark removed), else read as Windows-1251.
std::string FileTextToUtf8(std::string_view bytes);

// Codes 0 to 32 are trimmed from both ends of every line and value.
inline bool IsTrimmable(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
std::string_view Trim(std::string_view text);

} // namespace qm
