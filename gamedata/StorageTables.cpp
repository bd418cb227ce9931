#include "gamedata/StorageTables.h"

#include "gamedata/PreLoad.h"
#include "text/TextCodec.h"

#include <array>
#include <system_error>

namespace qm {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kGameMount = "war3.w3mod:";
constexpr std::string_view kHdMount = "war3.w3mod:_hd.w3mod:";

// The art moved out of the function tables into these.
constexpr std::array<std::string_view, 5> kSkins = {"ability", "unit", "upgrade", "item",
                                                    "command"};

} // namespace

bool HoldsCascStorage(const fs::path& gameFolder) {
    std::error_code ec;
    return fs::is_regular_file(gameFolder / ".build.info", ec) &&
           fs::is_directory(gameFolder / "Data", ec);
}

const std::vector<std::string>& StorageFunctionTables() {
    static const std::vector<std::string> tables = [] {
        // The archives' tables, as the storage spells them: "units\\commandfunc.txt".
        std::vector<std::string> names;
        for (const std::string& table : FunctionTables())
            names.push_back(std::string(kGameMount) + AsciiLower(table));
        for (const auto skin : kSkins)
            names.push_back(std::string(kGameMount) + "units\\" + std::string(skin) + "skin.txt");
        return names;
    }();
    return tables;
}

std::vector<std::string> StorageStringsTables(std::string_view locale) {
    const std::string mount =
        std::string(kGameMount) + "_locales\\" + AsciiLower(locale) + ".w3mod:";
    std::vector<std::string> names;
    for (const std::string& table : StringsTables())
        names.push_back(mount + AsciiLower(table));
    for (const auto skin : kSkins)
        names.push_back(mount + "units\\" + std::string(skin) + "skinstrings.txt");
    return names;
}

std::vector<std::string> StorageImagePaths(std::string_view image) {
    std::string hd(image);
    if (const size_t dot = hd.rfind('.');
        dot != std::string::npos && hd.find('\\', dot) == std::string::npos)
        hd.resize(dot);
    return {std::string(kGameMount) + std::string(image), std::string(kHdMount) + hd + ".dds"};
}

} // namespace qm
