#include "config/uLineReader.h"

#include "config/uFileError.h"
#include "config/uReadFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace qm {
namespace {
constexpr size_t kChunkSize = 64 * 1024;
constexpr char kCtrlZ = 26;

// A carriage return, before a line feed or not, never belongs to the line.
void AppendWithoutCR(std::string& line, const char* p, size_t n) {
    const char* end = p + n;
    while (p < end) {
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', end - p));
        const char* stop = cr ? cr : end;
        line.append(p, stop - p);
        p = cr ? cr + 1 : end;
    }
}
} // namespace

TLineReader::~TLineReader() {
    if (file_)
        std::fclose(file_);
}

bool TLineReader::Open(const std::filesystem::path& path, std::string* why) {
    const int fd = OpenRegularFile(path, why);
    if (fd < 0)
        return false;
    file_ = fdopen(fd, "rb");
    if (!file_) {
        SetWhy(why, ErrnoText(errno));
        close(fd);
        return false;
    }
    chunk_.resize(kChunkSize);
    return true;
}

std::string TLineReader::Error() const {
    return failed_ ? ErrnoText(error_) : std::string();
}

void TLineReader::Fill() {
    len_ = std::fread(chunk_.data(), 1, chunk_.size(), file_);
    pos_ = 0;
    if (len_ < chunk_.size()) {
        failed_ = std::ferror(file_) != 0;
        error_ = failed_ ? errno : 0;
        done_ = true;
    }
    if (first_) {
        first_ = false;
        if (len_ >= 3 && std::memcmp(chunk_.data(), "\xEF\xBB\xBF", 3) == 0)
            pos_ = 3;
    }
    // Ctrl+Z marks the end: what follows it is not part of the file.
    if (const void* z = std::memchr(chunk_.data() + pos_, kCtrlZ, len_ - pos_)) {
        len_ = static_cast<const char*>(z) - chunk_.data();
        done_ = true;
    }
}

bool TLineReader::AtEnd() {
    if (!file_)
        return true;
    while (pos_ >= len_) {
        if (done_)
            return true;
        Fill();
    }
    return false;
}

bool TLineReader::ReadLine(std::string& line) {
    line.clear();
    if (AtEnd())
        return false;
    for (;;) {
        const char* begin = chunk_.data() + pos_;
        const size_t avail = len_ - pos_;
        const char* lf = static_cast<const char*>(std::memchr(begin, '\n', avail));
        const size_t take = lf ? static_cast<size_t>(lf - begin) : avail;
        AppendWithoutCR(line, begin, take);
        pos_ += take;
        if (lf) {
            ++pos_;
            return true;
        }
        if (AtEnd())
            return true;
    }
}

} // namespace qm
