// The editor's icon pictures from any file: a picture, when there is one,
// has the size asked for. The first two bytes give that size (0 keeps the
// picture's own), the rest is the file.

#include "FuzzInput.h"
#include "editor/IconImage.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const qm::fuzz::TInputFile input("icon-image.jpg");
    if (size < 2)
        return 0;
    const int width = data[0] % 72, height = data[1] % 72;
    qm::fuzz::WriteInput(input.path(), data + 2, size - 2);
    const QImage image =
        qm::LoadJpegBitmap(QString::fromStdString(input.path().string()), width, height);
    if (!image.isNull() &&
        ((width > 0 && image.width() != width) || (height > 0 && image.height() != height)))
        std::abort();
    return 0;
}
