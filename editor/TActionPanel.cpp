#include "editor/TActionPanel.h"

#include "config/uCfgManager.h"
#include "config/uKeyCodes.h"
#include "editor/TActionTree.h"
#include "editor/TDocumentSet.h"
#include "editor/THotKeyEdit.h"
#include "editor/TProjectSettings.h"
#include "editor/TRecordEditor.h"
#include "editor/TTipPages.h"
#include "lang/GlobalConst.h"
#include "text/TextCodec.h"
#include "tooltips/Utf8Text.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionGroupBox>
#include <QStylePainter>

namespace qm {
namespace {

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

TActionPanel::TActionPanel(TActionTree& tree, TDocumentSet& documents, TRecordEditor& editor,
                           TdlgTemplate& dlgTemplate, QAction& mnuAutoAdd, QWidget* parent)
    : QGroupBox(Msg(msgNoAction), parent), tree_(tree), documents_(documents), editor_(editor),
      mnuAutoAdd_(mnuAutoAdd) {
    setObjectName("gbSettings");
    resize(397, 377);
    CreateHotKeyFields();
    CreateButtons();
    tips_ = new TTipPages(documents, editor, dlgTemplate, *this);
    ShowState(false, false);
    connect(&documents_, &TDocumentSet::Changed, this, &TActionPanel::Refresh);
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

TEditRules TActionPanel::Rules() const {
    TEditRules rules = tips_->TipRules();
    rules.EditTogether = cbTogEdit_->isChecked();
    return rules;
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

// An action the working copy lacks is shown from its defaults: with
// auto-add on it can be edited (the first edit adds its record), without,
// only the Add button adds it.
void TActionPanel::LoadControlsData(QTreeWidgetItem* item) {
    TTVNode* node = TTVNode::From(item);
    const TCfgManager* working = documents_.CurCfgMngr();
    if (!node || !working)
        return;
    editedID_.clear();
    const int bound = tree_.AssignNodeData(node, *working);
    const bool hasDefaults = bound >= 0 && documents_.DefCfgMngr()->FindRecord(node->Data.ID);
    if (bound < 0) {
        ShowState(false, false);
        setTitle(Msg(msgNoAction));
        TextsClear();
    } else if (bound == 0 || (mnuAutoAdd_.isChecked() && hasDefaults)) {
        editedID_ = node->Data.ID;
        ShowState(true, true);
        TextsFill(documents_.Shown(editedID_));
    } else {
        // Nothing to edit until the Add button (or auto-add) gives a record.
        ShowState(false, true);
        TextsClear();
    }
}

// After every change of the documents the panel shows the action anew;
// editors that show the stored value already are left as they are.
void TActionPanel::Refresh() {
    LoadControlsData(Selected());
    DisableEmptyControls();
}

bool TActionPanel::AddSelected() {
    TTVNode* node = TTVNode::From(Selected());
    const TCfgManager* working = documents_.CurCfgMngr();
    return node && working && tree_.AssignNodeData(node, *working) == 1 &&
           editor_.AddRecord(node->Data.ID);
}

void TActionPanel::ShowState(bool enabled, bool active) {
    setEnabled(enabled);
    EnableChildren();
    const QColor title = QApplication::palette().color(
        active ? QPalette::Active : QPalette::Disabled, QPalette::Highlight);
    if (title != titleColor_) {
        titleColor_ = title;
        update();
    }
}

void TActionPanel::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    // Styles differ in what they draw the title with: both are set.
    option.textColor = titleColor_;
    option.palette.setColor(QPalette::WindowText, titleColor_);
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

// Qt keeps a child disabled only when told so; every direct child takes the
// group box's state again before the empty-field rule disables some.
void TActionPanel::EnableChildren() {
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setEnabled(isEnabled());
}

void TActionPanel::TextsFill(const TBindRec& record) {
    showing_ = true;
    for (int kind = 0; kind < 3; ++kind)
        fields_[kind]->setText(documents_.ShownText(record[fiHotkey + kind]));
    showing_ = false;
    tips_->Fill(record);
}

void TActionPanel::TextsClear() {
    showing_ = true;
    for (THotKeyEdit* field : fields_)
        field->clear();
    showing_ = false;
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
    // The hotkey takes a letter A-Z (and Escape); the other two fields what
    // a key can write into the file. Anything else is refused, with a word.
    const bool hotkey = &field == txtHotKey_;
    if (hotkey ? !(key >= u'A' && key <= u'Z') : !IsKeyCharacter(key)) {
        emit KeyRefused(Msg(hotkey ? msgHotkeyTakesLetters : msgHotkeyTakesKeys)
                            .arg(key.isPrint() ? QString(key) : QString::number(key.unicode())));
        return;
    }
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

// ---- storing ----

// Whatever set the field's text, the player's key, edit-together's letter
// or a paste, the record editor decides what is stored; the field then
// shows the stored value again.
void TActionPanel::HotKeyChange(int kind) {
    if (showing_ || editedID_.empty())
        return;
    // A stored change refreshes the panel through the documents' signal;
    // refused input needs the stored value shown again here.
    if (!editor_.TypeHotkey(editedID_, kind, fields_[kind]->text().toStdString(), Rules()))
        Refresh();
    if (kind == 0)
        txtHotKey_->selectAll();
}

void TActionPanel::txtHotKeyChange() {
    HotKeyChange(0);
}

void TActionPanel::txtUnHotKeyChange() {
    HotKeyChange(1);
}

void TActionPanel::txtResearchHotKeyChange() {
    HotKeyChange(2);
}

// ---- Default and Reset ----

void TActionPanel::btnDefHotKeysClick() {
    if (editedID_.empty())
        return;
    editor_.DefaultHotkeys(editedID_, Rules());
    DisableEmptyControls();
}

void TActionPanel::btnResetHotKeysClick() {
    if (!editedID_.empty())
        editor_.ResetHotkeys(editedID_, Rules());
}

} // namespace qm
