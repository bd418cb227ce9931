#include "tooltips/UFBitBtn.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace qm {

void TUFBitBtn::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (hasFocus())
        option.features |= QStyleOptionButton::DefaultButton;
    else
        option.features &= ~QStyleOptionButton::DefaultButton;
    painter.drawControl(QStyle::CE_PushButton, option);
}

} // namespace qm
