// Subcommands on action tree files: rewriting them in place, and the hotkey
// clashes of a configuration over the tree's command cards.

#include "app/TCli.h"
#include "config/uCfgManager.h"
#include "config/uGridKeys.h"
#include "gamedata/HotkeyConflicts.h"
#include "gamedata/TreeModel.h"
#include "gamedata/TreeRewrite.h"
#include "tooltips/TipManager.h"

#include <algorithm>
#include <ostream>

namespace qm {
namespace {

int Report(TCliContext& ctx, bool done, const std::string& tree, const std::string& why) {
    if (done)
        return kExitOk;
    ctx.err << "quillmark-cli: cannot rewrite " << tree << ": " << why << '\n';
    return kExitFailed;
}

int ClearTree(TCliContext& ctx) {
    if (ctx.args.size() != 1)
        return kExitUsage;
    std::string why;
    return Report(ctx, ClearTVNames(ctx.args[0], &why), ctx.args[0], why);
}

// Defaults without a record would blank every caption of the tree.
int FillTree(TCliContext& ctx) {
    if (ctx.args.size() != 2)
        return kExitUsage;
    if (!ReadConfiguration(ctx, ctx.args[1]))
        return kExitFailed;
    std::string why;
    return Report(ctx, FillTVFromDefaults(ctx.args[0], ctx.args[1], &why), ctx.args[0], why);
}

// Says that the tree could not be read, and why.
void CannotReadTree(TCliContext& ctx, const std::string& path, const std::string& why) {
    ctx.err << "quillmark-cli: cannot read the tree " << path << ": "
            << (why.empty() ? "it holds no node" : why) << '\n';
}

int Conflicts(TCliContext& ctx) {
    const auto& a = ctx.args;
    if (a.size() != 2 && !(a.size() == 4 && a[2] == "--defaults"))
        return kExitUsage;
    std::string why;
    const auto tree = TTreeModel::LoadFromFile(a[0], &why);
    if (!tree || tree->Count() == 0) {
        CannotReadTree(ctx, a[0], why);
        return kExitCannotRead;
    }
    const auto config = ReadConfiguration(ctx, a[1]);
    const auto defaults = a.size() == 4 ? ReadConfiguration(ctx, a[3]) : nullptr;
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

// The tree the program itself ships: beside the executable in a build or an
// unpacked copy, under share/quillmark when installed.
std::filesystem::path ShippedTree() {
    std::error_code ec;
    const auto bin = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    for (const auto& data : {bin / "QMKData", bin / ".." / "share" / "quillmark" / "QMKData"}) {
        if (std::filesystem::exists(data / "TV_foreign.wrk", ec))
            return data / "TV_foreign.wrk";
    }
    return bin / "QMKData" / "TV_foreign.wrk";
}

struct TGridArgs {
    std::string In, Out, Tree, Defaults;
    TKeyGrid Keys{};
    TTemplateColours Colours;
};

std::optional<TGridArgs> ParseGridArgs(const std::vector<std::string>& a) {
    TGridArgs g;
    std::vector<std::string> files;
    bool keys = false;
    for (size_t i = 0; i < a.size(); ++i) {
        const bool hasValue = i + 1 < a.size();
        const int colour = TakeColourOption(a, i, g.Colours);
        if (colour < 0)
            return std::nullopt;
        if (colour > 0)
            continue;
        if (a[i] == "--keys" && hasValue) {
            const auto grid = ParseKeyGrid(a[++i]);
            if (!grid)
                return std::nullopt;
            g.Keys = *grid;
            keys = true;
        } else if (a[i] == "--tree" && hasValue) {
            g.Tree = a[++i];
        } else if (a[i] == "--defaults" && hasValue) {
            g.Defaults = a[++i];
        } else if (a[i].starts_with("--")) {
            return std::nullopt;
        } else {
            files.push_back(a[i]);
        }
    }
    if (!keys || files.size() != 2)
        return std::nullopt;
    g.In = files[0];
    g.Out = files[1];
    if (g.Tree.empty())
        g.Tree = ShippedTree().string();
    return g;
}

// The multi-editor's user values over every node of the tree, as "Ко всем".
int Grid(TCliContext& ctx) {
    const auto g = ParseGridArgs(ctx.args);
    if (!g)
        return kExitUsage;
    std::string why;
    const auto tree = TTreeModel::LoadFromFile(g->Tree, &why);
    if (!tree || tree->Count() == 0) {
        CannotReadTree(ctx, g->Tree, why);
        return kExitFailed;
    }
    const auto doc = ReadConfiguration(ctx, g->In);
    const auto defaults = g->Defaults.empty() ? nullptr : ReadConfiguration(ctx, g->Defaults);
    if (!doc || (!g->Defaults.empty() && !defaults))
        return kExitFailed;
    const auto templateTip = [&g](std::string_view tip, std::string_view key) {
        const auto& c = g->Colours.Colour;
        return MakeAutoTip(tip, key, c[0], c[1], c[2]);
    };
    const auto set = [](TBindRec& r, int field, std::string_view bytes) { r[field] = bytes; };
    int handled = 0;
    for (const TTreeNode& node : tree->Nodes()) {
        TBindRec* record = node.ID.empty() ? nullptr : doc->FindRecord(node.ID);
        const TBindRec* shown = record && defaults ? defaults->FindRecord(node.ID) : nullptr;
        if (record)
            handled += ApplyGridKeys(*record, g->Keys, templateTip, set, shown) ? 1 : 0;
    }
    if (!doc->SaveToFile(g->Out, true, &why))
        return CannotWrite(ctx, g->Out, why);
    ctx.out << handled << " records\n";
    return kExitOk;
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
        {"grid",
         "IN OUT --keys ROWS [--tree TREE] [--defaults DEFAULTS] [--tip-colour N] "
         "[--hotkey-colour N] [--brackets-colour N]",
         "lay hotkeys over every command card by button position: ROWS is QWER/ASDF/ZXCV-like "
         "(\".\" leaves a cell empty); each action of TREE (by default the program's own) in "
         "IN takes its cell's letter, its tooltips rebuilt in the colours given; positions, "
         "hotkeys and tooltips IN leaves empty are DEFAULTS' values; prints the count",
         Grid},
    };
}

} // namespace qm
