#pragma once
// The command-line companion: a table of subcommands, each a function of its
// arguments writing to the given streams and returning the exit code.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TCfgManager;

struct TCliContext {
    std::vector<std::string> args; // the subcommand's own arguments
    std::ostream& out;
    std::ostream& err;
};

struct TCliCommand {
    std::string_view name;
    std::string_view synopsis; // arguments, as shown in the usage
    std::string_view summary;
    std::function<int(TCliContext&)> run;
};

// Exit codes shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // input unreadable, or the answer is "no"
inline constexpr int kExitUsage = 2;
inline constexpr int kExitCannotWrite = 3;
// For a command whose outputs are its lines: an input that cannot be read.
inline constexpr int kExitCannotRead = 3;

class TCli {
  public:
    TCli();
    // Runs `argv` (without the program name); a usage error prints the usage
    // to `err` and returns kExitUsage.
    int Run(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) const;
    void PrintUsage(std::ostream& to) const;

  private:
    std::vector<TCliCommand> commands_;
};

// The template colours of the automatic tooltip: tip, hotkey, brackets
// (decimal display colours, red in the low byte), by default white, gold and
// white.
struct TTemplateColours {
    std::uint32_t Colour[3] = {0xFFFFFF, 52479, 0xFFFFFF};
};
// Reads the option at args[i] when it is --tip-colour, --hotkey-colour or
// --brackets-colour, moving i past its value: 1 when read, 0 when args[i]
// is no colour option, -1 for a missing or bad value.
int TakeColourOption(const std::vector<std::string>& args, size_t& i, TTemplateColours& colours);

// Reads a configuration for a subcommand; null, with the file and the
// reason said, when it holds no record: no section, or none with a value.
std::unique_ptr<TCfgManager> ReadConfiguration(TCliContext& ctx, const std::string& path);
// Says that `path` could not be written, and why; returns kExitCannotWrite.
int CannotWrite(TCliContext& ctx, const std::string& path, const std::string& why);

// The command groups, each in its own source file.
std::vector<TCliCommand> DocumentCommands();
std::vector<TCliCommand> MarkupCommands();
std::vector<TCliCommand> TreeCommands();
std::vector<TCliCommand> ImportCommands();
std::vector<TCliCommand> IconCommands();

} // namespace qm
