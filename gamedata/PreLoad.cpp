#include "gamedata/PreLoad.h"

#include "config/uAtomicFile.h"
#include "config/uCfgManager.h"
#include "config/uFileError.h"
#include "config/uFileOffsets.h"
#include "gamedata/CascStorage.h"
#include "gamedata/DdsToJpeg.h"
#include "gamedata/IconNames.h"
#include "gamedata/IsolatedStep.h"
#include "gamedata/MPQMngr.h"
#include "gamedata/StorageTables.h"
#include "text/TextCodec.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <system_error>
#include <variant>

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
// for their byte-order marks, and returns how many arrived; nothing, with
// the reason in `why`, when the joined file could not be written.
template <class TFiles>
std::optional<int> JoinTables(TFiles& archive, const std::vector<std::string>& tables,
                              const fs::path& joined, std::string& why) {
    std::FILE* out = CreateNewFile(joined, "w+b");
    if (!out) {
        why = ErrnoText(errno);
        return std::nullopt;
    }
    int count = 0;
    for (const auto& table : tables) {
        const long long start = FilePosition(out);
        if (archive.ExtractToHandle(table, out, kMaxTableSize, &why)) {
            ++count;
            BlankByteOrderMark(out, start);
        } else if (!why.empty()) {
            break; // a full disk: the rest would fail as well
        }
    }
    if (std::fclose(out) != 0 && why.empty())
        why = ErrnoText(errno);
    if (!why.empty())
        return std::nullopt;
    return count;
}

// Merges the archive's (or the storage's) tables of one list into the
// document through one joined file, read only when this archive wrote it;
// false, with the reason in `why`, when that file could not be written.
template <class TFiles>
bool MergeTables(TFiles& archive, const std::vector<std::string>& tables, const fs::path& joined,
                 TCfgManager& doc, std::string& why) {
    const std::optional<int> joinedTables = JoinTables(archive, tables, joined, why);
    if (joinedTables.value_or(0) > 0) {
        doc.LoadFromFile(joined, true);
        doc.Sort();
    }
    std::error_code ec;
    fs::remove(joined, ec); // the next archive's tables join into a new file
    return joinedTables.has_value();
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

enum class TFetch { Fetched, Unavailable, Unwritten };

// What a button image was found as: the classic BLP, or the newer game's
// HD DDS.
enum class TImageFormat { Missing, Blp, Dds };
// Appends the image the tables name to `out` from the first place that holds
// it; Missing, writing nothing, when none does. `why` is set only when `out`
// refused the bytes.
using TImageReader =
    std::function<TImageFormat(const std::string& image, std::FILE* out, std::string& why)>;

// Fetches one image into `icon` through the scratch files, so that a failed
// attempt leaves nothing under the icon's name. An image that no place gives
// is Unavailable; a file that could not be written (the reason in `why`)
// fails the icon whatever the game holds.
TFetch FetchIcon(const TImageReader& read, const std::string& image, const fs::path& icon,
                 const fs::path& scratchFolder, std::string& why) {
    TIconScratch scratch(scratchFolder);
    if (!scratch.File()) {
        why = ErrnoText(errno);
        return TFetch::Unwritten;
    }
    const TImageFormat format = read(image, scratch.File(), why);
    if (!scratch.Close() && why.empty())
        why = ErrnoText(errno);
    if (!why.empty())
        return TFetch::Unwritten;
    if (format == TImageFormat::Missing)
        return TFetch::Unavailable;
    const bool converted = format == TImageFormat::Blp
                               ? BlpToJpeg(scratch.Extracted(), scratch.Converted(), &why)
                               : DdsToJpeg(scratch.Extracted(), scratch.Converted(), &why);
    if (!why.empty())
        return TFetch::Unwritten;
    // A BLP that is not JPEG-compressed stays as extracted, under the icon's
    // name; a DDS that cannot be decoded gives no icon.
    if (!converted && format == TImageFormat::Dds)
        return TFetch::Unavailable;
    std::error_code ec;
    fs::rename(converted ? scratch.Converted() : scratch.Extracted(), icon, ec);
    if (ec) {
        why = ec.message();
        return TFetch::Unwritten;
    }
    return TFetch::Fetched;
}

// The archives of `names`, in that order, null where the game folder has
// none; the place in `names` of the first that cannot be opened.
using TArchives = std::vector<std::unique_ptr<TMPQManager>>;
std::variant<TArchives, size_t> OpenArchives(const fs::path& gameFolder,
                                             std::span<const std::string_view> names) {
    TArchives archives(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        const fs::path path = FindGameFile(gameFolder, names[i]);
        if (path.empty())
            continue;
        archives[i] = std::make_unique<TMPQManager>(path);
        if (!archives[i]->IsOpen())
            return i;
    }
    return archives;
}

// The archive of `names` at `index`, as a message from the child names it.
TImportProblem UnusableArchive(const fs::path& gameFolder, std::span<const std::string_view> names,
                               std::int64_t index) {
    const auto at = static_cast<size_t>(
        std::clamp<std::int64_t>(index, 0, static_cast<std::int64_t>(names.size()) - 1));
    return {TImportProblem::UnusableArchive, FindGameFile(gameFolder, names[at]),
            std::string(kWhyNotAnArchive)};
}

// The build's archives in the order they are read.
constexpr auto kTableArchiveNames = [] {
    std::array<std::string_view, kTableArchives.size()> names{};
    for (size_t i = 0; i < names.size(); ++i)
        names[i] = kTableArchives[i].Name;
    return names;
}();

// Messages of the build: its result (records, written, 1 for "rus"); an
// archive it cannot use (its place in kTableArchives), or a storage it
// cannot use (why, as text); a file it could not write (the output or the
// scratch folder), with the reason as text.
enum TBuildMessage : std::int64_t {
    kBuilt,
    kBuildArchiveUnusable,
    kBuildUnwritten,
    kBuildStorageUnusable
};
enum TBuildFile : std::int64_t { kOutputFile, kScratchFile };

// The tables of the game's archives merged into the two documents; false
// when it reported why it could not. An archive that cannot be opened stops
// it before anything is written: defaults without that archive's tables
// would pass for the game's.
bool MergeArchives(const fs::path& gameFolder, const fs::path& scratch, TCfgManager& strings,
                   TCfgManager& funcs, TStepReport& report) {
    auto opened = OpenArchives(gameFolder, kTableArchiveNames);
    if (const size_t* unusable = std::get_if<size_t>(&opened)) {
        report.Send({kBuildArchiveUnusable, static_cast<std::int64_t>(*unusable)});
        return false;
    }
    const TArchives& archives = std::get<TArchives>(opened);
    std::string why;
    for (size_t i = 0; i < archives.size(); ++i) {
        if (!archives[i])
            continue;
        TMPQManager& archive = *archives[i];
        if (!MergeTables(archive, StringsTables(), scratch / "DefStrings.tmp", strings, why) ||
            (kTableArchives[i].WithFunctions &&
             !MergeTables(archive, FunctionTables(), scratch / "DefFuncs.tmp", funcs, why))) {
            report.Send(WithText({kBuildUnwritten, kScratchFile}, why));
            return false;
        }
    }
    return true;
}

// The same from the newer game's storage: its strings are those of the
// installation's text locale.
bool MergeStorage(const fs::path& gameFolder, const fs::path& scratch, TCfgManager& strings,
                  TCfgManager& funcs, TStepReport& report) {
    TCascStorage storage(gameFolder);
    if (!storage.IsOpen()) {
        report.Send(WithText({kBuildStorageUnusable}, storage.Failure()));
        return false;
    }
    std::string why;
    if (!MergeTables(storage, StorageStringsTables(storage.TextLocale()),
                     scratch / "DefStrings.tmp", strings, why) ||
        !MergeTables(storage, StorageFunctionTables(), scratch / "DefFuncs.tmp", funcs, why)) {
        report.Send(WithText({kBuildUnwritten, kScratchFile}, why));
        return false;
    }
    return true;
}

// The build itself, with the joined tables in `scratch`.
void BuildInThisProcess(const fs::path& gameFolder, const fs::path& outputPath,
                        const fs::path& fixFile, const fs::path& scratch, TStepReport& report) {
    const auto strings = TCfgManager::Create();
    const auto funcs = TCfgManager::Create();
    const bool merged = HoldsCascStorage(gameFolder)
                            ? MergeStorage(gameFolder, scratch, *strings, *funcs, report)
                            : MergeArchives(gameFolder, scratch, *strings, *funcs, report);
    if (!merged)
        return;
    std::error_code ec;
    if (!fixFile.empty() && fs::is_regular_file(fixFile, ec)) {
        funcs->LoadFromFile(fixFile, true);
        funcs->Sort();
    }
    strings->Overlay(*funcs);
    std::string why;
    const bool written = strings->SaveToFile(outputPath, true, &why);
    if (!written)
        report.Send(WithText({kBuildUnwritten, kOutputFile}, why));
    report.Send({kBuilt, strings->Count(), written ? 1 : 0, LanguageOf(*strings) == "rus" ? 1 : 0});
}

// A child that ended well without its result: nothing of ours does that.
constexpr std::string_view kWhyNoResult = "no result";

// Messages of the icon extraction: progress (done, total); the count
// written; an archive it cannot use (its place in kImageArchives); an icon
// it could not write (its name as text), then the reason (as text); a
// storage it cannot use (why, as text).
enum TIconMessage : std::int64_t {
    kIconProgress,
    kIconsWritten,
    kIconArchiveUnusable,
    kIconUnwritten,
    kIconUnwrittenWhy,
    kIconStorageUnusable
};

// Every icon the defaults name, read through `read`, reporting progress and
// the count. It stops at the first icon that cannot be written: on a full
// disk every later one fails too.
void ExtractEach(const TImageReader& read, const TCfgManager& defaults, const fs::path& iconsFolder,
                 const fs::path& scratch, TStepReport& report) {
    int written = 0;
    const int total = defaults.Count();
    int shownPercent = -1;
    std::error_code ec;
    for (int i = 0; i < total; ++i) {
        // Reported per percent: a repaint per record would cost more than the work.
        if (const int percent = i * 100 / total; percent != shownPercent) {
            shownPercent = percent;
            report.Send({kIconProgress, i, total});
        }
        for (const auto& image : SplitArtPaths(defaults.Records(i).Art)) {
            const std::string name = IconFileName(image);
            if (name.empty() || fs::exists(iconsFolder / name, ec))
                continue;
            std::string why;
            const TFetch fetched = FetchIcon(read, image, iconsFolder / name, scratch, why);
            if (fetched == TFetch::Unwritten) {
                report.Send(WithText({kIconUnwritten}, name));
                report.Send(WithText({kIconUnwrittenWhy}, why));
                report.Send({kIconsWritten, written});
                return;
            }
            written += fetched == TFetch::Fetched ? 1 : 0;
        }
    }
    report.Send({kIconProgress, total, total});
    report.Send({kIconsWritten, written});
}

// The extraction itself, from the game's archives (tried in turn) or from
// the newer game's storage.
void ExtractInThisProcess(const fs::path& gameFolder, const TCfgManager& defaults,
                          const fs::path& iconsFolder, const fs::path& scratch,
                          TStepReport& report) {
    if (HoldsCascStorage(gameFolder)) {
        TCascStorage storage(gameFolder);
        if (!storage.IsOpen()) {
            report.Send(WithText({kIconStorageUnusable}, storage.Failure()));
            return;
        }
        // The classic image where the storage has it, else the HD one.
        const TImageReader read = [&](const std::string& image, std::FILE* out, std::string& why) {
            const std::vector<std::string> paths = StorageImagePaths(image);
            if (storage.ExtractToHandle(paths[0], out, kMaxImageSize, &why))
                return TImageFormat::Blp;
            if (why.empty() && storage.ExtractToHandle(paths[1], out, kMaxImageSize, &why))
                return TImageFormat::Dds;
            return TImageFormat::Missing;
        };
        ExtractEach(read, defaults, iconsFolder, scratch, report);
        return;
    }
    const auto opened = OpenArchives(gameFolder, kImageArchives);
    if (const size_t* unusable = std::get_if<size_t>(&opened)) {
        report.Send({kIconArchiveUnusable, static_cast<std::int64_t>(*unusable)});
        return;
    }
    const TArchives& archives = std::get<TArchives>(opened);
    const TImageReader read = [&](const std::string& image, std::FILE* out, std::string& why) {
        for (const auto& archive : archives) {
            if (archive && archive->ExtractToHandle(image, out, kMaxImageSize, &why))
                return TImageFormat::Blp;
            if (!why.empty())
                break;
        }
        return TImageFormat::Missing;
    };
    ExtractEach(read, defaults, iconsFolder, scratch, report);
}

// A build that wrote nothing, and why.
TDefaultKeys NotBuilt(std::string failure, TImportProblem problem = {}) {
    TDefaultKeys keys;
    keys.Language = "foreign";
    keys.Failure = std::move(failure);
    keys.Problem = std::move(problem);
    return keys;
}

// An extraction that did not get to its work, and why.
TIconsExtracted NoIcons(std::string failure, TImportProblem problem = {}) {
    TIconsExtracted icons;
    icons.Failure = std::move(failure);
    icons.Problem = std::move(problem);
    return icons;
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

bool HoldsGame(const fs::path& gameFolder) {
    return !FindGameFile(gameFolder, "war3.mpq").empty() || HoldsCascStorage(gameFolder);
}

TDefaultKeys BuildDefaultConfiguration(const fs::path& gameFolder, const fs::path& outputPath,
                                       const fs::path& fixFile) {
    std::error_code ec;
    const fs::path temp = fs::temp_directory_path(ec);
    if (ec)
        return NotBuilt(ec.message());
    const TScratchFolder scratch(temp, "quillmark-import");
    if (scratch.Path().empty())
        return NotBuilt(ErrnoText(errno));
    std::optional<TDefaultKeys> built;
    TImportProblem problem;
    const TStepOutcome outcome = RunIsolated(
        [&](TStepReport& report) {
            BuildInThisProcess(gameFolder, outputPath, fixFile, scratch.Path(), report);
        },
        [&](const TStepMessage& message) {
            if (message.size() == 4 && message[0] == kBuilt) {
                built = NotBuilt({});
                built->Language = message[3] ? "rus" : "foreign";
                built->Records = static_cast<int>(message[1]);
                built->Written = message[2] != 0;
            } else if (message.size() == 2 && message[0] == kBuildArchiveUnusable)
                problem = UnusableArchive(gameFolder, kTableArchiveNames, message[1]);
            else if (message.size() > 1 && message[0] == kBuildStorageUnusable)
                problem = {TImportProblem::UnusableArchive, gameFolder / ".build.info",
                           TextAfter(message, 1)};
            else if (message.size() > 2 && message[0] == kBuildUnwritten)
                problem = {TImportProblem::Unwritten,
                           message[1] == kOutputFile ? outputPath : scratch.Path(),
                           TextAfter(message, 2)};
        });
    if (!outcome.Completed)
        return NotBuilt(outcome.Failure);
    if (!built && problem.Kind == TImportProblem::None)
        return NotBuilt(std::string(kWhyNoResult));
    TDefaultKeys result = built.value_or(NotBuilt({}));
    result.Problem = problem;
    return result;
}

std::string BuildDefaultKeys(const fs::path& gameFolder, const fs::path& outputPath,
                             const fs::path& fixFile) {
    return BuildDefaultConfiguration(gameFolder, outputPath, fixFile).Language;
}

TIconsExtracted ExtractIcons(const fs::path& gameFolder, const fs::path& defaultsPath,
                             const fs::path& iconsFolder, const TProgress& progress) {
    if (!HoldsGame(gameFolder))
        return NoIcons({},
                       {TImportProblem::Unreadable, gameFolder / "war3.mpq", ErrnoText(ENOENT)});
    // Read here, by our own reader: only the archives need the child.
    std::string why;
    const auto defaults = TCfgManager::CreateFromFile(defaultsPath, &why);
    if (defaults->FileName().empty())
        return NoIcons({}, {TImportProblem::Unreadable, defaultsPath, why});
    std::error_code made;
    fs::create_directories(iconsFolder, made);
    std::error_code ec;
    if (!fs::is_directory(iconsFolder, ec))
        return NoIcons({}, {TImportProblem::Unwritten, iconsFolder,
                            made ? made.message() : ErrnoText(ENOTDIR)});
    const TScratchFolder scratch(iconsFolder, ".extracting");
    if (scratch.Path().empty())
        return NoIcons({}, {TImportProblem::Unwritten, iconsFolder, ErrnoText(errno)});
    std::optional<int> written;
    TImportProblem problem;
    const TStepOutcome outcome = RunIsolated(
        [&](TStepReport& report) {
            ExtractInThisProcess(gameFolder, *defaults, iconsFolder, scratch.Path(), report);
        },
        [&](const TStepMessage& message) {
            if (message.size() == 3 && message[0] == kIconProgress && progress)
                progress(static_cast<int>(message[1]), static_cast<int>(message[2]));
            else if (message.size() == 2 && message[0] == kIconsWritten)
                written = static_cast<int>(message[1]);
            else if (message.size() == 2 && message[0] == kIconArchiveUnusable)
                problem = UnusableArchive(gameFolder, kImageArchives, message[1]);
            else if (message.size() > 1 && message[0] == kIconStorageUnusable)
                problem = {TImportProblem::UnusableArchive, gameFolder / ".build.info",
                           TextAfter(message, 1)};
            else if (message.size() > 1 && message[0] == kIconUnwritten)
                problem = {TImportProblem::Unwritten, iconsFolder / TextAfter(message, 1), {}};
            else if (message.size() > 1 && message[0] == kIconUnwrittenWhy)
                problem.Why = TextAfter(message, 1);
        });
    if (!outcome.Completed)
        return NoIcons(outcome.Failure);
    if (!written && problem.Kind == TImportProblem::None)
        return NoIcons(std::string(kWhyNoResult));
    TIconsExtracted icons = NoIcons({}, problem);
    icons.Written = written.value_or(0);
    return icons;
}

} // namespace qm
