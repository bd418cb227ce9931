#include "gamedata/IsolatedStep.h"

#include <algorithm>
#include <cstring>

namespace qm {

TStepMessage WithText(TStepMessage head, std::string_view text) {
    constexpr size_t kBytes = sizeof(std::int64_t);
    if (head.size() + 1 >= kMaxStepMessage)
        return head;
    const size_t room = (kMaxStepMessage - head.size() - 1) * kBytes;
    text = text.substr(0, std::min(text.size(), room));
    head.push_back(static_cast<std::int64_t>(text.size()));
    const size_t first = head.size();
    head.resize(first + (text.size() + kBytes - 1) / kBytes, 0);
    if (!text.empty())
        std::memcpy(head.data() + first, text.data(), text.size());
    return head;
}

std::string TextAfter(const TStepMessage& message, size_t headSize) {
    if (message.size() <= headSize)
        return {};
    const std::int64_t length = message[headSize];
    const size_t room = (message.size() - headSize - 1) * sizeof(std::int64_t);
    if (length <= 0 || static_cast<std::uint64_t>(length) > room)
        return {};
    std::string text(static_cast<size_t>(length), '\0');
    std::memcpy(text.data(), message.data() + headSize + 1, text.size());
    return text;
}

} // namespace qm

#ifdef _WIN32

namespace qm {
namespace {

class TDirectReport final : public TStepReport {
  public:
    explicit TDirectReport(const TStepListener& listener) : listener_(listener) {}
    void Send(const TStepMessage& message) override {
        if (listener_)
            listener_(message);
    }

  private:
    const TStepListener& listener_;
};

} // namespace

TStepOutcome RunIsolated(const TIsolatedStep& step, const TStepListener& listener) {
    TDirectReport report(listener);
    step(report);
    return {true, {}};
}

} // namespace qm

#else

#include "config/uFileError.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qm {
namespace {

// Moves all `size` bytes with `move` (read or write), across interruptions;
// false at the end of the pipe, or when it broke off inside the bytes.
template <typename Move, typename Byte> bool MoveAll(Move move, int fd, Byte* at, size_t size) {
    while (size > 0) {
        const ssize_t n = move(fd, at, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool WriteAll(int fd, const void* data, size_t size) {
    return MoveAll(write, fd, static_cast<const char*>(data), size);
}

bool ReadAll(int fd, void* data, size_t size) {
    return MoveAll(read, fd, static_cast<char*>(data), size);
}

// A message on the pipe: its count of numbers, then the numbers, in one
// write so that it arrives whole or not at all.
class TPipeReport final : public TStepReport {
  public:
    explicit TPipeReport(int fd) : fd_(fd) {}
    void Send(const TStepMessage& message) override {
        const auto count = static_cast<std::uint32_t>(std::min(message.size(), kMaxStepMessage));
        std::vector<char> bytes(sizeof count + count * sizeof(std::int64_t));
        std::memcpy(bytes.data(), &count, sizeof count);
        if (count > 0) // an empty message's data() may be null
            std::memcpy(bytes.data() + sizeof count, message.data(), count * sizeof(std::int64_t));
        broken_ = !WriteAll(fd_, bytes.data(), bytes.size()) || broken_;
    }
    bool Broken() const { return broken_; }

  private:
    int fd_;
    bool broken_ = false;
};

constexpr int kChildFailed = 1;

[[noreturn]] void RunChild(const TIsolatedStep& step, int fd) {
    int code = kChildFailed;
    try {
        TPipeReport report(fd);
        step(report);
        code = report.Broken() ? kChildFailed : 0;
    } catch (...) {
    }
    _exit(code);
}

// Hands every message to the listener until the child closes its end.
void Listen(int fd, const TStepListener& listener) {
    for (;;) {
        std::uint32_t count = 0;
        if (!ReadAll(fd, &count, sizeof count) || count > kMaxStepMessage)
            return;
        TStepMessage message(count);
        if (!ReadAll(fd, message.data(), count * sizeof(std::int64_t)))
            return;
        if (listener)
            listener(message);
    }
}

TStepOutcome Failed(std::string why) {
    return {false, std::move(why)};
}

TStepOutcome Ended(pid_t child) {
    int status = 0;
    pid_t waited;
    do
        waited = waitpid(child, &status, 0);
    while (waited < 0 && errno == EINTR);
    if (waited < 0)
        return Failed(ErrnoText(errno));
    if (WIFSIGNALED(status))
        return Failed(strsignal(WTERMSIG(status)));
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        return Failed("ended with status " + std::to_string(WEXITSTATUS(status)));
    return {true, {}};
}

} // namespace

TStepOutcome RunIsolated(const TIsolatedStep& step, const TStepListener& listener) {
    int ends[2];
    if (pipe(ends) != 0)
        return Failed(ErrnoText(errno));
    // Children that other threads start must not hold the pipe open.
    fcntl(ends[0], F_SETFD, FD_CLOEXEC);
    fcntl(ends[1], F_SETFD, FD_CLOEXEC);
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        RunChild(step, ends[1]);
    }
    const int error = errno;
    close(ends[1]);
    if (child < 0) {
        close(ends[0]);
        return Failed(ErrnoText(error));
    }
    Listen(ends[0], listener);
    close(ends[0]);
    return Ended(child);
}

} // namespace qm

#endif
