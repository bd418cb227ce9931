#pragma once
// The player's documents folder, where the newer game keeps its user files:
// it reads Documents\Warcraft III\CustomKeyBindings\CustomKeys.txt, not the
// file in its own folder. On Linux the documents folder is the one inside
// the Wine prefix that holds the game. Plain logic over files, no Qt.

#include <filesystem>
#include <string_view>

namespace qm {

// The CustomKeys.txt the player's game reads: under documents/Warcraft III
// when that folder exists (CustomKeyBindings/CustomKeys.txt), else the one
// in the game folder.
std::filesystem::path GameCustomKeys(const std::filesystem::path& gameFolder,
                                     const std::filesystem::path& documents);

// Before saving to a path GameCustomKeys gave: makes its CustomKeyBindings
// folder when Warcraft III exists without it. True when the file's folder
// is there.
bool MakeCustomKeysFolder(const std::filesystem::path& customKeys);

// The documents folder of a Wine prefix: drive_c/users/<user>/Documents, or
// "My Documents" in older prefixes. The user named `user` comes first, then
// the others in name order; the first whose documents hold Warcraft III is
// taken, else `user`'s own. Empty when there is none.
std::filesystem::path WineDocumentsFolder(const std::filesystem::path& prefix,
                                          std::string_view user);

// The Wine prefix a game folder lies in: the folder above its drive_c, or
// `fallback` (the default prefix) for a game on another drive. Empty when
// neither is a prefix.
std::filesystem::path WinePrefixOf(const std::filesystem::path& gameFolder,
                                   const std::filesystem::path& fallback);

} // namespace qm
