// Subcommands on configuration documents.

#include "app/TCli.h"
#include "config/uCfgManager.h"

#include <ostream>

namespace qm {
namespace {

int Save(TCliContext& ctx, const TCfgManager& doc, const std::string& path, bool withData) {
    std::string why;
    return doc.SaveToFile(path, withData, &why) ? kExitOk : CannotWrite(ctx, path, why);
}

int Normalize(TCliContext& ctx) {
    auto& a = ctx.args;
    const bool withData = a.size() == 3 && a[2] == "--with-data";
    if (a.size() != 2 && !withData)
        return kExitUsage;
    const auto doc = ReadConfiguration(ctx, a[0]);
    return doc ? Save(ctx, *doc, a[1], withData) : kExitFailed;
}

int Merge(TCliContext& ctx) {
    auto& a = ctx.args;
    if (a.size() < 2)
        return kExitUsage;
    auto doc = TCfgManager::Create();
    for (size_t i = 1; i < a.size(); ++i) {
        // Each input is judged alone first, so that every one of them counts.
        std::string why;
        if (!ReadConfiguration(ctx, a[i]))
            return kExitFailed;
        if (doc->LoadFromFile(a[i], true, &why) <= 0) {
            ctx.err << "quillmark-cli: no section could be read from " << a[i] << ": " << why
                    << '\n';
            return kExitFailed;
        }
    }
    doc->Sort();
    return Save(ctx, *doc, a[0], true);
}

int Overlay(TCliContext& ctx) {
    auto& a = ctx.args;
    if (a.size() != 3)
        return kExitUsage;
    const auto base = ReadConfiguration(ctx, a[0]);
    const auto top = base ? ReadConfiguration(ctx, a[1]) : nullptr;
    if (!top)
        return kExitFailed;
    base->Overlay(*top);
    return Save(ctx, *base, a[2], true);
}

int Same(TCliContext& ctx) {
    auto& a = ctx.args;
    if (a.size() != 2)
        return kExitUsage;
    const auto first = ReadConfiguration(ctx, a[0]);
    const auto second = first ? ReadConfiguration(ctx, a[1]) : nullptr;
    if (!second)
        return kExitFailed;
    const bool same = first->SameAs(*second);
    ctx.out << (same ? "same" : "different") << '\n';
    return same ? kExitOk : kExitFailed;
}

} // namespace

std::vector<TCliCommand> DocumentCommands() {
    return {
        {"normalize", "IN OUT [--with-data]",
         "read IN and write it in the program's own layout (with the data fields when asked)",
         Normalize},
        {"merge", "OUT IN...",
         "merge the INs in order (later non-empty values win), sort, write OUT with data fields",
         Merge},
        {"overlay", "BASE TOP OUT",
         "lay TOP's non-empty values over BASE's records, write OUT with data fields", Overlay},
        {"same", "A B", "print \"same\" (exit 0) or \"different\" (exit 1)", Same},
    };
}

} // namespace qm
