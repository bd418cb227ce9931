// Writes a starting corpus for each fuzz target, one folder per target named
// after it without "fuzz_". With the folder of real game data it adds the
// players' files, their tooltips and button positions, and an archive of
// real tables.
//
//   make_fuzz_seeds FOLDER [REAL_DATA]

#include "CascFuzzStorage.h"
#include "fixtures/ImageWriter.h"
#include "fixtures/TMpqWriter.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Long files are cut into pieces of about this size at line ends: the
// fuzzers run hundreds of times faster on them, and mutate them as well.
constexpr size_t kPieceSize = 4096;

constexpr std::string_view kBlpEntry = "ReplaceableTextures\\CommandButtons\\BTNFootman.blp";

void Seed(const fs::path& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Pieces(const std::string& text) {
    std::vector<std::string> pieces;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.rfind('\n', start + kPieceSize);
        end = end == std::string::npos || end < start ? start + kPieceSize : end + 1;
        pieces.push_back(text.substr(start, end - start));
        start = end;
    }
    return pieces;
}

// Seeds the pieces of a file: NAME-0, NAME-1, ...
void SeedPieces(const fs::path& folder, const std::string& name, const std::string& text) {
    const auto pieces = Pieces(text);
    for (size_t i = 0; i < pieces.size(); ++i)
        Seed(folder, name + "-" + std::to_string(i), pieces[i]);
}

std::vector<std::uint32_t> Picture(int width, int height) {
    std::vector<std::uint32_t> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rgb.push_back(std::uint32_t(x * 255 / width) << 16 | std::uint32_t(y * 255 / height));
    return rgb;
}

// Three colours, the hotkey's length and the hotkey, then the tooltip: the
// input layout of fuzz_markup.
std::string MarkupInput(std::uint32_t colour, const std::string& hotkey, const std::string& tip) {
    std::string in;
    for (int i = 0; i < 3; ++i)
        for (int b = 0; b < 4; ++b)
            in += static_cast<char>((colour + i * 0x1357u) >> (8 * b));
    return in + static_cast<char>(hotkey.size()) + hotkey + tip;
}

// Writes an archive of `entries` through the fixture writer; empty when it fails.
std::string Archive(const fs::path& scratch,
                    const std::vector<std::pair<std::string, std::string>>& entries,
                    qm::TMpqEntryKind kind) {
    {
        qm::TMpqWriter mpq(scratch, 64);
        for (const auto& [name, bytes] : entries)
            mpq.Add(name, bytes, kind);
        if (!mpq.Close())
            return {};
    }
    std::string bytes = ReadFile(scratch);
    fs::remove(scratch);
    return bytes;
}

void WriteBuiltInSeeds(const fs::path& root) {
    const std::string button = qm::EncodeJpeg(qm::ButtonSamples(Picture(16, 16)), 16, 16, 4);
    std::vector<std::uint8_t> rgb, grey;
    for (const std::uint32_t p : Picture(9, 7)) {
        rgb.insert(rgb.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)});
        grey.push_back(std::uint8_t(p >> 16));
    }
    Seed(root / "jpeg", "button.jpg", button);
    Seed(root / "jpeg", "rgb.jpg", qm::EncodeJpeg(rgb, 9, 7, 3));
    Seed(root / "jpeg", "grey.jpg", qm::EncodeJpeg(grey, 9, 7, 1));
    Seed(root / "icon_image", "button.jpg", std::string("\x20\x20", 2) + button);
    Seed(root / "icon_image", "own-size.jpg",
         std::string("\0\0", 2) + qm::EncodeJpeg(rgb, 9, 7, 3));
    const std::string blp = qm::MakeJpegBlp(button, 16, 16);
    Seed(root / "blp", "button.blp", blp);
    Seed(root / "blp_pair", "button.blp", blp);
    std::string blocks;
    for (int i = 0; i < 4; ++i)
        blocks += qm::Bc1Block(0xF800, static_cast<std::uint16_t>(0x001F << i), 0xE4E4E4E4);
    Seed(root / "dds", "bc1.dds", qm::MakeDds(8, 8, "DXT1", blocks));
    Seed(root / "dds", "bc3.dds",
         qm::MakeDds(4, 4, "DXT5",
                     std::string("\xFF\x00\x10\x00\x00\x00\x00\x00", 8) + blocks.substr(0, 8)));
    Seed(root / "dds", "dx10.dds", qm::MakeDds(4, 4, "DX10", blocks.substr(0, 8), 71));
    Seed(root / "dds", "bgra.dds", qm::MakeDds(2, 2, "", std::string(16, '\x7F')));
    const std::string config =
        "// comment\r\n[hfoo]\r\nHotkey=F\r\nTip=Train |cffffcc00F|rootman (F)\r\n"
        "Buttonpos=0,0\r\nName=Footman\r\n\r\n[Amov]\r\nhotkey = M\r\nArt=BTNMove.blp\r\n";
    Seed(root / "config", "CustomKeys.txt", config);
    const std::string tree =
        "Human|?|?\r\n\tUnits|?\r\n\t\tFootman|hfoo|?|x\r\n\t\t'Odd|hpea|BTN.jpg\r\n"
        "\t\t\"A|B\"|hpea\r\n\xCF\xE5\xF5|?|?\r\n";
    Seed(root / "tree", "TV.wrk", tree);
    Seed(root / "tree", "with-defaults.wrk",
         "[hfoo]\nName=Foot|cffffcc00m\xD0\x90\xD0\x91|ran\nArt=A\\BTNFoot.blp,B\\X.blp\n@@@@\n" +
             tree);
    Seed(root / "tree_loader", "TV.wrk", tree);
    Seed(root / "ini_file", "QMK.ini",
         "; settings\r\n[Initialisation]\r\nDefCfgLoaded=1\r\nLanguage=rus\r\n\r\n[Interface]\r\n"
         "cpTip=0xFFFFFF\r\ncbTogEdit=-1\r\n[Strings]\r\nTVName=QMKData\\TV_rus.wrk\r\n");
    Seed(root / "wine_registry", "user.reg",
         "WINE REGISTRY Version 2\n\n[Software\\\\Blizzard Entertainment\\\\Warcraft III] 1\n"
         "\"InstallPath\"=\"C:\\\\Games\\\\W3\\x418\"\n");
    Seed(root / "markup", "tip.txt", MarkupInput(0xFFCC00, "F", "Train |cffffcc00F|rootman (F)"));
    Seed(root / "markup", "levels.txt",
         MarkupInput(0x0000FF, "|cff00ff00Q", "Level 1 (Q),\"a, b\"\n|Level 2||r|c12"));
    Seed(root / "button_pos", "plain.txt", "0,2");
    Seed(root / "button_pos", "quoted.txt", " \"3\" , '+1'\n");

    const std::string tables = "[hfoo]\r\nArt=" + std::string(kBlpEntry) + "\r\nButtonpos=0,0\r\n";
    const std::string strings =
        "[hfoo]\r\nName=Footman\r\nHotkey=F\r\nTip=Train |cffffcc00F|rootman\r\n";
    const fs::path scratch = root / "scratch.mpq";
    const std::pair<qm::TMpqEntryKind, const char*> kinds[] = {
        {qm::TMpqEntryKind::Stored, "stored.mpq"},
        {qm::TMpqEntryKind::Zlib, "zlib.mpq"},
        {qm::TMpqEntryKind::Bzip2, "bzip2.mpq"},
        {qm::TMpqEntryKind::Pkware, "pkware.mpq"},
        {qm::TMpqEntryKind::Imploded, "implode.mpq"},
        {qm::TMpqEntryKind::EncryptedZlib, "crypt.mpq"}};
    for (const auto& [kind, name] : kinds)
        Seed(root / "mpq", name,
             Archive(scratch,
                     {{"Units\\HumanUnitFunc.txt", tables},
                      {"Units\\HumanUnitStrings.txt", "\xEF\xBB\xBF" + strings},
                      {std::string(kBlpEntry), blp}},
                     kind));
}

// Values of one key in the players' files, each once.
std::set<std::string> ValuesOf(const std::vector<std::string>& files, const std::string& key) {
    std::set<std::string> values;
    for (const auto& text : files) {
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line) && values.size() < 200;)
            if (line.size() > key.size() && line.compare(0, key.size(), key) == 0)
                values.insert(line.substr(key.size()));
    }
    return values;
}

void WriteRealDataSeeds(const fs::path& root, const fs::path& realData) {
    std::vector<std::string> players;
    for (const auto& entry : fs::directory_iterator(realData / "customkeys")) {
        players.push_back(ReadFile(entry.path()));
        SeedPieces(root / "config", entry.path().filename().string(), players.back());
    }
    int n = 0;
    for (const auto& tip : ValuesOf(players, "Tip=")) {
        Seed(root / "markup", "real-" + std::to_string(n), MarkupInput(0xFFCC00u + n, "W", tip));
        ++n;
    }
    n = 0;
    for (const auto& pos : ValuesOf(players, "Buttonpos="))
        Seed(root / "button_pos", "real-" + std::to_string(n++), pos);
    // The small tables of each language, as the game's archive holds them.
    for (const char* language : {"enUS-1.24.4", "zhCN-1.24.4"}) {
        const fs::path units = realData / "tables" / language / "Units";
        std::vector<std::pair<std::string, std::string>> entries;
        for (const char* table : {"CommandFunc.txt", "CommandStrings.txt", "HumanUpgradeFunc.txt",
                                  "HumanUpgradeStrings.txt"})
            if (fs::is_regular_file(units / table))
                entries.emplace_back("Units\\" + std::string(table), ReadFile(units / table));
        Seed(root / "mpq", std::string("real-") + language + ".mpq",
             Archive(root / "scratch.mpq", entries, qm::TMpqEntryKind::Zlib));
    }
}

void WriteDeliveredTrees(const fs::path& root, const fs::path& dataFolder) {
    for (const char* tree : {"TV_rus.wrk", "TV_foreign.wrk"}) {
        if (!fs::is_regular_file(dataFolder / tree))
            continue;
        SeedPieces(root / "tree", tree, ReadFile(dataFolder / tree));
        SeedPieces(root / "tree_loader", tree, ReadFile(dataFolder / tree));
    }
}

// The help input: a context number of four bytes, then folder, manager's
// file, window's file, topic and keyword, split by zero bytes.
std::string HelpInput(const std::vector<std::string>& fields) {
    std::string in("\x2A\0\0\0", 4);
    for (const auto& field : fields)
        in += field + '\0';
    return in;
}

void WriteLanguageSeeds(const fs::path& root) {
    Seed(root / "lang_file", "small.qlg",
         "[frmMain]\r\nCaption=Quillmark\r\n[frmMain.mnuFile]\r\nCaption=&File\r\n"
         "Hint=\"Open a file|Opens a file \"\r\n[frmMain.dlgTemplate.lblTipColor]\r\n"
         "Caption='  Tip '\r\n[STRINGS]\r\nStr1=Error!\r\nStr45=\"Cannot write \"\r\n"
         "Str46=The file %1 exists./nReplace it?\r\nStr2=a//n b///n\r\n");
    Seed(root / "lang_escape", "breaks.txt", "Line one\r\nline two /n and //n, a / alone\r\n");
    Seed(root / "lang_escape", "lone.txt", "\rlone\nbreaks\r\r\n//\r\n end/");
    Seed(root / "lang_escape", "quoted.txt", "  \"spaced and quoted\"\t");
    Seed(root / "help", "topic.txt",
         HelpInput({"/opt/quillmark", "", "QMKHelp.chm",
                    "\xD0\x92\xD0\xB2\xD0\xB5\xD0\xB4\xD0\xB5"
                    "\xD0\xBD\xD0\xB8\xD0\xB5",
                    " keys "}));
    Seed(root / "help", "paths.txt",
         HelpInput({"C:\\Games", "help\\Other.CHM", "a.chm", "page.HTML", "StoHtmlHelp: x"}));
    Seed(root / "help", "no-chm.txt", HelpInput({"", "", "notes.txt", "dir.htm/page", ":"}));
}

// The delivered language files whole, and the texts of their rows.
void WriteDeliveredLanguages(const fs::path& root, const fs::path& dataFolder) {
    for (const char* name : {"Russian.qlg", "English.qlg"}) {
        if (!fs::is_regular_file(dataFolder / name))
            continue;
        const std::string text = ReadFile(dataFolder / name);
        SeedPieces(root / "lang_file", name, text);
        std::istringstream lines(text);
        int n = 0;
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.rfind("Str", 0) == 0 && line.find('=') != std::string::npos)
                Seed(root / "lang_escape", std::string(name) + "-" + std::to_string(n++),
                     line.substr(line.find('=') + 1));
        }
    }
}

} // namespace

// One seed per file of the fuzzed CASC installation: its number, then its bytes.
void WriteCascSeeds(const fs::path& root) {
    const fs::path scratch = root / "casc-scratch";
    if (!qm::fuzz::WriteCascStorage(scratch))
        return;
    const auto files = qm::fuzz::CascFiles(scratch);
    for (size_t i = 0; i < files.size(); ++i)
        Seed(root / "casc", "file-" + std::to_string(i), static_cast<char>(i) + ReadFile(files[i]));
    fs::remove_all(scratch);
}

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER [REAL_DATA]\n");
        return 2;
    }
    const fs::path root = argv[1];
    WriteBuiltInSeeds(root);
    WriteCascSeeds(root);
    WriteDeliveredTrees(root, QUILLMARK_DATA_DIR);
    WriteLanguageSeeds(root);
    WriteDeliveredLanguages(root, QUILLMARK_DATA_DIR);
    if (argc == 3 && fs::is_directory(fs::path(argv[2]) / "customkeys"))
        WriteRealDataSeeds(root, argv[2]);
    Seed(root / "richtext", "tip.txt",
         "Summon |cFFffcc00W|rater|n|cff00ff00\xD0\x92\xE6\xB0\xB4|c12|| |R\r\n");
    return 0;
}
