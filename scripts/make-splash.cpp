// Draws the loading window's picture, editor/Splash.ppm: a quill over a dark
// sky with the program's name, 256 x 145. Run by make-program-icon.sh; the
// window shows the picture as drawn, with no font to look up at the start.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

constexpr int kWidth = 256;
constexpr int kPictureHeight = 145;
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kGold(0xE8, 0xC8, 0x72);

void PaintBackground(QPainter& p) {
    QLinearGradient sky(0, 0, 0, kPictureHeight);
    sky.setColorAt(0, QColor(0x14, 0x1C, 0x2C));
    sky.setColorAt(1, Qt::black);
    p.fillRect(0, 0, kWidth, kPictureHeight, sky);
    QRadialGradient glow(QPointF(78, 70), 70);
    glow.setColorAt(0, QColor(0x50, 0x40, 0x20, 150));
    glow.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(0, 0, kWidth, kPictureHeight, glow);
}

void PaintQuill(QPainter& p) {
    // The vane: two curves from the nib to the top of the feather.
    QPainterPath vane;
    vane.moveTo(52, 128);
    vane.cubicTo(40, 90, 70, 35, 128, 12);
    vane.cubicTo(112, 48, 96, 92, 52, 128);
    QLinearGradient shade(52, 128, 128, 12);
    shade.setColorAt(0, QColor(0xB0, 0xA0, 0x80));
    shade.setColorAt(1, Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawPath(vane);

    // The shaft and a few barbs.
    p.setPen(QPen(QColor(0x60, 0x50, 0x38), 1.5));
    p.setBrush(Qt::NoBrush);
    QPainterPath shaft;
    shaft.moveTo(48, 136);
    shaft.quadTo(72, 80, 126, 14);
    p.drawPath(shaft);
    p.setPen(QPen(QColor(0x80, 0x70, 0x58), 1));
    for (int i = 0; i < 6; ++i) {
        const qreal t = 0.25 + i * 0.11;
        const QPointF on(48 + 78 * t, 136 - 122 * t);
        p.drawLine(on, on + QPointF(-14 + i, -4 - i));
    }
    // Ink at the nib.
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawEllipse(QPointF(46, 138), 2.5, 2.5);
}

void PaintLettering(QPainter& p) {
    QFont title(QStringLiteral("Serif"));
    title.setPixelSize(26);
    title.setBold(true);
    title.setItalic(true);
    p.setFont(title);
    p.setPen(kGold);
    p.drawText(QRect(96, 66, 156, 36), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Quillmark"));
    QFont small = title;
    small.setPixelSize(10);
    small.setBold(false);
    small.setItalic(false);
    p.setFont(small);
    p.setPen(kSilver);
    p.drawText(QRect(100, 100, 152, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Warcraft III hotkeys"));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QImage picture(kWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    PaintBackground(p);
    PaintQuill(p);
    PaintLettering(p);
    p.end();
    return picture.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
