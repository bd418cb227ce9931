// The import from the newer game's CASC storage against the import of the
// same content from an MPQ archive: the real tables of the 2020 edition
// (../shared/real-data/tables/reforged-1.32) and 500 button images named by
// them. The storage keeps the tables where that game keeps them; the archive
// keeps them under the older game's names, the skin tables (where the newer
// game moved the art) joined to the command table, so that both imports read
// the same bytes. Fixtures are made in the temporary folder.

#include "config/uCfgManager.h"
#include "fixtures/CascWriter.h"
#include "fixtures/ImageWriter.h"
#include "fixtures/TMpqWriter.h"
#include "gamedata/IconNames.h"
#include "gamedata/PreLoad.h"
#include "gamedata/StorageTables.h"
#include "text/TextCodec.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace qm;

constexpr int kImages = 500;
const fs::path kTables = fs::path(QUILLMARK_REAL_DATA) / "tables" / "reforged-1.32";

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// A 64 x 64 button picture of grain over a gradient, as JPEG in a BLP.
std::string ButtonBlp(int n) {
    std::mt19937 rng(n);
    std::vector<std::uint32_t> rgb(64 * 64);
    for (int i = 0; i < 64 * 64; ++i)
        rgb[i] = ((i % 64) * 4u << 16) | (((i / 64) * 4u + rng() % 64) << 8) | (rng() & 0xFF);
    return MakeJpegBlp(EncodeJpeg(ButtonSamples(rgb), 64, 64, 4, 94), 64, 64);
}

// The first images the skin tables name, each once.
std::vector<std::string> NamedImages() {
    std::set<std::string> seen;
    std::vector<std::string> images;
    for (const char* skin : {"abilityskin.txt", "unitskin.txt", "itemskin.txt"}) {
        const auto table = TCfgManager::CreateFromFile(kTables / "units" / skin);
        for (int r = 0; r < table->Count() && static_cast<int>(images.size()) < kImages; ++r) {
            for (const auto& image : SplitArtPaths(table->Records(r).Art)) {
                if (!IconFileName(image).empty() && seen.insert(AsciiLower(image)).second)
                    images.push_back(image);
            }
        }
    }
    images.resize(std::min<size_t>(images.size(), kImages));
    return images;
}

// The older game's name of a table of the newer one ("humanunitfunc.txt"
// → "Units\HumanUnitFunc.txt"), taken from the import's own list.
std::string ArchiveName(const std::string& storageName,
                        const std::vector<std::string>& archiveNames) {
    for (const std::string& name : archiveNames) {
        if (AsciiLower(name) == "units\\" + storageName)
            return name;
    }
    return {};
}

struct TGames {
    fs::path Root =
        fs::temp_directory_path() / ("quillmark-bench-casc-" + std::to_string(getpid()));
    fs::path Storage = Root / "storage";
    fs::path Archives = Root / "archives";
    int Images = 0;

    TGames() {
        fs::create_directories(Archives);
        TCascWriter casc;
        TMpqWriter mpq(Archives / "war3.mpq", 8192);
        std::string skins;
        for (const std::string& path : StorageFunctionTables()) {
            const std::string name = path.substr(path.rfind('\\') + 1);
            const std::string bytes = Bytes(kTables / "units" / name);
            if (bytes.empty())
                continue;
            casc.Add(path, bytes);
            const std::string older = ArchiveName(name, FunctionTables());
            if (older.empty())
                skins += bytes + "\r\n";
            else
                mpq.Add(older, bytes);
        }
        mpq.Add(FunctionTables().front(), Bytes(kTables / "units" / "commandfunc.txt") + skins);
        for (const std::string& path : StorageStringsTables("enUS")) {
            const std::string name = path.substr(path.rfind('\\') + 1);
            const std::string bytes = Bytes(kTables / "_locales" / "enus.w3mod" / "units" / name);
            const std::string older = ArchiveName(name, StringsTables());
            if (bytes.empty() || older.empty())
                continue;
            casc.Add(path, bytes);
            mpq.Add(older, bytes);
        }
        for (const std::string& image : NamedImages()) {
            const std::string blp = ButtonBlp(Images++);
            casc.Add(StorageImagePaths(image).front(), blp);
            mpq.Add(image, blp);
        }
        mpq.Close();
        casc.Write(Storage);
    }
    ~TGames() {
        std::error_code ec;
        fs::remove_all(Root, ec);
    }
};

const TGames& Games() {
    static const TGames games;
    return games;
}

// Defaults built and icons extracted into empty folders, as a first start does.
void Import(benchmark::State& state, const fs::path& game) {
    if (!fs::is_directory(kTables)) {
        state.SkipWithError("no reforged-1.32 tables beside the checkout");
        return;
    }
    const fs::path out = Games().Root / "out";
    int records = 0, icons = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(out);
        fs::create_directories(out);
        state.ResumeTiming();
        records = BuildDefaultConfiguration(game, out / "keys.wrk", {}).Records;
        icons = ExtractIcons(game, out / "keys.wrk", out / "Icons").Written;
    }
    state.counters["records"] = records;
    state.counters["icons"] = icons;
}

void BM_ImportFromStorage(benchmark::State& state) {
    Import(state, Games().Storage);
}
BENCHMARK(BM_ImportFromStorage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ImportFromArchive(benchmark::State& state) {
    Import(state, Games().Archives);
}
BENCHMARK(BM_ImportFromArchive)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
