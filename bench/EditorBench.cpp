// The editor's window with a game-size action tree: warm start to the shown
// window (beside an empty main window for scale), re-reading a large
// document, and the memory the tree and its top-level icons take.

#include "BenchSupport.h"
#include "config/uCfgManager.h"
#include "editor/Main.h"
#include "fixtures/ImageWriter.h"
#include "gamedata/PreLoad.h"
#include "gamedata/TreeRewrite.h"
#include "tools/ConflictList.h"

#include <QApplication>
#include <QMainWindow>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

using qm::bench::TSilentPlatform;
using qm::bench::Write;

std::string Id(int n) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::string id(4, 'A');
    for (int i = 3; i >= 0; --i, n /= 52)
        id[i] = kLetters[n % 52];
    return id;
}

std::string Document(int records) {
    std::string text;
    for (int r = 0; r < records; ++r)
        text += "[" + Id(r) +
                "]\r\nHotkey=Q\r\nTip=Summon |cffffcc00W|rater Elemental\r\n"
                "Buttonpos=" +
                std::to_string(r % 4) + "," + std::to_string(r % 3) + "\r\n\r\n";
    return text;
}

// About 2,000 nodes: 8 races of 10 units with 24 actions each, like the game.
std::string GameTree() {
    std::string text;
    int n = 0;
    for (int race = 0; race < 8; ++race) {
        text += "Race " + std::to_string(race) + "|?|Race" + std::to_string(race) + ".jpg\r\n";
        for (int unit = 0; unit < 10; ++unit) {
            text += "\tUnit|" + Id(n++) + "|BTNUnit.jpg\r\n";
            for (int action = 0; action < 24; ++action)
                text += "\t\tAction|" + Id(n++) + "|BTNAction.jpg\r\n";
        }
    }
    return text;
}

class TBenchFolder {
  public:
    TBenchFolder() {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("quillmark-bench-" + std::to_string(rd()));
        fs::create_directories(path_ / "QMKData");
        fs::create_directories(path_ / "Icons");
        Write(path_ / "QMKData/DefaultKeys.wrk", Document(2000));
        Write(path_ / "QMKData/TV_foreign.wrk", GameTree());
        Write(path_ / "QMKData/QMK.ini",
              "[Initialisation]\r\nLanguage=foreign\r\nDefCfgLoaded=1\r\nTVLoaded=1\r\n"
              "IconsLoaded=1\r\n[Strings]\r\nWar3Folder=" +
                  path_.string() + "\r\n");
        Write(path_ / "big.txt", Document(6000));
        std::vector<std::uint32_t> rgb(64 * 64, 0x3060C0);
        const std::string icon = qm::EncodeJpeg(qm::ButtonSamples(rgb), 64, 64, 4);
        for (int race = 0; race < 8; ++race)
            Write(path_ / "Icons" / ("Race" + std::to_string(race) + ".jpg"), icon);
    }
    ~TBenchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

TBenchFolder& Folder() {
    static TBenchFolder folder;
    return folder;
}

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:" && status >> value)
            return value;
    }
    return 0;
}

void BM_EmptyMainWindowShown(benchmark::State& state) {
    for (auto _ : state) {
        QMainWindow window;
        window.resize(677, 430);
        window.show();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_EmptyMainWindowShown)->Unit(benchmark::kMillisecond);

void BM_WarmStartToShownWindow(benchmark::State& state) {
    TSilentPlatform platform;
    for (auto _ : state) {
        qm::TfrmMain frm(platform, Folder().path());
        if (!frm.Start()) {
            state.SkipWithError("the editor did not start");
            break;
        }
        frm.show();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_WarmStartToShownWindow)->Unit(benchmark::kMillisecond);

// The shipped tree over the demo game's defaults and icons, as a player
// sees the editor.
qm::bench::TDemoFolder& Demo() {
    static qm::bench::TDemoFolder folder(QUILLMARK_SOURCE_DATA, QUILLMARK_DEMO_GAME);
    return folder;
}

void BM_WarmStartOnDemoGame(benchmark::State& state) {
    const auto& folder = Demo();
    if (!folder.Ready()) {
        state.SkipWithError("no demo game or delivered tree in this build");
        return;
    }
    TSilentPlatform platform;
    int nodes = 0;
    for (auto _ : state) {
        qm::TfrmMain frm(platform, folder.path());
        if (!frm.Start()) {
            state.SkipWithError("the editor did not start");
            break;
        }
        frm.show();
        QApplication::processEvents();
        nodes = frm.Tree().NodeCount();
    }
    state.counters["nodes"] = nodes;
}
BENCHMARK(BM_WarmStartOnDemoGame)->Unit(benchmark::kMillisecond);

void BM_ReOpenLargeDocument(benchmark::State& state) {
    TSilentPlatform platform;
    qm::TfrmMain frm(platform, Folder().path());
    if (!frm.Start()) {
        state.SkipWithError("the editor did not start");
        return;
    }
    const QString big = QString::fromStdString((Folder().path() / "big.txt").string());
    for (auto _ : state) {
        if (!frm.ReOpen(big))
            state.SkipWithError("the document was not read");
    }
    state.counters["records"] = frm.CurCfgMngr() ? frm.CurCfgMngr()->Count() : 0;
}
BENCHMARK(BM_ReOpenLargeDocument)->Unit(benchmark::kMillisecond);

// A copy of the largest player's file of the real data (about 300 KB).
fs::path PlayersFile(benchmark::State& state) {
    const fs::path real = fs::path(QUILLMARK_REAL_DATA) / "customkeys/danisilv__warcraft3-2.txt";
    const fs::path copy = Demo().path() / "player.txt";
    if (!fs::exists(real) || !Demo().Ready()) {
        state.SkipWithError("no real data or no demo game beside this build");
        return {};
    }
    fs::copy_file(real, copy, fs::copy_options::overwrite_existing);
    return copy;
}

// The editor started on the demo game with the player's file open; nullptr,
// the benchmark marked as skipped, without one of them.
std::unique_ptr<qm::TfrmMain> PlayersEditor(TSilentPlatform& platform, benchmark::State& state) {
    const fs::path file = PlayersFile(state);
    auto frm = file.empty() ? nullptr : qm::bench::StartedEditor(platform, Demo().path(), state);
    if (frm && !frm->ReOpen(QString::fromStdString(file.string()))) {
        state.SkipWithError("the player's file was not read");
        return nullptr;
    }
    return frm;
}

// File → Open of the player's file: the three documents read anew.
void BM_OpenPlayersFile(benchmark::State& state) {
    TSilentPlatform platform;
    auto frm = PlayersEditor(platform, state);
    if (!frm)
        return;
    const QString file = frm->CurFileName();
    for (auto _ : state)
        benchmark::DoNotOptimize(frm->ReOpen(file));
}
BENCHMARK(BM_OpenPlayersFile)->Unit(benchmark::kMillisecond);

// Save of the player's file with one hotkey changed.
void BM_SavePlayersFile(benchmark::State& state) {
    TSilentPlatform platform;
    auto frm = PlayersEditor(platform, state);
    if (!frm)
        return;
    const std::string id = frm->CurCfgMngr()->Records(0).ID;
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        frm->Documents().SetField(id, qm::fiHotkey, turn++ % 2 ? "Q" : "W");
        state.ResumeTiming();
        benchmark::DoNotOptimize(frm->actSaveExecute());
    }
}
BENCHMARK(BM_SavePlayersFile)->Unit(benchmark::kMillisecond);

// The clash list made anew, as after one key press, over the player's file
// on the shipped tree, with the list on show.
void BM_ConflictListRefresh(benchmark::State& state) {
    TSilentPlatform platform;
    auto frm = PlayersEditor(platform, state);
    if (!frm)
        return;
    auto* list = frm->findChild<qm::TConflictList*>("dkConflicts");
    list->show();
    QApplication::processEvents();
    for (auto _ : state)
        list->Refresh();
    state.counters["rows"] = list->findChild<QTreeWidget*>("lvConflicts")->topLevelItemCount();
}
BENCHMARK(BM_ConflictListRefresh)->Unit(benchmark::kMillisecond);

// Every branch of the shipped tree expanded once in a window just started,
// over the player's file: nodes bound and icons decoded as they show.
void BM_ExpandEveryBranchOnce(benchmark::State& state) {
    TSilentPlatform platform;
    for (auto _ : state) {
        state.PauseTiming();
        auto frm = PlayersEditor(platform, state);
        if (!frm)
            break;
        QApplication::processEvents();
        state.ResumeTiming();
        frm->Tree().View().expandAll();
        QApplication::processEvents();
        state.counters["nodes"] = frm->Tree().NodeCount();
        // Closing the window is not part of expanding.
        state.PauseTiming();
        frm.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ExpandEveryBranchOnce)->Unit(benchmark::kMillisecond);

// Resident memory of the whole process with the window up; counters in MB.
void BM_ResidentWithGameTree(benchmark::State& state) {
    TSilentPlatform platform;
    qm::TfrmMain frm(platform, Folder().path());
    if (!frm.Start()) {
        state.SkipWithError("the editor did not start");
        return;
    }
    frm.show();
    QApplication::processEvents();
    for (auto _ : state)
        benchmark::DoNotOptimize(frm.Tree().NodeCount());
    state.counters["VmRSS_MB"] = static_cast<double>(ResidentKb()) / 1024.0;
    state.counters["nodes"] = frm.Tree().NodeCount();
    state.counters["pictures"] = frm.Images().Count();
}
BENCHMARK(BM_ResidentWithGameTree)->Iterations(1);

} // namespace
