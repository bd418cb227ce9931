#pragma once
// The two text files that say what a CASC installation holds: the build
// info table at its root (`.build.info`, one row per installed product, the
// active one naming its build configuration) and that build configuration
// (`Data/config/ab/cd/<key>`, `name = value` lines naming the encoding
// table and the TVFS manifests by their keys).

#include "gamedata/CascBytes.h"

#include <filesystem>
#include <string>
#include <vector>

namespace qm::casc {

class TCascConfig {
  public:
    // Reads both files of the installation at `root`; false with `why` set
    // when either is missing or says nothing usable.
    bool Read(const std::filesystem::path& root, std::string& why);

    // The locale of the game's texts ("enUS").
    const std::string& TextLocale() const { return textLocale_; }
    const TKey& EncodingKey() const { return encodingKey_; }
    std::uint64_t EncodingSize() const { return encodingSize_; }
    // The content keys of the root manifest and of every other manifest.
    const TKey& RootKey() const { return rootKey_; }
    const std::vector<TKey>& ManifestKeys() const { return manifestKeys_; }

  private:
    bool ReadBuildInfo(const std::filesystem::path& root, TKey& buildKey, std::string& why);
    bool ReadBuildConfig(const std::filesystem::path& file, std::string& why);
    bool TakeLine(std::string_view name, std::string_view value, std::string& why);

    std::string textLocale_ = "enUS";
    TKey encodingKey_{};
    std::uint64_t encodingSize_ = 0;
    TKey rootKey_{};
    std::vector<TKey> manifestKeys_;
};

} // namespace qm::casc
