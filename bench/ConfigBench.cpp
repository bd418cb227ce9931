// Reading, sorting, writing and merging documents of game size.

#include "config/uCfgManager.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;
using qm::TCfgManager;

std::string FourCharId(std::mt19937& rng) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::string id(4, ' ');
    for (char& c : id)
        c = kLetters[rng() % 52];
    return id;
}

// A table of `sections` sections drawing identifiers from a pool of `ids`,
// about `bytesPerSection` bytes each, like the game's own tables.
std::string MakeTable(int sections, int ids, unsigned seed, int bytesPerSection) {
    std::mt19937 pool(1);
    std::vector<std::string> names;
    for (int i = 0; i < ids; ++i)
        names.push_back(FourCharId(pool));
    std::mt19937 rng(seed);
    std::string text;
    const std::string filler(std::max(0, bytesPerSection - 120), 'x');
    for (int s = 0; s < sections; ++s) {
        text += "[" + names[rng() % names.size()] + "]\r\n";
        text += "Hotkey=Q\r\nButtonpos=" + std::to_string(rng() % 4) + "," +
                std::to_string(rng() % 3) + "\r\n";
        text += "Tip=Summon |cffffcc00W|rater Elemental\r\nUbertip=" + filler + "\r\n\r\n";
    }
    return text;
}

fs::path WriteTemp(const std::string& name, const std::string& text) {
    const fs::path path = fs::temp_directory_path() / ("quillmark-bench-" + name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// 6,000 sections, about 2 MB.
const fs::path& BigFile() {
    static const fs::path path = WriteTemp("big.txt", MakeTable(6000, 6000, 2, 340));
    return path;
}

void BM_ReadAndSort2MB(benchmark::State& state) {
    for (auto _ : state) {
        auto doc = TCfgManager::CreateFromFile(BigFile());
        benchmark::DoNotOptimize(doc->Count());
    }
    state.SetBytesProcessed(state.iterations() * fs::file_size(BigFile()));
}
BENCHMARK(BM_ReadAndSort2MB)->Unit(benchmark::kMillisecond);

void BM_Write2MB(benchmark::State& state) {
    const auto doc = TCfgManager::CreateFromFile(BigFile());
    const fs::path out = fs::temp_directory_path() / "quillmark-bench-out.txt";
    for (auto _ : state)
        benchmark::DoNotOptimize(doc->SaveToFile(out, true));
    fs::remove(out);
}
BENCHMARK(BM_Write2MB)->Unit(benchmark::kMillisecond);

// 36 tables of about 280 sections each over 3,000 identifiers: about 10,000
// sections with many repeats, merged into one document.
void BM_Merge36Tables(benchmark::State& state) {
    std::vector<fs::path> tables;
    for (int t = 0; t < 36; ++t)
        tables.push_back(
            WriteTemp("table" + std::to_string(t) + ".txt", MakeTable(280, 3000, 100 + t, 200)));
    for (auto _ : state) {
        auto doc = TCfgManager::Create();
        for (const auto& table : tables)
            doc->LoadFromFile(table, true);
        doc->Sort();
        benchmark::DoNotOptimize(doc->Count());
    }
    for (const auto& table : tables)
        fs::remove(table);
}
BENCHMARK(BM_Merge36Tables)->Unit(benchmark::kMillisecond);

// Inserting one record at its sorted place in a 6,000-record document.
void BM_AddRecord(benchmark::State& state) {
    auto doc = TCfgManager::CreateFromFile(BigFile());
    std::mt19937 rng(9);
    for (auto _ : state)
        benchmark::DoNotOptimize(&doc->AddRecord(FourCharId(rng)));
}
BENCHMARK(BM_AddRecord)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {
// The text of the 2 MB document, without the file system.
void BM_Serialize2MB(benchmark::State& state) {
    const auto doc = TCfgManager::CreateFromFile(BigFile());
    for (auto _ : state)
        benchmark::DoNotOptimize(doc->Serialize(true));
}
BENCHMARK(BM_Serialize2MB)->Unit(benchmark::kMillisecond);
} // namespace

namespace {
// The largest player's file of the real data (about 300 KB), read as the
// editor opens it and written as it saves it.
const fs::path& RealPlayersFile() {
    static const fs::path path =
        fs::path(QUILLMARK_REAL_DATA) / "customkeys" / "danisilv__warcraft3-2.txt";
    return path;
}

void BM_ReadRealPlayersFile(benchmark::State& state) {
    if (!fs::exists(RealPlayersFile())) {
        state.SkipWithError("no real data beside this checkout");
        return;
    }
    for (auto _ : state) {
        auto doc = TCfgManager::CreateFromFile(RealPlayersFile());
        benchmark::DoNotOptimize(doc->Count());
    }
}
BENCHMARK(BM_ReadRealPlayersFile)->Unit(benchmark::kMillisecond);

void BM_WriteRealPlayersFile(benchmark::State& state) {
    if (!fs::exists(RealPlayersFile())) {
        state.SkipWithError("no real data beside this checkout");
        return;
    }
    const auto asRead = TCfgManager::CreateFromFile(RealPlayersFile());
    const auto edited = asRead->Clone();
    edited->Records(0).Hotkey = "Q";
    edited->Records(1).Tip += "!";
    const fs::path out = fs::temp_directory_path() / "quillmark-bench-player.txt";
    for (auto _ : state)
        benchmark::DoNotOptimize(edited->SaveEdits(out));
    fs::remove(out);
}
BENCHMARK(BM_WriteRealPlayersFile)->Unit(benchmark::kMillisecond);

// 1,000 lookups, as the multi-editor makes over a tree, in a 6,000-record
// document that holds few of them: each miss searches in any case too.
void BM_FindRecord1000(benchmark::State& state) {
    const auto doc = TCfgManager::CreateFromFile(BigFile());
    std::mt19937 rng(3);
    std::vector<std::string> ids;
    for (int i = 0; i < 1000; ++i)
        ids.push_back(FourCharId(rng));
    for (auto _ : state) {
        int found = 0;
        for (const auto& id : ids)
            found += doc->FindRecord(id) ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_FindRecord1000)->Unit(benchmark::kMicrosecond);
} // namespace
