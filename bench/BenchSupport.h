#pragma once
// What the window benchmarks share: a platform that is never asked, and
// temporary program folders.

#include "editor/Main.h"
#include "gamedata/PreLoad.h"
#include "gamedata/TreeRewrite.h"
#include "platform/TPlatform.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
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
    bool HtmlHelp(QWidget*, int, const QString&) override { return false; }
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

// The delivered action tree over the demo game, imported once beforehand;
// `data` is the shipped QMKData folder, `game` the demo game's.
class TDemoFolder : public TTempFolder {
  public:
    TDemoFolder(const std::filesystem::path& data, const std::filesystem::path& game)
        : TTempFolder("quillmark-bench-demo-") {
        namespace fs = std::filesystem;
        if (!fs::exists(data / "TV_foreign.wrk") || !fs::exists(game / "war3.mpq"))
            return;
        for (const char* name : {"TV_foreign.wrk", "TV_rus.wrk", "Fix.wrk"})
            fs::copy_file(data / name, path() / "QMKData" / name);
        const fs::path defaults = path() / "QMKData/DefaultKeys.wrk";
        const auto built = BuildDefaultConfiguration(game, defaults, data / "Fix.wrk");
        const std::string tree = built.Language == "foreign" ? "TV_foreign.wrk" : "TV_rus.wrk";
        FillTVFromDefaults(path() / "QMKData" / tree, defaults);
        ExtractIcons(game, defaults, path() / "Icons");
        Write(path() / "QMKData/QMK.ini",
              "[Initialisation]\r\nLanguage=" + built.Language +
                  "\r\nDefCfgLoaded=1\r\nTVLoaded=1\r\nIconsLoaded=1\r\n[Strings]\r\nWar3Folder=" +
                  game.string() + "\r\n");
        ready_ = built.Written;
    }
    bool Ready() const { return ready_; }

  private:
    bool ready_ = false;
};

// The editor started on a program folder and shown; nullptr, with the
// benchmark marked as skipped, when it did not start.
inline std::unique_ptr<TfrmMain>
StartedEditor(TPlatform& platform, const std::filesystem::path& folder, benchmark::State& state) {
    auto frm = std::make_unique<TfrmMain>(platform, folder);
    if (!frm->Start()) {
        state.SkipWithError("the editor did not start");
        return nullptr;
    }
    frm->show();
    return frm;
}

} // namespace qm::bench
