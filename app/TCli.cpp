#include "app/TCli.h"

#include "config/uCfgManager.h"

#include <charconv>
#include <ostream>

namespace qm {

std::unique_ptr<TCfgManager> ReadConfiguration(TCliContext& ctx, const std::string& path) {
    std::string why;
    auto doc = TCfgManager::CreateFromFile(path, &why);
    if (doc->FileName().empty()) {
        ctx.err << "quillmark-cli: no section could be read from " << path << ": " << why << '\n';
        return nullptr;
    }
    // Sections without a value are what random bytes give: nothing to work on.
    if (doc->Serialize(true).empty()) {
        ctx.err << "quillmark-cli: no record could be read from " << path
                << ": no section holds a value\n";
        return nullptr;
    }
    return doc;
}

int CannotWrite(TCliContext& ctx, const std::string& path, const std::string& why) {
    ctx.err << "quillmark-cli: cannot write " << path;
    if (!why.empty())
        ctx.err << ": " << why;
    ctx.err << '\n';
    return kExitCannotWrite;
}

int TakeColourOption(const std::vector<std::string>& args, size_t& i, TTemplateColours& colours) {
    static constexpr std::string_view kFlags[3] = {"--tip-colour", "--hotkey-colour",
                                                   "--brackets-colour"};
    for (int k = 0; k < 3; ++k) {
        if (args[i] != kFlags[k])
            continue;
        if (i + 1 >= args.size())
            return -1;
        const std::string& text = args[++i];
        std::uint32_t value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size() || text.empty() ||
            value > 0xFFFFFF)
            return -1;
        colours.Colour[k] = value;
        return 1;
    }
    return 0;
}

TCli::TCli() {
    for (auto group :
         {DocumentCommands(), MarkupCommands(), TreeCommands(), ImportCommands(), IconCommands()})
        commands_.insert(commands_.end(), group.begin(), group.end());
}

void TCli::PrintUsage(std::ostream& to) const {
    to << "usage: quillmark-cli COMMAND [ARGS]\n\ncommands:\n";
    for (const auto& c : commands_)
        to << "  " << c.name << ' ' << c.synopsis << "\n      " << c.summary << '\n';
    to << "\nexit codes: 0 done, 1 failed (or \"different\"), 2 usage error, 3 cannot write\n";
}

int TCli::Run(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) const {
    if (!argv.empty()) {
        for (const auto& c : commands_) {
            if (argv.front() != c.name)
                continue;
            TCliContext ctx{{argv.begin() + 1, argv.end()}, out, err};
            const int code = c.run(ctx);
            if (code == kExitUsage) {
                err << "usage: quillmark-cli " << c.name << ' ' << c.synopsis << '\n';
                PrintUsage(err);
            }
            return code;
        }
        err << "unknown command: " << argv.front() << '\n';
    }
    PrintUsage(err);
    return kExitUsage;
}

} // namespace qm
