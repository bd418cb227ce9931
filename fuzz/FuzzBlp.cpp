// BLP conversion: a file is either converted, taking at most two ranges of
// itself, or left byte for byte as it was.

#include "FuzzInput.h"
#include "gamedata/BlpToJpeg.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const qm::fuzz::TInputFile input("icon.jpg");
    const auto& file = input.path();
    qm::fuzz::WriteInput(file, data, size);
    const bool converted = qm::BlpToJpeg(file);
    const std::string after = qm::fuzz::ReadInput(file);
    const std::string before(reinterpret_cast<const char*>(data), size);
    if (converted ? after.size() > 2 * before.size() : after != before)
        std::abort();
    return 0;
}
