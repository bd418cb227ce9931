#pragma once
// The fuzzers' readers take files: each input goes to a file of its own in
// the temporary folder (TMPDIR; a RAM disk keeps the runs fast).

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace qm::fuzz {

// A file of this process, removed when the fuzzer exits.
class TInputFile {
  public:
    explicit TInputFile(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                ("quillmark-fuzz-" + std::to_string(getpid()) + "-" + name)) {}
    ~TInputFile() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    TInputFile(const TInputFile&) = delete;
    TInputFile& operator=(const TInputFile&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline void WriteInput(const std::filesystem::path& file, const std::uint8_t* data, size_t size) {
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

inline std::string ReadInput(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace qm::fuzz
