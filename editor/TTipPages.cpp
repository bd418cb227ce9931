#include "editor/TTipPages.h"

#include "config/uCfgManager.h"
#include "editor/TDocumentSet.h"
#include "editor/TProjectSettings.h"
#include "editor/TRecordEditor.h"
#include "editor/TTipTabs.h"
#include "lang/GlobalConst.h"
#include "text/TextCodec.h"
#include "tooltips/RichEdit.h"
#include "tooltips/RtColorPicker.h"
#include "tooltips/TipRichEdit.h"
#include "tooltips/UFBitBtn.h"
#include "tooltips/Utf8Text.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTextCursor>
#include <QToolButton>

namespace qm {
namespace {

struct TPage {
    const char* Suffix;
    const char* Caption;
    const char* Help;
};

// Page "ts" + suffix holds editor "re" + suffix; the template dialog and
// language files find them by these names.
constexpr std::array<TPage, 5> kPages = {{
    {"Tip", "Обычная", "Для кнопки активации данного действия"},
    {"UnTip", "Отключения", "Для отмены данного действия"},
    {"ResearchTip", "Исследования", "Для кнопки исследования/тренировки"},
    {"ReviveTip", "Воскресить", "Для кнопки  воскрешения героя в алтаре"},
    {"AwakenTip", "Пробудить", "Для кнопки  пробуждения героя в таверне"},
}};

constexpr const char* kHotKeyBoxes[] = {"txtHotKey", "txtUnHotKey", "txtResearchHotKey"};

// Longer tooltips are shown cut: an unbroken word of a megabyte would keep
// the text layout busy for minutes. Real tooltips stay under a kilobyte.
constexpr size_t kLongestShownTip = 16 * 1024;

int TipField(int page) {
    return fiTip + page;
}

// The template button's picture: the three template colours in a row.
QIcon TemplateIcon() {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.fillRect(1, 3, 4, 10, Qt::white);
    p.fillRect(6, 3, 4, 10, QColor(255, 204, 0));
    p.fillRect(11, 3, 4, 10, QColor(0, 0, 128));
    p.setPen(Qt::gray);
    p.drawRect(0, 2, 15, 11);
    return QIcon(picture);
}

} // namespace

TTipPages::TTipPages(TDocumentSet& documents, TRecordEditor& editor, TdlgTemplate& dlgTemplate,
                     QGroupBox& panel)
    : QObject(&panel), documents_(documents), editor_(editor), dlgTemplate_(dlgTemplate),
      panel_(panel) {
    CreatePages(panel);
    CreateButtons(panel);
    dlgTemplate_.SetTarget(this);
}

void TTipPages::CreatePages(QGroupBox& panel) {
    auto* lblTips = new QLabel(QString::fromUtf8("Всплывающие подсказки"), &panel);
    lblTips->setObjectName("lblTips");
    lblTips->setGeometry(8, 174, 200, 16);
    auto* tabs = new TTipTabs(&panel);
    tabs->setGeometry(8, 192, 381, 157);
    pcTips_ = tabs;
    for (int page = 0; page < 5; ++page) {
        const TPage& p = kPages[page];
        auto* sheet = new QWidget;
        sheet->setObjectName(QStringLiteral("ts") + p.Suffix);
        auto* help = new QLabel(QString::fromUtf8(p.Help), sheet);
        help->setObjectName(QStringLiteral("lbl") + p.Suffix);
        help->setGeometry(4, 2, 365, 16);
        auto* edit = new TRichEdit(sheet);
        edit->setObjectName(QStringLiteral("re") + p.Suffix);
        edit->setGeometry(0, 20, 373, 105);
        editors_[page] = edit;
        connect(edit, &TRichEdit::Changed, this, [this, page] { reTipChange(page); });
        connect(edit, &TRichEdit::SelectionChanged, this,
                [this, edit] { reTipSelectionChange(*edit); });
        tabs->addTab(sheet, QString::fromUtf8(p.Caption));
    }
}

void TTipPages::CreateButtons(QGroupBox& panel) {
    cpcRichColor_ = new TColorPickCombo(&panel);
    cpcRichColor_->setObjectName("cpcRichColor");
    cpcRichColor_->setGeometry(346, 216, 39, 22);
    // White, the colour of text without markup: black would be invisible
    // on the navy editors and in the game.
    cpcRichColor_->SetActiveColor(kWhite);
    connect(cpcRichColor_, &TColorPickCombo::OnChanged, this, &TTipPages::cpcRichColorChanged);

    btnTemplate_ = new QToolButton(&panel);
    btnTemplate_->setObjectName("btnTemplate");
    btnTemplate_->setGeometry(8, 348, 35, 25);
    btnTemplate_->setIcon(TemplateIcon());
    btnTemplate_->setToolTip(QString::fromUtf8("Задать цветовой шаблон"));
    cbAutoChangeTip_ = new QCheckBox(QString::fromUtf8("Автоизменение"), &panel);
    cbAutoChangeTip_->setObjectName("cbAutoChangeTip");
    cbAutoChangeTip_->setGeometry(44, 352, 117, 17);
    cbAutoChangeTip_->setChecked(true);
    cbAutoChangeTip_->setToolTip(
        QString::fromUtf8("Автоматически генерировать подсказки по значению корячих кнопок"));
    btnDefTip_ = new QPushButton(QString::fromUtf8("По умолчанию"), &panel);
    btnDefTip_->setObjectName("btnDefTip");
    btnDefTip_->setGeometry(168, 349, 113, 24);
    btnResetTip_ = new QPushButton(QString::fromUtf8("Сбросить"), &panel);
    btnResetTip_->setObjectName("btnResetTip");
    btnResetTip_->setGeometry(280, 349, 109, 24);
    connect(btnTemplate_, &QToolButton::clicked, this, &TTipPages::btnTemplateClick);
    connect(btnDefTip_, &QPushButton::clicked, this, &TTipPages::btnDefTipClick);
    connect(btnResetTip_, &QPushButton::clicked, this, &TTipPages::btnResetTipClick);
    cpcRichColor_->raise();
}

void TTipPages::LoadSettings(const TProjectSettings& settings) {
    cbAutoChangeTip_->setChecked(settings.cbAutoChangeTip);
    dlgTemplate_.cpTip().SetActiveColor(static_cast<TColor>(settings.cpTip));
    dlgTemplate_.cpHK().SetActiveColor(static_cast<TColor>(settings.cpHK));
    dlgTemplate_.cpBrackets().SetActiveColor(static_cast<TColor>(settings.cpBrackets));
}

void TTipPages::StoreSettings(TProjectSettings& settings) const {
    settings.cbAutoChangeTip = cbAutoChangeTip_->isChecked();
    settings.cpTip = static_cast<int>(dlgTemplate_.cpTip().ActiveColor());
    settings.cpHK = static_cast<int>(dlgTemplate_.cpHK().ActiveColor());
    settings.cpBrackets = static_cast<int>(dlgTemplate_.cpBrackets().ActiveColor());
}

TEditRules TTipPages::TipRules() const {
    TEditRules rules;
    rules.AutoTips = cbAutoChangeTip_->isChecked();
    rules.TipColor = dlgTemplate_.cpTip().ActiveColor();
    rules.HotkeyColor = dlgTemplate_.cpHK().ActiveColor();
    rules.BracketsColor = dlgTemplate_.cpBrackets().ActiveColor();
    return rules;
}

// ---- showing ----

void TTipPages::Show(int page, const std::string& stored, bool again) {
    if (shown_[page] == stored && !again)
        return;
    shown_[page] = stored;
    showing_ = true;
    std::string text = documents_.ShownUtf8(stored);
    TRichEdit& edit = *editors_[page];
    edit.setReadOnly(text.size() > kLongestShownTip);
    if (edit.isReadOnly())
        ShowCut(edit, std::move(text));
    else
        TipToRichEdit(text, edit);
    showing_ = false;
}

// The beginning of the tooltip, cut between characters, and a line in the
// interface's words below it.
void TTipPages::ShowCut(TRichEdit& edit, std::string text) {
    size_t end = kLongestShownTip;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    TipToRichEdit(text, edit);
    QTextCursor cursor(edit.document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat note;
    note.setFontItalic(true);
    note.setForeground(edit.palette().placeholderText());
    cursor.insertText(QStringLiteral("\n") + Msg(msgTipCut), note);
}

void TTipPages::Fill(const TBindRec& record) {
    id_ = record.ID;
    const bool again = shownPage_ != documents_.Encoding().CodePage;
    shownPage_ = documents_.Encoding().CodePage;
    for (int page = 0; page < 5; ++page)
        Show(page, record[TipField(page)], again);
}

void TTipPages::Clear() {
    id_.clear();
    for (int page = 0; page < 5; ++page)
        Show(page, {});
}

void TTipPages::DisableEmptyPages() {
    auto& tabs = static_cast<TTipTabs&>(*pcTips_);
    for (int page = 0; page < 5; ++page)
        tabs.SetPageEnabled(page, !PageEmpty(page));
    pcTips_->update();
}

void TTipPages::ShowFirstPage() {
    pcTips_->setCurrentIndex(0);
}

bool TTipPages::PageEmpty(int page) const {
    return editors_[page]->document()->isEmpty();
}

// ---- storing ----

// The markup of the editor is compared with the stored value, so a change
// of colour alone is kept as well.
void TTipPages::reTipChange(int page) {
    if (showing_ || id_.empty())
        return;
    const std::string tip = RichEditToTip(*editors_[page]);
    const std::string stored = documents_.Shown(id_)[TipField(page)];
    if (tip == stored)
        return;
    std::optional<std::string> bytes = documents_.TypedBytes(tip, stored);
    if (!bytes && askUtf8_ && askUtf8_())
        bytes = tip;
    if (!bytes) {
        Show(page, stored, true);
        return;
    }
    if (*bytes == stored)
        return;
    // The editor shows this value already: the refresh leaves it alone.
    shown_[page] = *bytes;
    editor_.SetTip(id_, page, *bytes);
}

void TTipPages::ApplyAutoTip(int page, const QString& hotkey) {
    if (!id_.empty())
        editor_.ApplyAutoTip(id_, page, hotkey.toStdString(), TipRules());
}

void TTipPages::btnDefTipClick() {
    if (!id_.empty())
        editor_.DefaultTip(id_, pcTips_->currentIndex());
}

void TTipPages::btnResetTipClick() {
    if (!id_.empty())
        editor_.ResetTip(id_, pcTips_->currentIndex());
}

// ---- the colour box ----

void TTipPages::reTipSelectionChange(TRichEdit& edit) {
    if (edit.textCursor().hasSelection()) {
        const QSignalBlocker quiet(cpcRichColor_);
        cpcRichColor_->SetActiveColor(edit.SelectionColor());
    } else {
        edit.SetSelectionColor(cpcRichColor_->ActiveColor());
    }
}

void TTipPages::cpcRichColorChanged() {
    for (TRichEdit* edit : editors_)
        edit->SetSelectionColor(cpcRichColor_->ActiveColor());
    editors_[pcTips_->currentIndex()]->setFocus();
}

// ---- the template dialog ----

int TTipPages::EnabledActivePage() const {
    const int page = pcTips_->currentIndex();
    return pcTips_->isTabEnabled(page) ? page : -1;
}

std::string TTipPages::TipText(int page) const {
    return id_.empty() ? std::string()
                       : documents_.ShownUtf8(documents_.Shown(id_)[TipField(page)]);
}

QString TTipPages::StoredHotKey(int page) const {
    if (id_.empty() || page > 2)
        return {};
    return documents_.ShownText(documents_.Shown(id_)[fiHotkey + page]);
}

QString TTipPages::HotKeyBox(int page) const {
    const auto* box = panel_.findChild<QLineEdit*>(kHotKeyBoxes[page]);
    return box ? box->text() : QString();
}

// The dialog's bottom edge level with the button's, its Apply button
// straight above the template button.
void TTipPages::btnTemplateClick() {
    const QPoint at = btnTemplate_->mapToGlobal(QPoint(0, 0));
    const QRect frame = dlgTemplate_.frameGeometry();
    const int applyLeft = dlgTemplate_.btnApply().mapTo(&dlgTemplate_, QPoint(0, 0)).x() +
                          (dlgTemplate_.geometry().x() - frame.x());
    dlgTemplate_.move(at.x() - applyLeft, at.y() + btnTemplate_->height() - frame.height());
    dlgTemplate_.exec();
}

} // namespace qm
