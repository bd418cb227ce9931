#pragma once
// Saves under faults: each runs in a child process, which the test kills,
// limits, starves of disk or makes an unprivileged user, and then the test
// looks at what is left on disk.

#include "config/uCfgManager.h"
#include "support/TestFiles.h"

#include <functional>
#include <string>

#include <sys/types.h>

namespace qm::test {

// A save to run in a child: true when it reports success.
using TSave = std::function<bool()>;

// Exit codes of a child: the save's verdict, or why the fault could not be set up.
inline constexpr int kChildOk = 0;
inline constexpr int kChildFailed = 1;
inline constexpr int kChildCannotSetUp = 77;

// Runs `body` in a forked child and returns its exit code; -1 when it died
// of a signal.
int RunInChild(const std::function<int()>& body);
// Starts `body` in a forked child, which exits with its result.
pid_t StartChild(const std::function<int()>& body);

// A configuration document of `records` records of some 280 bytes each;
// `variant` changes every hotkey, so two variants never share their bytes.
std::unique_ptr<TCfgManager> LargeDocument(int records, char variant);

// Temporary files a save left in `folder`: every name but `keep`.
std::vector<std::string> LeftOver(const fs::path& folder, const std::string& keep);

// Makes this process the unprivileged user "nobody"; false when it cannot.
bool BecomeNobody();

} // namespace qm::test
