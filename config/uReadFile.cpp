#include "config/uReadFile.h"

#include "config/uFileError.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm {

int OpenRegularFile(const std::filesystem::path& path, std::string* why) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        SetWhy(why, ErrnoText(errno));
        return -1;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = errno;
        SetWhy(why, S_ISDIR(st.st_mode)   ? ErrnoText(EISDIR)
                    : S_ISREG(st.st_mode) ? ErrnoText(error)
                                          : std::string(kWhyNotRegularFile));
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path, std::uintmax_t maxSize,
                                         std::string* why) {
    const int fd = OpenRegularFile(path, why);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    fstat(fd, &st);
    if (static_cast<std::uintmax_t>(st.st_size) > maxSize) {
        close(fd);
        SetWhy(why, TooLargeWhy(static_cast<std::uintmax_t>(st.st_size)));
        return std::nullopt;
    }
    // Read to the end, not to the size seen: the file may grow meanwhile,
    // and the ceiling holds either way. One byte over it tells it was passed.
    const std::uintmax_t limit = maxSize + 1;
    std::string bytes(static_cast<size_t>(std::min<std::uintmax_t>(st.st_size + 1, limit)), '\0');
    size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() >= limit)
                break;
            bytes.resize(static_cast<size_t>(std::min<std::uintmax_t>(limit, bytes.size() * 2)));
        }
        const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            SetWhy(why, ErrnoText(errno));
            close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    if (got > maxSize) {
        SetWhy(why, TooLargeWhy(got));
        return std::nullopt;
    }
    bytes.resize(got);
    return bytes;
}

} // namespace qm
