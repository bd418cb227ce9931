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

std::optional<TColor> ParseColour(const std::string& text) {
    TColor value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || value > 0xFFFFFF)
        return std::nullopt;
    return value;
}

int Strip(TCliContext& ctx) {
    if (ctx.args.size() != 1)
        return kExitUsage;
    ctx.out << RemoveColorCodes(ctx.args[0]) << '\n';
    return kExitOk;
}

int AutoTip(TCliContext& ctx) {
    std::optional<std::string> hotkey, text;
    TColor colours[3] = {kWhite, 0xCCFF /* gold, red in the low byte */, kWhite};
    static constexpr std::string_view kColourFlags[3] = {"--tip-colour", "--hotkey-colour",
                                                         "--brackets-colour"};
    auto& a = ctx.args;
    for (size_t i = 0; i < a.size(); ++i) {
        const bool hasValue = i + 1 < a.size();
        if (a[i] == "--hotkey" && hasValue) {
            hotkey = a[++i];
            continue;
        }
        bool isColour = false;
        for (int k = 0; k < 3; ++k) {
            if (a[i] != kColourFlags[k])
                continue;
            const auto value = hasValue ? ParseColour(a[++i]) : std::nullopt;
            if (!value)
                return kExitUsage;
            colours[k] = *value;
            isColour = true;
        }
        if (isColour)
            continue;
        if (text || a[i].starts_with("--"))
            return kExitUsage;
        text = a[i];
    }
    if (!hotkey || !text)
        return kExitUsage;
    ctx.out << MakeAutoTip(*text, *hotkey, colours[0], colours[1], colours[2]) << '\n';
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
