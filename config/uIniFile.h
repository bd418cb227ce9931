#pragma once
// Settings and language files in the Windows profile-file form: "[Section]"
// lines and "key=value" lines, sections and keys matched without regard to
// case (first match wins), values taken as they stand after trimming — no
// escapes, no comments inside values, no lists. Writing keeps everything else
// in the file (other sections, keys, comments, blank lines, their order) and
// adds a new key at the end of its section, a new section at the end.
//
// Files are read as UTF-8 when the whole file is valid UTF-8, else as
// Windows-1251, and written as UTF-8. Texts in and out are UTF-8.
//
// A file of junk is no settings file: one holding a byte that no text has
// (a control code other than TAB, CR, LF and the end-of-file mark), or one
// with no section header and a line that is neither blank nor a comment.
// It reads as empty, and saving replaces it whole, in the layout and the
// CR LF line ends of a new file.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TIniFile {
  public:
    // Longest value read, in characters; the rest of a longer value is cut.
    static constexpr size_t kMaxValueLength = 2047;

    // Reads the file when it exists; a missing file reads as empty.
    explicit TIniFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    // The keys of a section in file order (each once, as first written).
    std::vector<std::string> ReadSection(std::string_view section) const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // Decimal or "0x" hexadecimal, with an optional sign; the fallback for a
    // missing, empty or malformed value or one out of the 32-bit range.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    // True for any non-zero integer.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // Replaces the file atomically, unless it holds these bytes already (as
    // read, at the same size); false when it cannot be written, or when
    // the file exists but could not be read (saving would lose its content),
    // with the reason in `why` when given (see uFileError.h).
    bool Save(std::string* why = nullptr) const;
    // Why the existing file could not be read; empty when it was read or missing.
    const std::string& ReadError() const { return readError_; }

  private:
    struct TLine {
        std::string text; // the line as it stands in the file
        bool header = false;
        std::string section; // lower-cased name, for a section header
        std::string key;     // lower-cased name, for a key line
        size_t valueStart = 0;
    };

    void Load();
    void Parse(const std::string& text);
    void AddLine(std::string text);
    // Index of the header of the first matching section, or npos.
    size_t FindSection(std::string_view section) const;
    // Index of the first matching key line in the section at `header`, or npos.
    size_t FindKey(size_t header, std::string_view key) const;
    // One past the last key line of the section at `header`.
    size_t SectionEnd(size_t header) const;
    std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;

    std::filesystem::path path_;
    std::vector<TLine> lines_;
    std::string eol_ = "\r\n";
    bool bom_ = false;
    std::string readError_;
    std::optional<std::string> asRead_; // the file's bytes, when it was read
};

// Parses a profile-file integer as ReadInteger does; false when malformed.
bool ParseIniInteger(std::string_view text, int& value);

} // namespace qm
