// Draws the program's picture, lang/Quillmark.png: a quill over a key cap,
// 64 x 64 with a transparent background. Run by make-program-icon.sh.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kGold(0xE8, 0xC8, 0x72);

void PaintKeyCap(QPainter& p) {
    // The key's skirt, then its dished top face, lit from the upper left.
    QLinearGradient skirt(0, 20, 0, 60);
    skirt.setColorAt(0, QColor(0x3A, 0x42, 0x52));
    skirt.setColorAt(1, QColor(0x1A, 0x1E, 0x26));
    p.setPen(QPen(QColor(0x10, 0x12, 0x18), 1));
    p.setBrush(skirt);
    p.drawRoundedRect(QRectF(3.5, 19.5, 45, 41), 7, 7);
    QLinearGradient face(10, 22, 40, 52);
    face.setColorAt(0, QColor(0x6A, 0x76, 0x8E));
    face.setColorAt(1, QColor(0x3A, 0x42, 0x54));
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(9, 22, 34, 31), 5, 5);

    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(24);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kGold);
    p.drawText(QRectF(7, 21, 28, 31), Qt::AlignCenter, QStringLiteral("Q"));
}

void PaintQuill(QPainter& p) {
    // The vane: two curves from the nib up to the tip of the feather.
    QPainterPath vane;
    vane.moveTo(30, 50);
    vane.cubicTo(30, 30, 44, 10, 62, 2);
    vane.cubicTo(58, 20, 48, 38, 30, 50);
    QLinearGradient shade(30, 50, 62, 2);
    shade.setColorAt(0, QColor(0xC8, 0xB8, 0x96));
    shade.setColorAt(1, QColor(0xFF, 0xFC, 0xF2));
    p.setPen(QPen(QColor(0x70, 0x60, 0x48), 0.8));
    p.setBrush(shade);
    p.drawPath(vane);

    // The shaft, a few barbs, and the nib dipped in gold ink.
    p.setPen(QPen(QColor(0x5A, 0x48, 0x30), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath shaft;
    shaft.moveTo(26, 58);
    shaft.quadTo(38, 30, 61, 3);
    p.drawPath(shaft);
    p.setPen(QPen(QColor(0x98, 0x88, 0x6C), 0.8));
    for (int i = 0; i < 4; ++i) {
        const qreal t = 0.45 + i * 0.1;
        const QPointF on(26 + 35 * t, 58 - 55 * t);
        p.drawLine(on, on + QPointF(-5, 1.5));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawEllipse(QPointF(25.5, 59), 1.8, 1.8);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    PaintKeyCap(p);
    PaintQuill(p);
    p.end();
    return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
