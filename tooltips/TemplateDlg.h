#pragma once
// The colour template of automatic tooltips: the colours of the tooltip
// text, of the hotkey letter and of the brackets around it. The rest of the
// editor never reads the colours: it asks this dialog for a tooltip
// (TemplateTip) or to rewrite an editor (ApplyTemplate). The dialog shows a
// sample of the open tooltip page and can rewrite that page.

#include "tooltips/TipManager.h"

#include <QDialog>

#include <array>
#include <string>
#include <string_view>

namespace qm {

class TColorPickCombo;
class TRichEdit;
class TUFBitBtn;

class TdlgTemplate : public QDialog {
    Q_OBJECT

  public:
    // The open tooltip page of the main window, as the dialog sees it.
    class TTarget {
      public:
        virtual ~TTarget() = default;
        // The active page's index, 0 Tip to 4 Awakentip; -1 when it is
        // disabled.
        virtual int EnabledActivePage() const = 0;
        // The selected action's tooltip (UTF-8, as shown) and stored
        // hotkey for a page.
        virtual std::string TipText(int page) const = 0;
        virtual QString StoredHotKey(int page) const = 0;
        // The text of a hotkey box of the panel, by page (0 txtHotKey,
        // 1 txtUnHotKey, 2 txtResearchHotKey).
        virtual QString HotKeyBox(int page) const = 0;
        // Rewrites a page's tooltip with the template, naming the hotkey
        // value as tooltips do ("Q" for "Q,Q,Q", "ESC" for "512").
        virtual void ApplyAutoTip(int page, const QString& hotkey) = 0;
    };

    explicit TdlgTemplate(QWidget* owner);
    void SetTarget(TTarget* target) { target_ = target; }

    // MakeAutoTip with the template's colours.
    std::string TemplateTip(std::string_view text, std::string_view hotkey) const;
    // Loads the editor with the template's rewriting of `text`; the editor
    // reports the change once, as for any text set from code.
    void ApplyTemplate(TRichEdit& edit, const QString& text, const QString& hotkey) const;

    TColorPickCombo& cpTip() const { return *cpTip_; }
    TColorPickCombo& cpHK() const { return *cpHK_; }
    TColorPickCombo& cpBrackets() const { return *cpBrackets_; }
    const TUFBitBtn& btnApply() const { return *btnApply_; }

  public slots:
    void cpTipChanged();
    void btnApplyClick();
    void btnDefaultClick();
    // Escape and the close box: the colours the dialog opened with come back.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();
    TColorPickCombo* NewCombo(const char* name, const char* caption, const char* label, int y);

    TTarget* target_ = nullptr;
    TColorPickCombo* cpTip_ = nullptr;
    TColorPickCombo* cpHK_ = nullptr;
    TColorPickCombo* cpBrackets_ = nullptr;
    TRichEdit* reTmplSample_ = nullptr;
    TUFBitBtn* btnApply_ = nullptr;
    TUFBitBtn* btnDefault_ = nullptr;
    std::string currentTip_; // captured when the dialog was last shown
    QString currentHotKey_;
    std::array<TColor, 3> opened_{}; // the colours when it was shown
};

} // namespace qm
