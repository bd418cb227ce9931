#pragma once
// The game's archives are decoded by StormLib, and a damaged archive can
// crash it (a heap overflow reading a sector offset table, a null pointer in
// its Huffman decoder) before any check of ours sees the bytes. So every
// step that reads them runs apart: on POSIX in a forked child that does
// only that step, writes its results to their files (atomically, as they
// always are) and sends what the caller needs back over a pipe. A crash
// then ends the child alone, and the step reports failure.
//
// The child is a copy of this process that runs nothing but the step and
// leaves with _exit: no destructor, no atexit handler, no stdio flush of the
// parent's runs twice. It must not touch what other threads of the parent
// own (the windows, Qt): the steps use plain files and StormLib only.
//
// On Windows there is no fork: the step runs in this process, and a crash in
// StormLib still ends the program there. A helper process started for the
// step would take the child's place.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// One message from the step: a few numbers.
using TStepMessage = std::vector<std::int64_t>;

// The step's side of the channel.
class TStepReport {
  public:
    virtual ~TStepReport() = default;
    // Sends a message of at most kMaxStepMessage numbers; the parent hears
    // it at once.
    virtual void Send(const TStepMessage& message) = 0;
};

inline constexpr size_t kMaxStepMessage = 16;

// A short text (a file name, a reason) travels after a message's `head`:
// its length, then its bytes eight to a number, cut to what one message
// holds.
TStepMessage WithText(TStepMessage head, std::string_view text);
// The text WithText put after the first `headSize` numbers; empty when
// there is none or it does not add up.
std::string TextAfter(const TStepMessage& message, size_t headSize);

struct TStepOutcome {
    // The step returned and its process ended normally.
    bool Completed = false;
    // Why not, in the system's words ("Segmentation fault", the reason a
    // process could not be started); empty when completed.
    std::string Failure;
};

using TIsolatedStep = std::function<void(TStepReport& report)>;
using TStepListener = std::function<void(const TStepMessage& message)>;

// Runs `step` apart from this process; `listener` hears its messages here,
// in order, while it runs. Whatever the step did before a crash stays done:
// the files it writes are replaced whole or not at all, and scratch files
// belong in a folder the caller removes.
TStepOutcome RunIsolated(const TIsolatedStep& step, const TStepListener& listener = {});

} // namespace qm
