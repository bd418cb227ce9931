#pragma once
// Stored values as text and text as stored values, through the file's code
// page where a value is not UTF-8. Qt's converters (ICU on Debian) know GBK,
// Big5 and the Windows code pages. Showing never changes a byte: what these
// give is only stored when the player edits the value.

#include "text/TextCodePage.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace qm {

// How a stored value reads: its bytes as UTF-8 when they are valid UTF-8,
// otherwise decoded from the code page.
QString FieldToQString(std::string_view bytes, TCodePage page);
std::string FieldToUtf8(std::string_view bytes, TCodePage page);

// UTF-8 text in the code page; nothing when a character does not fit it.
std::optional<std::string> Utf8ToCodePage(std::string_view utf8, TCodePage page);

// The bytes to store for what the player typed (UTF-8) into a value that
// held `stored`: UTF-8 when the value held UTF-8 text beyond ASCII, or
// nothing beyond ASCII in a file whose text is UTF-8; otherwise the file's
// code page, so that the file stays in one encoding. Nothing when a typed
// character does not fit the code page: the editor then asks the player
// whether to store the value as UTF-8.
std::optional<std::string> TypedToField(std::string_view utf8, std::string_view stored,
                                        const TTextEncoding& encoding);

} // namespace qm
