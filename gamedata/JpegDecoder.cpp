#include "gamedata/JpegDecoder.h"

#include "config/uReadFile.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jerror.h>
#include <jpeglib.h>

namespace qm {
namespace {

// Icon files are a few kilobytes; anything this large is not one.
constexpr std::uintmax_t kMaxJpegFileSize = 64 * 1024 * 1024;

// libjpeg reports fatal errors through error_exit, which must not return:
// jump back to the decode instead of letting the library end the process.
struct TErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool truncated = false;
};

void OnFatalError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<TErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings are not printed. A premature end of data is remembered: the
// library would pad the rest of the picture with grey.
void OnMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<TErrorManager*>(cinfo->err)->truncated = true;
}

void Silent(j_common_ptr) {}

// A progressive file can hold thousands of tiny scans, each one a pass over
// the whole picture; no real picture needs more than a few dozen.
constexpr int kMaxScans = 256;

void OnProgress(j_common_ptr cinfo) {
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (cinfo->is_decompressor && d->input_scan_number > kMaxScans)
        OnFatalError(cinfo);
}

// Everything the decode touches after setjmp lives here, outside the stack
// frame that longjmp returns to.
struct TDecodeState {
    jpeg_decompress_struct cinfo{};
    TErrorManager err{};
    jpeg_progress_mgr progress{};
    std::vector<JSAMPLE> row;
    TPixelImage image;

    TDecodeState() {
        cinfo.err = jpeg_std_error(&err.pub);
        err.pub.error_exit = OnFatalError;
        err.pub.emit_message = OnMessage;
        err.pub.output_message = Silent;
        progress.progress_monitor = OnProgress;
    }
    // Safe on a structure that was never created: it frees what exists.
    ~TDecodeState() { jpeg_destroy_decompress(&cinfo); }
    TDecodeState(const TDecodeState&) = delete;
    TDecodeState& operator=(const TDecodeState&) = delete;
};

// Chooses the output colour space by the file's component count; false for
// counts other than 1, 3 and 4.
bool SelectOutput(jpeg_decompress_struct& cinfo) {
    switch (cinfo.num_components) {
    case 1:
        cinfo.out_color_space = JCS_GRAYSCALE;
        return true;
    case 3:
        cinfo.out_color_space = JCS_RGB;
        return true;
    case 4:
        // Declaring the file CMYK as well keeps libjpeg from converting an
        // Adobe YCCK file: the components arrive exactly as stored.
        cinfo.jpeg_color_space = JCS_CMYK;
        cinfo.out_color_space = JCS_CMYK;
        return true;
    default:
        return false;
    }
}

std::uint32_t Pixel(const JSAMPLE* s, int components) {
    const auto rgb = [](std::uint32_t r, std::uint32_t g, std::uint32_t b) {
        return 0xFF000000u | r << 16 | g << 8 | b;
    };
    switch (components) {
    case 1:
        return rgb(s[0], s[0], s[0]);
    case 3:
        return rgb(s[0], s[1], s[2]);
    default: // the game's layout: blue, green, red, then an unused fourth
        return rgb(s[2], s[1], s[0]);
    }
}

void StoreRow(TDecodeState& st, JDIMENSION y) {
    const int components = st.cinfo.output_components;
    const JSAMPLE* s = st.row.data();
    std::uint32_t* out = st.image.Pixels.data() + size_t(y) * st.image.Width;
    for (int x = 0; x < st.image.Width; ++x, s += components)
        out[x] = Pixel(s, components);
}

// The decoder scales by 1/2, 1/4 or 1/8 inside its inverse transform at a
// fraction of the cost of decoding whole and scaling after: the largest
// such step that still gives at least the size wanted.
void ScaleDownTo(jpeg_decompress_struct& cinfo, int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    for (unsigned denom : {8u, 4u, 2u}) {
        const auto scaled = [denom](JDIMENSION side) { return (side + denom - 1) / denom; };
        if (scaled(cinfo.image_width) >= static_cast<JDIMENSION>(width) &&
            scaled(cinfo.image_height) >= static_cast<JDIMENSION>(height)) {
            cinfo.scale_num = 1;
            cinfo.scale_denom = denom;
            return;
        }
    }
}

bool Decode(TDecodeState& st, const unsigned char* data, size_t size, int width, int height) {
    if (setjmp(st.err.jump))
        return false;
    auto& cinfo = st.cinfo;
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &st.progress;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.image_width > kMaxJpegSide || cinfo.image_height > kMaxJpegSide ||
        !SelectOutput(cinfo))
        return false;
    ScaleDownTo(cinfo, width, height);
    jpeg_start_decompress(&cinfo);
    st.image.Width = static_cast<int>(cinfo.output_width);
    st.image.Height = static_cast<int>(cinfo.output_height);
    st.image.Pixels.resize(size_t(cinfo.output_width) * cinfo.output_height);
    st.row.resize(size_t(cinfo.output_width) * cinfo.output_components);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[1] = {st.row.data()};
        const JDIMENSION y = cinfo.output_scanline;
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1)
            return false;
        StoreRow(st, y);
    }
    jpeg_finish_decompress(&cinfo);
    return !st.err.truncated;
}

} // namespace

std::optional<TPixelImage> DecodeJpeg(const void* data, size_t size, int atLeastWidth,
                                      int atLeastHeight) {
    if (!data || size == 0 || size > kMaxJpegFileSize)
        return std::nullopt;
    auto state = std::make_unique<TDecodeState>();
    if (!Decode(*state, static_cast<const unsigned char*>(data), size, atLeastWidth, atLeastHeight))
        return std::nullopt;
    return std::move(state->image);
}

std::optional<TPixelImage> DecodeJpegFile(const std::filesystem::path& file, int atLeastWidth,
                                          int atLeastHeight) {
    const auto bytes = ReadFileBytes(file, kMaxJpegFileSize);
    if (!bytes)
        return std::nullopt;
    return DecodeJpeg(bytes->data(), bytes->size(), atLeastWidth, atLeastHeight);
}

} // namespace qm
