#include "FaultFixture.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qm::test {

// The uid and gid of "nobody" on Debian.
constexpr uid_t kNobody = 65534;

pid_t StartChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body()); // never back into the test runner
    return pid;
}

int RunInChild(const std::function<int()>& body) {
    const pid_t pid = StartChild(body);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::unique_ptr<TCfgManager> LargeDocument(int records, char variant) {
    auto doc = TCfgManager::Create();
    const std::string tip(200, 'x');
    for (int i = 0; i < records; ++i) {
        TBindRec& rec = doc->AddRecord("A" + std::to_string(100000 + i));
        rec.Hotkey = std::string(1, variant);
        rec.Tip = "Train |cffffcc00" + rec.Hotkey + "|r " + tip + " (" + rec.Hotkey + ")";
        rec.Buttonpos = "0,0";
        rec.Art = "ReplaceableTextures\\CommandButtons\\BTNFootman.blp";
    }
    return doc;
}

std::vector<std::string> LeftOver(const fs::path& folder, const std::string& keep) {
    std::vector<std::string> names = ListFolder(folder);
    std::erase(names, keep);
    return names;
}

bool BecomeNobody() {
    if (geteuid() != 0)
        return true; // already unprivileged
    return setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0;
}

} // namespace qm::test
