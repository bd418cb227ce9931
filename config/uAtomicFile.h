#pragma once
// Replaces a file only when its new content is complete: everything is
// written to a temporary file in the target's folder, which is renamed over
// the target on Commit. Whatever fails, the old file stays as it was and no
// temporary file is left behind.
//
// The temporary file has a name of its own and is created new, so a file or
// link planted under any name is never written through. A target that is a
// symbolic link stays one: the file it points to is replaced. A target that
// the user may not write, or that is not a regular file, is refused; the
// folder's permission alone would let the rename replace it.

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace qm {

class TAtomicFile {
  public:
    explicit TAtomicFile(std::filesystem::path target);
    ~TAtomicFile(); // discards the temporary file unless committed
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // Creates the temporary file; false when the target may not be replaced
    // or its folder cannot take it.
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
    // Why Open, Write or Commit failed, in the system's words (see
    // uFileError.h); empty while nothing has failed.
    const std::string& Error() const { return error_; }

  private:
    bool CheckTarget();
    bool Fail(std::string why);
    void Discard();

    std::filesystem::path target_;
    std::filesystem::path replaced_; // the target, or the file its link points to
    std::filesystem::path temp_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    bool existed_ = false;
    mode_t mode_ = 0;
    uid_t owner_ = 0;
    gid_t group_ = 0;
    std::string error_;
};

// Writes `bytes` to `target` through a TAtomicFile; the reason of a failure
// in `why` when given.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         std::string* why = nullptr);

// Creates `path` as a new file open for writing (fopen `mode`, "wb" or
// "w+b"), never opening anything already there, a symbolic link included.
// Null with errno set when it cannot.
std::FILE* CreateNewFile(const std::filesystem::path& path, const char* mode = "wb");

// Writes bytes into the file FillNewFile makes; false when they could not
// be written.
using TFileWrite = std::function<bool(const char* data, size_t size)>;
// Creates `path` as CreateNewFile does and lets `fill` write into it through
// the writer it is given. The file stays only when `fill`, every write and
// the close succeeded; otherwise it is removed. `writeWhy`, when given, is
// set only when the file could not be created, written or closed (the
// system's reason), not when `fill` gave up on its own.
bool FillNewFile(const std::filesystem::path& path,
                 const std::function<bool(const TFileWrite& write)>& fill,
                 std::string* writeWhy = nullptr);

// Creates a new file of a name no other has, "<stem>.<random>.<suffix>" in
// `folder`, as CreateNewFile does; `path` receives its name. Null when none
// could be created.
std::FILE* CreateUniqueFile(const std::filesystem::path& folder, std::string_view stem,
                            std::string_view suffix, std::filesystem::path& path);

} // namespace qm
