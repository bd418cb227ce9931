// Subcommands that import from the game's archives.

#include "app/TCli.h"
#include "config/uAtomicFile.h"
#include "config/uCfgManager.h"
#include "config/uFileError.h"
#include "gamedata/IsolatedStep.h"
#include "gamedata/MPQMngr.h"
#include "gamedata/PreLoad.h"

#include <optional>
#include <ostream>
#include <system_error>

namespace qm {
namespace {

namespace fs = std::filesystem;

// What the child that reads the archive found: whether it opened, and
// whether the entry arrived whole.
struct TEntryRead {
    bool Opened = false;
    bool Extracted = false;
};

// The archive is read apart from this process, into the temporary file
// opened here: a crash in the reading leaves only that file, which goes.
std::optional<TEntryRead> ReadEntry(const std::string& archive, const std::string& entry,
                                    std::FILE* out, std::string& why) {
    std::optional<TEntryRead> read;
    const TStepOutcome outcome = RunIsolated(
        [&](TStepReport& report) {
            TMPQManager mpq(archive);
            const bool extracted = mpq.ExtractToHandle(entry, out);
            report.Send({mpq.IsOpen() ? 1 : 0, extracted ? 1 : 0});
        },
        [&](const TStepMessage& message) {
            if (message.size() == 2)
                read = TEntryRead{message[0] != 0, message[1] != 0};
        });
    why = outcome.Failure;
    return outcome.Completed ? read : std::nullopt;
}

// The reading of the archives at `path` (an archive, or a game folder) crashed.
void SayUnreadable(TCliContext& ctx, const std::string& path, const std::string& why) {
    ctx.err << "quillmark-cli: the archive reading stopped on " << path << ": " << why << '\n';
}

// What kept an import step from its work; the exit code for it.
int SayProblem(TCliContext& ctx, const TImportProblem& problem) {
    if (problem.Kind == TImportProblem::Unwritten)
        return CannotWrite(ctx, problem.File.string(), problem.Why);
    ctx.err << "quillmark-cli: cannot use " << problem.File.string() << ": " << problem.Why << '\n';
    return kExitFailed;
}

// Why the archive at `path` is no file to open, before it is tried; empty
// when it is a regular file.
std::string NotAFile(const std::string& path) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec)
        return ec.message();
    if (fs::is_directory(status))
        return std::make_error_code(std::errc::is_a_directory).message();
    return fs::is_regular_file(status) ? std::string() : std::string(kWhyNotRegularFile);
}

// The output is replaced only once the entry arrived whole, so a failed
// extraction leaves whatever file was there before.
int Extract(TCliContext& ctx) {
    const auto& a = ctx.args;
    if (a.size() != 3)
        return kExitUsage;
    if (const std::string why = NotAFile(a[0]); !why.empty()) {
        ctx.err << "quillmark-cli: cannot read " << a[0] << ": " << why << '\n';
        return kExitFailed;
    }
    TAtomicFile out(a[2]);
    const bool writable = out.Open();
    std::string why;
    const std::optional<TEntryRead> read = ReadEntry(a[0], a[1], out.Handle(), why);
    if (!read) {
        SayUnreadable(ctx, a[0], why);
        return kExitFailed;
    }
    if (!read->Opened) {
        ctx.err << "quillmark-cli: cannot read " << a[0] << ": " << kWhyNotAnArchive << '\n';
        return kExitFailed;
    }
    if (!writable)
        return CannotWrite(ctx, a[2], out.Error());
    if (!read->Extracted) {
        ctx.err << "quillmark-cli: " << a[1] << " could not be extracted from " << a[0]
                << ": it is missing, empty or damaged, or could not be written\n";
        return kExitFailed;
    }
    if (!out.Commit())
        return CannotWrite(ctx, a[2], out.Error());
    return kExitOk;
}

int BuildDefaults(TCliContext& ctx) {
    const auto& a = ctx.args;
    const bool withFix = a.size() == 4 && a[2] == "--fix";
    if (a.size() != 2 && !withFix)
        return kExitUsage;
    std::error_code ec;
    if (withFix && !fs::is_regular_file(a[3], ec)) {
        ctx.err << "quillmark-cli: no correction file " << a[3] << ": "
                << (ec ? ec.message() : std::string(kWhyNotRegularFile)) << '\n';
        return kExitFailed;
    }
    const TDefaultKeys built = BuildDefaultConfiguration(a[0], a[1], withFix ? a[3] : "");
    if (!built.Failure.empty()) {
        SayUnreadable(ctx, a[0], built.Failure);
        return kExitFailed;
    }
    if (built.Problem.Kind == TImportProblem::UnusableArchive)
        return SayProblem(ctx, built.Problem);
    if (built.Records == 0) {
        ctx.err << "quillmark-cli: no game data table could be read from " << a[0]
                << ": it holds no archive of the game, or none with the tables\n";
        return kExitFailed;
    }
    if (!built.Written)
        return SayProblem(ctx, built.Problem);
    ctx.out << built.Language << '\n';
    return kExitOk;
}

int ExtractIconsCommand(TCliContext& ctx) {
    const auto& a = ctx.args;
    if (a.size() != 3)
        return kExitUsage;
    if (!HoldsGame(a[0])) {
        ctx.err << "quillmark-cli: no game (war3.mpq or .build.info) in " << a[0] << ": "
                << std::make_error_code(std::errc::no_such_file_or_directory).message() << '\n';
        return kExitFailed;
    }
    if (!ReadConfiguration(ctx, a[1]))
        return kExitFailed;
    const TIconsExtracted icons = ExtractIcons(a[0], a[1], a[2]);
    if (!icons.Failure.empty()) {
        SayUnreadable(ctx, a[0], icons.Failure);
        return kExitFailed;
    }
    if (icons.Problem.Kind != TImportProblem::None)
        return SayProblem(ctx, icons.Problem);
    ctx.out << icons.Written << '\n';
    return kExitOk;
}

} // namespace

std::vector<TCliCommand> ImportCommands() {
    return {
        {"extract", "ARCHIVE ENTRY OUT",
         "copy the archive entry ENTRY (named with backslashes) to OUT; exit 1 when it is "
         "missing or empty",
         Extract},
        {"build-defaults", "GAMEFOLDER OUT [--fix FILE]",
         "build the default configuration from the game's archives or CASC storage (and the "
         "correction file), "
         "write OUT, print the language (\"rus\" or \"foreign\")",
         BuildDefaults},
        {"extract-icons", "GAMEFOLDER DEFAULTS ICONSDIR",
         "extract the button images DEFAULTS names into ICONSDIR as JPEG icons, print how many "
         "were written",
         ExtractIconsCommand},
    };
}

} // namespace qm
