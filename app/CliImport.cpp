// Subcommands that import from the game's archives.

#include "app/TCli.h"
#include "config/uAtomicFile.h"
#include "config/uCfgManager.h"
#include "gamedata/MPQMngr.h"
#include "gamedata/PreLoad.h"

#include <ostream>

namespace qm {
namespace {

namespace fs = std::filesystem;

// The output is replaced only once the entry arrived whole, so a failed
// extraction leaves whatever file was there before.
int Extract(TCliContext& ctx) {
    const auto& a = ctx.args;
    if (a.size() != 3)
        return kExitUsage;
    TMPQManager archive(a[0]);
    if (!archive.IsOpen()) {
        ctx.err << "quillmark-cli: " << a[0] << " is not a readable archive\n";
        return kExitFailed;
    }
    TAtomicFile out(a[2]);
    if (!out.Open()) {
        ctx.err << "quillmark-cli: cannot write " << a[2] << '\n';
        return kExitCannotWrite;
    }
    if (!archive.ExtractToHandle(a[1], out.Handle())) {
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
    ctx.out << ExtractIcons(a[0], a[1], a[2]) << '\n';
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
