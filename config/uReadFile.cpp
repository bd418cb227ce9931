#include "config/uReadFile.h"

#include <fstream>
#include <system_error>

namespace qm {

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path,
                                         std::uintmax_t maxSize) {
    std::error_code ec;
    // Only regular files: a folder fails to read, a FIFO or device may never end.
    if (!std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > maxSize)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(size)))
        return std::nullopt;
    return bytes;
}

} // namespace qm
