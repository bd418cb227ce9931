// Subcommands that rewrite action tree files in place.

#include "app/TCli.h"
#include "gamedata/TreeRewrite.h"

#include <ostream>

namespace qm {
namespace {

int Report(TCliContext& ctx, bool done, const std::string& tree) {
    if (done)
        return kExitOk;
    ctx.err << "quillmark-cli: cannot rewrite " << tree << '\n';
    return kExitFailed;
}

int ClearTree(TCliContext& ctx) {
    if (ctx.args.size() != 1)
        return kExitUsage;
    return Report(ctx, ClearTVNames(ctx.args[0]), ctx.args[0]);
}

int FillTree(TCliContext& ctx) {
    if (ctx.args.size() != 2)
        return kExitUsage;
    return Report(ctx, FillTVFromDefaults(ctx.args[0], ctx.args[1]), ctx.args[0]);
}

} // namespace

std::vector<TCliCommand> TreeCommands() {
    return {
        {"clear-tree", "TREE",
         "set the caption of every action line of the tree file TREE to \"?\"", ClearTree},
        {"fill-tree", "TREE DEFAULTS",
         "fill the captions and missing icon names of TREE from the configuration DEFAULTS",
         FillTree},
    };
}

} // namespace qm
