#include "editor/Main.h"
#include "editor/TDataFolder.h"
#include "platform/TQtPlatform.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv) {
    // Past a file-size limit a write then fails with EFBIG and the save
    // cleans up after itself, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    qm::TQtPlatform platform;
    // An installed copy finds its shipped files under share/, not beside it.
    const QString programFolder = qm::TDataFolder::ProgramFolderOf(
        QApplication::applicationDirPath(), QStringLiteral(QUILLMARK_INSTALLED_DATA));
    qm::TfrmMain frmMain(platform, programFolder.toStdU16String());
    // quillmark --dump-language FILE LOCALE: the complete language file of
    // the built-in texts, from which the shipped ones are made.
    const QStringList args = QApplication::arguments();
    if (args.size() == 4 && args[1] == QStringLiteral("--dump-language")) {
        if (frmMain.DumpLanguage(args[2].toStdU16String(), args[3]))
            return 0;
        std::fprintf(stderr, "quillmark: cannot write %s\n", qPrintable(args[2]));
        return 3;
    }
    if (!frmMain.Start())
        return 0;
    frmMain.show();
    // For smoke tests of a built or installed copy: the window closes as
    // soon as it is shown, through the ordinary close request.
    if (qEnvironmentVariableIsSet("QUILLMARK_CLOSE_WHEN_SHOWN"))
        QTimer::singleShot(0, &frmMain, &QWidget::close);
    return QApplication::exec();
}
