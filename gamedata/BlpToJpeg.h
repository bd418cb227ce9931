#pragma once
// Turns a JPEG-compressed BLP button image into the plain JPEG file it wraps.

#include <filesystem>
#include <string>

namespace qm {

// Converts the file in place: the shared JPEG header followed by the data of
// the full-size picture. True when converted. A file that is not
// JPEG-compressed, or whose header values do not fit inside the file, is left
// as it is (false); so is every file when anything fails.
bool BlpToJpeg(const std::filesystem::path& file);

// Writes the JPEG that the BLP `blp` wraps into the new file `jpeg`, for
// callers that already work on temporary files and rename them themselves.
// False, with no `jpeg` left behind, when it cannot be converted; false too,
// touching nothing, when anything (a link included) is already at `jpeg`.
// `writeWhy`, when given, is set only when `jpeg` could not be written (the
// system's reason), as opposed to a BLP that holds no JPEG.
bool BlpToJpeg(const std::filesystem::path& blp, const std::filesystem::path& jpeg,
               std::string* writeWhy = nullptr);

} // namespace qm
