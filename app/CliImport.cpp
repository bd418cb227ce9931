// Subcommands that import from the game's archives.

#include "app/TCli.h"
#include "config/uAtomicFile.h"
#include "config/uCfgManager.h"
#include "gamedata/IsolatedStep.h"
#include "gamedata/MPQMngr.h"
#include "gamedata/PreLoad.h"

#include <optional>
#include <ostream>

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

// The output is replaced only once the entry arrived whole, so a failed
// extraction leaves whatever file was there before.
int Extract(TCliContext& ctx) {
    const auto& a = ctx.args;
    if (a.size() != 3)
        return kExitUsage;
    TAtomicFile out(a[2]);
    const bool writable = out.Open();
    std::string why;
    const std::optional<TEntryRead> read = ReadEntry(a[0], a[1], out.Handle(), why);
    if (!read) {
        SayUnreadable(ctx, a[0], why);
        return kExitFailed;
    }
    if (!read->Opened) {
        ctx.err << "quillmark-cli: " << a[0] << " is not a readable archive\n";
        return kExitFailed;
    }
    if (!writable) {
        ctx.err << "quillmark-cli: cannot write " << a[2] << '\n';
        return kExitCannotWrite;
    }
    if (!read->Extracted) {
        ctx.err << "quillmark-cli: " << a[1] << " could not be extracted from " << a[0] << '\n';
        return kExitFailed;
    }
    if (!out.Commit()) {
        ctx.err << "quillmark-cli: cannot write " << a[2] << '\n';
        return kExitCannotWrite;
    }
    return kExitOk;
}

int BuildDefaults(TCliContext& ctx) {
    const auto& a = ctx.args;
    const bool withFix = a.size() == 4 && a[2] == "--fix";
    if (a.size() != 2 && !withFix)
        return kExitUsage;
    std::error_code ec;
    if (withFix && !fs::is_regular_file(a[3], ec)) {
        ctx.err << "quillmark-cli: no correction file " << a[3] << '\n';
        return kExitFailed;
    }
    const TDefaultKeys built = BuildDefaultConfiguration(a[0], a[1], withFix ? a[3] : "");
    if (!built.Failure.empty()) {
        SayUnreadable(ctx, a[0], built.Failure);
        return kExitFailed;
    }
    if (built.Records == 0) {
        ctx.err << "quillmark-cli: no game data table could be read from " << a[0] << '\n';
        return kExitFailed;
    }
    if (!built.Written) {
        ctx.err << "quillmark-cli: cannot write " << a[1] << '\n';
        return kExitCannotWrite;
    }
    ctx.out << built.Language << '\n';
    return kExitOk;
}

int ExtractIconsCommand(TCliContext& ctx) {
    const auto& a = ctx.args;
    if (a.size() != 3)
        return kExitUsage;
    if (FindGameFile(a[0], "war3.mpq").empty()) {
        ctx.err << "quillmark-cli: no war3.mpq in " << a[0] << '\n';
        return kExitFailed;
    }
    if (TCfgManager::CreateFromFile(a[1])->FileName().empty()) {
        ctx.err << "quillmark-cli: no section could be read from " << a[1] << '\n';
        return kExitFailed;
    }
    const TIconsExtracted icons = ExtractIcons(a[0], a[1], a[2]);
    if (!icons.Failure.empty()) {
        SayUnreadable(ctx, a[0], icons.Failure);
        return kExitFailed;
    }
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
         "build the default configuration from the game's archives (and the correction file), "
         "write OUT, print the language (\"rus\" or \"foreign\")",
         BuildDefaults},
        {"extract-icons", "GAMEFOLDER DEFAULTS ICONSDIR",
         "extract the button images DEFAULTS names into ICONSDIR as JPEG icons, print how many "
         "were written",
         ExtractIconsCommand},
    };
}

} // namespace qm
