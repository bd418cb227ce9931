#include "gamedata/DdsToJpeg.h"

#include "config/uAtomicFile.h"
#include "config/uReadFile.h"
#include "gamedata/DdsDecoder.h"

#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <vector>

namespace qm {
namespace {

// An HD button image is a few hundred kilobytes; 4096 x 4096 of BC3 is 16 MB.
constexpr std::uintmax_t kMaxDdsFileSize = 32u << 20;
constexpr int kQuality = 90;

// The picture shrunk by the whole factor that brings its larger side within
// the icon's, each pixel the average of its block (blocks at the right and
// bottom edges may be cut short); alpha is dropped, as the classic icons
// have none.
std::vector<std::uint8_t> IconRgb(const TPixelImage& image, int& width, int& height) {
    const int factor = (std::max(image.Width, image.Height) + kIconSide - 1) / kIconSide;
    width = (image.Width + factor - 1) / factor;
    height = (image.Height + factor - 1) / factor;
    std::vector<std::uint8_t> rgb(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t sum[3] = {};
            std::uint32_t count = 0;
            for (int sy = y * factor; sy < std::min(image.Height, (y + 1) * factor); ++sy)
                for (int sx = x * factor; sx < std::min(image.Width, (x + 1) * factor); ++sx) {
                    const std::uint32_t p = image.Pixels[size_t(sy) * image.Width + sx];
                    sum[0] += (p >> 16) & 0xFF;
                    sum[1] += (p >> 8) & 0xFF;
                    sum[2] += p & 0xFF;
                    ++count;
                }
            for (int c = 0; c < 3; ++c)
                rgb[(size_t(y) * width + x) * 3 + c] = static_cast<std::uint8_t>(sum[c] / count);
        }
    }
    return rgb;
}

// libjpeg's fatal errors must not end the process: they jump back here.
struct TEncodeError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void OnFatalError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<TEncodeError*>(cinfo->err)->jump, 1);
}

// Everything the encoding touches after setjmp lives here, outside the
// stack frame that longjmp returns to.
struct TEncodeState {
    jpeg_compress_struct cinfo{};
    TEncodeError err{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    TEncodeState() {
        cinfo.err = jpeg_std_error(&err.pub);
        err.pub.error_exit = OnFatalError;
        jpeg_create_compress(&cinfo);
    }
    ~TEncodeState() {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
    }
};

// The RGB pixels as a baseline JPEG; empty when libjpeg fails.
std::string EncodeRgb(const std::vector<std::uint8_t>& rgb, int width, int height) {
    TEncodeState st;
    if (setjmp(st.err.jump))
        return {};
    jpeg_mem_dest(&st.cinfo, &st.buffer, &st.size);
    st.cinfo.image_width = static_cast<JDIMENSION>(width);
    st.cinfo.image_height = static_cast<JDIMENSION>(height);
    st.cinfo.input_components = 3;
    st.cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&st.cinfo);
    jpeg_set_quality(&st.cinfo, kQuality, TRUE);
    jpeg_start_compress(&st.cinfo, TRUE);
    while (st.cinfo.next_scanline < st.cinfo.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(rgb.data() + size_t(st.cinfo.next_scanline) * width * 3);
        jpeg_write_scanlines(&st.cinfo, &row, 1);
    }
    jpeg_finish_compress(&st.cinfo);
    return std::string(reinterpret_cast<const char*>(st.buffer), st.size);
}

} // namespace

bool DdsToJpeg(const std::filesystem::path& dds, const std::filesystem::path& jpeg,
               std::string* writeWhy) {
    const auto bytes = ReadFileBytes(dds, kMaxDdsFileSize);
    const auto image = bytes ? DecodeDds(bytes->data(), bytes->size()) : std::nullopt;
    if (!image)
        return false;
    int width = 0, height = 0;
    const std::vector<std::uint8_t> rgb = IconRgb(*image, width, height);
    const std::string encoded = EncodeRgb(rgb, width, height);
    if (encoded.empty())
        return false;
    return FillNewFile(
        jpeg, [&](const TFileWrite& write) { return write(encoded.data(), encoded.size()); },
        writeWhy);
}

} // namespace qm
