#pragma once
// The File menu's commands of the main window: New, Open, Open from
// WarCraft, Save, Save As, Save to WarCraft and the recent files. Each asks
// about unsaved changes through the window before it replaces the document;
// success is said in the status bar, a failure in a message box.

#include <QObject>
#include <QString>

class QMenu;

namespace qm {

class TfrmMain;

class TFileCommands : public QObject {
    Q_OBJECT

  public:
    // `recent` is the File menu's list of recent files, filled here.
    TFileCommands(TfrmMain& window, QMenu& recent);

    void New();
    void Open();
    void OpenFromWar();
    bool Save();
    bool SaveAs();
    bool SaveToWar();
    // Opens a file of the recent list, as Open would.
    void OpenRecent(const QString& path);

    // A file just opened or saved goes to the top of the recent list.
    void Remember(const QString& path);
    // The recent list as the settings hold it, missing files greyed.
    void ShowRecent();

  private:
    bool SaveTo(const QString& path, int failure, int success);
    bool GameKnown();
    // Where the file dialogs start: the open file's folder, else the folder
    // of the game's own configuration file, else the player's documents.
    QString StartFolder() const;

    TfrmMain& window_;
    QMenu& recent_;
};

} // namespace qm
