// Icon decoding: any bytes give a picture of sane size or none.

#include "gamedata/JpegDecoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const auto image = qm::DecodeJpeg(data, size);
    if (image && (image->Width <= 0 || image->Height <= 0 || image->Width > qm::kMaxJpegSide ||
                  image->Height > qm::kMaxJpegSide ||
                  image->Pixels.size() != size_t(image->Width) * image->Height))
        std::abort();
    return 0;
}
