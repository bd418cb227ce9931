#include "gamedata/IconNames.h"

#include "text/TextSplit.h"

#include <algorithm>

namespace qm {
namespace {

bool HasThreeLetterExtension(std::string_view file) {
    return file.size() >= 5 && file[file.size() - 4] == '.' &&
           file.substr(file.size() - 3).find('.') == std::string_view::npos;
}

bool IsUnsafeInName(char c) {
    return static_cast<unsigned char>(c) < 32 || c == ':' || c == '|' || c == '"';
}

} // namespace

std::vector<std::string> SplitArtPaths(std::string_view art) {
    return SplitQuoted(art, ",\r\n", " \r\n");
}

std::string IconFileName(std::string_view imagePath) {
    const size_t separator = imagePath.find_last_of("\\/");
    const std::string_view file =
        separator == std::string_view::npos ? imagePath : imagePath.substr(separator + 1);
    if (!HasThreeLetterExtension(file) || std::any_of(file.begin(), file.end(), IsUnsafeInName))
        return {};
    return std::string(file.substr(0, file.size() - 3)) + "jpg";
}

std::string IconFileNameOfArt(std::string_view art) {
    const auto paths = SplitArtPaths(art);
    return paths.empty() ? std::string() : IconFileName(paths.back());
}

} // namespace qm
