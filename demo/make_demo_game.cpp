// Builds the demo game folder from the tables in demo/: war3.mpq, war3x.mpq
// and war3patch.mpq holding the tables at their archive paths, and a button
// image for every art path the tables (and the correction file) name.
//
//   quillmark-make-demo DEMO_FOLDER FIX_FILE OUTPUT_FOLDER

#include "config/uCfgManager.h"
#include "fixtures/ImageWriter.h"
#include "fixtures/TMpqWriter.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kIconSize = 64;
constexpr int kGlyphScale = 6;
const std::array<const char*, 3> kArchives = {"war3", "war3x", "war3patch"};

// A 5 x 7 capital letter, one row per byte, bit 4 the leftmost column.
using TGlyph = std::array<std::uint8_t, 7>;
const std::array<TGlyph, 26> kLetters = {{
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, // A
    {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}, // B
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, // C
    {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}, // D
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, // E
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}, // F
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, // G
    {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, // H
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, // I
    {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}, // J
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, // K
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}, // L
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, // M
    {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}, // N
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, // O
    {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}, // P
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, // Q
    {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}, // R
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, // S
    {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}, // T
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, // U
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}, // V
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, // W
    {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}, // X
    {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}, // Y
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}, // Z
}};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The table files of one archive folder, by archive path, in name order.
std::map<std::string, fs::path> ArchiveTables(const fs::path& folder) {
    std::map<std::string, fs::path> tables;
    const fs::path units = folder / "Units";
    if (!fs::is_directory(units))
        return tables;
    for (const auto& entry : fs::directory_iterator(units))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            tables["Units\\" + entry.path().filename().string()] = entry.path();
    return tables;
}

// The image paths of an Art value: comma-separated, quotes keep commas.
std::vector<std::string> SplitArt(const std::string& art) {
    std::vector<std::string> paths;
    std::string current;
    bool quoted = false;
    auto flush = [&] {
        const auto first = current.find_first_not_of(" \r\n");
        if (first != std::string::npos)
            paths.push_back(current.substr(first));
        current.clear();
    };
    for (char c : art) {
        if (c == '"' || c == '\'')
            quoted = !quoted;
        if (!quoted && (c == ',' || c == '\r' || c == '\n'))
            flush();
        else
            current += c;
    }
    flush();
    return paths;
}

// A real image path of the game's layout, not an interface skin key.
bool IsImagePath(const std::string& path) {
    return path.find('\\') != std::string::npos && path.size() > 4 &&
           path.compare(path.size() - 4, 4, ".blp") == 0;
}

// A stable, fairly dark colour per image, so the white letter stays legible.
std::uint32_t ColourFor(const std::string& path) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : path)
        hash = (hash ^ c) * 16777619u;
    return hash & 0x7F7F7F;
}

std::string ButtonBlp(const std::string& path, char initial) {
    std::vector<std::uint32_t> pixels(kIconSize * kIconSize, ColourFor(path));
    const int upper = std::toupper(static_cast<unsigned char>(initial));
    if (upper >= 'A' && upper <= 'Z') {
        const TGlyph& glyph = kLetters[upper - 'A'];
        const int left = (kIconSize - 5 * kGlyphScale) / 2;
        const int top = (kIconSize - 7 * kGlyphScale) / 2;
        for (int y = 0; y < 7 * kGlyphScale; ++y)
            for (int x = 0; x < 5 * kGlyphScale; ++x)
                if (glyph[y / kGlyphScale] & (0x10 >> (x / kGlyphScale)))
                    pixels[(top + y) * kIconSize + left + x] = 0xFFFFFF;
    }
    const std::string jpeg = qm::EncodeJpeg(qm::ButtonSamples(pixels), kIconSize, kIconSize, 4);
    return jpeg.empty() ? std::string() : qm::MakeJpegBlp(jpeg, kIconSize, kIconSize);
}

// The first letter of the action's name, or of its tooltip when it has none
// (the commands).
char Initial(const qm::TBindRec& rec) {
    const std::string text = rec.Name.empty() ? qm::RemoveColorCodes(rec.Tip) : rec.Name;
    const auto letter =
        std::find_if(text.begin(), text.end(), [](unsigned char c) { return std::isalpha(c); });
    return letter == text.end() ? '?' : *letter;
}

// Image path -> initial of the first action naming it, from one document.
void CollectArt(const qm::TCfgManager& doc, std::map<std::string, char>& art) {
    for (int i = 0; i < doc.Count(); ++i) {
        const qm::TBindRec& rec = doc.Records(i);
        for (const std::string& path : SplitArt(rec.Art))
            if (IsImagePath(path))
                art.emplace(path, Initial(rec));
    }
}

bool WriteArchive(const fs::path& file, const std::map<std::string, fs::path>& tables,
                  const std::map<std::string, char>& images) {
    // Room for every entry with the hash table at most half full.
    const auto entries = static_cast<unsigned>(tables.size() + images.size());
    qm::TMpqWriter writer(file, 2 * entries + 16);
    if (!writer.IsOpen())
        return false;
    for (const auto& [entry, source] : tables)
        if (!writer.Add(entry, ReadFile(source)))
            return false;
    for (const auto& [path, initial] : images) {
        const std::string blp = ButtonBlp(path, initial);
        if (blp.empty() || !writer.Add(path, blp, qm::TMpqEntryKind::Stored))
            return false;
    }
    return writer.Close();
}

int Run(const fs::path& demo, const fs::path& fixFile, const fs::path& output) {
    fs::create_directories(output);
    qm::TCfgManager everything; // all tables merged, as the editor's import sees them
    std::map<std::string, char> placed;
    std::vector<std::map<std::string, char>> perArchive(kArchives.size());
    for (size_t a = 0; a < kArchives.size(); ++a) {
        qm::TCfgManager doc;
        for (const auto& [entry, source] : ArchiveTables(demo / kArchives[a])) {
            doc.LoadFromFile(source, true);
            doc.Sort();
            everything.LoadFromFile(source, true);
            everything.Sort();
        }
        std::map<std::string, char> art;
        CollectArt(doc, art);
        for (const auto& [path, initial] : art)
            if (placed.emplace(path, initial).second)
                perArchive[a].emplace(path, initial);
    }
    // Corrected art lives in the base archive, where the game keeps its images.
    everything.LoadFromFile(fixFile, true);
    everything.Sort();
    std::map<std::string, char> corrected;
    CollectArt(everything, corrected);
    for (const auto& [path, initial] : corrected)
        if (placed.emplace(path, initial).second)
            perArchive[0].emplace(path, initial);

    for (size_t a = 0; a < kArchives.size(); ++a) {
        const fs::path file = output / (std::string(kArchives[a]) + ".mpq");
        if (!WriteArchive(file, ArchiveTables(demo / kArchives[a]), perArchive[a])) {
            std::cerr << "quillmark-make-demo: could not write " << file << "\n";
            return 1;
        }
    }
    std::cout << "demo game in " << output << ": " << placed.size() << " button images\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: quillmark-make-demo DEMO_FOLDER FIX_FILE OUTPUT_FOLDER\n";
        return 2;
    }
    return Run(argv[1], argv[2], argv[3]);
}
