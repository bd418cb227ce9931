#pragma once
// The first-start import from the game's archives: the default configuration
// built from the unit data tables, the button icons it names, and the
// rewriting of the action tree file with the game's names.

#include "gamedata/BlpToJpeg.h"
#include "gamedata/IconNames.h"
#include "gamedata/TreeRewrite.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The unit data tables, in the order they are joined: 18 function tables
// and 18 strings tables, named as inside the archives.
const std::vector<std::string>& FunctionTables();
const std::vector<std::string>& StringsTables();

// The file `name` in the game folder, matched without regard to case as the
// game's Windows installation would (the exact spelling wins); empty when
// there is no such plain file.
std::filesystem::path FindGameFile(const std::filesystem::path& gameFolder, std::string_view name);

// Whether the folder holds the game: its archives (war3.mpq, in any case of
// letters) or, for the game from patch 1.30 on, its CASC storage
// (`.build.info` beside `Data`). One without either is no game folder, and
// nothing is imported.
bool HoldsGame(const std::filesystem::path& gameFolder);

// A file an import step could not use, and why (the system's words, or one
// of ours from uFileError.h). The step has then not done its work.
struct TImportProblem {
    enum TKind { None, UnusableArchive, Unreadable, Unwritten };
    TKind Kind = None;
    std::filesystem::path File;
    std::string Why;
};

struct TDefaultKeys {
    std::string Language; // "rus" or "foreign"
    int Records = 0;      // actions in the result
    bool Written = false; // false when there was no record or the file could not be written
    // Why the archives could not be read (their reading crashed, or could
    // not start); empty when they were.
    std::string Failure;
    // An archive of the game folder that cannot be opened (nothing is built
    // from the others then), or a file that could not be written: the
    // output, or the scratch folder of the joined tables.
    TImportProblem Problem;
};

// Both import steps read the archives apart from this process (see
// IsolatedStep.h): a damaged archive that crashes StormLib fails the step,
// with the reason in Failure, and writes nothing.

// Builds the default configuration from war3.mpq, war3x.mpq, war3xlocal.mpq
// and war3patch.mpq in `gameFolder` (each when present; later ones override
// earlier ones value by value), or from the CASC storage there (the function
// and skin tables, and the strings of its text locale; see StorageTables.h), with the correction file `fixFile` (none
// when empty) over the function data, and writes it with its data fields.
// The tables of one list are joined byte for byte, except that a table's
// byte-order mark is blanked so that it cannot hide the header behind it.
// The language is "rus" when ACac's name starts with a Cyrillic letter.
TDefaultKeys BuildDefaultConfiguration(const std::filesystem::path& gameFolder,
                                       const std::filesystem::path& outputPath,
                                       const std::filesystem::path& fixFile);
// The same, giving just the language value.
std::string BuildDefaultKeys(const std::filesystem::path& gameFolder,
                             const std::filesystem::path& outputPath,
                             const std::filesystem::path& fixFile);

using TProgress = std::function<void(int done, int total)>;

struct TIconsExtracted {
    int Written = 0; // icon files written
    // Why the archives could not be read, as for TDefaultKeys; the icons
    // written before a crash stay, each of them whole.
    std::string Failure;
    // What stopped the extraction: an archive of the game folder that
    // cannot be opened (nothing is extracted then), a default configuration
    // that cannot be read, or an icon that cannot be written (a full disk:
    // the extraction stops at the first).
    TImportProblem Problem;
};

// Extracts every button image that the default configuration names and has
// no icon yet into `iconsFolder` (created when missing), trying war3.mpq,
// war3x.mpq and war3patch.mpq in turn, or the CASC storage, and converts
// each into a JPEG. An
// image that none of them holds is left out.
// `progress`, when given, hears (records done, records in all) about once
// per percent, and at the end.
TIconsExtracted ExtractIcons(const std::filesystem::path& gameFolder,
                             const std::filesystem::path& defaultsPath,
                             const std::filesystem::path& iconsFolder,
                             const TProgress& progress = {});

} // namespace qm
