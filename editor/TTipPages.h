#pragma once
// The five tooltip pages of the editing panel (pcTips) with their editors,
// the colour box of the selected text and the tooltip buttons. The player's
// edits in an editor go to the record editor as markup; showing a tooltip
// stores nothing.
//
// A stored tooltip that is not valid UTF-8 (an old Windows-1251 or a GBK
// file) is shown as Windows-1251: automatic tooltips rebuild it from its
// stored bytes, and only the player's own edits in the editor store what
// the editor shows.

#include "tooltips/TemplateDlg.h"

#include <QObject>

#include <array>
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
    std::string StoredTip(int page) const override;
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
    void Show(int page, const std::string& stored);

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
    bool showing_ = false;             // a stored value is being shown, not edited
};

} // namespace qm
