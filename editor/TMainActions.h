#pragma once
// The main window's commands, its menu bar mmMain, its tool bar tbMain and
// its status bar sbMain.
// The window connects the commands to its handlers. Cut, copy and paste act
// on whichever text control has the focus; undo and redo too while that
// control has a history of its own, and otherwise on the documents' edits,
// named after the edit they take back.

#include "text/TextCodePage.h"

#include <QKeySequence>
#include <QObject>

class QAction;
class QActionGroup;
class QLabel;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;
class QUndoStack;

namespace qm {

class TMainActions : public QObject {
    Q_OBJECT

  public:
    TMainActions(QMainWindow& window, QUndoStack& history);

    // Puts the Help menu at the right edge of the menu bar again, as every
    // change of captions needs.
    void MoveHelpMenuRight();
    // The open file as the status bar names it.
    void ShowFileName(const QString& text);
    // Undo and Redo without the edits' names, as a language file gives their
    // captions, or with them again.
    void ShowEditNames(bool shown);
    // Checks the code page the open file is shown through.
    void ShowCodePage(TCodePage page);

    QAction* actNew = nullptr;
    QAction* actOpen = nullptr;
    QAction* actOpenFromWar = nullptr;
    QAction* actSave = nullptr;
    QAction* actSaveAs = nullptr;
    QAction* actSaveToWar = nullptr;
    QAction* actExit = nullptr;
    QMenu* mnuRecent = nullptr; // filled by the file commands
    QAction* actUndo = nullptr;
    QAction* actRedo = nullptr;
    QAction* actCut = nullptr;
    QAction* actCopy = nullptr;
    QAction* actPaste = nullptr;
    QAction* actFind = nullptr;
    QAction* actMultiEdit = nullptr;
    QAction* actAbout = nullptr;
    QAction* actHelp = nullptr;
    QAction* actSelectLang = nullptr;
    QAction* mnuAutoAdd = nullptr;
    QAction* mnuAlphasShow = nullptr;
    QAction* actAddAll = nullptr;
    QAction* actDelAll = nullptr;
    QAction* actResetAll = nullptr;
    QAction* actDefAll = nullptr;
    QAction* actChooseGame = nullptr;
    // View → Encoding: one checkable item per code page, in kCodePages'
    // order, its index as the item's data.
    QActionGroup* CodePages = nullptr;
    QMenu* mnuView = nullptr;

  private:
    QAction* NewAction(const char* name, const char* caption, const QKeySequence& shortcut = {});
    void CreateActions();
    void ConnectEditCommands();
    void CreateMenu();
    void CreateViewMenu(QMenuBar& bar);
    void CreateToolBar();
    void CreateStatusBar();
    void NameEdits();
    void Undo();
    void Redo();

    QMainWindow& window_;
    QUndoStack& history_;
    bool namesShown_ = true;
    QString undoCaption_; // the captions without an edit's name
    QString redoCaption_;
    QMenu* mnuHelp_ = nullptr;
    QLabel* lblFileName_ = nullptr;
};

} // namespace qm
