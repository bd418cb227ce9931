// BLP conversion: a file is either converted, taking at most two ranges of
// itself, or left byte for byte as it was.

#include "FuzzInput.h"
#include "gamedata/BlpToJpeg.h"

#include <cstdlib>
#include <iterator>

namespace {

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const qm::fuzz::TInputFile input("icon.jpg");
    const auto& file = input.path();
    qm::fuzz::WriteInput(file, data, size);
    const bool converted = qm::BlpToJpeg(file);
    const std::string after = ReadAll(file);
    const std::string before(reinterpret_cast<const char*>(data), size);
    if (converted ? after.size() > 2 * before.size() : after != before)
        std::abort();
    return 0;
}
