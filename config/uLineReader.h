#pragma once
// Streams the lines of a text file the way configuration files are read:
// a line ends at LF, carriage returns never belong to a line, Ctrl+Z ends
// the file, and a UTF-8 byte-order mark at the start is skipped. Memory use
// is one chunk plus the longest line.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace qm {

class TLineReader {
  public:
    TLineReader() = default;
    ~TLineReader();
    TLineReader(const TLineReader&) = delete;
    TLineReader& operator=(const TLineReader&) = delete;

    // Opens a regular file; false for a missing, unreadable or special file,
    // with the reason in `why` when asked (see uFileError.h).
    bool Open(const std::filesystem::path& path, std::string* why = nullptr);

    // True when no further line can be read (end of file, Ctrl+Z, or error).
    bool AtEnd();
    // Reads the next line into `line`; false when at the end.
    bool ReadLine(std::string& line);
    // True when reading stopped because of an I/O error.
    bool Failed() const { return failed_; }
    // The system's reason for that error; empty when reading did not fail.
    std::string Error() const;

  private:
    void Fill();

    std::FILE* file_ = nullptr;
    std::vector<char> chunk_;
    size_t pos_ = 0;
    size_t len_ = 0;
    bool done_ = false;
    bool failed_ = false;
    int error_ = 0;
    bool first_ = true;
};

} // namespace qm
