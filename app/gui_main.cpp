#include "editor/Main.h"
#include "editor/TDataFolder.h"
#include "platform/TQtPlatform.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    qm::TQtPlatform platform;
    // An installed copy finds its shipped files under share/, not beside it.
    const QString programFolder = qm::TDataFolder::ProgramFolderOf(
        QApplication::applicationDirPath(), QStringLiteral(QUILLMARK_INSTALLED_DATA));
    qm::TfrmMain frmMain(platform, programFolder.toStdU16String());
    if (!frmMain.Start())
        return 0;
    frmMain.show();
    // For smoke tests of a built or installed copy: the window closes as
    // soon as it is shown, through the ordinary close request.
    if (qEnvironmentVariableIsSet("QUILLMARK_CLOSE_WHEN_SHOWN"))
        QTimer::singleShot(0, &frmMain, &QWidget::close);
    return QApplication::exec();
}
