#include "editor/TFileCommands.h"

#include "editor/Main.h"
#include "editor/PathText.h"
#include "lang/GlobalConst.h"
#include "platform/PlayerDocuments.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStatusBar>

namespace qm {
namespace {

QString FolderOf(const QString& path) {
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

// "&1 name": the menu's own numbering, the name as text (an ampersand in it
// doubled, so that it is no shortcut).
QString RecentCaption(int number, const QString& path) {
    QString name = QFileInfo(path).fileName();
    name.replace(u'&', QStringLiteral("&&"));
    return (number < 10 ? QStringLiteral("&%1 ").arg(number) : QStringLiteral("1&0 ")) + name;
}

} // namespace

TFileCommands::TFileCommands(TfrmMain& window, QMenu& recent)
    : QObject(&window), window_(window), recent_(recent) {
    recent_.setToolTipsVisible(true);
}

void TFileCommands::New() {
    if (window_.SaveRequest())
        window_.ReOpen(window_.DefaultConfigPath());
}

void TFileCommands::Open() {
    if (!window_.SaveRequest())
        return;
    const QString chosen =
        window_.platform_.OpenFileName(&window_, StartFolder(), Msg(msgConfigFilter));
    if (!chosen.isEmpty())
        window_.ReOpen(chosen);
}

void TFileCommands::OpenRecent(const QString& path) {
    if (window_.SaveRequest())
        window_.ReOpen(path);
}

// Without a game, there is no game's file to open or write.
bool TFileCommands::GameKnown() {
    if (!window_.settings_.GameFolder().isEmpty())
        return true;
    window_.Say(true, msgInformation, Msg(msgNoGameYet), TMsgIcon::Information);
    return false;
}

void TFileCommands::OpenFromWar() {
    if (!GameKnown())
        return;
    const QString path = window_.GameConfigPath();
    if (QFileInfo(path).isFile()) {
        if (window_.SaveRequest())
            window_.ReOpen(path);
        return;
    }
    if (window_.Say(false, msgError, Msg(msgNoWarConfig), TMsgIcon::Question, TMsgButtons::YesNo) ==
        TMsgAnswer::Yes)
        SaveToWar();
}

// Writes the working copy to `path`, which becomes the open file only once
// it is written; a failure keeps the document, its name and its changes.
// Success is said in the status bar: a box after every save is in the way.
bool TFileCommands::SaveTo(const QString& path, int failure, int success) {
    std::string why;
    if (!window_.documents_.Save(path, &why)) {
        window_.Say(true, msgError, WithReason(Msg(failure), path, why), TMsgIcon::Error);
        return false;
    }
    window_.UpdateCaption();
    Remember(path);
    window_.statusBar()->showMessage(Msg(success) + QDir::toNativeSeparators(path), 5000);
    return true;
}

bool TFileCommands::Save() {
    const QString path = window_.CurFileName();
    if (path.isEmpty() || window_.settings_.DefaultConfigName.isEmpty())
        return false;
    // The default configuration is never overwritten by Save.
    if (path == window_.DefaultConfigPath())
        return SaveAs();
    return SaveTo(path, msgCannotSave, msgConfigSavedAs);
}

// The dialog suggests the open file (an untitled one: the start folder); No
// to replacing a file goes back to the dialog.
bool TFileCommands::SaveAs() {
    QString suggested = window_.IsUntitled() ? StartFolder() : window_.CurFileName();
    for (;;) {
        QString chosen = window_.platform_.SaveFileName(&window_, suggested, Msg(msgConfigFilter));
        if (chosen.isEmpty())
            return false;
        if (QFileInfo(chosen).suffix().isEmpty())
            chosen += QStringLiteral(".txt");
        if (!QFileInfo::exists(chosen) ||
            window_.Say(true, msgQuestion,
                        Msg(msgReplaceQuestion).arg(QDir::toNativeSeparators(chosen)),
                        TMsgIcon::Question, TMsgButtons::YesNo) == TMsgAnswer::Yes)
            return SaveTo(chosen, msgCannotSaveAs, msgFileSavedAs);
        suggested = chosen;
    }
}

bool TFileCommands::SaveToWar() {
    if (!GameKnown())
        return false;
    const QString path = window_.GameConfigPath();
    if (window_.Say(false, msgQuestion,
                    Msg(msgSaveToWarQuestion) + QDir::toNativeSeparators(path) + "?",
                    TMsgIcon::Question, TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return false;
    MakeCustomKeysFolder(ToPath(path));
    return SaveTo(path, msgCannotSave, msgConfigSavedAs);
}

QString TFileCommands::StartFolder() const {
    if (!window_.IsUntitled())
        return FolderOf(window_.CurFileName());
    const QString game =
        window_.settings_.GameFolder().isEmpty() ? QString() : FolderOf(window_.GameConfigPath());
    if (!game.isEmpty() && QFileInfo(game).isDir())
        return game;
    return window_.platform_.DocumentsFolder(window_.settings_.GameFolder());
}

// ---- recent files ----

void TFileCommands::Remember(const QString& path) {
    QStringList& files = window_.settings_.RecentFiles;
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    files.removeAll(native);
    files.prepend(native);
    while (files.size() > TProjectSettings::kRecentFiles)
        files.removeLast();
    ShowRecent();
}

void TFileCommands::ShowRecent() {
    recent_.clear();
    const QStringList& files = window_.settings_.RecentFiles;
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* item = recent_.addAction(RecentCaption(i + 1, path));
        item->setToolTip(path);
        item->setEnabled(QFileInfo(path).isFile());
        connect(item, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
    recent_.setEnabled(!files.isEmpty());
}

} // namespace qm
