#pragma once
// The five tooltip pages of the editing panel (pcTips) with their editors,
// the colour box of the selected text and the tooltip buttons. Every change
// in an editor is stored through the document set as markup.
//
// A stored tooltip that is not valid UTF-8 (an old Windows-1251 or a GBK
// file) is shown as Windows-1251 but never stored back by showing it:
// automatic tooltips rebuild it from its stored bytes, and only the player's
// own edits in the editor store what the editor shows.

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

class TActionTree;
class TColorPickCombo;
class TDocumentSet;
class TProjectSettings;
class TRichEdit;
struct TBindRec;

class TTipPages : public QObject, public TdlgTemplate::TTarget {
    Q_OBJECT

  public:
    // The controls are placed on the panel's group box.
    TTipPages(TActionTree& tree, TDocumentSet& documents, TdlgTemplate& dlgTemplate,
              QGroupBox& panel);

    // Loads the five editors in page order; each stores its normal form.
    void Fill(const TBindRec& record);
    void Clear();
    // Pages whose editor is empty become disabled; the active page stays.
    void DisableEmptyPages();
    void ShowFirstPage();
    bool PageEmpty(int page) const;
    QCheckBox& cbAutoChangeTip() const { return *cbAutoChangeTip_; }
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
    void LoadFrom(const TBindRec* source);
    void Show(int page, const std::string& stored);
    TBindRec* SelectedRecord() const;

    TActionTree& tree_;
    TDocumentSet& documents_;
    TdlgTemplate& dlgTemplate_;
    QGroupBox& panel_;
    QTabWidget* pcTips_ = nullptr;
    std::array<TRichEdit*, 5> editors_{};
    TColorPickCombo* cpcRichColor_ = nullptr;
    QCheckBox* cbAutoChangeTip_ = nullptr;
    QToolButton* btnTemplate_ = nullptr;
    QPushButton* btnDefTip_ = nullptr;
    QPushButton* btnResetTip_ = nullptr;
    bool showing_ = false; // a stored value is being shown, not edited
};

} // namespace qm
