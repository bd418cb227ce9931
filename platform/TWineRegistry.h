#pragma once
// The string values of a Wine registry file (user.reg), and Windows paths
// mapped into the Wine prefix, so the game installed under Wine is found as
// on Windows. Plain logic over files, no Qt.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

class TWineRegistry {
  public:
    // Reads a registry file; false when it is missing, unreadable or not a
    // Wine registry file. Values read before are dropped.
    bool Load(const std::filesystem::path& file);
    // The same from the file's text.
    bool Parse(std::string_view text);

    // A string value (REG_SZ or REG_EXPAND_SZ, unexpanded) in UTF-8; key
    // and value names matched without regard to case, the key written
    // relative to the hive ("Software\\Blizzard Entertainment\\Warcraft III").
    std::optional<std::string> Value(std::string_view key, std::string_view name) const;

    // $WINEPREFIX, else ~/.wine; empty when neither can be told.
    static std::filesystem::path DefaultPrefix();

    // "C:\Games\Warcraft III" → <prefix>/drive_c/Games/Warcraft III; other
    // drives through <prefix>/dosdevices/<letter>:. Names are matched without
    // regard to case where the exact one is missing, as Windows would. Empty
    // for a path without a drive letter or a drive the prefix does not have.
    static std::filesystem::path MapPath(const std::filesystem::path& prefix,
                                         std::string_view windowsPath);

    // "InstallPath" of the game's key in the prefix's user.reg, mapped.
    static std::filesystem::path GameFolder(const std::filesystem::path& prefix);

  private:
    // lower-cased key name → lower-cased value name → value
    std::map<std::string, std::map<std::string, std::string>> keys_;
};

} // namespace qm
