#include "editor/Main.h"
#include "platform/TQtPlatform.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    qm::TQtPlatform platform;
    qm::TfrmMain frmMain(platform, QApplication::applicationDirPath().toStdU16String());
    if (!frmMain.Start())
        return 0;
    frmMain.show();
    return QApplication::exec();
}
