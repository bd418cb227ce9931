#include "config/uAtomicFile.h"

#include <random>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace qm {
namespace {

std::string RandomSuffix() {
    static std::mt19937_64 rng{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string s;
    for (int i = 0; i < 8; ++i)
        s += kDigits[rng() % 36];
    return s;
}

// Syncs data to disk so that a crash after the rename cannot leave an empty file.
bool SyncToDisk(std::FILE* f) {
#ifndef _WIN32
    return fsync(fileno(f)) == 0;
#else
    (void)f;
    return true;
#endif
}

} // namespace

TAtomicFile::TAtomicFile(std::filesystem::path target) : target_(std::move(target)) {}

TAtomicFile::~TAtomicFile() {
    Discard();
}

bool TAtomicFile::Open() {
    if (file_)
        return true;
    std::error_code ec;
    if (std::filesystem::is_directory(target_, ec))
        return false;
    const auto folder = target_.parent_path();
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp_ = folder / ("." + target_.filename().string() + "." + RandomSuffix() + ".tmp");
        // "x": never open a file that already exists under that name.
        file_ = std::fopen(temp_.c_str(), "wbx");
        if (file_)
            return true;
        if (!std::filesystem::exists(folder.empty() ? "." : folder, ec))
            break;
    }
    temp_.clear();
    return false;
}

bool TAtomicFile::Write(const void* data, size_t size) {
    if (!file_ || failed_)
        return false;
    if (size && std::fwrite(data, 1, size, file_) != size)
        failed_ = true;
    return !failed_;
}

bool TAtomicFile::Commit() {
    if (!file_ || failed_) {
        Discard();
        return false;
    }
    const bool written = std::fflush(file_) == 0 && SyncToDisk(file_);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!written || !closed) {
        Discard();
        return false;
    }
    std::error_code ec;
    // Keep the permissions of the file being replaced.
    const auto old = std::filesystem::status(target_, ec);
    if (!ec && std::filesystem::exists(old))
        std::filesystem::permissions(temp_, old.permissions(), ec);
    std::filesystem::rename(temp_, target_, ec);
    if (ec) {
        Discard();
        return false;
    }
    temp_.clear();
    return true;
}

void TAtomicFile::Discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temp_, ec);
        temp_.clear();
    }
}

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
    TAtomicFile file(target);
    return file.Open() && file.Write(bytes) && file.Commit();
}

} // namespace qm
