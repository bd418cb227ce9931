// Writes a starting corpus for each fuzz target: FOLDER/jpeg, blp, config,
// tree, richtext.

#include "fixtures/ImageWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

void Seed(const fs::path& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

std::vector<std::uint32_t> Picture(int width, int height) {
    std::vector<std::uint32_t> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rgb.push_back(std::uint32_t(x * 255 / width) << 16 | std::uint32_t(y * 255 / height));
    return rgb;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
        return 2;
    }
    const fs::path root = argv[1];
    const std::string button = qm::EncodeJpeg(qm::ButtonSamples(Picture(16, 16)), 16, 16, 4);
    std::vector<std::uint8_t> rgb, grey;
    for (const std::uint32_t p : Picture(9, 7)) {
        rgb.insert(rgb.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)});
        grey.push_back(std::uint8_t(p >> 16));
    }
    Seed(root / "jpeg", "button.jpg", button);
    Seed(root / "jpeg", "rgb.jpg", qm::EncodeJpeg(rgb, 9, 7, 3));
    Seed(root / "jpeg", "grey.jpg", qm::EncodeJpeg(grey, 9, 7, 1));
    Seed(root / "blp", "button.blp", qm::MakeJpegBlp(button, 16, 16));
    Seed(root / "config", "CustomKeys.txt",
         "// comment\r\n[hfoo]\r\nHotkey=F\r\nTip=Train |cffffcc00F|rootman (F)\r\n"
         "Buttonpos=0,0\r\nName=Footman\r\n\r\n[Amov]\r\nhotkey = M\r\nArt=BTNMove.blp\r\n");
    Seed(root / "tree", "TV.wrk",
         "Human|?|?\r\n\tUnits|?\r\n\t\tFootman|hfoo|?|x\r\n\t\t'Odd|hpea|BTN.jpg\r\n"
         "\t\t\"A|B\"|hpea\r\n\xCF\xE5\xF5|?|?\r\n");
    Seed(root / "richtext", "tip.txt",
         "Summon |cFFffcc00W|rater|n|cff00ff00\xD0\x92\xE6\xB0\xB4|c12|| |R\r\n");
    return 0;
}
