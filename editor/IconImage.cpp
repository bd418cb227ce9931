#include "editor/IconImage.h"

#include "editor/PathText.h"
#include "gamedata/JpegDecoder.h"

#include <cstring>

namespace qm {
namespace {

QImage ToImage(const TPixelImage& pixels) {
    QImage image(pixels.Width, pixels.Height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const size_t rowBytes = static_cast<size_t>(pixels.Width) * sizeof(std::uint32_t);
    for (int y = 0; y < pixels.Height; ++y)
        std::memcpy(image.scanLine(y), pixels.Pixels.data() + static_cast<size_t>(y) * pixels.Width,
                    rowBytes);
    return image;
}

} // namespace

QImage LoadJpegBitmap(const QString& path, int width, int height) {
    const auto decoded = DecodeJpegFile(ToPath(path), width, height);
    if (!decoded || decoded->Width <= 0 || decoded->Height <= 0 ||
        decoded->Pixels.size() !=
            static_cast<size_t>(decoded->Width) * static_cast<size_t>(decoded->Height))
        return {};
    QImage image = ToImage(*decoded);
    const int w = width > 0 ? width : image.width();
    const int h = height > 0 ? height : image.height();
    if (w == image.width() && h == image.height())
        return image;
    return image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace qm
