#include "tooltips/RtColorPicker.h"

#include "tooltips/ColorPickerForm.h"
#include "tooltips/TipRichEdit.h"

#include <QApplication>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace qm {
namespace {

constexpr int kHeight = 22;

// The box is as wide as its square and the drop-down arrow need.
int ForcedWidth(int height) {
    return height + height / 2 + 6;
}

} // namespace

TColorPickCombo::TColorPickCombo(QWidget* parent)
    : QComboBox(parent),
      dropDnColor_(ToDisplayColor(QApplication::palette().color(QPalette::Button))) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedWidth(ForcedWidth(kHeight));
    resize(ForcedWidth(kHeight), kHeight);
}

void TColorPickCombo::SetActiveColor(TColor color) {
    if (color == activeColor_)
        return;
    activeColor_ = color;
    emit OnChanged(this);
    update();
}

void TColorPickCombo::showPopup() {
    TColorPickerForm::Shared().DropDown(*this);
}

QSize TColorPickCombo::sizeHint() const {
    return QSize(ForcedWidth(height()), height());
}

QSize TColorPickCombo::minimumSizeHint() const {
    return sizeHint();
}

void TColorPickCombo::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.fillRect(
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this),
        palette().base());
    const int h = height();
    const int margin = h / 5;
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.setBrush(ToQColor(activeColor_));
    // Corners (margin, margin) and (h - margin, h - margin), the far one excluded.
    painter.drawRect(margin, margin, h - 2 * margin - 1, h - 2 * margin - 1);
}

// Fixing the width makes every resize and layout take it at once; a new
// height sets the width that goes with it.
void TColorPickCombo::resizeEvent(QResizeEvent* event) {
    setFixedWidth(ForcedWidth(height()));
    QComboBox::resizeEvent(event);
}

} // namespace qm
