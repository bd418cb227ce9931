#pragma once
// The main window: start-up, and the composition of the action tree with
// its filter, the editing panel, the command card, the clash list and the
// menus' commands (the file and service commands have classes of their own).

#include "editor/TActionTree.h"
#include "editor/TDocumentSet.h"
#include "editor/TFileCommands.h"
#include "editor/TImageList.h"
#include "editor/TLazyWindow.h"
#include "editor/TProjectSettings.h"
#include "platform/TPlatform.h"

#include <QMainWindow>
#include <filesystem>
#include <memory>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace qm {

class TActionPanel;
class TActionTreeView;
class TCommandCard;
class THotKeyConflicts;
class TMainActions;
class TRecordEditor;
class TdlgFind;
class TdlgMultiEdit;
class TdlgTemplate;
class TfrmHelp;
class TAboutBox;
class TInterfaceLanguage;
class TTreeFilter;
class TConflictList;
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
    // The close request: true, with the tree and documents released, when
    // the window may close.
    bool FormCloseQuery();
    bool HasUnsavedChanges() const { return documents_.HasUnsavedChanges(); }

    // Every window a language file translates, the loading window first.
    QList<QWidget*> TranslatableWindows();
    void TranslateWindow(QWidget& window);
    // Writes the complete language file of the built-in texts.
    bool DumpLanguage(const std::filesystem::path& file, const QString& locale);

    TActionTree& Tree() { return tree_; }
    TImageList& Images() { return ilMain_; }
    TProjectSettings& Settings() { return settings_; }
    TDocumentSet& Documents() { return documents_; }
    TActionPanel& Panel() { return *panel_; }
    TCommandCard& Card() { return *card_; }
    TRecordEditor& RecordEditor() { return *editor_; }
    const TCfgManager* CurCfgMngr() const { return documents_.CurCfgMngr(); }
    const QString& CurFileName() const { return documents_.CurFileName(); }

    // The File menu's commands, as tests and the close request reach them.
    void actNewExecute() { files_->New(); }
    void actOpenExecute() { files_->Open(); }
    void actOpenFromWarExecute() { files_->OpenFromWar(); }
    bool actSaveExecute() { return files_->Save(); }
    bool actSaveAsExecute() { return files_->SaveAs(); }
    bool actSaveToWarExecute() { return files_->SaveToWar(); }

  public slots:
    void actExitExecute();
    void actSelectLangExecute();
    void actHelpExecute();
    void actAboutExecute();
    void mnuAutoAddClick();
    void mnuAlphasShowClick();
    void btnAddClick();
    void btnBackClick();
    void tvMainExpanding(QTreeWidgetItem* item);
    void tvMainChange();
    void tvMainKeyPress(QChar key);

  signals:
    // Each start-up step as it is shown in the loading window.
    void StartupStatus(const QString& status);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    friend class TFileCommands;
    friend class TServiceCommands;
    void ConnectActions();
    void ShowTool(QWidget& window);
    void CreateClientArea();
    void CreateTree(QWidget* client);
    void CreateConflictList();
    void SelectNode(int index);
    void UpdateAddButton();

    TMsgAnswer Say(bool owned, int caption, const QString& text, TMsgIcon icon,
                   TMsgButtons buttons = TMsgButtons::Ok);
    void ShowStatus(int message);
    void ReportLockProblem();
    bool LoadTreeOnce();
    bool IsUntitled() const;
    void UpdateCaption();
    void ShowModified(bool clean);
    void ReportSettingsWrite(bool written);
    QString DefaultConfigPath() const;
    QString GameConfigPath() const;

    TPlatform& platform_;
    std::filesystem::path programFolder_;
    TProjectSettings settings_;
    TDocumentSet documents_;
    TImageList ilMain_;
    TActionTreeView* tvMain_ = nullptr;
    TActionTree tree_;
    TfrmLoading* loading_ = nullptr;
    bool placed_ = false; // placed on the screen at the first show

    TMainActions* actions_ = nullptr;
    TFileCommands* files_ = nullptr;
    TTreeFilter* filter_ = nullptr;
    TConflictList* conflictList_ = nullptr;
    std::unique_ptr<TRecordEditor> editor_;
    std::unique_ptr<THotKeyConflicts> conflicts_;
    TCommandCard* card_ = nullptr;
    TActionPanel* panel_ = nullptr;
    QPushButton* btnAdd_ = nullptr;
    TdlgFind* dlgFind_ = nullptr;
    TdlgTemplate* dlgTemplate_ = nullptr;
    // Made when first wanted.
    TLazyWindow<TdlgMultiEdit> dlgMultiEdit_;
    TLazyWindow<TfrmHelp> frmHelp_;
    TLazyWindow<TAboutBox> aboutBox_;
    std::unique_ptr<TInterfaceLanguage> language_;
};

} // namespace qm
