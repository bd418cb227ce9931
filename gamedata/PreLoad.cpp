#include "gamedata/PreLoad.h"

#include "config/uCfgManager.h"
#include "config/uFileOffsets.h"
#include "gamedata/IconNames.h"
#include "gamedata/MPQMngr.h"
#include "text/TextCodec.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <system_error>

namespace qm {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 18> kTableGroups = {
    "Command",      "CommonAbility",   "HumanAbility", "HumanUnit",
    "HumanUpgrade", "ItemAbility",     "Item",         "NeutralAbility",
    "NeutralUnit",  "NightElfAbility", "NightElfUnit", "NightElfUpgrade",
    "OrcAbility",   "OrcUnit",         "OrcUpgrade",   "UndeadAbility",
    "UndeadUnit",   "UndeadUpgrade"};

std::vector<std::string> TableNames(std::string_view kind) {
    std::vector<std::string> names;
    for (const auto group : kTableGroups)
        names.push_back("Units\\" + std::string(group) + std::string(kind) + ".txt");
    return names;
}

struct TArchiveTables {
    std::string_view Name;
    bool WithFunctions;
};
// Later archives override earlier ones; the localised one carries strings only.
constexpr std::array<TArchiveTables, 4> kTableArchives = {
    {{"war3.mpq", true}, {"war3x.mpq", true}, {"war3xlocal.mpq", false}, {"war3patch.mpq", true}}};
// Where button images are looked for, the first holder winning.
constexpr std::array<std::string_view, 3> kImageArchives = {"war3.mpq", "war3x.mpq",
                                                            "war3patch.mpq"};

// A private folder for the joined tables, removed with everything in it on
// every way out.
class TScratchFolder {
  public:
    TScratchFolder() {
        std::error_code ec;
        const fs::path base = fs::temp_directory_path(ec);
        if (ec)
            return;
        std::random_device seed;
        std::mt19937_64 rng(seed());
        for (int attempt = 0; attempt < 16 && path_.empty(); ++attempt) {
            const fs::path candidate = base / ("quillmark-import-" + std::to_string(rng()));
            if (fs::create_directory(candidate, ec))
                path_ = candidate;
        }
    }
    ~TScratchFolder() {
        std::error_code ec;
        if (!path_.empty())
            fs::remove_all(path_, ec);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

// Turns a byte-order mark at `start` into three blanks. Localised tables
// begin with one; inside the joined file it would hide the header line it
// precedes, and blanks are trimmed from that line as from any other.
void BlankByteOrderMark(std::FILE* joined, long long start) {
    const long long end = FilePosition(joined);
    char head[3];
    if (end - start >= 3 && SeekFile(joined, start) && std::fread(head, 1, 3, joined) == 3 &&
        std::memcmp(head, "\xEF\xBB\xBF", 3) == 0 && SeekFile(joined, start))
        std::fwrite("   ", 1, 3, joined);
    SeekFile(joined, end);
}

// Joins the archive's tables of one list into `joined`, byte for byte but
// for their byte-order marks, and returns how many arrived.
int JoinTables(TMPQManager& archive, const std::vector<std::string>& tables,
               const fs::path& joined) {
    std::FILE* out = std::fopen(joined.c_str(), "w+b");
    if (!out)
        return 0;
    int count = 0;
    for (const auto& table : tables) {
        const long long start = FilePosition(out);
        if (!archive.ExtractToHandle(table, out))
            continue;
        ++count;
        BlankByteOrderMark(out, start);
    }
    return std::fclose(out) == 0 ? count : 0;
}

// Merges the archive's tables of one list into the document through one
// joined file, read only when this archive wrote it.
void MergeTables(TMPQManager& archive, const std::vector<std::string>& tables,
                 const fs::path& joined, TCfgManager& doc) {
    if (JoinTables(archive, tables, joined) == 0)
        return;
    doc.LoadFromFile(joined, true);
    doc.Sort();
}

bool IsCyrillicLetter(char32_t c) {
    return c >= U'\u0410' && c <= U'\u044F'; // А to я
}

// "rus" when ACac's name, as it is shown, starts with a Cyrillic letter.
std::string LanguageOf(TCfgManager& strings) {
    const TBindRec* acac = strings.FindRecordLinear("ACac");
    if (acac && IsCyrillicLetter(FirstCodePoint(FieldToUtf8(acac->Name))))
        return "rus";
    return "foreign";
}

// The archives that may hold button images, in search order; those the game
// folder lacks are left out.
std::vector<std::unique_ptr<TMPQManager>> OpenImageArchives(const fs::path& gameFolder) {
    std::vector<std::unique_ptr<TMPQManager>> archives;
    for (const auto name : kImageArchives) {
        const fs::path path = FindGameFile(gameFolder, name);
        if (!path.empty())
            archives.push_back(std::make_unique<TMPQManager>(path));
    }
    return archives;
}

// Temporary files in the icons folder. Neither ends in ".jpg", so neither
// can be taken for an icon.
struct TIconScratch {
    fs::path extracted; // the image as the archive holds it
    fs::path converted; // the JPEG it wraps
};

// Fetches one image into `icon` through the scratch files, so that a failed
// attempt leaves nothing under the icon's name. The archives are tried in
// turn on one open file: a failed attempt writes nothing into it.
bool FetchIcon(const std::vector<std::unique_ptr<TMPQManager>>& archives, const std::string& image,
               const TIconScratch& scratch, const fs::path& icon) {
    const fs::path& part = scratch.extracted;
    // A fresh file each time: truncating a written one makes some file
    // systems flush it to disk first, which costs more than the extraction.
    std::error_code ec;
    fs::remove(part, ec);
    std::FILE* out = std::fopen(part.c_str(), "wb");
    if (!out)
        return false;
    const bool extracted = std::any_of(archives.begin(), archives.end(), [&](const auto& archive) {
        return archive->ExtractToHandle(image, out);
    });
    if (std::fclose(out) != 0 || !extracted)
        return false;
    // A BLP that is not JPEG-compressed stays as extracted, under the icon's name.
    const fs::path& result = BlpToJpeg(part, scratch.converted) ? scratch.converted : part;
    fs::rename(result, icon, ec);
    return !ec;
}

} // namespace

fs::path FindGameFile(const fs::path& gameFolder, std::string_view name) {
    std::error_code ec;
    fs::path found;
    for (fs::directory_iterator it(gameFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string fileName = it->path().filename().string();
        std::error_code typeError;
        if (AsciiLower(fileName) != AsciiLower(name) || !it->is_regular_file(typeError))
            continue;
        if (fileName == name)
            return it->path();
        if (found.empty() || it->path() < found)
            found = it->path();
    }
    return found;
}

const std::vector<std::string>& FunctionTables() {
    static const std::vector<std::string> tables = TableNames("Func");
    return tables;
}

const std::vector<std::string>& StringsTables() {
    static const std::vector<std::string> tables = TableNames("Strings");
    return tables;
}

TDefaultKeys BuildDefaultConfiguration(const fs::path& gameFolder, const fs::path& outputPath,
                                       const fs::path& fixFile) {
    const auto strings = TCfgManager::Create();
    const auto funcs = TCfgManager::Create();
    const TScratchFolder scratch;
    if (scratch.Path().empty())
        return {"foreign", 0, false};
    for (const auto& source : kTableArchives) {
        const fs::path path = FindGameFile(gameFolder, source.Name);
        if (path.empty())
            continue;
        TMPQManager archive(path);
        MergeTables(archive, StringsTables(), scratch.Path() / "DefStrings.tmp", *strings);
        if (source.WithFunctions)
            MergeTables(archive, FunctionTables(), scratch.Path() / "DefFuncs.tmp", *funcs);
    }
    std::error_code ec;
    if (!fixFile.empty() && fs::is_regular_file(fixFile, ec)) {
        funcs->LoadFromFile(fixFile, true);
        funcs->Sort();
    }
    strings->Overlay(*funcs);
    const bool written = strings->SaveToFile(outputPath, true);
    return {LanguageOf(*strings), strings->Count(), written};
}

std::string BuildDefaultKeys(const fs::path& gameFolder, const fs::path& outputPath,
                             const fs::path& fixFile) {
    return BuildDefaultConfiguration(gameFolder, outputPath, fixFile).Language;
}

int ExtractIcons(const fs::path& gameFolder, const fs::path& defaultsPath,
                 const fs::path& iconsFolder, const TProgress& progress) {
    if (FindGameFile(gameFolder, "war3.mpq").empty())
        return 0;
    std::error_code ec;
    fs::create_directories(iconsFolder, ec);
    if (!fs::is_directory(iconsFolder, ec))
        return 0;
    const auto archives = OpenImageArchives(gameFolder);
    const auto defaults = TCfgManager::CreateFromFile(defaultsPath);
    const TIconScratch scratch{iconsFolder / ".extracting.part", iconsFolder / ".converting.part"};
    int written = 0;
    const int total = defaults->Count();
    int shownPercent = -1;
    for (int i = 0; i < total; ++i) {
        // Reported per percent: a repaint per record would cost more than the work.
        if (const int percent = i * 100 / total; progress && percent != shownPercent) {
            shownPercent = percent;
            progress(i, total);
        }
        for (const auto& image : SplitArtPaths(defaults->Records(i).Art)) {
            const std::string name = IconFileName(image);
            if (name.empty() || fs::exists(iconsFolder / name, ec))
                continue;
            written += FetchIcon(archives, image, scratch, iconsFolder / name) ? 1 : 0;
        }
    }
    fs::remove(scratch.extracted, ec);
    fs::remove(scratch.converted, ec);
    if (progress)
        progress(total, total);
    return written;
}

} // namespace qm
