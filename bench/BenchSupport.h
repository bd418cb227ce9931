#pragma once
// What the window benchmarks share: a platform that is never asked, and
// temporary program folders.

#include "platform/TPlatform.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>

namespace qm::bench {

// Answers nothing: the benchmarks never reach a question.
class TSilentPlatform : public TPlatform {
  public:
    TMsgAnswer MessageBox(QWidget*, const QString&, const QString&, TMsgIcon,
                          TMsgButtons) override {
        return TMsgAnswer::Cancel;
    }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    bool AcquireSingleCopy() override { return true; }
    QString RegistryGameFolder() override { return {}; }
    QString DocumentsFolder(const QString&) override { return {}; }
    void ShowHelp(QWidget*, const QString&) override {}
    std::optional<QColor> ChooseColor(QWidget*, const QColor&) override { return std::nullopt; }
};

inline void Write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A new folder under the temporary folder, removed at the end.
class TTempFolder {
  public:
    explicit TTempFolder(const std::string& prefix) {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / (prefix + std::to_string(rd()));
        std::filesystem::create_directories(path_ / "QMKData");
        std::filesystem::create_directories(path_ / "Icons");
    }
    ~TTempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

} // namespace qm::bench
