// Decodes an icon file the way the action tree does and writes it as PNG.

#include "app/TCli.h"
#include "editor/IconImage.h"

#include <QImage>
#include <charconv>
#include <ostream>

namespace qm {
namespace {

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
        ctx.err << "cannot decode " << a[0] << '\n';
        return kExitFailed;
    }
    if (!image.save(QString::fromStdString(a[1]), "PNG")) {
        ctx.err << "cannot write " << a[1] << '\n';
        return kExitCannotWrite;
    }
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
