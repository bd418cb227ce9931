#include "editor/Main.h"
#include "platform/TQtPlatform.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv) {
    // Past a file-size limit a write then fails with EFBIG and the save
    // cleans up after itself, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    qm::TQtPlatform platform;
    qm::TfrmMain frmMain(platform, QApplication::applicationDirPath().toStdU16String());
    if (!frmMain.Start())
        return 0;
    frmMain.show();
    return QApplication::exec();
}
