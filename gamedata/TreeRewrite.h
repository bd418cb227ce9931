#pragma once
// The one-time rewriting of an action tree file from the default
// configuration: captions become the game's own names and empty icon fields
// receive the name of the action's button image. Tree files are read as UTF-8
// when the whole file is valid UTF-8, otherwise as Windows-1251, and written
// back as UTF-8 with CR LF line ends, replacing the file only when complete.

#include <filesystem>
#include <string>
#include <string_view>

namespace qm {

// Sets the caption of every action line to "?". False, with the file
// untouched, when it cannot be read or replaced; the reason in `why` when
// given (see uFileError.h).
bool ClearTVNames(const std::filesystem::path& tree, std::string* why = nullptr);

// Fills captions and missing icon names from the records of the default
// configuration (a missing one counts as empty). False, with the file
// untouched, when the tree file cannot be read or replaced; the reason in
// `why` when given.
bool FillTVFromDefaults(const std::filesystem::path& tree, const std::filesystem::path& defaults,
                        std::string* why = nullptr);

// The text before its last "(", untrimmed; the whole text when it has none.
std::string CutBeforeLastBracket(std::string_view text);

// The number of TABs at the start of a line: the level it asks for.
int TabCount(std::string_view line);

} // namespace qm
