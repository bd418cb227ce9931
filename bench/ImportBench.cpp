// The first-start import on a game of realistic size, made here: 36 data
// tables (about 4 MB of text) over the four archives, and about 1,000 button
// images of about 8 KB. StormLib's own SFileExtractFile on the same images
// is the yardstick for the icon extraction. The fixture is made in the
// temporary folder (TMPDIR), so the same run can be taken on disk or in memory.

#include "fixtures/ImageWriter.h"
#include "fixtures/TMpqWriter.h"
#include "gamedata/MPQMngr.h"
#include "gamedata/PreLoad.h"

#include <StormLib.h>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace qm;

constexpr int kImages = 1000;
constexpr int kIds = 3000;

std::string Id(int n) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::string id = "A";
    for (int i = 0; i < 3; ++i, n /= 52)
        id += kLetters[n % 52];
    return id;
}

std::string ImagePath(int n) {
    return "ReplaceableTextures\\CommandButtons\\BTNImage" + std::to_string(n) + ".blp";
}

// About `bytes` of sections over the shared identifiers, as the game's
// tables look: strings tables carry names and tooltips, function tables
// hotkeys, positions and button images.
std::string Table(bool strings, unsigned seed, size_t bytes) {
    std::mt19937 rng(seed);
    std::string text;
    while (text.size() < bytes) {
        const int id = static_cast<int>(rng() % kIds);
        text += "[" + Id(id) + "]\r\n";
        if (strings) {
            text += "Name=Unit number " + std::to_string(id) + "\r\nTip=Train |cffffcc00U|rnit " +
                    std::to_string(id) + "\r\nUbertip=\"" + std::string(120 + rng() % 120, 'd') +
                    "\"\r\nHotkey=U\r\n\r\n";
        } else {
            text += "Art=" + ImagePath(id % kImages) +
                    "\r\nButtonpos=" + std::to_string(rng() % 4) + "," + std::to_string(rng() % 3) +
                    "\r\nHotkey=Q\r\nMissileart=Abilities\\Weapons\\Missile.mdl\r\n"
                    "Requires=Rhst,Rhme\r\n\r\n";
        }
    }
    return text;
}

// A 64 x 64 button picture that compresses like the game's: a few shapes
// over a gradient, with some grain.
std::string ButtonBlp(int n) {
    std::mt19937 rng(n);
    std::vector<std::uint32_t> rgb(64 * 64);
    const std::uint32_t tint = rng() & 0xFFFFFF;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t grain = rng() % 96;
            const std::uint32_t r = ((x * 4) ^ (tint >> 16)) & 0xFF;
            const std::uint32_t g = ((y * 4 + grain) ^ (tint >> 8)) & 0xFF;
            const std::uint32_t b = (((x + y) * 2 + grain) ^ tint) & 0xFF;
            rgb[y * 64 + x] = (r << 16) | (g << 8) | b;
        }
    return MakeJpegBlp(EncodeJpeg(ButtonSamples(rgb), 64, 64, 4, 94), 64, 64);
}

struct TGame {
    fs::path Root;
    fs::path Folder;
    fs::path Defaults;
    size_t TableBytes = 0;
    size_t ImageBytes = 0;
    // Which archive holds which image, in the search order of the import.
    std::vector<std::pair<std::string, std::string>> Images; // archive name, entry

    TGame() {
        Root = fs::temp_directory_path() / ("quillmark-bench-import-" + std::to_string(getpid()));
        Folder = Root / "game";
        fs::create_directories(Folder);
        AddTables();
        AddImages("war3.mpq", 0, 600);
        AddImages("war3x.mpq", 600, 900);
        AddImages("war3patch.mpq", 900, kImages);
        // One archive open for writing at a time: StormLib loses entries otherwise.
        for (const auto& [name, entries] : archives_) {
            TMpqWriter mpq(Folder / name);
            for (const auto& [entry, bytes] : entries)
                mpq.Add(entry, bytes);
        }
        archives_.clear();
        Defaults = Root / "DefaultKeys.wrk";
        BuildDefaultKeys(Folder, Defaults, {});
    }
    ~TGame() {
        std::error_code ec;
        fs::remove_all(Root, ec);
    }

    // Eighteen groups of two tables: nine groups in war3.mpq, five in
    // war3x.mpq, the last four's strings in war3xlocal.mpq and their
    // functions in war3patch.mpq; 36 tables in all.
    void AddTables() {
        constexpr size_t kTableSize = 4'000'000 / 36;
        for (int t = 0; t < 18; ++t) {
            const std::string funcs = Table(false, 100 + t, kTableSize);
            const std::string strings = Table(true, 200 + t, kTableSize);
            TableBytes += funcs.size() + strings.size();
            const std::string home = t < 9 ? "war3.mpq" : "war3x.mpq";
            archives_[t < 14 ? home : "war3patch.mpq"][FunctionTables()[t]] = funcs;
            archives_[t < 14 ? home : "war3xlocal.mpq"][StringsTables()[t]] = strings;
        }
    }

    void AddImages(const std::string& archive, int from, int to) {
        for (int n = from; n < to; ++n) {
            const std::string blp = ButtonBlp(n);
            archives_[archive][ImagePath(n)] = blp;
            ImageBytes += blp.size();
            Images.emplace_back(archive, ImagePath(n));
        }
    }

  private:
    std::map<std::string, std::map<std::string, std::string>> archives_;
};

const TGame& Game() {
    static const TGame game;
    return game;
}

void BM_BuildDefaultConfiguration(benchmark::State& state) {
    const TGame& game = Game();
    const fs::path out = game.Root / "built.wrk";
    int records = 0;
    for (auto _ : state)
        records = BuildDefaultConfiguration(game.Folder, out, {}).Records;
    state.counters["records"] = records;
    state.counters["tables_MB"] = double(game.TableBytes) / 1e6;
}
BENCHMARK(BM_BuildDefaultConfiguration)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExtractAndConvertIcons(benchmark::State& state) {
    const TGame& game = Game();
    const fs::path icons = game.Root / "Icons";
    int written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(icons);
        state.ResumeTiming();
        written = ExtractIcons(game.Folder, game.Defaults, icons).Written;
    }
    state.counters["icons"] = written;
    state.counters["images_KB_each"] = double(game.ImageBytes) / game.Images.size() / 1e3;
}
BENCHMARK(BM_ExtractAndConvertIcons)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same images, each taken with SFileExtractFile from the archive that
// holds it, the three archives opened once.
void BM_StormLibExtractFile(benchmark::State& state) {
    const TGame& game = Game();
    const fs::path out = game.Root / "Plain";
    std::map<std::string, HANDLE> archives;
    for (const char* name : {"war3.mpq", "war3x.mpq", "war3patch.mpq"}) {
        HANDLE mpq = nullptr;
        SFileOpenArchive((game.Folder / name).c_str(), 0, STREAM_FLAG_READ_ONLY, &mpq);
        archives[name] = mpq;
    }
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(out);
        fs::create_directories(out);
        state.ResumeTiming();
        int n = 0;
        for (const auto& [archive, entry] : game.Images) {
            const fs::path target = out / (std::to_string(n++) + ".blp");
            benchmark::DoNotOptimize(
                SFileExtractFile(archives[archive], entry.c_str(), target.c_str(), 0));
        }
    }
    for (const auto& [name, mpq] : archives)
        SFileCloseArchive(mpq);
}
BENCHMARK(BM_StormLibExtractFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// Extraction alone through the archive manager, same images, same order.
void BM_ManagerExtractFile(benchmark::State& state) {
    const TGame& game = Game();
    const fs::path out = game.Root / "Managed";
    std::map<std::string, std::unique_ptr<TMPQManager>> archives;
    for (const char* name : {"war3.mpq", "war3x.mpq", "war3patch.mpq"})
        archives[name] = std::make_unique<TMPQManager>(game.Folder / name);
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(out);
        fs::create_directories(out);
        state.ResumeTiming();
        int n = 0;
        for (const auto& [archive, entry] : game.Images)
            benchmark::DoNotOptimize(
                archives[archive]->ExtractFile(entry, out / (std::to_string(n++) + ".blp")));
    }
}
BENCHMARK(BM_ManagerExtractFile)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
