#include "tools/MultiEdit.h"

#include "config/uCfgManager.h"
#include "editor/TActionPanel.h"
#include "editor/TActionTree.h"
#include "editor/TCommandCard.h"
#include "editor/TDocumentSet.h"
#include "lang/GlobalConst.h"
#include "platform/VerdanaFont.h"
#include "tools/TUpDown.h"
#include "tooltips/TemplateDlg.h"
#include "tooltips/UFBitBtn.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace qm {
namespace {

constexpr int kCell = 32;

// The grid's cells are drawn by the dialog, selected ones inverted.
class TKeyCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        TdlgMultiEdit::sgKeyEditorDrawCell(*painter, option.rect, index.data().toString(),
                                           option.state & QStyle::State_Selected);
    }
};

QRadioButton* NewRadio(const char* name, const char* caption, int y, QGroupBox& box) {
    auto* radio = new QRadioButton(QString::fromUtf8(caption), &box);
    radio->setObjectName(name);
    radio->setGeometry(8, y, box.width() - 12, 20);
    return radio;
}

bool Shown(const QTreeWidgetItem& node) {
    for (const QTreeWidgetItem* up = node.parent(); up; up = up->parent()) {
        if (!up->isExpanded())
            return false;
    }
    return true;
}

} // namespace

TdlgMultiEdit::TdlgMultiEdit(TActionTree& tree, TDocumentSet& documents,
                             const TdlgTemplate& dlgTemplate, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint), tree_(tree),
      documents_(documents), dlgTemplate_(dlgTemplate) {
    setObjectName("dlgMultiEdit");
    setWindowTitle(QString::fromUtf8("Мультиредактор"));
    setFixedSize(400, 268);
    CreateGrid();
    CreateChoices();
    CreateButtons();
}

void TdlgMultiEdit::CreateGrid() {
    sgKeyEditor_ = new QTableWidget(kGridRows, kGridColumns, this);
    sgKeyEditor_->setObjectName("sgKeyEditor");
    for (QHeaderView* header : {sgKeyEditor_->horizontalHeader(), sgKeyEditor_->verticalHeader()}) {
        header->hide();
        header->setDefaultSectionSize(kCell);
        header->setMinimumSectionSize(kCell);
    }
    sgKeyEditor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgKeyEditor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgKeyEditor_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgKeyEditor_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    sgKeyEditor_->setItemDelegate(new TKeyCellDelegate(sgKeyEditor_));
    sgKeyEditor_->setGeometry(8, 8, kGridColumns * kCell + 2, kGridRows * kCell + 2);
    for (int row = 0; row < kGridRows; ++row)
        for (int col = 0; col < kGridColumns; ++col)
            sgKeyEditor_->setItem(row, col, new QTableWidgetItem);
    sgKeyEditor_->setCurrentCell(0, 0);
    sgKeyEditor_->installEventFilter(this);
}

void TdlgMultiEdit::CreateChoices() {
    auto* gbAcept = new QGroupBox(QString::fromUtf8("Применить..."), this);
    gbAcept->setObjectName("gbAcept");
    gbAcept->setGeometry(146, 4, 246, 90);
    rbApplyAll_ = NewRadio("rbApplyAll", "Ко всем", 20, *gbAcept);
    rbApplySelEnc_ = NewRadio("rbApplySelEnc", "К выбранным, включая вложенные", 42, *gbAcept);
    rbApplyEnc_ = NewRadio("rbApplyEnc", "Только к вложенным", 64, *gbAcept);
    rbApplyAll_->setChecked(true);

    auto* gbActionType = new QGroupBox(QString::fromUtf8("Значения..."), this);
    gbActionType->setObjectName("gbActionType");
    gbActionType->setGeometry(146, 98, 246, 90);
    rbValUser_ = NewRadio("rbValUser", "Пользовательские", 20, *gbActionType);
    rbValDef_ = NewRadio("rbValDef", "По умолчанию", 42, *gbActionType);
    rbValReset_ = NewRadio("rbValReset", "Сбросить", 64, *gbActionType);
    rbValUser_->setChecked(true);
    for (QRadioButton* radio : {rbValUser_, rbValDef_, rbValReset_})
        connect(radio, &QRadioButton::clicked, this, &TdlgMultiEdit::gbActionTypeClick);

    auto* lblMaxLevel = new QLabel(QString::fromUtf8("Глубина проверки вложенности:"), this);
    lblMaxLevel->setObjectName("lblMaxLevel");
    lblMaxLevel->setGeometry(8, 198, 320, 16);
    txtMaxLevel_ = new QLineEdit(QStringLiteral("99"), this);
    txtMaxLevel_->setObjectName("txtMaxLevel");
    txtMaxLevel_->setMaxLength(2);
    txtMaxLevel_->setGeometry(334, 194, 40, 24);
    txtMaxLevel_->installEventFilter(this);
    udLevel_ = new TUpDown("udLevel", 0, 99, this);
    udLevel_->setGeometry(374, 194, 18, 24);
    connect(txtMaxLevel_, &QLineEdit::textChanged, this, &TdlgMultiEdit::txtMaxLevelChange);
    connect(udLevel_, &TUpDown::Clicked, this, &TdlgMultiEdit::udLevelClick);
}

void TdlgMultiEdit::CreateButtons() {
    auto* btnClearGreed = new TUFBitBtn(QString::fromUtf8("Сбросить"), this);
    btnClearGreed->setObjectName("btnClearGreed");
    btnClearGreed->setGeometry(8, 112, kGridColumns * kCell + 2, 25);
    btnApply_ = new TUFBitBtn(QString::fromUtf8("Применить"), this);
    btnApply_->setObjectName("btnApply");
    btnApply_->setGeometry(8, 224, 110, 25);
    btnApply_->setDefault(true);
    auto* btnClose = new TUFBitBtn(QString::fromUtf8("Закрыть"), this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(282, 224, 110, 25);
    sbMultiEdit_ = new QStatusBar(this);
    sbMultiEdit_->setObjectName("sbMultiEdit");
    sbMultiEdit_->setSizeGripEnabled(false);
    sbMultiEdit_->setGeometry(0, 252, width(), 16);
    connect(btnClearGreed, &QPushButton::clicked, this, &TdlgMultiEdit::btnClearGreedClick);
    connect(btnApply_, &QPushButton::clicked, this, &TdlgMultiEdit::btnApplyClick);
    connect(btnClose, &QPushButton::clicked, this, &TdlgMultiEdit::btnCloseClick);
}

// ---- the key grid ----

void TdlgMultiEdit::sgKeyEditorDrawCell(QPainter& painter, const QRect& rect, const QString& text,
                                        bool selected) {
    painter.fillRect(rect, selected ? QColor(0x80, 0x80, 0x80) : QColor(Qt::white));
    QFont font = VerdanaFont();
    font.setPointSize(18);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(selected ? Qt::white : Qt::black);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
}

TKeyGrid TdlgMultiEdit::Keys() const {
    TKeyGrid keys{};
    for (int row = 0; row < kGridRows; ++row) {
        for (int col = 0; col < kGridColumns; ++col) {
            const QString text = sgKeyEditor_->item(row, col)->text();
            keys[static_cast<size_t>(row * kGridColumns + col)] =
                text.isEmpty() ? 0 : static_cast<char>(text[0].unicode());
        }
    }
    return keys;
}

// A letter moves to the current cell from wherever it stood; Backspace and
// Escape empty the cell.
bool TdlgMultiEdit::sgKeyEditorKeyPress(QChar key) {
    QTableWidgetItem* current = sgKeyEditor_->currentItem();
    if (!current)
        return false;
    if (key == QChar(8) || key == QChar(27)) {
        current->setText(QString());
        return true;
    }
    const QChar letter = key.toUpper();
    if (letter < u'A' || letter > u'Z')
        return false;
    for (int row = 0; row < kGridRows; ++row)
        for (int col = 0; col < kGridColumns; ++col)
            if (sgKeyEditor_->item(row, col)->text() == letter)
                sgKeyEditor_->item(row, col)->setText(QString());
    current->setText(letter);
    return true;
}

void TdlgMultiEdit::btnClearGreedClick() {
    for (int row = 0; row < kGridRows; ++row)
        for (int col = 0; col < kGridColumns; ++col)
            sgKeyEditor_->item(row, col)->setText(QString());
}

// Letters go into one cell; defaults and saved values apply to a block,
// the whole grid to begin with.
void TdlgMultiEdit::gbActionTypeClick() {
    if (rbValUser_->isChecked()) {
        const auto ranges = sgKeyEditor_->selectedRanges();
        const int row = ranges.isEmpty() ? sgKeyEditor_->currentRow() : ranges[0].topRow();
        const int col = ranges.isEmpty() ? sgKeyEditor_->currentColumn() : ranges[0].leftColumn();
        sgKeyEditor_->clearSelection();
        sgKeyEditor_->setCurrentCell(row, col);
        return;
    }
    sgKeyEditor_->setCurrentCell(0, 0);
    sgKeyEditor_->setRangeSelected(
        QTableWidgetSelectionRange(0, 0, kGridRows - 1, kGridColumns - 1), true);
}

// ---- the depth box ----

void TdlgMultiEdit::txtMaxLevelChange() {
    QString digits = txtMaxLevel_->text();
    digits.removeIf([](QChar c) { return c < u'0' || c > u'9'; });
    if (digits != txtMaxLevel_->text())
        txtMaxLevel_->setText(digits);
}

void TdlgMultiEdit::txtMaxLevelExit() {
    if (txtMaxLevel_->text().isEmpty())
        txtMaxLevel_->setText(QStringLiteral("0"));
    udLevel_->SetPosition(txtMaxLevel_->text().toInt());
}

void TdlgMultiEdit::udLevelClick() {
    txtMaxLevel_->setText(QString::number(udLevel_->Position()));
}

bool TdlgMultiEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sgKeyEditor_ && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<QKeyEvent&>(*event);
        const QChar c = key.key() == Qt::Key_Escape      ? QChar(27)
                        : key.key() == Qt::Key_Backspace ? QChar(8)
                        : key.text().isEmpty()           ? QChar()
                                                         : key.text()[0];
        if (!c.isNull() && sgKeyEditorKeyPress(c))
            return true;
    }
    if (watched == txtMaxLevel_ && event->type() == QEvent::FocusOut)
        txtMaxLevelExit();
    return QDialog::eventFilter(watched, event);
}

// ---- applying ----

void TdlgMultiEdit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ShowCount(0);
}

void TdlgMultiEdit::btnCloseClick() {
    hide();
}

void TdlgMultiEdit::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ShowCount(count_);
}

void TdlgMultiEdit::ShowCount(int count) {
    count_ = count;
    sbMultiEdit_->showMessage(Msg(msgRecordsChecked) + QString::number(count));
}

// Below a node that is selected and shown, only `depth` levels are in
// scope; "Только к вложенным" leaves such a node itself out.
bool TdlgMultiEdit::InScope(const TTVNode& node, int depth) const {
    bool selected = rbApplyAll_->isChecked();
    const TTVNode* anchor = nullptr;
    for (const QTreeWidgetItem* up = &node; up; up = up->parent()) {
        selected = selected || up->isSelected();
        if (!anchor && up->isSelected() && Shown(*up))
            anchor = static_cast<const TTVNode*>(up);
    }
    const auto level = [this](const TTVNode& n) { return tree_.Model()[n.Index].Level; };
    if (anchor && level(node) - level(*anchor) > depth)
        return false;
    if (rbApplyEnc_->isChecked() && node.isSelected() && Shown(node))
        return false;
    return selected;
}

// Works on the action as the editor shows it (its record, empty values and a
// missing record from the defaults), each change going to the documents
// too, so that later values are computed from earlier ones. An action the
// file lacks gets its record with its first change, as any edit gives it.
bool TdlgMultiEdit::ApplyTo(const std::string& id) {
    const TBindRec* own = documents_.Record(id);
    const TBindRec* defaults = documents_.DefCfgMngr()->FindRecord(id);
    if (!own && !defaults)
        return false;
    TBindRec shown = own ? *own : *defaults;
    const auto set = [this](TBindRec& r, int field, std::string_view bytes) {
        r[field].assign(bytes);
        documents_.AddDefaultRecord(r.ID);
        documents_.SetField(r.ID, field, bytes);
    };
    if (rbValUser_->isChecked()) {
        const auto tip = [this](std::string_view text, std::string_view key) {
            return dlgTemplate_.TemplateTip(text, key);
        };
        return ApplyGridKeys(shown, Keys(), tip, set, defaults);
    }
    const TCfgManager* source =
        rbValDef_->isChecked() ? documents_.DefCfgMngr() : documents_.SavedCfgMngr();
    const TBindRec* from = source->FindRecord(id);
    const auto cell = GridCellOf(ShownButtonPos(shown, defaults));
    const auto ranges = sgKeyEditor_->selectedRanges();
    if (!from || !cell || ranges.isEmpty() || !ranges[0].columnCount())
        return false;
    const QTableWidgetSelectionRange& block = ranges[0];
    if (cell->Col < block.leftColumn() || cell->Col > block.rightColumn() ||
        cell->Row < block.topRow() || cell->Row > block.bottomRow())
        return false;
    for (int field = fiHotkey; field <= fiResearchbuttonpos; ++field)
        set(shown, field, (*from)[field]);
    return true;
}

// One edit for the whole run, named after the number of records it checked;
// the panel and the card follow when it ends.
void TdlgMultiEdit::btnApplyClick() {
    if (!documents_.CurCfgMngr())
        return;
    // A depth box still empty and focused counts as 0, as leaving it would.
    const int depth = txtMaxLevel_->text().toInt();
    int count = 0;
    ShowCount(count);
    TDocumentSet::TEdit edit(documents_, QString());
    tree_.ForEachNode([&](TTVNode& node) {
        if (!node.Data.ID.empty() && InScope(node, depth) && ApplyTo(node.Data.ID))
            ShowCount(++count);
    });
    documents_.NameEdit(Msg(msgEditMultiEditor).arg(count));
}

} // namespace qm
