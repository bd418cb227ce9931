// DDS pictures, the newer game's HD button images: any bytes decode to a
// picture of the size the header gives, or to nothing with a reason; the
// icon made from them is a JPEG no larger than an icon, or no file at all.

#include "FuzzInput.h"
#include "gamedata/DdsDecoder.h"
#include "gamedata/DdsToJpeg.h"
#include "gamedata/JpegDecoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::string why;
    const auto image = qm::DecodeDds(data, size, &why);
    if (image ? image->Width <= 0 || image->Height <= 0 ||
                    image->Pixels.size() != size_t(image->Width) * size_t(image->Height)
              : why.empty())
        std::abort();

    static const qm::fuzz::TInputFile input("icon.dds");
    static const qm::fuzz::TInputFile output("icon.jpg");
    qm::fuzz::WriteInput(input.path(), data, size);
    std::error_code ec;
    std::filesystem::remove(output.path(), ec);
    const bool converted = qm::DdsToJpeg(input.path(), output.path());
    if (converted != std::filesystem::exists(output.path()) || converted != image.has_value())
        std::abort();
    if (converted) {
        const auto icon = qm::DecodeJpegFile(output.path());
        if (!icon || icon->Width > qm::kIconSide || icon->Height > qm::kIconSide)
            std::abort();
    }
    return 0;
}
