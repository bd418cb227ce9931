#pragma once
// Where the newer game (a CASC storage, patch 1.30 on) keeps what the import
// reads: the function tables and the button art's skin tables under
// `war3.w3mod:units\`, the names and tooltips under the text locale's own
// mount, the button images as the classic graphics drew them and, beside
// them, the HD ones.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Whether the folder is the root of such an installation: `.build.info`
// beside its `Data` folder.
bool HoldsCascStorage(const std::filesystem::path& gameFolder);

// The function tables and then the skin tables, joined in this order.
const std::vector<std::string>& StorageFunctionTables();
// The strings tables of the locale ("enUS"), the skins' strings last.
std::vector<std::string> StorageStringsTables(std::string_view locale);

// The paths a button image named as the tables name it
// ("ReplaceableTextures\CommandButtons\BTNFootman.blp") may have in the
// storage: the classic BLP first, then the HD DDS.
std::vector<std::string> StorageImagePaths(std::string_view image);

} // namespace qm
