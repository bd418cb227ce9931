#pragma once
// The action editing panel, the group box gbSettings: the three hotkey
// fields with their Default and Reset buttons and edit-together, and the
// tooltip pages, filled from the selected node's record. Every accepted change is stored at once
// through the document set.
//
// The handlers re-enter one another as typing does: setting a field to a new
// text runs its change handler, setting it to the text it has runs nothing,
// and each handler first compares the field with the stored value, which
// ends the chains. Default, Reset and edit-together work only by setting
// texts.

#include <QGroupBox>

#include <array>

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidgetItem;

namespace qm {

class TActionTree;
class TCommandCard;
class TDocumentSet;
class THotKeyConflicts;
class THotKeyEdit;
class TProjectSettings;
class TTipPages;
class TdlgTemplate;
struct TBindRec;

class TActionPanel : public QGroupBox {
    Q_OBJECT

  public:
    TActionPanel(TActionTree& tree, TDocumentSet& documents, TCommandCard& card,
                 THotKeyConflicts& conflicts, TdlgTemplate& dlgTemplate, QAction& mnuAutoAdd,
                 QWidget* parent = nullptr);

    // Fills the panel and the card for a node, binding it (and adding its
    // default record with auto-add on).
    void LoadControlsData(QTreeWidgetItem* node);
    // Adds the missing record of the selected node and shows it (the Add
    // button); false when the defaults have none.
    bool AddSelected();
    void DisableEmptyControls();
    void TextsFill(const TBindRec& record);
    void TextsClear();
    // A character typed while the tree has the focus goes to the first
    // enabled hotkey field, as if typed there.
    void TypeIntoFirstField(QChar key);
    // The node shown is an action bound to a record of the working copy.
    bool isActualItem(QTreeWidgetItem* node) const;

    // One letter per level: the first capital A-Z of the text, repeated
    // (limit div 2) + 1 times for a limit above 1, comma-separated; "512"
    // and key codes (set by Default or Reset, never typed) stay; empty when
    // no capital letter is left.
    static QString CorrectHotKeyFormat(const QString& text, int levelLimit);

    // The check boxes and template colours the settings file keeps.
    void LoadSettings(const TProjectSettings& settings);
    void StoreSettings(TProjectSettings& settings) const;

    QCheckBox& cbTogEdit() { return *cbTogEdit_; }
    TTipPages& Tips() { return *tips_; }

  signals:
    // Enter in a hotkey field hands the focus back to the tree.
    void ReturnToTree();

  public slots:
    void txtHotKeyChange();
    void txtUnHotKeyChange();
    void txtResearchHotKeyChange();
    void btnDefHotKeysClick();
    void btnResetHotKeysClick();

  private:
    void CreateHotKeyFields();
    void CreateKeyNames(const std::array<QLabel*, 3>& captions);
    void CreateButtons();
    void txtHotKeyKeyPress(THotKeyEdit& field, QChar key);
    void txtHotKeyKeyDown(int key);
    void txtResearchHotKeyMouseDown(THotKeyEdit& field);
    void OtherHotKeyChange(THotKeyEdit& field, int recordField);
    void MakeEqualTxts(THotKeyEdit& source);
    int CheckUpEqualHotKey();
    void SetHotKeys(const TBindRec& source);
    void ShowState(bool enabled, bool active);
    void EnableChildren();
    static void DisableEmptyControl(QWidget& control, bool empty);
    TBindRec* SelectedRecord() const;
    QTreeWidgetItem* Selected() const;
    void RedrawSingleButton();
    void AutoTips(int page, const QString& value);
    void Store(int recordField, const QString& text);

    TActionTree& tree_;
    TDocumentSet& documents_;
    TCommandCard& card_;
    THotKeyConflicts& conflicts_;
    QAction& mnuAutoAdd_;
    THotKeyEdit* txtHotKey_ = nullptr;
    THotKeyEdit* txtUnHotKey_ = nullptr;
    THotKeyEdit* txtResearchHotKey_ = nullptr;
    std::array<THotKeyEdit*, 3> fields_{};
    QCheckBox* cbTogEdit_ = nullptr;
    QPushButton* btnDefHotKeys_ = nullptr;
    QPushButton* btnResetHotKeys_ = nullptr;
    TTipPages* tips_ = nullptr;
    int levelLimit_ = 1; // of txtHotKey, from the default record's Hotkey
};

} // namespace qm
