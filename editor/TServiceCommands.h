#pragma once
// The Service menu's commands over the whole document: Add all, Delete all,
// "Отменить все изменения" and Restore defaults. Each is one edit that Undo
// takes back, except Restore defaults, which opens the defaults untitled.

#include <QObject>

namespace qm {

class TfrmMain;

class TServiceCommands : public QObject {
    Q_OBJECT

  public:
    explicit TServiceCommands(TfrmMain& window);

    void ResetAll();
    void DefAll();
    void AddAll();
    void DelAll();
    // Points the settings at a game the player picks (its war3.mpq); the
    // next start imports it.
    void ChooseGame();

  private:
    // The bulk commands that drop unsaved work ask first.
    bool DropChangesAllowed();

    TfrmMain& window_;
};

} // namespace qm
