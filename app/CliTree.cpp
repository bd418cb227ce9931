// Subcommands on action tree files: rewriting them in place, and the hotkey
// clashes of a configuration over the tree's command cards.

#include "app/TCli.h"
#include "config/uCfgManager.h"
#include "gamedata/HotkeyConflicts.h"
#include "gamedata/TreeModel.h"
#include "gamedata/TreeRewrite.h"

#include <algorithm>
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

// Reads a configuration for `conflicts`; null, with the reason said, when it
// holds no section.
std::unique_ptr<TCfgManager> ReadConfig(TCliContext& ctx, const std::string& path) {
    auto doc = TCfgManager::CreateFromFile(path);
    if (!doc->FileName().empty())
        return doc;
    ctx.err << "quillmark-cli: no section could be read from " << path << '\n';
    return nullptr;
}

int Conflicts(TCliContext& ctx) {
    const auto& a = ctx.args;
    if (a.size() != 2 && !(a.size() == 4 && a[2] == "--defaults"))
        return kExitUsage;
    const auto tree = TTreeModel::LoadFromFile(a[0]);
    if (!tree || tree->Count() == 0) {
        ctx.err << "quillmark-cli: cannot read the tree " << a[0] << '\n';
        return kExitCannotRead;
    }
    const auto config = ReadConfig(ctx, a[1]);
    const auto defaults = a.size() == 4 ? ReadConfig(ctx, a[3]) : nullptr;
    if (!config || (a.size() == 4 && !defaults))
        return kExitCannotRead;
    std::vector<std::string> lines;
    for (const THotkeyClash& c : FindHotkeyClashes(*tree, *config, defaults.get()))
        lines.push_back(std::string(HotkeyKindName(c.Kind)) + '\t' + c.ID1 + '\t' + c.ID2 + '\t' +
                        c.Key);
    std::sort(lines.begin(), lines.end());
    for (const std::string& line : lines)
        ctx.out << line << '\n';
    return lines.empty() ? kExitOk : kExitFailed;
}

} // namespace

std::vector<TCliCommand> TreeCommands() {
    return {
        {"clear-tree", "TREE",
         "set the caption of every action line of the tree file TREE to \"?\"", ClearTree},
        {"fill-tree", "TREE DEFAULTS",
         "fill the captions and missing icon names of TREE from the configuration DEFAULTS",
         FillTree},
        {"conflicts", "TREE CONFIG [--defaults DEFAULTS]",
         "list the actions of CONFIG that share a command card of TREE and a hotkey, one line "
         "per pair and kind: kind, ID1, ID2, key (exit 1 when there is a clash, 3 when a file "
         "cannot be read)",
         Conflicts},
    };
}

} // namespace qm
