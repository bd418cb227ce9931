#include "tooltips/ColBtn.h"

#include "tooltips/TipRichEdit.h"

#include <QPainter>
#include <QPixmap>

namespace qm {
namespace {

constexpr int kSquare = 14;

} // namespace

TColBtn::TColBtn(QWidget* parent) : QToolButton(parent) {
    setAutoRaise(true);
    setCheckable(true);
    setIconSize(QSize(kSquare, kSquare));
    SetSqareColor(0);
}

void TColBtn::SetSqareColor(TColor color) {
    color_ = color;
    QPixmap square(kSquare, kSquare);
    square.fill(ToQColor(color));
    QPainter painter(&square);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(0, 0, kSquare - 1, kSquare - 1);
    painter.end();
    setIcon(QIcon(square));
}

// The square covers the style's focus frame, so the focus is drawn around it.
void TColBtn::paintEvent(QPaintEvent* event) {
    QToolButton::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

} // namespace qm
