// Decodes an icon file the way the action tree does and writes it as PNG.

#include "app/TCli.h"
#include "config/uAtomicFile.h"
#include "config/uReadFile.h"
#include "editor/IconImage.h"

#include <QBuffer>
#include <QImage>
#include <charconv>
#include <ostream>

#include <unistd.h>

namespace qm {
namespace {

// Why an icon file could not be decoded: the system's reason when it
// cannot be read at all.
std::string WhyNotAnIcon(const std::string& path) {
    std::string why;
    const int fd = OpenRegularFile(path, &why);
    if (fd < 0)
        return why;
    close(fd);
    return "it is no image the program can decode";
}

bool ParseSize(const std::string& text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value > 0 && value <= 4096;
}

int Icon(TCliContext& ctx) {
    const auto& a = ctx.args;
    int width = 0;
    int height = 0;
    if ((a.size() != 2 && a.size() != 4) ||
        (a.size() == 4 && !(ParseSize(a[2], width) && ParseSize(a[3], height))))
        return kExitUsage;
    const QImage image = LoadJpegBitmap(QString::fromStdString(a[0]), width, height);
    if (image.isNull()) {
        ctx.err << "quillmark-cli: cannot decode " << a[0] << ": " << WhyNotAnIcon(a[0]) << '\n';
        return kExitFailed;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    std::string why;
    if (!image.save(&buffer, "PNG") ||
        !WriteFileAtomically(a[1], std::string_view(png.constData(), png.size()), &why))
        return CannotWrite(ctx, a[1], why);
    ctx.out << image.width() << 'x' << image.height() << '\n';
    return kExitOk;
}

} // namespace

std::vector<TCliCommand> IconCommands() {
    return {{"icon", "JPG OUT.png [W H]",
             "decode an icon as the action tree does; write it as PNG, scaled to W x H if given",
             Icon}};
}

} // namespace qm
