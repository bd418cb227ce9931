#pragma once
// The action editing panel, the group box gbSettings: the three hotkey
// fields with their Default and Reset buttons and edit-together, and the
// tooltip pages, showing the selected action as the editor shows it (the
// working copy's record, empty fields from the defaults). What the player
// does here goes to the record editor, one transaction per action; the
// panel shows the result when the documents announce a change.
//
// Showing sets the fields' texts with their change handlers quiet: showing
// an action never stores anything.

#include <QColor>
#include <QGroupBox>

#include <array>
#include <string>

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidgetItem;

namespace qm {

class TActionTree;
class TDocumentSet;
class THotKeyEdit;
class TProjectSettings;
class TRecordEditor;
class TTipPages;
class TdlgTemplate;
struct TBindRec;
struct TEditRules;

class TActionPanel : public QGroupBox {
    Q_OBJECT

  public:
    TActionPanel(TActionTree& tree, TDocumentSet& documents, TRecordEditor& editor,
                 TdlgTemplate& dlgTemplate, QAction& mnuAutoAdd, QWidget* parent = nullptr);

    // Shows a node: an action the working copy holds, or one auto-add
    // would add, can be edited; a group node or a missing action cannot.
    void LoadControlsData(QTreeWidgetItem* node);
    // Adds the missing record of the selected node (the Add button); false
    // when the defaults have none.
    bool AddSelected();
    void DisableEmptyControls();
    // A character typed while the tree has the focus goes to the first
    // enabled hotkey field, as if typed there.
    void TypeIntoFirstField(QChar key);
    // The action the panel edits; empty when it shows nothing to edit.
    const std::string& EditedID() const { return editedID_; }

    // The check boxes and template colours the settings file keeps.
    void LoadSettings(const TProjectSettings& settings);
    void StoreSettings(TProjectSettings& settings) const;

    QCheckBox& cbTogEdit() { return *cbTogEdit_; }
    TTipPages& Tips() { return *tips_; }

  signals:
    // Enter in a hotkey field hands the focus back to the tree.
    void ReturnToTree();
    // A typed key the field does not take, said in words for the status bar.
    void KeyRefused(const QString& note);

  protected:
    // The caption in the colour of the panel's state; a style sheet would
    // restyle every control of the panel at every selection.
    void paintEvent(QPaintEvent* event) override;

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
    void HotKeyChange(int kind);
    void TextsFill(const TBindRec& record);
    void TextsClear();
    void ShowState(bool enabled, bool active);
    void EnableChildren();
    static void DisableEmptyControl(QWidget& control, bool empty);
    QTreeWidgetItem* Selected() const;
    TEditRules Rules() const;
    void Refresh();

    TActionTree& tree_;
    TDocumentSet& documents_;
    TRecordEditor& editor_;
    QAction& mnuAutoAdd_;
    THotKeyEdit* txtHotKey_ = nullptr;
    THotKeyEdit* txtUnHotKey_ = nullptr;
    THotKeyEdit* txtResearchHotKey_ = nullptr;
    std::array<THotKeyEdit*, 3> fields_{};
    QCheckBox* cbTogEdit_ = nullptr;
    QPushButton* btnDefHotKeys_ = nullptr;
    QPushButton* btnResetHotKeys_ = nullptr;
    TTipPages* tips_ = nullptr;
    std::string editedID_;
    QColor titleColor_;
    bool showing_ = false; // the fields are being set to what is stored
};

} // namespace qm
