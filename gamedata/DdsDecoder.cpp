#include "gamedata/DdsDecoder.h"

#include <array>
#include <cstring>
#include <string_view>

namespace qm {
namespace {

constexpr size_t kHeaderEnd = 4 + 124; // the magic, then the header
constexpr size_t kDx10End = kHeaderEnd + 20;
constexpr std::uint32_t kFourCcFlag = 0x4;
constexpr std::uint32_t kRgbFlag = 0x40;
constexpr std::uint32_t kAlphaFlag = 0x1;

enum class TFormat { Bc1, Bc2, Bc3, Masked };

struct THeader {
    int Width = 0;
    int Height = 0;
    TFormat Format = TFormat::Bc1;
    size_t DataStart = kHeaderEnd;
    std::array<std::uint32_t, 4> Masks{}; // red, green, blue, alpha
};

std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

std::uint32_t FourCc(std::string_view code) {
    return Le32(reinterpret_cast<const std::uint8_t*>(code.data()));
}

bool Fail(std::string* why, const char* text) {
    if (why)
        *why = text;
    return false;
}

// The DX10 header's formats we read.
bool FormatOfDxgi(std::uint32_t dxgi, THeader& header) {
    switch (dxgi) {
    case 71:
    case 72:
        header.Format = TFormat::Bc1;
        return true;
    case 74:
    case 75:
        header.Format = TFormat::Bc2;
        return true;
    case 77:
    case 78:
        header.Format = TFormat::Bc3;
        return true;
    case 28:
    case 29: // R8G8B8A8
        header.Format = TFormat::Masked;
        header.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
        return true;
    case 87:
    case 91: // B8G8R8A8
        header.Format = TFormat::Masked;
        header.Masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
        return true;
    default:
        return false;
    }
}

bool ReadFormat(const std::uint8_t* bytes, size_t size, THeader& header, std::string* why) {
    const std::uint8_t* format = bytes + 4 + 72; // the pixel format inside the header
    const std::uint32_t flags = Le32(format + 4);
    const std::uint32_t fourCc = Le32(format + 8);
    if (flags & kFourCcFlag) {
        if (fourCc == FourCc("DXT1"))
            header.Format = TFormat::Bc1;
        else if (fourCc == FourCc("DXT2") || fourCc == FourCc("DXT3"))
            header.Format = TFormat::Bc2;
        else if (fourCc == FourCc("DXT4") || fourCc == FourCc("DXT5"))
            header.Format = TFormat::Bc3;
        else if (fourCc == FourCc("DX10")) {
            if (size < kDx10End)
                return Fail(why, "the DX10 header is cut short");
            header.DataStart = kDx10End;
            if (!FormatOfDxgi(Le32(bytes + kHeaderEnd), header))
                return Fail(why, "a pixel format the program does not read");
        } else
            return Fail(why, "a pixel format the program does not read");
        return true;
    }
    if (!(flags & kRgbFlag) || Le32(format + 12) != 32)
        return Fail(why, "a pixel format the program does not read");
    header.Format = TFormat::Masked;
    header.Masks = {Le32(format + 16), Le32(format + 20), Le32(format + 24),
                    (flags & kAlphaFlag) ? Le32(format + 28) : 0};
    return true;
}

// Bytes of the full-size picture.
size_t DataSize(const THeader& h) {
    const size_t blocks = size_t((h.Width + 3) / 4) * size_t((h.Height + 3) / 4);
    switch (h.Format) {
    case TFormat::Bc1:
        return blocks * 8;
    case TFormat::Bc2:
    case TFormat::Bc3:
        return blocks * 16;
    case TFormat::Masked:
        return size_t(h.Width) * size_t(h.Height) * 4;
    }
    return 0;
}

std::optional<THeader> ReadHeader(const std::uint8_t* bytes, size_t size, std::string* why) {
    if (size < kHeaderEnd || std::memcmp(bytes, "DDS ", 4) != 0 || Le32(bytes + 4) != 124) {
        Fail(why, "not a DDS picture");
        return std::nullopt;
    }
    THeader header;
    header.Height = static_cast<int>(std::min<std::uint32_t>(Le32(bytes + 12), kMaxJpegSide + 1));
    header.Width = static_cast<int>(std::min<std::uint32_t>(Le32(bytes + 16), kMaxJpegSide + 1));
    if (header.Width <= 0 || header.Height <= 0 || header.Width > kMaxJpegSide ||
        header.Height > kMaxJpegSide) {
        Fail(why, "a picture size no button has");
        return std::nullopt;
    }
    if (!ReadFormat(bytes, size, header, why))
        return std::nullopt;
    if (size - header.DataStart < DataSize(header)) {
        Fail(why, "the picture is cut short");
        return std::nullopt;
    }
    return header;
}

std::uint32_t Rgb565(std::uint16_t c) {
    const std::uint32_t r = (c >> 11) & 0x1F, g = (c >> 5) & 0x3F, b = c & 0x1F;
    return ((r * 255 + 15) / 31) << 16 | ((g * 255 + 31) / 63) << 8 | (b * 255 + 15) / 31;
}

// Mixes two 0x00RRGGBB colours channel by channel: (a * wa + b * wb) / (wa + wb).
std::uint32_t Mix(std::uint32_t a, std::uint32_t b, int wa, int wb) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= ((ca * wa + cb * wb) / (wa + wb)) << shift;
    }
    return out;
}

// The sixteen colours of a BC1 block; `oneBitAlpha` allows its three-colour
// mode, in which the fourth colour is transparent black (BC2 and BC3 always
// use four colours).
std::array<std::uint32_t, 16> ColourBlock(const std::uint8_t* block, bool oneBitAlpha) {
    const std::uint16_t c0 = block[0] | (block[1] << 8), c1 = block[2] | (block[3] << 8);
    const std::uint32_t a = Rgb565(c0), b = Rgb565(c1);
    std::array<std::uint32_t, 4> palette;
    if (c0 > c1 || !oneBitAlpha)
        palette = {a | 0xFF000000, b | 0xFF000000, Mix(a, b, 2, 1) | 0xFF000000,
                   Mix(a, b, 1, 2) | 0xFF000000};
    else
        palette = {a | 0xFF000000, b | 0xFF000000, Mix(a, b, 1, 1) | 0xFF000000, 0};
    const std::uint32_t indices = Le32(block + 4);
    std::array<std::uint32_t, 16> out;
    for (int i = 0; i < 16; ++i)
        out[i] = palette[(indices >> (2 * i)) & 3];
    return out;
}

// BC2: sixteen explicit four-bit alphas.
std::array<std::uint8_t, 16> ExplicitAlpha(const std::uint8_t* block) {
    std::array<std::uint8_t, 16> out;
    for (int i = 0; i < 16; ++i)
        out[i] = static_cast<std::uint8_t>(((block[i / 2] >> (4 * (i % 2))) & 0xF) * 17);
    return out;
}

// BC3: two end points and three-bit indices into the eight alphas between.
std::array<std::uint8_t, 16> InterpolatedAlpha(const std::uint8_t* block) {
    const int a0 = block[0], a1 = block[1];
    std::array<int, 8> alphas = {a0, a1};
    if (a0 > a1) {
        for (int i = 1; i < 7; ++i)
            alphas[i + 1] = ((7 - i) * a0 + i * a1) / 7;
    } else {
        for (int i = 1; i < 5; ++i)
            alphas[i + 1] = ((5 - i) * a0 + i * a1) / 5;
        alphas[6] = 0;
        alphas[7] = 255;
    }
    std::uint64_t bits = 0;
    for (int i = 0; i < 6; ++i)
        bits |= std::uint64_t(block[2 + i]) << (8 * i);
    std::array<std::uint8_t, 16> out;
    for (int i = 0; i < 16; ++i)
        out[i] = static_cast<std::uint8_t>(alphas[(bits >> (3 * i)) & 7]);
    return out;
}

void DecodeBlocks(const std::uint8_t* data, const THeader& h, TPixelImage& image) {
    const size_t blockBytes = h.Format == TFormat::Bc1 ? 8 : 16;
    const int across = (h.Width + 3) / 4;
    for (int by = 0; by < (h.Height + 3) / 4; ++by) {
        for (int bx = 0; bx < across; ++bx) {
            const std::uint8_t* block = data + (size_t(by) * across + bx) * blockBytes;
            std::array<std::uint32_t, 16> colours;
            if (h.Format == TFormat::Bc1) {
                colours = ColourBlock(block, true);
            } else {
                colours = ColourBlock(block + 8, false);
                const auto alpha =
                    h.Format == TFormat::Bc2 ? ExplicitAlpha(block) : InterpolatedAlpha(block);
                for (int i = 0; i < 16; ++i)
                    colours[i] = (colours[i] & 0xFFFFFF) | (std::uint32_t(alpha[i]) << 24);
            }
            for (int i = 0; i < 16; ++i) {
                const int x = bx * 4 + i % 4, y = by * 4 + i / 4;
                if (x < h.Width && y < h.Height)
                    image.Pixels[size_t(y) * h.Width + x] = colours[i];
            }
        }
    }
}

// One channel of a masked pixel, scaled to eight bits; `fallback` without a mask.
std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask, std::uint32_t fallback) {
    if (mask == 0)
        return fallback;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const std::uint32_t max = mask >> shift;
    return ((pixel & mask) >> shift) * 255 / max;
}

void DecodeMasked(const std::uint8_t* data, const THeader& h, TPixelImage& image) {
    for (size_t i = 0; i < image.Pixels.size(); ++i) {
        const std::uint32_t p = Le32(data + 4 * i);
        image.Pixels[i] = Channel(p, h.Masks[3], 255) << 24 | Channel(p, h.Masks[0], 0) << 16 |
                          Channel(p, h.Masks[1], 0) << 8 | Channel(p, h.Masks[2], 0);
    }
}

} // namespace

std::optional<TPixelImage> DecodeDds(const void* data, size_t size, std::string* why) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const std::optional<THeader> header = ReadHeader(bytes, size, why);
    if (!header)
        return std::nullopt;
    TPixelImage image;
    image.Width = header->Width;
    image.Height = header->Height;
    image.Pixels.resize(size_t(image.Width) * image.Height);
    if (header->Format == TFormat::Masked)
        DecodeMasked(bytes + header->DataStart, *header, image);
    else
        DecodeBlocks(bytes + header->DataStart, *header, image);
    return image;
}

} // namespace qm
