#include "editor/TActionPanel.h"

#include "config/uCfgManager.h"
#include "config/uKeyCodes.h"
#include "editor/GlobalConst.h"
#include "editor/TActionTree.h"
#include "editor/TCommandCard.h"
#include "editor/TDocumentSet.h"
#include "editor/THotKeyConflicts.h"
#include "editor/THotKeyEdit.h"
#include "editor/TProjectSettings.h"
#include "editor/TTipPages.h"
#include "text/TextCodec.h"
#include "tooltips/Utf8Text.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace qm {
namespace {

QString Shown(const std::string& value) {
    return Utf8ToQString(FieldToUtf8(value));
}

// What a key can produce in the game's file: printable ASCII.
bool IsKeyCharacter(QChar c) {
    return c.unicode() >= 33 && c.unicode() <= 126;
}

QLabel* NewLabel(const char* name, const char* caption, int x, int y, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(name);
    label->move(x, y);
    return label;
}

} // namespace

TActionPanel::TActionPanel(TActionTree& tree, TDocumentSet& documents, TCommandCard& card,
                           THotKeyConflicts& conflicts, TdlgTemplate& dlgTemplate,
                           QAction& mnuAutoAdd, QWidget* parent)
    : QGroupBox(Msg(msgNoAction), parent), tree_(tree), documents_(documents), card_(card),
      conflicts_(conflicts), mnuAutoAdd_(mnuAutoAdd) {
    setObjectName("gbSettings");
    resize(397, 377);
    CreateHotKeyFields();
    CreateButtons();
    tips_ = new TTipPages(tree, documents, dlgTemplate, *this);
    ShowState(false, false);
}

void TActionPanel::CreateHotKeyFields() {
    auto* frame = new QFrame(this);
    frame->setObjectName("bvHotKeys");
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(8, 28, 221, 113);
    const std::array<QLabel*, 3> captions = {
        NewLabel("lblHotKey", "Выбрать действие:", 16, 40, this),
        NewLabel("lblUnHotKey", "Обратное действие:", 16, 64, this),
        NewLabel("lblResearchHotKey", "Исследовать:", 16, 88, this)};
    txtHotKey_ = new THotKeyEdit("txtHotKey", this);
    txtHotKey_->setGeometry(168, 36, 53, 24);
    txtUnHotKey_ = new THotKeyEdit("txtUnHotKey", this);
    txtUnHotKey_->setGeometry(192, 60, 29, 24);
    txtResearchHotKey_ = new THotKeyEdit("txtResearchHotKey", this);
    txtResearchHotKey_->setGeometry(192, 84, 29, 24);
    fields_ = {txtHotKey_, txtUnHotKey_, txtResearchHotKey_};
    for (THotKeyEdit* field : fields_) {
        connect(field, &THotKeyEdit::KeyPress, this,
                [this, field](QChar key) { txtHotKeyKeyPress(*field, key); });
        connect(field, &THotKeyEdit::MouseDown, this,
                [this, field] { txtResearchHotKeyMouseDown(*field); });
    }
    CreateKeyNames(captions);
    connect(txtHotKey_, &THotKeyEdit::KeyDown, this, &TActionPanel::txtHotKeyKeyDown);
    // textChanged, not textEdited: a text set by code runs the handler too.
    connect(txtHotKey_, &QLineEdit::textChanged, this, &TActionPanel::txtHotKeyChange);
    connect(txtUnHotKey_, &QLineEdit::textChanged, this, &TActionPanel::txtUnHotKeyChange);
    connect(txtResearchHotKey_, &QLineEdit::textChanged, this,
            &TActionPanel::txtResearchHotKeyChange);
    frame->lower();
}

// A key code in a field says little by itself: the key's name stands to the
// left of the field, in the room its caption leaves, which a language file
// may change; so the name is placed anew with every text.
void TActionPanel::CreateKeyNames(const std::array<QLabel*, 3>& captions) {
    const char* const names[] = {"lblHotKeyName", "lblUnHotKeyName", "lblResearchHotKeyName"};
    for (size_t i = 0; i < fields_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(names[i]);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const QLabel* caption = captions[i];
        const THotKeyEdit* field = fields_[i];
        const auto show = [label, caption, field](const QString& text) {
            const int left = caption->x() + caption->sizeHint().width() + 1;
            const int room = std::max(0, field->x() - 2 - left);
            label->setGeometry(left, field->y(), room, field->height());
            const QString name = QString::fromStdString(KeyCodeName(text.toStdString()));
            // Smaller than the captions, and smaller still where the room is short.
            QFont font = caption->font();
            font.setPointSizeF(font.pointSizeF() * 0.8);
            while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(name) >= room)
                font.setPointSizeF(font.pointSizeF() - 0.5);
            label->setFont(font);
            label->setText(QFontMetrics(font).elidedText(name, Qt::ElideRight, room));
        };
        show(QString());
        connect(field, &QLineEdit::textChanged, label, show);
    }
}

void TActionPanel::CreateButtons() {
    cbTogEdit_ = new QCheckBox(QString::fromUtf8("Редактировать вместе"), this);
    cbTogEdit_->setObjectName("cbTogEdit");
    cbTogEdit_->setGeometry(16, 120, 165, 17);
    cbTogEdit_->setChecked(true);
    btnDefHotKeys_ = new QPushButton(QString::fromUtf8("По умолчанию"), this);
    btnDefHotKeys_->setObjectName("btnDefHotKeys");
    btnDefHotKeys_->setGeometry(8, 141, 113, 24);
    btnResetHotKeys_ = new QPushButton(QString::fromUtf8("Сбросить"), this);
    btnResetHotKeys_->setObjectName("btnResetHotKeys");
    btnResetHotKeys_->setGeometry(120, 141, 109, 24);
    connect(btnDefHotKeys_, &QPushButton::clicked, this, &TActionPanel::btnDefHotKeysClick);
    connect(btnResetHotKeys_, &QPushButton::clicked, this, &TActionPanel::btnResetHotKeysClick);
}

QTreeWidgetItem* TActionPanel::Selected() const {
    return tree_.View().currentItem();
}

bool TActionPanel::isActualItem(QTreeWidgetItem* item) const {
    const TTVNode* node = TTVNode::From(item);
    return node && !node->Data.ID.empty() && node->Data.Record;
}

TBindRec* TActionPanel::SelectedRecord() const {
    QTreeWidgetItem* item = Selected();
    return isActualItem(item) ? TTVNode::From(item)->Data.Record : nullptr;
}

void TActionPanel::LoadSettings(const TProjectSettings& settings) {
    cbTogEdit_->setChecked(settings.cbTogEdit);
    tips_->LoadSettings(settings);
}

void TActionPanel::StoreSettings(TProjectSettings& settings) const {
    settings.cbTogEdit = cbTogEdit_->isChecked();
    tips_->StoreSettings(settings);
}

// ---- showing a node ----

void TActionPanel::LoadControlsData(QTreeWidgetItem* item) {
    TTVNode* node = TTVNode::From(item);
    TCfgManager* working = documents_.CurCfgMngr();
    if (!node || !working)
        return;
    const TBindRec* defaults = documents_.DefCfgMngr()->FindRecord(node->Data.ID);
    // A key code is one key, however many digits it has.
    if (defaults)
        levelLimit_ = defaults->Hotkey == "512" || IsKeyCode(defaults->Hotkey)
                          ? 1
                          : static_cast<int>(QString::fromStdString(defaults->Hotkey).size());
    switch (tree_.AssignNodeData(node, *working)) {
    case -1:
        ShowState(false, false);
        setTitle(Msg(msgNoAction));
        TextsClear();
        break;
    case 0:
        ShowState(true, true);
        documents_.FillEmptyFields(*node->Data.Record);
        TextsFill(*node->Data.Record);
        break;
    default:
        TextsClear();
        if (mnuAutoAdd_.isChecked() && documents_.AddDefaultRecord(node->Data.ID)) {
            tree_.AssignNodeData(node, *working);
            TextsFill(*node->Data.Record);
            ShowState(true, true);
        } else {
            // Nothing to edit until the Add button (or auto-add) gives a record.
            ShowState(false, true);
        }
    }
    card_.DrawBrunchButtons(node);
}

bool TActionPanel::AddSelected() {
    TTVNode* node = TTVNode::From(Selected());
    TCfgManager* working = documents_.CurCfgMngr();
    if (!node || !working || tree_.AssignNodeData(node, *working) != 1 ||
        !documents_.AddDefaultRecord(node->Data.ID))
        return false;
    tree_.AssignNodeData(node, *working);
    TextsFill(*node->Data.Record);
    card_.DrawBrunchButtons(node);
    ShowState(true, true);
    DisableEmptyControls();
    return true;
}

void TActionPanel::ShowState(bool enabled, bool active) {
    setEnabled(enabled);
    EnableChildren();
    const QColor title = QApplication::palette().color(
        active ? QPalette::Active : QPalette::Disabled, QPalette::Highlight);
    setStyleSheet(QStringLiteral("QGroupBox#gbSettings::title { color: %1; }").arg(title.name()));
}

// Qt keeps a child disabled only when told so; every direct child takes the
// group box's state again before the empty-field rule disables some.
void TActionPanel::EnableChildren() {
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setEnabled(isEnabled());
}

void TActionPanel::TextsFill(const TBindRec& record) {
    txtHotKey_->setText(Shown(record.Hotkey));
    txtUnHotKey_->setText(Shown(record.Unhotkey));
    txtResearchHotKey_->setText(Shown(record.Researchhotkey));
    tips_->Fill(record);
}

void TActionPanel::TextsClear() {
    for (THotKeyEdit* field : fields_)
        field->clear();
    tips_->Clear();
}

void TActionPanel::DisableEmptyControl(QWidget& control, bool empty) {
    QPalette palette = QApplication::palette(&control);
    palette.setColor(QPalette::Base, palette.color(empty ? QPalette::Button : QPalette::Base));
    control.setPalette(palette);
    control.setEnabled(!empty);
}

void TActionPanel::DisableEmptyControls() {
    for (THotKeyEdit* field : fields_)
        DisableEmptyControl(*field, field->text().isEmpty());
    tips_->DisableEmptyPages();
}

// ---- typing ----

void TActionPanel::txtHotKeyKeyPress(THotKeyEdit& field, QChar key) {
    if (key == u'\r') {
        emit ReturnToTree();
        return;
    }
    // The other two fields take only what a key can write into the file.
    if (&field != txtHotKey_ && !IsKeyCharacter(key))
        return;
    field.setText(QString(key));
}

void TActionPanel::txtHotKeyKeyDown(int key) {
    if (key == Qt::Key_Escape)
        txtHotKey_->setText(QStringLiteral("512"));
}

void TActionPanel::txtResearchHotKeyMouseDown(THotKeyEdit& field) {
    field.selectAll();
}

void TActionPanel::TypeIntoFirstField(QChar key) {
    for (THotKeyEdit* field : fields_) {
        if (field->isEnabled()) {
            txtHotKeyKeyPress(*field, key);
            return;
        }
    }
}

QString TActionPanel::CorrectHotKeyFormat(const QString& text, int levelLimit) {
    if (text == QStringLiteral("512") || IsKeyCode(text.toStdString()))
        return text;
    for (QChar c : text) {
        if (c >= u'A' && c <= u'Z') {
            const int count = levelLimit > 1 ? levelLimit / 2 + 1 : 1;
            QStringList letters(count, QString(c));
            return letters.join(u',');
        }
    }
    return {};
}

// ---- storing ----

int TActionPanel::CheckUpEqualHotKey() {
    return conflicts_.CheckUpEqualHotKey(
        Selected(), {txtHotKey_->text(), txtUnHotKey_->text(), txtResearchHotKey_->text()});
}

void TActionPanel::Store(int recordField, const QString& text) {
    if (TBindRec* record = SelectedRecord())
        documents_.SetField(*record, recordField, text.toStdString());
}

void TActionPanel::RedrawSingleButton() {
    QTreeWidgetItem* node = Selected();
    if (node && node->childCount() == 0)
        card_.DrawButton(node);
}

void TActionPanel::txtHotKeyChange() {
    TBindRec* record = SelectedRecord();
    if (!record)
        return;
    txtHotKey_->selectAll();
    if (txtHotKey_->text() == Shown(record->Hotkey))
        return;
    txtHotKey_->setText(CorrectHotKeyFormat(txtHotKey_->text(), levelLimit_));
    // A corrected text ran the whole handling already; one that is the
    // stored value leaves nothing to do.
    if (txtHotKey_->text() == Shown(record->Hotkey))
        return;
    // Refused input goes back silently, without asking about clashes first.
    if (txtHotKey_->text().isEmpty() || CheckUpEqualHotKey() >= 0) {
        txtHotKey_->setText(Shown(record->Hotkey));
        return;
    }
    AutoTips(0, txtHotKey_->text());
    MakeEqualTxts(*txtHotKey_);
    Store(fiHotkey, txtHotKey_->text());
    RedrawSingleButton();
}

// With automatic tooltips on, a hotkey's tooltips name its new letter; a
// hero's revive and awaken tooltips follow the main one when they exist.
void TActionPanel::AutoTips(int page, const QString& value) {
    if (!tips_->cbAutoChangeTip().isChecked())
        return;
    // A key code is named by its key ("Esc"), not by its first digit.
    const std::string key = KeyCodeName(value.toStdString());
    const QString letter = !IsKeyCode(value.toStdString()) ? value.left(1)
                           : key.empty()                   ? value
                                                           : QString::fromStdString(key);
    tips_->ApplyAutoTip(page, letter);
    if (page != 0)
        return;
    for (int heroPage : {4, 3}) {
        if (!tips_->PageEmpty(heroPage))
            tips_->ApplyAutoTip(heroPage, letter);
    }
}

void TActionPanel::OtherHotKeyChange(THotKeyEdit& field, int recordField) {
    TBindRec* record = SelectedRecord();
    if (!record)
        return;
    const QString stored = Shown((*record)[recordField]);
    if (field.text() == stored)
        return;
    if (field.text().isEmpty() || CheckUpEqualHotKey() >= 0) {
        field.setText(stored);
        return;
    }
    Store(recordField, field.text());
    MakeEqualTxts(field);
    AutoTips(recordField - fiHotkey, field.text());
    RedrawSingleButton();
}

void TActionPanel::txtUnHotKeyChange() {
    OtherHotKeyChange(*txtUnHotKey_, fiUnhotkey);
}

void TActionPanel::txtResearchHotKeyChange() {
    OtherHotKeyChange(*txtResearchHotKey_, fiResearchhotkey);
}

void TActionPanel::MakeEqualTxts(THotKeyEdit& source) {
    if (!cbTogEdit_->isChecked() || source.text().size() > 1)
        return;
    const QString text = source.text();
    for (THotKeyEdit* field : fields_) {
        if (field != &source && field->isEnabled())
            field->setText(text);
    }
}

// ---- Default and Reset ----

void TActionPanel::SetHotKeys(const TBindRec& source) {
    txtHotKey_->setText(Shown(source.Hotkey));
    txtUnHotKey_->setText(Shown(source.Unhotkey));
    txtResearchHotKey_->setText(Shown(source.Researchhotkey));
}

void TActionPanel::btnDefHotKeysClick() {
    const TBindRec* record = SelectedRecord();
    const TBindRec* defaults = record ? documents_.DefCfgMngr()->FindRecord(record->ID) : nullptr;
    if (!defaults)
        return;
    SetHotKeys(*defaults);
    DisableEmptyControls();
}

void TActionPanel::btnResetHotKeysClick() {
    const TBindRec* record = SelectedRecord();
    const TBindRec* saved = record ? documents_.SavedCfgMngr()->FindRecord(record->ID) : nullptr;
    if (saved)
        SetHotKeys(*saved);
}

} // namespace qm
