#include "editor/Loading.h"

#include "editor/TProjectSettings.h"
#include "lang/GlobalConst.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QProgressBar>
#include <QRadialGradient>
#include <QScreen>

namespace qm {
namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 197;
constexpr int kPictureHeight = 145;
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kGold(0xE8, 0xC8, 0x72);

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

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

QLabel* MakeLabel(QWidget* parent, const char* name, const QColor& colour, const QRect& at) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(at);
    label->setTextFormat(Qt::PlainText); // texts of the message table and language files
    SetTextColour(label, colour);
    return label;
}

} // namespace

QPixmap TfrmLoading::SplashPicture() {
    QPixmap picture(kWidth, kPictureHeight);
    picture.fill(Qt::black);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    PaintBackground(p);
    PaintQuill(p);
    PaintLettering(p);
    return picture;
}

TfrmLoading::TfrmLoading(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      imgLoading(MakeLabel(this, "imgLoading", Qt::white, QRect(0, 0, kWidth, kPictureHeight))),
      lblLoading(MakeLabel(this, "lblLoading", Qt::white, QRect(8, 147, 240, 18))),
      lblLoadingStatus(MakeLabel(this, "lblLoadingStatus", kSilver, QRect(8, 165, 240, 16))),
      pbLoading(new QProgressBar(this)) {
    setObjectName(QStringLiteral("frmLoading"));
    setWindowTitle(QStringLiteral("Quillmark"));
    setFixedSize(kWidth, kHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    imgLoading->setPixmap(SplashPicture());
    lblLoading->setText(QString::fromUtf8("Затрузка..."));
    QFont bold = lblLoading->font();
    bold.setBold(true);
    lblLoading->setFont(bold);
    lblLoadingStatus->setText(Msg(msgStatusPreparing));
    // A little smaller than the title, so that the longest step fits.
    QFont small = lblLoadingStatus->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    lblLoadingStatus->setFont(small);

    pbLoading->setObjectName(QStringLiteral("pbLoading"));
    pbLoading->setGeometry(8, 184, 240, 8);
    pbLoading->setTextVisible(false);
    pbLoading->setStyleSheet(
        QStringLiteral("QProgressBar { border: 1px solid #808080; background: #181818; }"
                       "QProgressBar::chunk { background: #c0c0c0; }"));
    pbLoading->hide();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TfrmLoading::TfrmLoading(TProjectSettings& settings, QWidget* parent) : TfrmLoading(parent) {
    settings.LoadStrings();
}

void TfrmLoading::SetStatus(const QString& text) {
    lblLoadingStatus->setText(text);
    RepaintNow();
}

void TfrmLoading::SetProgress(int done, int total) {
    if (total <= 0) {
        pbLoading->hide();
    } else {
        pbLoading->setRange(0, total);
        pbLoading->setValue(qBound(0, done, total));
        pbLoading->show();
    }
    RepaintNow();
}

void TfrmLoading::RepaintNow() {
    repaint();
    // Lets the window system draw it; what the user does waits for the import.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace qm
