#include "gamedata/MPQMngr.h"

#include "config/uFileError.h"
#include "config/uFileOffsets.h"
#include "gamedata/StormGuard.h"

#include <StormLib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <new>
#include <system_error>
#include <vector>

namespace qm {
namespace {

// One chunk never exceeds this, whatever the entry's size.
constexpr DWORD kMaxChunk = 65535;

// Closes an archived entry on every way out.
class TOpenEntry {
  public:
    TOpenEntry(HANDLE archive, const std::string& name) {
        HANDLE file = nullptr;
        bool opened = false;
        if (StormGuarded([&] {
                opened = SFileOpenFileEx(archive, name.c_str(), SFILE_OPEN_FROM_MPQ, &file);
            }) &&
            opened && file)
            file_ = file;
    }
    ~TOpenEntry() {
        if (file_)
            SFileCloseFile(file_);
    }
    TOpenEntry(const TOpenEntry&) = delete;
    TOpenEntry& operator=(const TOpenEntry&) = delete;

    HANDLE Handle() const { return file_; }

  private:
    HANDLE file_ = nullptr;
};

// The entry's size when it can be extracted at all, else 0.
DWORD ExtractableSize(HANDLE file, std::uint32_t maxSize) {
    DWORD high = 0;
    const DWORD low = SFileGetFileSize(file, &high);
    return high == 0 && low <= std::min(maxSize, TMPQManager::kMaxEntrySize) ? low : 0;
}

// The largest buffer up to `chunk` bytes that can be had; under memory
// pressure a smaller one still lets the extraction go on.
std::unique_ptr<char[]> AllocateChunk(DWORD& chunk) {
    for (; chunk >= 1; --chunk) {
        std::unique_ptr<char[]> buffer(new (std::nothrow) char[chunk]);
        if (buffer)
            return buffer;
    }
    return nullptr;
}

// Streams `size` bytes of the entry to `out`, one chunk at a time. A short
// read at the end still delivers its bytes; the entry counts as whole only
// when all `size` bytes arrived and were written. A failed write sets
// `writeWhy`.
bool CopyEntry(HANDLE file, DWORD size, std::FILE* out, std::string* writeWhy) {
    DWORD chunk = std::min(size, kMaxChunk);
    const auto buffer = AllocateChunk(chunk);
    if (!buffer)
        return false;
    for (DWORD remaining = size; remaining > 0;) {
        const DWORD wanted = std::min(remaining, chunk);
        DWORD got = 0;
        bool read = false;
        DWORD error = ERROR_SUCCESS;
        if (!StormGuarded([&] {
                read = SFileReadFile(file, buffer.get(), wanted, &got, nullptr);
                error = read ? ERROR_SUCCESS : GetLastError();
            }))
            return false;
        got = std::min(got, wanted);
        if (got && std::fwrite(buffer.get(), 1, got, out) != got) {
            SetWhy(writeWhy, ErrnoText(errno));
            return false;
        }
        if (error != ERROR_SUCCESS && error != ERROR_HANDLE_EOF)
            return false;
        if (got < wanted)
            return false;
        remaining -= got;
    }
    if (std::fflush(out) == 0)
        return true;
    SetWhy(writeWhy, ErrnoText(errno));
    return false;
}

// The archive header the way the library looks for it: at the first 512-byte
// boundary holding "MPQ\x1A", or the place a user-data block ("MPQ\x1B")
// names; here only within the first kHeaderSearch bytes.
constexpr std::uint32_t kHeaderMark = 0x1A51504D;   // "MPQ\x1A"
constexpr std::uint32_t kUserDataMark = 0x1B51504D; // "MPQ\x1B"
constexpr std::uint64_t kHeaderStep = 512;
// The game's archives begin with their header; an archive with a program
// before it (an installer) has it within a few megabytes.
constexpr std::uint64_t kHeaderSearch = 64u << 20;

// Bytes at any offset of a file through a window of it, so that a search in
// 512-byte steps reads the file once instead of a buffer per step.
class TWindowReader {
  public:
    explicit TWindowReader(const std::filesystem::path& path) : in_(path, std::ios::binary) {}

    bool Read(std::uint64_t at, unsigned char* out, size_t size) {
        if (at < start_ || at + size > start_ + window_.size()) {
            window_.resize(kWindow);
            in_.clear();
            if (!in_.seekg(static_cast<std::streamoff>(at)))
                return false;
            in_.read(window_.data(), static_cast<std::streamsize>(kWindow));
            window_.resize(static_cast<size_t>(in_.gcount()));
            start_ = at;
            if (window_.size() < size)
                return false;
        }
        std::memcpy(out, window_.data() + (at - start_), size);
        return true;
    }

  private:
    static constexpr size_t kWindow = 1 << 20;
    std::ifstream in_;
    std::vector<char> window_;
    std::uint64_t start_ = 0;
};

std::uint32_t U32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

// The library allocates the hash and block tables at the sizes the header
// claims, before reading them: a damaged header claiming billions of entries
// takes gigabytes. Each entry of these tables has 16 bytes in the file;
// with room for compressed tables, an archive whose tables could not
// nearly fit in it is refused before the library sees it. So is one whose
// sectors (512 bytes shifted left by the header's value; the game's have
// 4 KiB) would take the library gigabytes for every read, and one without a
// header where the game's archives have theirs.
bool PlausibleHeader(const std::filesystem::path& path, std::uint64_t fileSize) {
    constexpr std::uint64_t kEntryBytes = 16;
    constexpr std::uint64_t kCompressionRoom = 64;
    constexpr unsigned kMaxSectorShift = 15; // 16 MiB sectors
    TWindowReader in(path);
    unsigned char head[32];
    const std::uint64_t searched = std::min(fileSize, kHeaderSearch);
    for (std::uint64_t at = 0; at + sizeof head <= searched; at += kHeaderStep) {
        if (!in.Read(at, head, sizeof head))
            return true; // the library will find nothing either
        const std::uint32_t mark = U32(head);
        if (mark == kUserDataMark && U32(head + 8) % kHeaderStep == 0 && U32(head + 8) > 0) {
            at += U32(head + 8) - kHeaderStep; // the header it names, at the next step
            continue;
        }
        if (mark != kHeaderMark)
            continue;
        const std::uint64_t entries = std::uint64_t(U32(head + 24)) + U32(head + 28);
        const unsigned sectorShift = head[14] | head[15] << 8;
        return entries * kEntryBytes <= fileSize * kCompressionRoom &&
               sectorShift <= kMaxSectorShift;
    }
    // No header where an archive of the game has one: the library would
    // search the whole file, minutes for gigabytes of zeros.
    return false;
}

} // namespace

TMPQManager::TMPQManager(const std::filesystem::path& archive) : path_(archive) {
    // Only plain files: opening a pipe or device could block or never end.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path_, ec))
        return;
    const std::uint64_t size = std::filesystem::file_size(path_, ec);
    if (ec || !PlausibleHeader(path_, size))
        return;
    HANDLE handle = nullptr;
    bool opened = false;
    if (StormGuarded(
            [&] { opened = SFileOpenArchive(path_.c_str(), 0, STREAM_FLAG_READ_ONLY, &handle); }) &&
        opened && handle)
        archive_ = handle;
}

TMPQManager::~TMPQManager() {
    if (archive_)
        SFileCloseArchive(archive_);
}

bool TMPQManager::ExtractToHandle(std::string_view entry, std::FILE* out, std::uint32_t maxSize,
                                  std::string* writeWhy) {
    // A name with a zero byte would be looked up cut short.
    if (!archive_ || !out || entry.find('\0') != std::string_view::npos)
        return false;
    const TOpenEntry file(archive_, std::string(entry));
    if (!file.Handle())
        return false;
    const DWORD size = ExtractableSize(file.Handle(), maxSize);
    if (size == 0)
        return false;
    const long long start = FilePosition(out);
    const bool whole = CopyEntry(file.Handle(), size, out, writeWhy);
    if (!whole && start >= 0)
        TruncateFile(out, start); // drop what the failed entry wrote
    return whole;
}

bool TMPQManager::ExtractFile(std::string_view entry, const std::filesystem::path& out) {
    std::FILE* file = std::fopen(out.c_str(), "wb");
    if (!file)
        return false;
    const bool whole = ExtractToHandle(entry, file);
    return std::fclose(file) == 0 && whole;
}

int TMPQManager::ExtractFiles(const std::filesystem::path& out,
                              const std::vector<std::string>& entries) {
    if (entries.empty())
        return 0;
    std::FILE* file = std::fopen(out.c_str(), "wb");
    if (!file)
        return 0;
    int count = 0;
    for (const auto& entry : entries)
        count += ExtractToHandle(entry, file) ? 1 : 0;
    return std::fclose(file) == 0 ? count : 0;
}

} // namespace qm
