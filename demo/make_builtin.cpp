// Builds the defaults Quillmark starts on when no game is found: the demo
// game's default configuration without a single tooltip (the demo's
// tooltips are our words and must never reach a player's file as the
// game's), the shipped tree with its names, and an icon of our own for
// every button image it names: a plain tile, dark enough for the hotkey
// letter drawn on it.
//
//   quillmark-make-builtin DEMO_GAME FIX_FILE TREE_FILE OUTPUT_FOLDER

#include "config/uCfgManager.h"
#include "fixtures/ImageWriter.h"
#include "gamedata/IconNames.h"
#include "gamedata/PreLoad.h"
#include "gamedata/TreeRewrite.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

namespace fs = std::filesystem;

namespace {

constexpr int kIconSize = 64;
constexpr int kTipFields[] = {qm::fiTip,       qm::fiUntip,     qm::fiResearchtip,
                              qm::fiRevivetip, qm::fiAwakentip, qm::fiUbertip};

// A slate tile with a lighter rim, its shade from the name, so that
// neighbouring buttons can be told apart.
std::string Tile(const std::string& name) {
    const unsigned shade = static_cast<unsigned>(std::hash<std::string>{}(name) % 48);
    std::vector<std::uint32_t> rgb(kIconSize * kIconSize);
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            const bool rim = x < 3 || y < 3 || x >= kIconSize - 3 || y >= kIconSize - 3;
            const std::uint32_t base = rim ? 0x70 + shade : 0x28 + shade / 2;
            rgb[static_cast<size_t>(y * kIconSize + x)] =
                (base << 16) | ((base + 8) << 8) | (base + 20);
        }
    }
    return qm::EncodeJpeg(qm::ButtonSamples(rgb), kIconSize, kIconSize, 4);
}

bool Write(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: quillmark-make-builtin DEMO_GAME FIX_FILE TREE_FILE OUTPUT_FOLDER\n";
        return 2;
    }
    const fs::path out = argv[4];
    fs::create_directories(out / "Icons");
    const fs::path defaults = out / "DefaultKeys.wrk";
    if (!qm::BuildDefaultConfiguration(argv[1], defaults, argv[2]).Written) {
        std::cerr << "no default configuration from " << argv[1] << "\n";
        return 1;
    }
    auto doc = qm::TCfgManager::CreateFromFile(defaults);
    std::set<std::string> icons;
    for (int i = 0; i < doc->Count(); ++i) {
        qm::TBindRec& record = doc->Records(i);
        for (int field : kTipFields)
            record[field].clear();
        for (const std::string& path : qm::SplitArtPaths(record.Art))
            icons.insert(qm::IconFileName(path));
    }
    const fs::path tree = out / fs::path(argv[3]).filename();
    fs::copy_file(argv[3], tree, fs::copy_options::overwrite_existing);
    if (!doc->SaveToFile(defaults, true) || !qm::FillTVFromDefaults(tree, defaults)) {
        std::cerr << "cannot write " << out << "\n";
        return 1;
    }
    icons.erase(std::string());
    for (const std::string& name : icons) {
        if (!Write(out / "Icons" / name, Tile(name))) {
            std::cerr << "cannot write " << (out / "Icons" / name) << "\n";
            return 1;
        }
    }
    return 0;
}
