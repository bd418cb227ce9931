#pragma once
// The five tooltip pages of the editing panel (pcTips) with their editors,
// the colour box of the selected text and the tooltip buttons. The player's
// edits in an editor go to the record editor as markup; showing a tooltip
// stores nothing.
//
// A stored tooltip that is not valid UTF-8 (a Windows-1251 or a GBK file)
// is shown through the file's code page, and what the player types into it
// is stored in that code page; a character it lacks makes the editor ask
// whether to store the tooltip as UTF-8.
//
// A tooltip too long to lay out while the player waits is shown cut and
// read-only, with a line saying so; it keeps its bytes.

#include "text/TextCodePage.h"
#include "tooltips/TemplateDlg.h"

#include <QObject>

#include <array>
#include <functional>
#include <string>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace qm {

class TColorPickCombo;
class TDocumentSet;
class TProjectSettings;
class TRecordEditor;
class TRichEdit;
struct TBindRec;
struct TEditRules;

class TTipPages : public QObject, public TdlgTemplate::TTarget {
    Q_OBJECT

  public:
    // The controls are placed on the panel's group box.
    TTipPages(TDocumentSet& documents, TRecordEditor& editor, TdlgTemplate& dlgTemplate,
              QGroupBox& panel);
    // Asks whether a tooltip whose typed text does not fit the file's code
    // page may be stored as UTF-8; without an answer, it is not stored.
    using TAskUtf8 = std::function<bool()>;
    void SetAskUtf8(TAskUtf8 ask) { askUtf8_ = std::move(ask); }

    // Shows the action's five tooltips; an editor that shows the stored
    // value already keeps its caret and its own undo history.
    void Fill(const TBindRec& record);
    void Clear();
    // Pages whose editor is empty become disabled; the active page stays.
    void DisableEmptyPages();
    void ShowFirstPage();
    bool PageEmpty(int page) const;
    QCheckBox& cbAutoChangeTip() const { return *cbAutoChangeTip_; }
    // Automatic tooltips and the template's colours, for the record editor.
    TEditRules TipRules() const;
    // cbAutoChangeTip and the template's colours, as the settings keep them.
    void LoadSettings(const TProjectSettings& settings);
    void StoreSettings(TProjectSettings& settings) const;
    TColorPickCombo& cpcRichColor() const { return *cpcRichColor_; }

    // The template dialog's view of the pages.
    int EnabledActivePage() const override;
    std::string TipText(int page) const override;
    QString StoredHotKey(int page) const override;
    QString HotKeyBox(int page) const override;
    void ApplyAutoTip(int page, const QString& hotkey) override;

  public slots:
    void reTipChange(int page);
    void reTipSelectionChange(TRichEdit& edit);
    void cpcRichColorChanged();
    void btnDefTipClick();
    void btnResetTipClick();
    void btnTemplateClick();

  private:
    void CreatePages(QGroupBox& panel);
    void CreateButtons(QGroupBox& panel);
    void Show(int page, const std::string& stored, bool again = false);
    void ShowCut(TRichEdit& edit, std::string text);

    TDocumentSet& documents_;
    TRecordEditor& editor_;
    TdlgTemplate& dlgTemplate_;
    QGroupBox& panel_;
    QTabWidget* pcTips_ = nullptr;
    std::array<TRichEdit*, 5> editors_{};
    TColorPickCombo* cpcRichColor_ = nullptr;
    QCheckBox* cbAutoChangeTip_ = nullptr;
    QToolButton* btnTemplate_ = nullptr;
    QPushButton* btnDefTip_ = nullptr;
    QPushButton* btnResetTip_ = nullptr;
    std::string id_;                   // the action shown; empty when none
    std::array<std::string, 5> shown_; // the value each editor was last given or stored
    TCodePage shownPage_{};            // the code page they were shown through
    TAskUtf8 askUtf8_;
    bool showing_ = false;             // a stored value is being shown, not edited
};

} // namespace qm
