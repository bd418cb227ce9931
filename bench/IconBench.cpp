// Decoding one button icon, and turning it into the tree's 32 x 32 picture.

#include "editor/IconImage.h"
#include "fixtures/ImageWriter.h"
#include "gamedata/JpegDecoder.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

// A 64 x 64 button picture in the game's 4-component layout, with enough
// detail to take a few kilobytes, like the game's own icons.
std::string ButtonIcon() {
    std::mt19937 rng(7);
    std::vector<std::uint32_t> rgb;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t red = x * 4, green = (y * 4) | (rng() & 0x3F), blue = rng() & 0xFF;
            rgb.push_back(red << 16 | green << 8 | blue);
        }
    }
    return qm::EncodeJpeg(qm::ButtonSamples(rgb), 64, 64, 4, 90);
}

void BM_DecodeButtonIcon(benchmark::State& state) {
    const std::string jpeg = ButtonIcon();
    for (auto _ : state) {
        auto image = qm::DecodeJpeg(jpeg.data(), jpeg.size());
        benchmark::DoNotOptimize(image);
    }
    state.counters["jpeg_bytes"] = static_cast<double>(jpeg.size());
}
BENCHMARK(BM_DecodeButtonIcon)->Unit(benchmark::kMicrosecond);

void BM_DecodeButtonIconFile(benchmark::State& state) {
    const fs::path file = fs::temp_directory_path() / "quillmark-bench-icon.jpg";
    std::ofstream(file, std::ios::binary) << ButtonIcon();
    for (auto _ : state) {
        auto image = qm::DecodeJpegFile(file);
        benchmark::DoNotOptimize(image);
    }
    fs::remove(file);
}
BENCHMARK(BM_DecodeButtonIconFile)->Unit(benchmark::kMicrosecond);

// What the tree does for each icon it shows: decode the file, scale to 32 x 32.
void BM_LoadJpegBitmap32(benchmark::State& state) {
    const fs::path file = fs::temp_directory_path() / "quillmark-bench-icon32.jpg";
    std::ofstream(file, std::ios::binary) << ButtonIcon();
    const QString path = QString::fromStdString(file.string());
    for (auto _ : state) {
        QImage image = qm::LoadJpegBitmap(path, 32, 32);
        benchmark::DoNotOptimize(image);
    }
    fs::remove(file);
}
BENCHMARK(BM_LoadJpegBitmap32)->Unit(benchmark::kMicrosecond);

} // namespace
