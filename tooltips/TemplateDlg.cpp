#include "tooltips/TemplateDlg.h"

#include "platform/VerdanaFont.h"
#include "text/TextCodec.h"
#include "tooltips/RichEdit.h"
#include "tooltips/RtColorPicker.h"
#include "tooltips/UFBitBtn.h"
#include "tooltips/Utf8Text.h"

#include <QLabel>

namespace qm {
namespace {

constexpr TColor kDefaultHotKeyColor = 52479; // red 255, green 204, blue 0

std::string Utf8(const QString& text) {
    return text.toStdString();
}

} // namespace

TdlgTemplate::TdlgTemplate(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName("dlgTemplate");
    setWindowTitle(QString::fromUtf8("Выбор цветового шаблона подсказок"));
    setFixedSize(316, 196);
    cpTip_ = NewCombo("cpTip", "Цвет подсказки:", "lblTipColor", 8);
    cpHK_ = NewCombo("cpHK", "Цвет горячей клавиши:", "lblHKColor", 36);
    cpBrackets_ = NewCombo("cpBrackets", "Цвет скобок:", "lblBracketsColor", 64);
    cpHK_->SetActiveColor(kDefaultHotKeyColor);
    cpTip_->SetActiveColor(kWhite);
    cpBrackets_->SetActiveColor(kWhite);

    reTmplSample_ = new TRichEdit(this);
    reTmplSample_->setObjectName("reTmplSample");
    reTmplSample_->setReadOnly(true);
    reTmplSample_->setGeometry(8, 94, 300, 60);
    QFont sample = VerdanaFont();
    sample.setPixelSize(13);
    reTmplSample_->setFont(sample);

    btnApply_ = new TUFBitBtn(QString::fromUtf8("Применить"), this);
    btnApply_->setObjectName("btnApply");
    btnApply_->setGeometry(8, 163, 100, 25);
    btnApply_->setDefault(true);
    btnDefault_ = new TUFBitBtn(QString::fromUtf8("По умолчанию"), this);
    btnDefault_->setObjectName("btnDefault");
    btnDefault_->setGeometry(208, 163, 100, 25);
    connect(btnApply_, &QPushButton::clicked, this, &TdlgTemplate::btnApplyClick);
    connect(btnDefault_, &QPushButton::clicked, this, &TdlgTemplate::btnDefaultClick);
    for (TColorPickCombo* combo : {cpTip_, cpHK_, cpBrackets_})
        connect(combo, &TColorPickCombo::OnChanged, this, &TdlgTemplate::cpTipChanged);
}

TColorPickCombo* TdlgTemplate::NewCombo(const char* name, const char* caption, const char* label,
                                        int y) {
    auto* text = new QLabel(QString::fromUtf8(caption), this);
    text->setObjectName(label);
    text->setGeometry(8, y + 3, 180, 16);
    auto* combo = new TColorPickCombo(this);
    combo->setObjectName(name);
    combo->setGeometry(200, y, 39, 22);
    return combo;
}

std::string TdlgTemplate::TemplateTip(std::string_view text, std::string_view hotkey) const {
    return MakeAutoTip(text, hotkey, cpTip_->ActiveColor(), cpHK_->ActiveColor(),
                       cpBrackets_->ActiveColor());
}

void TdlgTemplate::ApplyTemplate(TRichEdit& edit, const QString& text,
                                 const QString& hotkey) const {
    TipToRichEdit(TemplateTip(Utf8(text), Utf8(hotkey)), edit);
}

void TdlgTemplate::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    opened_ = {cpTip_->ActiveColor(), cpHK_->ActiveColor(), cpBrackets_->ActiveColor()};
    FormShow();
}

void TdlgTemplate::reject() {
    cpTip_->SetActiveColor(opened_[0]);
    cpHK_->SetActiveColor(opened_[1]);
    cpBrackets_->SetActiveColor(opened_[2]);
    QDialog::reject();
}

// The sample is of the tooltip on the page open in the main window, as
// stored; the revive and awaken pages have no hotkey of their own.
void TdlgTemplate::FormShow() {
    currentTip_.clear();
    currentHotKey_.clear();
    const int page = target_ ? target_->EnabledActivePage() : -1;
    if (page < 0)
        return;
    currentTip_ = target_->TipText(page);
    if (page <= 2)
        currentHotKey_ = Utf8ToQString(TipHotkeyName(Utf8(target_->StoredHotKey(page))));
    ApplyTemplate(*reTmplSample_, Utf8ToQString(currentTip_), currentHotKey_);
}

void TdlgTemplate::cpTipChanged() {
    ApplyTemplate(*reTmplSample_, Utf8ToQString(currentTip_), currentHotKey_);
}

void TdlgTemplate::btnApplyClick() {
    accept();
    const int page = target_ ? target_->EnabledActivePage() : -1;
    if (page < 0)
        return;
    // The page's own hotkey box, else the main hotkey's; no brackets when
    // both are empty.
    QString hotkey = page <= 2 ? target_->HotKeyBox(page) : QString();
    if (hotkey.isEmpty())
        hotkey = target_->HotKeyBox(0);
    target_->ApplyAutoTip(page, hotkey);
}

void TdlgTemplate::btnDefaultClick() {
    cpTip_->SetActiveColor(kWhite);
    cpHK_->SetActiveColor(kDefaultHotKeyColor);
    cpBrackets_->SetActiveColor(kWhite);
}

} // namespace qm
