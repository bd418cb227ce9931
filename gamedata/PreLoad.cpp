#include "gamedata/PreLoad.h"

#include "config/uAtomicFile.h"
#include "config/uCfgManager.h"
#include "config/uFileError.h"
#include "config/uFileOffsets.h"
#include "gamedata/IconNames.h"
#include "gamedata/IsolatedStep.h"
#include "gamedata/MPQMngr.h"
#include "text/TextCodec.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <system_error>

#include <stdlib.h>

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
// The largest table and button image taken from an archive. The game's
// biggest table has some 300 KB and its button images a few; a damaged
// archive may claim gigabytes, which would only fill the disk.
constexpr std::uint32_t kMaxTableSize = 16u << 20;
constexpr std::uint32_t kMaxImageSize = 4u << 20;

// Where button images are looked for, the first holder winning.
constexpr std::array<std::string_view, 3> kImageArchives = {"war3.mpq", "war3x.mpq",
                                                            "war3patch.mpq"};

// A private folder, which only this user may enter, removed with everything
// in it on every way out. The parent makes it for the child that reads the
// archives, so that whatever a crashed child left in it goes too.
class TScratchFolder {
  public:
    TScratchFolder(const fs::path& base, std::string_view prefix) {
        std::string name = (base / prefix).string() + "-XXXXXX";
        if (mkdtemp(name.data()))
            path_ = name;
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
    std::FILE* out = CreateNewFile(joined, "w+b");
    if (!out)
        return 0;
    int count = 0;
    for (const auto& table : tables) {
        const long long start = FilePosition(out);
        if (!archive.ExtractToHandle(table, out, kMaxTableSize))
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
    const int joinedTables = JoinTables(archive, tables, joined);
    if (joinedTables > 0) {
        doc.LoadFromFile(joined, true);
        doc.Sort();
    }
    std::error_code ec;
    fs::remove(joined, ec); // the next archive's tables join into a new file
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

// The scratch files of one icon, in the extraction's scratch folder: the
// image as the archive holds it, and the JPEG it wraps. Each has a name of
// its own and is created new; neither ends in ".jpg", so neither can be
// taken for an icon. Whatever is left of them goes when the icon is done.
class TIconScratch {
  public:
    explicit TIconScratch(const fs::path& folder)
        : file_(CreateUniqueFile(folder, ".extracting", "part", extracted_)) {
        converted_ = extracted_;
        converted_ += ".converted";
    }
    ~TIconScratch() {
        Close();
        std::error_code ec;
        fs::remove(extracted_, ec);
        fs::remove(converted_, ec);
    }
    TIconScratch(const TIconScratch&) = delete;
    TIconScratch& operator=(const TIconScratch&) = delete;

    std::FILE* File() const { return file_; }
    bool Close() {
        const bool closed = file_ && std::fclose(file_) == 0;
        file_ = nullptr;
        return closed;
    }
    const fs::path& Extracted() const { return extracted_; }
    const fs::path& Converted() const { return converted_; }

  private:
    fs::path extracted_;
    fs::path converted_;
    std::FILE* file_;
};

// Fetches one image into `icon` through the scratch files, so that a failed
// attempt leaves nothing under the icon's name. The archives are tried in
// turn on one open file: a failed attempt writes nothing into it.
bool FetchIcon(const std::vector<std::unique_ptr<TMPQManager>>& archives, const std::string& image,
               const fs::path& icon, const fs::path& scratchFolder) {
    TIconScratch scratch(scratchFolder);
    if (!scratch.File())
        return false;
    const bool extracted = std::any_of(archives.begin(), archives.end(), [&](const auto& archive) {
        return archive->ExtractToHandle(image, scratch.File(), kMaxImageSize);
    });
    if (!scratch.Close() || !extracted)
        return false;
    // A BLP that is not JPEG-compressed stays as extracted, under the icon's name.
    const bool converted = BlpToJpeg(scratch.Extracted(), scratch.Converted());
    std::error_code ec;
    fs::rename(converted ? scratch.Converted() : scratch.Extracted(), icon, ec);
    return !ec;
}

// The build itself, with the joined tables in `scratch`.
TDefaultKeys BuildInThisProcess(const fs::path& gameFolder, const fs::path& outputPath,
                                const fs::path& fixFile, const fs::path& scratch) {
    const auto strings = TCfgManager::Create();
    const auto funcs = TCfgManager::Create();
    for (const auto& source : kTableArchives) {
        const fs::path path = FindGameFile(gameFolder, source.Name);
        if (path.empty())
            continue;
        TMPQManager archive(path);
        MergeTables(archive, StringsTables(), scratch / "DefStrings.tmp", *strings);
        if (source.WithFunctions)
            MergeTables(archive, FunctionTables(), scratch / "DefFuncs.tmp", *funcs);
    }
    std::error_code ec;
    if (!fixFile.empty() && fs::is_regular_file(fixFile, ec)) {
        funcs->LoadFromFile(fixFile, true);
        funcs->Sort();
    }
    strings->Overlay(*funcs);
    const bool written = strings->SaveToFile(outputPath, true);
    return {LanguageOf(*strings), strings->Count(), written, {}};
}

// A child that ended well without its result: nothing of ours does that.
constexpr std::string_view kWhyNoResult = "no result";

// The result of the build as it travels from the child: records, written,
// and 1 for "rus".
TStepMessage ToMessage(const TDefaultKeys& built) {
    return {built.Records, built.Written ? 1 : 0, built.Language == "rus" ? 1 : 0};
}

TDefaultKeys FromMessage(const TStepMessage& message) {
    return {message[2] ? "rus" : "foreign", static_cast<int>(message[0]), message[1] != 0, {}};
}

// Messages of the icon extraction: progress (done, total), then the count written.
enum TIconMessage : std::int64_t { kIconProgress, kIconsWritten };

// The extraction itself, reporting its progress and count.
void ExtractInThisProcess(const fs::path& gameFolder, const fs::path& defaultsPath,
                          const fs::path& iconsFolder, const fs::path& scratch,
                          TStepReport& report) {
    const auto archives = OpenImageArchives(gameFolder);
    const auto defaults = TCfgManager::CreateFromFile(defaultsPath);
    int written = 0;
    const int total = defaults->Count();
    int shownPercent = -1;
    std::error_code ec;
    for (int i = 0; i < total; ++i) {
        // Reported per percent: a repaint per record would cost more than the work.
        if (const int percent = i * 100 / total; percent != shownPercent) {
            shownPercent = percent;
            report.Send({kIconProgress, i, total});
        }
        for (const auto& image : SplitArtPaths(defaults->Records(i).Art)) {
            const std::string name = IconFileName(image);
            if (name.empty() || fs::exists(iconsFolder / name, ec))
                continue;
            written += FetchIcon(archives, image, iconsFolder / name, scratch) ? 1 : 0;
        }
    }
    report.Send({kIconProgress, total, total});
    report.Send({kIconsWritten, written});
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
    std::error_code ec;
    const fs::path temp = fs::temp_directory_path(ec);
    if (ec)
        return {"foreign", 0, false, ec.message()};
    const TScratchFolder scratch(temp, "quillmark-import");
    if (scratch.Path().empty())
        return {"foreign", 0, false, ErrnoText(errno)};
    std::optional<TDefaultKeys> built;
    const TStepOutcome outcome = RunIsolated(
        [&](TStepReport& report) {
            report.Send(
                ToMessage(BuildInThisProcess(gameFolder, outputPath, fixFile, scratch.Path())));
        },
        [&](const TStepMessage& message) {
            if (message.size() == 3)
                built = FromMessage(message);
        });
    if (!outcome.Completed || !built)
        return {"foreign", 0, false,
                outcome.Completed ? std::string(kWhyNoResult) : outcome.Failure};
    return *built;
}

std::string BuildDefaultKeys(const fs::path& gameFolder, const fs::path& outputPath,
                             const fs::path& fixFile) {
    return BuildDefaultConfiguration(gameFolder, outputPath, fixFile).Language;
}

TIconsExtracted ExtractIcons(const fs::path& gameFolder, const fs::path& defaultsPath,
                             const fs::path& iconsFolder, const TProgress& progress) {
    if (FindGameFile(gameFolder, "war3.mpq").empty())
        return {};
    std::error_code ec;
    fs::create_directories(iconsFolder, ec);
    if (!fs::is_directory(iconsFolder, ec))
        return {};
    // A folder the icons cannot have gets none of them, as before.
    const TScratchFolder scratch(iconsFolder, ".extracting");
    if (scratch.Path().empty())
        return {};
    std::optional<int> written;
    const TStepOutcome outcome = RunIsolated(
        [&](TStepReport& report) {
            ExtractInThisProcess(gameFolder, defaultsPath, iconsFolder, scratch.Path(), report);
        },
        [&](const TStepMessage& message) {
            if (message.size() == 3 && message[0] == kIconProgress && progress)
                progress(static_cast<int>(message[1]), static_cast<int>(message[2]));
            else if (message.size() == 2 && message[0] == kIconsWritten)
                written = static_cast<int>(message[1]);
        });
    if (!outcome.Completed || !written)
        return {0, outcome.Completed ? std::string(kWhyNoResult) : outcome.Failure};
    return {*written, {}};
}

} // namespace qm
