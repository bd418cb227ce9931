// BLP conversion into a new file, as the icon extraction does it: the BLP is
// never changed, and the JPEG either holds at most two ranges of it or does
// not exist.

#include "FuzzInput.h"
#include "gamedata/BlpToJpeg.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const qm::fuzz::TInputFile blp("pair.blp");
    static const qm::fuzz::TInputFile jpeg("pair.jpg");
    qm::fuzz::WriteInput(blp.path(), data, size);
    const std::string before(reinterpret_cast<const char*>(data), size);
    const bool converted = qm::BlpToJpeg(blp.path(), jpeg.path());
    std::error_code ec;
    const bool exists = std::filesystem::exists(jpeg.path(), ec);
    if (converted != exists || qm::fuzz::ReadInput(blp.path()) != before)
        std::abort();
    if (converted && qm::fuzz::ReadInput(jpeg.path()).size() > 2 * before.size())
        std::abort();
    std::filesystem::remove(jpeg.path(), ec);
    return 0;
}
