#include "platform/PlayerDocuments.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

namespace qm {
namespace {

namespace fs = std::filesystem;

constexpr const char* kGameDocuments = "Warcraft III";
constexpr const char* kBindings = "CustomKeyBindings";
constexpr const char* kCustomKeys = "CustomKeys.txt";

bool IsFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

// A user's documents folder in the prefix; empty when the user has none.
fs::path DocumentsOf(const fs::path& userFolder) {
    for (const char* name : {"Documents", "My Documents"}) {
        if (IsFolder(userFolder / name))
            return userFolder / name;
    }
    return {};
}

// The user folders of a prefix, `user` first, the others by name.
std::vector<fs::path> UserFolders(const fs::path& users, std::string_view user) {
    std::vector<fs::path> others;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(users, ec)) {
        if (entry.is_directory(ec) && entry.path().filename() != user)
            others.push_back(entry.path());
    }
    std::sort(others.begin(), others.end());
    if (!user.empty() && IsFolder(users / user))
        others.insert(others.begin(), users / user);
    return others;
}

} // namespace

fs::path GameCustomKeys(const fs::path& gameFolder, const fs::path& documents) {
    if (!documents.empty() && IsFolder(documents / kGameDocuments))
        return documents / kGameDocuments / kBindings / kCustomKeys;
    return gameFolder / kCustomKeys;
}

bool MakeCustomKeysFolder(const fs::path& customKeys) {
    const fs::path folder = customKeys.parent_path();
    std::error_code ec;
    if (!IsFolder(folder) && folder.filename() == kBindings && IsFolder(folder.parent_path()))
        fs::create_directory(folder, ec);
    return IsFolder(folder);
}

fs::path WineDocumentsFolder(const fs::path& prefix, std::string_view user) {
    const fs::path users = prefix / "drive_c" / "users";
    if (prefix.empty() || !IsFolder(users))
        return {};
    for (const fs::path& folder : UserFolders(users, user)) {
        const fs::path documents = DocumentsOf(folder);
        if (!documents.empty() && IsFolder(documents / kGameDocuments))
            return documents;
    }
    return user.empty() ? fs::path() : DocumentsOf(users / user);
}

fs::path WinePrefixOf(const fs::path& gameFolder, const fs::path& fallback) {
    for (fs::path folder = gameFolder; folder.has_relative_path(); folder = folder.parent_path()) {
        if (folder.filename() == "drive_c")
            return folder.parent_path();
    }
    return IsFolder(fallback / "drive_c") ? fallback : fs::path();
}

} // namespace qm
