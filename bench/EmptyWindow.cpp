// The yardstick of the start benchmark: an empty captioned main window of
// the same Qt, shown and closed as the editor is when
// QUILLMARK_CLOSE_WHEN_SHOWN is set.

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quillmark"));
    window.resize(677, 444);
    window.show();
    if (qEnvironmentVariableIsSet("QUILLMARK_CLOSE_WHEN_SHOWN"))
        QTimer::singleShot(0, &window, &QWidget::close);
    return QApplication::exec();
}
