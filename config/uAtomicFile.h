#pragma once
// Replaces a file only when its new content is complete: everything is
// written to a temporary file in the target's folder, which is renamed over
// the target on Commit. Whatever fails, the old file stays as it was and no
// temporary file is left behind.

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace qm {

class TAtomicFile {
  public:
    explicit TAtomicFile(std::filesystem::path target);
    ~TAtomicFile(); // discards the temporary file unless committed
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // Creates the temporary file; false when the folder cannot take it.
    bool Open();
    // Appends bytes; a failure is remembered and makes Commit fail.
    bool Write(const void* data, size_t size);
    bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }
    // Flushes, closes and renames over the target; true when the target now
    // holds exactly what was written.
    bool Commit();

    // The open stream, for writers that produce their own bytes.
    std::FILE* Handle() const { return file_; }
    const std::filesystem::path& TempPath() const { return temp_; }

  private:
    void Discard();

    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

// Writes `bytes` to `target` through a TAtomicFile.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

} // namespace qm
