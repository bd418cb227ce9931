// Subcommands on tooltip markup and button positions.

#include "app/TCli.h"
#include "config/uCfgManager.h"
#include "text/TextCodec.h"
#include "tooltips/TipManager.h"
#include "tooltips/TipRichEdit.h"

#include <QTextDocument>
#include <charconv>
#include <optional>
#include <ostream>

namespace qm {
namespace {

int Strip(TCliContext& ctx) {
    if (ctx.args.size() != 1)
        return kExitUsage;
    ctx.out << RemoveColorCodes(ctx.args[0]) << '\n';
    return kExitOk;
}

int AutoTip(TCliContext& ctx) {
    std::optional<std::string> hotkey, text;
    TTemplateColours colours;
    auto& a = ctx.args;
    for (size_t i = 0; i < a.size(); ++i) {
        const bool hasValue = i + 1 < a.size();
        if (a[i] == "--hotkey" && hasValue) {
            hotkey = a[++i];
            continue;
        }
        const int colour = TakeColourOption(a, i, colours);
        if (colour < 0)
            return kExitUsage;
        if (colour > 0)
            continue;
        if (text || a[i].starts_with("--"))
            return kExitUsage;
        text = a[i];
    }
    if (!hotkey || !text)
        return kExitUsage;
    const auto& c = colours.Colour;
    ctx.out << MakeAutoTip(*text, *hotkey, c[0], c[1], c[2]) << '\n';
    return kExitOk;
}

// Through the very conversions the tooltip editors use; a document needs no
// application object as long as nothing lays it out.
int RichTip(TCliContext& ctx) {
    if (ctx.args.size() != 1)
        return kExitUsage;
    if (!IsValidUtf8(ctx.args[0])) {
        ctx.err << "TEXT is not UTF-8\n";
        return kExitFailed;
    }
    QTextDocument document;
    TipToRichEdit(ctx.args[0], document);
    ctx.out << RichEditToTip(document) << '\n';
    return kExitOk;
}

int ButtonPos(TCliContext& ctx) {
    if (ctx.args.size() != 1)
        return kExitUsage;
    const TButtonPos pos = ParseButtonPos(ctx.args[0]);
    if (pos.Ok)
        ctx.out << pos.Col << ',' << pos.Row << '\n';
    else
        ctx.out << "error\n";
    return kExitOk;
}

} // namespace

std::vector<TCliCommand> MarkupCommands() {
    return {
        {"strip", "TEXT", "print TEXT without its colour codes", Strip},
        {"autotip", "--hotkey K [--tip-colour N] [--hotkey-colour N] [--brackets-colour N] TEXT",
         "rewrite a tooltip to name hotkey K in brackets; colours are decimal, red in the low "
         "byte (defaults 16777215, 52479, 16777215)",
         AutoTip},
        {"richtip", "TEXT",
         "print a tooltip as the tooltip editors store it: normal-form codes, \"|n\" line breaks",
         RichTip},
        {"buttonpos", "TEXT", "print a button position as \"col,row\", or \"error\"", ButtonPos},
    };
}

} // namespace qm
