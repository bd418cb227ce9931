#include "editor/Loading.h"

#include "editor/TProjectSettings.h"
#include "lang/GlobalConst.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QScreen>

namespace qm {
namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 197;
constexpr int kPictureHeight = 145;
const QColor kSilver(0xC0, 0xC0, 0xC0);

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
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

// Kept as plain pixels: a compressed picture costs the loading window, at
// every start, more to decode than the rest of its making.
QPixmap TfrmLoading::SplashPicture() {
    return QPixmap(QStringLiteral(":/editor/Splash.ppm"));
}

TfrmLoading::TfrmLoading(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      imgLoading(MakeLabel(this, "imgLoading", Qt::white, QRect(0, 0, kWidth, kPictureHeight))),
      lblLoading(MakeLabel(this, "lblLoading", Qt::white, QRect(5, 147, 246, 18))),
      lblLoadingStatus(MakeLabel(this, "lblLoadingStatus", kSilver, QRect(5, 165, 246, 16))),
      pbLoading(new QProgressBar(this)) {
    setObjectName(QStringLiteral("frmLoading"));
    setWindowTitle(QStringLiteral("Quillmark"));
    setFixedSize(kWidth, kHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    imgLoading->setPixmap(SplashPicture());
    // Both labels in the interface's own font: any other would be looked up
    // and loaded at every start, for a window that shows for a moment.
    lblLoading->setText(QString::fromUtf8("Затрузка..."));
    lblLoadingStatus->setText(Msg(msgStatusPreparing));

    pbLoading->setObjectName(QStringLiteral("pbLoading"));
    pbLoading->setGeometry(5, 184, 246, 8);
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
