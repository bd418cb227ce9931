#pragma once
// The splitter that tooltip levels, image paths and tree-file fields share.

#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Splits `text` into pieces that end at any character of `separators` found
// outside quotes. A double quote or an apostrophe switches the quoted state
// (one of the other kind takes over while it is on) and stays in the piece.
// Characters of `skippedFirst` at the start of a piece are dropped, and so
// are empty pieces.
std::vector<std::string> SplitQuoted(std::string_view text, std::string_view separators,
                                     std::string_view skippedFirst);

} // namespace qm
