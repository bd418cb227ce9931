#pragma once
// Button icons as pictures for the tree and the command card.

#include <QImage>
#include <QString>

namespace qm {

// Decodes a JPEG icon file and scales it smoothly to width by height; a
// width or height of 0 or less keeps the image's own. A null image when the
// file cannot be decoded.
QImage LoadJpegBitmap(const QString& path, int width, int height);

} // namespace qm
