#pragma once
// How the button images named by the game data map to icon files. The icon
// extraction writes the files and the tree rewriting names them, so both take
// their names from here.

#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The image paths of an Art value: they end at commas and line breaks
// outside quotes; leading blanks are skipped and empty paths dropped.
std::vector<std::string> SplitArtPaths(std::string_view art);

// The icon file name of an image path: the part after its last "\" or "/",
// with "jpg" in place of its three-letter extension ("BTNFootman.blp" gives
// "BTNFootman.jpg"). Empty when that part is no such file name, or holds a
// drive, a control character, "|" or a double quote: such a name could reach
// outside the icons folder or break a tree-file line.
std::string IconFileName(std::string_view imagePath);

// The icon of an Art value, as the tree names it: that of its last path.
std::string IconFileNameOfArt(std::string_view art);

} // namespace qm
