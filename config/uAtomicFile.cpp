#include "config/uAtomicFile.h"

#include "config/uFileError.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace qm {
namespace {

namespace fs = std::filesystem;

// Links to links are followed as far as the system itself would.
constexpr int kMaxLinkHops = 40;

std::string RandomSuffix() {
    static std::mt19937_64 rng{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string s;
    for (int i = 0; i < 8; ++i)
        s += kDigits[rng() % 36];
    return s;
}

// The file a save replaces: the target, or the file at the end of its links
// (which need not exist yet).
fs::path ReplacedFile(const fs::path& target) {
    fs::path file = target;
    std::error_code ec;
    for (int hop = 0; hop < kMaxLinkHops && fs::is_symlink(file, ec); ++hop) {
        const fs::path link = fs::read_symlink(file, ec);
        if (ec)
            break;
        file = link.is_absolute() ? link : file.parent_path() / link;
    }
    return file;
}

fs::path FolderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// Makes the rename itself survive a crash; a folder that cannot be synced
// still holds the renamed file.
void SyncFolder(const fs::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

TAtomicFile::TAtomicFile(std::filesystem::path target) : target_(std::move(target)) {}

TAtomicFile::~TAtomicFile() {
    Discard();
}

bool TAtomicFile::CheckTarget() {
    replaced_ = ReplacedFile(target_);
    struct stat st {};
    if (stat(replaced_.c_str(), &st) != 0)
        return errno == ENOENT || Fail(ErrnoText(errno));
    if (S_ISDIR(st.st_mode))
        return Fail(ErrnoText(EISDIR));
    if (!S_ISREG(st.st_mode))
        return Fail(std::string(kWhyNotRegularFile));
    if (faccessat(AT_FDCWD, replaced_.c_str(), W_OK, AT_EACCESS) != 0)
        return Fail(ErrnoText(errno));
    existed_ = true;
    mode_ = st.st_mode & 07777;
    owner_ = st.st_uid;
    group_ = st.st_gid;
    return true;
}

bool TAtomicFile::Open() {
    if (file_)
        return true;
    if (!CheckTarget())
        return false;
    file_ =
        CreateUniqueFile(FolderOf(replaced_), "." + replaced_.filename().string(), "tmp", temp_);
    return file_ || Fail(ErrnoText(errno));
}

bool TAtomicFile::Write(const void* data, size_t size) {
    if (!file_ || failed_)
        return false;
    if (size && std::fwrite(data, 1, size, file_) != size) {
        failed_ = true;
        error_ = ErrnoText(errno);
    }
    return !failed_;
}

bool TAtomicFile::Commit() {
    if (!file_ || failed_) {
        Discard();
        return false;
    }
    // On disk before the rename, so that a crash cannot leave an empty file.
    if (std::fflush(file_) != 0 || fsync(fileno(file_)) != 0)
        return Fail(ErrnoText(errno));
    if (existed_) {
        // The replacement keeps the old file's permissions, and its owner
        // and group as far as the system lets us.
        fchmod(fileno(file_), mode_);
        if (fchown(fileno(file_), owner_, group_) != 0)
            fchown(fileno(file_), static_cast<uid_t>(-1), group_);
    }
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0)
        return Fail(ErrnoText(errno));
    if (std::rename(temp_.c_str(), replaced_.c_str()) != 0)
        return Fail(ErrnoText(errno));
    temp_.clear();
    SyncFolder(FolderOf(replaced_));
    return true;
}

bool TAtomicFile::Fail(std::string why) {
    failed_ = true;
    error_ = std::move(why);
    Discard();
    return false;
}

void TAtomicFile::Discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        unlink(temp_.c_str());
        temp_.clear();
    }
}

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         std::string* why) {
    TAtomicFile file(target);
    const bool done = file.Open() && file.Write(bytes) && file.Commit();
    if (!done)
        SetWhy(why, file.Error());
    return done;
}

std::FILE* CreateNewFile(const std::filesystem::path& path, const char* mode) {
    const int flags = O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_RDWR;
    const int fd = open(path.c_str(), flags, 0666);
    if (fd < 0)
        return nullptr;
    std::FILE* file = fdopen(fd, mode);
    if (!file) {
        const int error = errno;
        close(fd);
        unlink(path.c_str());
        errno = error;
    }
    return file;
}

bool FillNewFile(const std::filesystem::path& path,
                 const std::function<bool(const TFileWrite& write)>& fill, std::string* writeWhy) {
    std::FILE* out = CreateNewFile(path);
    if (!out) {
        SetWhy(writeWhy, ErrnoText(errno));
        return false;
    }
    const bool filled = fill([&](const char* data, size_t size) {
        if (std::fwrite(data, 1, size, out) == size)
            return true;
        SetWhy(writeWhy, ErrnoText(errno));
        return false;
    });
    const bool closed = std::fclose(out) == 0;
    if (filled && !closed)
        SetWhy(writeWhy, ErrnoText(errno));
    std::error_code ec;
    if (!filled || !closed)
        std::filesystem::remove(path, ec);
    return filled && closed;
}

std::FILE* CreateUniqueFile(const std::filesystem::path& folder, std::string_view stem,
                            std::string_view suffix, std::filesystem::path& path) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        path = folder / (std::string(stem) + "." + RandomSuffix() + "." + std::string(suffix));
        if (std::FILE* file = CreateNewFile(path))
            return file;
        if (errno != EEXIST)
            break;
    }
    path.clear();
    return nullptr;
}

} // namespace qm
