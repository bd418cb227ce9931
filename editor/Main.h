#pragma once
// The main window: start-up, the action tree, the three open documents and
// the file commands.

#include "editor/TActionTree.h"
#include "editor/TImageList.h"
#include "editor/TProjectSettings.h"
#include "platform/TPlatform.h"

#include <QMainWindow>
#include <filesystem>
#include <memory>

class QAction;
class QGroupBox;
class QMenu;
class QPushButton;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace qm {

class TCfgManager;
class TfrmLoading;

class TfrmMain : public QMainWindow {
    Q_OBJECT

  public:
    TfrmMain(TPlatform& platform, std::filesystem::path programFolder, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Runs the start-up sequence up to the first document; false when the
    // program has to end instead of showing the window.
    bool Start();

    bool LoadProjectSettings();
    void LoadInterfaceLang();
    void SaveProjectSettings();
    void PreLoad();

    // Replaces the three documents by fresh readings; false, with the
    // current documents kept, when a file cannot be read.
    bool ReOpen(const QString& path);
    // Asks about unsaved changes and writes the settings; true when the
    // document may be replaced or closed.
    bool SaveRequest();
    void TryToDestroyCfgMngrs();
    // The close request: true, with the tree and documents released, when
    // the window may close.
    bool FormCloseQuery();
    bool HasUnsavedChanges() const;

    TActionTree& Tree() { return tree_; }
    TImageList& Images() { return ilMain_; }
    TProjectSettings& Settings() { return settings_; }
    TCfgManager* DefCfgMngr() const { return defCfgMngr_.get(); }
    TCfgManager* SavedCfgMngr() const { return savedCfgMngr_.get(); }
    TCfgManager* CurCfgMngr() const { return curCfgMngr_.get(); }
    const QString& CurFileName() const { return curFileName_; }

  public slots:
    void actNewExecute();
    void actOpenExecute();
    void actOpenFromWarExecute();
    bool actSaveExecute();
    bool actSaveAsExecute();
    bool actSaveToWarExecute();
    void actExitExecute();
    void actAddAllExecute();
    void actDelAllExecute();
    void actResetAllExecute();
    void actDefAllExecute();
    void mnuAutoAddClick();
    void btnAddClick();
    void tvMainExpanding(QTreeWidgetItem* item);
    void tvMainChange();

  signals:
    // Each start-up step as it is shown in the loading window.
    void StartupStatus(const QString& status);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void CreateActions();
    void CreateMenu();
    void CreateToolBar();
    void CreateClientArea();
    void MoveHelpMenuRight();
    QAction* NewAction(const char* name, const QString& caption, const QKeySequence& shortcut = {});
    void EditFocused(void (*lineEdit)(QWidget*), void (*textEdit)(QWidget*));

    TMsgAnswer Say(bool owned, int caption, const QString& text, TMsgIcon icon,
                   TMsgButtons buttons = TMsgButtons::Ok);
    void ShowStatus(int message);
    bool LoadTreeOnce();
    bool AddDefaultRecord(QTreeWidgetItem* item);
    bool WriteDocument(const QString& path);
    bool IsUntitled() const;
    void UpdateCaption();
    void ReportSettingsWrite(bool written);
    QString DefaultConfigPath() const;
    QString GameConfigPath() const;
    QString FolderOf(const QString& path) const;

    TPlatform& platform_;
    std::filesystem::path programFolder_;
    TProjectSettings settings_;
    TImageList ilMain_;
    QTreeWidget* tvMain_ = nullptr;
    TActionTree tree_;
    TfrmLoading* loading_ = nullptr;

    std::unique_ptr<TCfgManager> defCfgMngr_;
    std::unique_ptr<TCfgManager> savedCfgMngr_;
    std::unique_ptr<TCfgManager> curCfgMngr_;
    QString curFileName_;
    bool centred_ = false;

    QMenu* mnuHelp_ = nullptr;
    QToolBar* tbMain_ = nullptr;
    QGroupBox* gbSettings_ = nullptr;
    QPushButton* btnAdd_ = nullptr;
    QAction* actNew_ = nullptr;
    QAction* actOpen_ = nullptr;
    QAction* actOpenFromWar_ = nullptr;
    QAction* actSave_ = nullptr;
    QAction* actSaveAs_ = nullptr;
    QAction* actSaveToWar_ = nullptr;
    QAction* actExit_ = nullptr;
    QAction* actUndo_ = nullptr;
    QAction* actCut_ = nullptr;
    QAction* actCopy_ = nullptr;
    QAction* actPaste_ = nullptr;
    QAction* actFind_ = nullptr;
    QAction* actMultiEdit_ = nullptr;
    QAction* actAbout_ = nullptr;
    QAction* actHelp_ = nullptr;
    QAction* mnuAutoAdd_ = nullptr;
    QAction* mnuAlphasShow_ = nullptr;
    QAction* actAddAll_ = nullptr;
    QAction* actDelAll_ = nullptr;
    QAction* actResetAll_ = nullptr;
    QAction* actDefAll_ = nullptr;
};

} // namespace qm
