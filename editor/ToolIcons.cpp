#include "editor/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>

#include <cstring>

namespace qm {
namespace {

void Page(QPainter& p, QRectF r) {
    p.setBrush(Qt::white);
    p.drawRect(r);
    for (qreal y = r.top() + 3; y < r.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

// Our own 16 x 16 pictures, drawn in the toolbar's dark grey.
void Draw(QPainter& p, const char* name) {
    const auto is = [name](const char* n) { return std::strcmp(name, n) == 0; };
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.2));
    if (is("edit-cut")) {
        p.drawLine(QPointF(4, 1), QPointF(10, 11));
        p.drawLine(QPointF(12, 1), QPointF(6, 11));
        p.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
        p.drawEllipse(QPointF(11.5, 12.5), 2.5, 2.5);
    } else if (is("edit-copy")) {
        Page(p, QRectF(1.5, 1.5, 8, 10));
        Page(p, QRectF(6.5, 4.5, 8, 10));
    } else if (is("edit-paste")) {
        p.setBrush(QColor(0xC8, 0x9B, 0x5A));
        p.drawRoundedRect(QRectF(1.5, 2.5, 11, 12.5), 1.5, 1.5);
        p.setBrush(QColor(0x70, 0x70, 0x70));
        p.drawRect(QRectF(4.5, 1, 5, 3));
        Page(p, QRectF(6.5, 6.5, 8, 8.5));
    } else if (is("edit-undo")) {
        QPainterPath arc;
        arc.moveTo(4, 6);
        arc.cubicTo(10, 2, 16, 8, 11, 14);
        p.setBrush(Qt::NoBrush);
        p.drawPath(arc);
        p.setBrush(QColor(0x30, 0x30, 0x30));
        p.drawPolygon(QPolygonF({QPointF(1, 6), QPointF(6, 2), QPointF(6, 10)}));
    } else if (is("edit-redo")) {
        p.translate(16, 0);
        p.scale(-1, 1);
        Draw(p, "edit-undo");
    } else if (is("edit-find")) {
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
        p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
        p.drawLine(QPointF(10, 10), QPointF(15, 15));
    } else if (is("view-grid")) {
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col)
                p.fillRect(QRectF(0.5 + col * 4, 2.5 + row * 4, 3, 3),
                           col == 1 && row == 1 ? QColor(0xFF, 0xCC, 0x00)
                                                : QColor(0x40, 0x40, 0x60));
    } else if (is("document-save")) {
        p.setBrush(QColor(0x40, 0x60, 0xA0));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
    } else if (is("edit-clear")) {
        p.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
        p.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
    } else if (is("document-open")) {
        p.setBrush(QColor(0xE8, 0xB8, 0x48));
        p.drawPolygon(QPolygonF({QPointF(1, 3), QPointF(6, 3), QPointF(7.5, 5), QPointF(15, 5),
                                 QPointF(15, 14), QPointF(1, 14)}));
    } else {
        Page(p, QRectF(3.5, 1.5, 9, 13));
    }
}

} // namespace

QIcon ToolIcon(const char* name) {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p, name);
    const QIcon own(picture);
    // A desktop's icon theme has its own pictures for these names; hicolor,
    // the theme of a system without one, has none of them, and searching it
    // costs every start some milliseconds.
    const QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == QLatin1String("hicolor"))
        return own;
    return QIcon::fromTheme(QString::fromLatin1(name), own);
}

} // namespace qm
