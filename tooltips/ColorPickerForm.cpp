#include "tooltips/ColorPickerForm.h"

#include "platform/TQtPlatform.h"
#include "platform/VerdanaFont.h"
#include "tooltips/ColBtn.h"
#include "tooltips/RtColorPicker.h"
#include "tooltips/TipRichEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QToolButton>
#include <QWindow>

namespace qm {
namespace {

constexpr int kWidth = 170;
constexpr int kHeight = 177;
constexpr int kSquareSize = 20;
constexpr int kColumns = 8;

// Red, green, blue as written; eight a row: greys, then red, yellow, green,
// cyan, blue and magenta, darker to lighter.
constexpr std::array<std::uint32_t, 56> kPalette = {
    0x000000, 0x808080, 0x400000, 0x404000, 0x004000, 0x004040, 0x000040, 0x400040,
    0x202020, 0x909090, 0x800000, 0x808000, 0x008000, 0x008080, 0x000080, 0x800080,
    0x303030, 0xA0A0A0, 0xC00000, 0xC0C000, 0x00C000, 0x00C0C0, 0x0000C0, 0xC000C0,
    0x404040, 0xB0B0B0, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF,
    0x505050, 0xC0C0C0, 0xFF4040, 0xFFFF40, 0x40FF40, 0x40FFFF, 0x4040FF, 0xFF40FF,
    0x606060, 0xD0D0D0, 0xFF8080, 0xFFFF80, 0x80FF80, 0x80FFFF, 0x8080FF, 0xFF80FF,
    0x707070, 0xFFFFFF, 0xFFC0C0, 0xFFFFC0, 0xC0FFC0, 0xC0FFFF, 0xC0C0FF, 0xFFC0FF,
};

int DistanceTo(int value, int low, int high) {
    return value < low ? low - value : value > high ? value - high : 0;
}

TColor FromRgb(std::uint32_t rgb) {
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

} // namespace

TColorPickerForm& TColorPickerForm::Shared() {
    // Never deleted: it outlives every combo, as the application's own window.
    static TColorPickerForm* const form = new TColorPickerForm;
    return *form;
}

TColorPickerForm::TColorPickerForm()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("ColorPickerForm"));
    setFixedSize(kWidth, kHeight);
    setFont(VerdanaFont());
    setAutoFillBackground(true);
    for (int i = 1; i <= 56; ++i) {
        squares_[i] = AddSquare(5 + (i - 1) % kColumns * kSquareSize,
                                5 + (i - 1) / kColumns * kSquareSize, FromRgb(kPalette[i - 1]));
        squares_[i]->setObjectName(QStringLiteral("ColBtn%1").arg(i));
    }
    squares_[0] = AddSquare(5, 150, dialogColor_);
    squares_[0]->setObjectName(QStringLiteral("ColBtnCustom"));
    btnOther_ = new QToolButton(this);
    btnOther_->setObjectName(QStringLiteral("btnOther"));
    btnOther_->setAutoRaise(true);
    btnOther_->setGeometry(28, 150, kWidth - 33, kSquareSize);
    btnOther_->installEventFilter(this);
    connect(btnOther_, &QToolButton::clicked, this, &TColorPickerForm::OtherColor);
}

TColBtn* TColorPickerForm::AddSquare(int left, int top, TColor color) {
    auto* square = new TColBtn(this);
    square->setGeometry(left, top, kSquareSize, kSquareSize);
    square->SetSqareColor(color);
    square->installEventFilter(this);
    connect(square, &TColBtn::clicked, this, [this, square] { PickSquare(square); });
    return square;
}

TPlatform& TColorPickerForm::Platform() {
    static TQtPlatform real;
    return platform_ ? *platform_ : real;
}

void TColorPickerForm::DropDown(TColorPickCombo& combo) {
    QPoint at = combo.mapToGlobal(QPoint(0, combo.height()));
    const QRect screen = combo.screen()->geometry();
    if (screen.x() + screen.width() < at.x() + width())
        at.setX(screen.x() + screen.width() - width());
    if (screen.y() + screen.height() < at.y() + height())
        at.setY(at.y() - height() - combo.height());
    // Standing over the combo's window, it is not blocked when that window
    // is a modal dialog; it stays the application's own.
    winId();
    windowHandle()->setTransientParent(combo.window()->windowHandle());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(combo.DropDnColor()));
    setPalette(colours);
    move(at);
    combo_ = &combo;
    MarkColor(combo.ActiveColor());
    btnOther_->setText(combo.OtherBtnCaption());
    show();
    activateWindow();
    TColBtn* down = squares_[1];
    for (TColBtn* square : squares_)
        down = square->isChecked() ? square : down;
    down->setFocus(Qt::PopupFocusReason);
}

void TColorPickerForm::MarkColor(TColor color) {
    current_ = color;
    bool matched = false;
    for (int i = 1; i <= 56; ++i) {
        squares_[i]->setChecked(squares_[i]->SqareColor() == color);
        matched = matched || squares_[i]->isChecked();
    }
    if (!matched)
        squares_[0]->SetSqareColor(color);
    squares_[0]->setChecked(!matched);
}

void TColorPickerForm::PickSquare(TColBtn* square) {
    current_ = square->SqareColor();
    if (combo_)
        combo_->SetActiveColor(current_);
    CloseUp(true);
}

void TColorPickerForm::OtherColor() {
    dialogOpen_ = true;
    const std::optional<QColor> chosen = Platform().ChooseColor(this, ToQColor(dialogColor_));
    dialogOpen_ = false;
    if (!chosen) {
        activateWindow();
        return;
    }
    dialogColor_ = ToDisplayColor(*chosen);
    squares_[0]->SetSqareColor(dialogColor_);
    PickSquare(squares_[0]);
}

void TColorPickerForm::CloseUp(bool backToCombo) {
    hide();
    // The combo's window gets its focus back: the combo, or whatever the
    // combo's handler gave it to.
    if (backToCombo && combo_)
        combo_->window()->activateWindow();
}

void TColorPickerForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible() && !dialogOpen_ &&
        QApplication::activeWindow() != this)
        CloseUp(false);
}

void TColorPickerForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        CloseUp(true);
    else
        QWidget::keyPressEvent(event);
}

void TColorPickerForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// Arrows move between the squares as they lie; Enter picks like Space.
bool TColorPickerForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    auto* button = static_cast<QAbstractButton*>(watched);
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (QWidget* next = Neighbour(button, key))
            next->setFocus(Qt::TabFocusReason);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        button->click();
        return true;
    default:
        return false;
    }
}

// The nearest square or button in the arrow's direction, those in line with
// this one first.
QWidget* TColorPickerForm::Neighbour(const QWidget* from, int key) const {
    const bool across = key == Qt::Key_Left || key == Qt::Key_Right;
    const int sign = key == Qt::Key_Left || key == Qt::Key_Up ? -1 : 1;
    const QPoint centre = from->geometry().center();
    QWidget* best = nullptr;
    int bestScore = 0;
    for (QWidget* candidate : findChildren<QAbstractButton*>()) {
        const QRect r = candidate->geometry();
        const int ahead =
            sign * (across ? r.center().x() - centre.x() : r.center().y() - centre.y());
        const int aside = across ? DistanceTo(centre.y(), r.top(), r.bottom())
                                 : DistanceTo(centre.x(), r.left(), r.right());
        const int score = ahead + 5 * aside;
        if (ahead > 0 && ahead >= aside && (!best || score < bestScore)) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

} // namespace qm
