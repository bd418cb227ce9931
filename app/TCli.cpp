#include "app/TCli.h"

#include <ostream>

namespace qm {

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
