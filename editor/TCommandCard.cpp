#include "editor/TCommandCard.h"

#include "config/uCfgManager.h"
#include "config/uKeyCodes.h"
#include "editor/TActionTree.h"
#include "editor/TCardCell.h"
#include "editor/TDocumentSet.h"
#include "editor/TImageList.h"
#include "editor/TRecordEditor.h"
#include "text/TextCodec.h"

#include <QDrag>
#include <QFrame>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMimeData>
#include <QPainter>

namespace qm {
namespace {

constexpr int kColumns = 4;
constexpr int kRows = 3;

QPoint CellOrigin(int col, int row) {
    return {6 + 36 * col, 4 + 36 * row};
}

} // namespace

TCommandCard::TCommandCard(TActionTree& tree, TImageList& images, TDocumentSet& documents,
                           TRecordEditor& editor, QWidget* parent)
    : QWidget(parent), tree_(tree), images_(images), documents_(documents), editor_(editor) {
    setObjectName("pnlGreed");
    resize(151, 113);
    imgGreed2_ = new TImage(QStringLiteral("imgGreed2"), this);
    imgGreed2_->setGeometry(4, 3, 143, 107);
    imgGreed2_->SetPicture(Background());
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kColumns; ++col) {
            auto* cell = new TCardCell(QStringLiteral("imgBtn%1%2").arg(row).arg(col), *this, this);
            cell->move(CellOrigin(col, row));
            cells_[static_cast<size_t>(row * kColumns + col)] = cell;
        }
    }
    shpFocus_ = new QFrame(this);
    shpFocus_->setObjectName("shpFocus");
    shpFocus_->setFrameStyle(QFrame::Box | QFrame::Plain);
    shpFocus_->setLineWidth(2);
    shpFocus_->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette white = shpFocus_->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    shpFocus_->setPalette(white);
    shpFocus_->hide();
    setFocusPolicy(Qt::StrongFocus);
    connect(&documents_, &TDocumentSet::Changed, this,
            [this] { DrawBrunchButtons(tree_.View().currentItem()); });
}

// Our own card background: a dark slate with twelve sunken sockets.
QPixmap TCommandCard::Background() {
    QPixmap picture(64, 64);
    QPainter p(&picture);
    QLinearGradient slate(0, 0, 0, 64);
    slate.setColorAt(0, QColor(0x3a, 0x36, 0x30));
    slate.setColorAt(1, QColor(0x1c, 0x1a, 0x17));
    p.fillRect(picture.rect(), slate);
    p.setPen(QColor(0x0c, 0x0b, 0x0a));
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kColumns; ++col)
            p.drawRect(2 + col * 16, 2 + row * 20, 13, 17);
    }
    return picture;
}

TCardCell* TCommandCard::CellAt(int col, int row) const {
    if (col < 0 || col >= kColumns || row < 0 || row >= kRows)
        return nullptr;
    const QPoint centre(36 * col + 16, 36 * row + 16);
    for (TCardCell* cell : cells_) {
        if (cell->geometry().contains(centre))
            return cell;
    }
    return nullptr;
}

std::string TCommandCard::PositionValue(const QWidget& cell) {
    return std::to_string(cell.x() / 32) + ',' + std::to_string(cell.y() / 32);
}

TButtonPos TCommandCard::ShownPosition(const TBindRec& record) {
    const TButtonPos pos =
        ParseButtonPos(FirstNonEmptyField(record, fiButtonpos, fiResearchbuttonpos));
    // A position that is no pair of numbers is no position.
    return pos.Ok ? pos : TButtonPos{};
}

QString TCommandCard::ShownLetter(const TBindRec& record) const {
    const std::string value = FirstNonEmptyField(record, fiHotkey, fiResearchhotkey);
    if (value.empty() || value == "512")
        return {};
    if (IsKeyCode(value)) {
        const std::string name = KeyCodeName(value);
        return QString::fromStdString(name.empty() ? value : name);
    }
    const QString text = documents_.ShownText(value);
    return text.left(text.isEmpty() || !text.front().isHighSurrogate() ? 1 : 2);
}

void TCommandCard::ClearImgBtns() {
    for (TCardCell* cell : cells_)
        cell->SetPicture(QPixmap());
}

void TCommandCard::SwapImagesPos(QWidget& a, QWidget& b) {
    const QPoint at = a.pos();
    a.move(b.pos());
    b.move(at);
}

// A unit's card holds its own buttons and the common commands the game puts
// on it.
void TCommandCard::DrawBrunchButtons(QTreeWidgetItem* item) {
    ClearImgBtns();
    const TTVNode* node = TTVNode::From(item);
    marked_ = -1;
    if (!node || !documents_.CurCfgMngr())
        return;
    std::vector<int> buttons = tree_.Model().ButtonsOf(node->Index);
    if (buttons.empty()) {
        const int card = CardOf(*item);
        if (card < 0) {
            DrawButton(item);
            setEnabled(false);
            return;
        }
        marked_ = node->Index;
        item = tree_.ItemAt(card);
        buttons = tree_.Model().ButtonsOf(card);
    }
    setEnabled(true);
    if (item->childCount() > 0)
        tree_.CheckUpBrunchIcons(item->child(0));
    for (int index : buttons) {
        tree_.CheckUpIcon(tree_.ItemAt(index));
        DrawButton(tree_.ItemAt(index));
    }
}

// An action is drawn as the editor shows it: from its record, empty values
// from the defaults, or from the defaults alone when the file lacks it, as
// the game draws it.
void TCommandCard::DrawButton(QTreeWidgetItem* item) {
    const TTVNode* node = TTVNode::From(item);
    if (!node || node->Data.ID.empty() || !documents_.CurCfgMngr())
        return;
    const TBindRec shown = documents_.Shown(node->Data.ID);
    const TButtonPos pos = ShownPosition(shown);
    TCardCell* cell = CellAt(pos.Col, pos.Row);
    if (!cell)
        return;
    QPixmap picture = ButtonPicture(*node, shown);
    if (node->Index == marked_) {
        QPainter frame(&picture);
        frame.setPen(QPen(QColor(255, 204, 0), 3));
        frame.drawRect(picture.rect().adjusted(1, 1, -2, -2));
    }
    cell->SetPicture(picture);
    cell->Tag = node->Index;
}

int TCommandCard::CardOf(const QTreeWidgetItem& item) const {
    const auto* node = static_cast<const TTVNode*>(&item);
    const auto stands = [&](int card) {
        const std::vector<int> buttons = tree_.Model().ButtonsOf(card);
        return std::find(buttons.begin(), buttons.end(), node->Index) != buttons.end();
    };
    if (const TTVNode* parent = TTVNode::From(item.parent()); parent && stands(parent->Index))
        return parent->Index;
    for (int card : tree_.Model().CardsOf(node->Data.ID)) {
        if (stands(card))
            return card;
    }
    return -1;
}

// ---- the keyboard ----

void TCommandCard::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    MoveFocusFrame(focusCell_.x(), focusCell_.y());
    shpFocus_->show();
}

void TCommandCard::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    shpFocus_->hide();
}

void TCommandCard::MoveFocusFrame(int col, int row) {
    focusCell_ = {std::clamp(col, 0, kColumns - 1), std::clamp(row, 0, kRows - 1)};
    shpFocus_->setGeometry(
        QRect(CellOrigin(focusCell_.x(), focusCell_.y()), QSize(32, 32)).adjusted(-2, -2, 2, 2));
    shpFocus_->raise();
}

void TCommandCard::keyPressEvent(QKeyEvent* event) {
    const TCardCell* cell = CellAt(focusCell_.x(), focusCell_.y());
    const int index = cell && cell->HoldsButton() ? cell->Tag : -1;
    switch (event->key()) {
    case Qt::Key_Left:
        return MoveFocusFrame(focusCell_.x() - 1, focusCell_.y());
    case Qt::Key_Right:
        return MoveFocusFrame(focusCell_.x() + 1, focusCell_.y());
    case Qt::Key_Up:
        return MoveFocusFrame(focusCell_.x(), focusCell_.y() - 1);
    case Qt::Key_Down:
        return MoveFocusFrame(focusCell_.x(), focusCell_.y() + 1);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (index >= 0)
            emit SelectNode(index);
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (index >= 0 && text.size() == 1 && text[0].isPrint() && !text[0].isSpace())
        emit TypeKey(index, text[0]);
    else
        QWidget::keyPressEvent(event);
}

QPixmap TCommandCard::ButtonPicture(const QTreeWidgetItem& item, const TBindRec& record) const {
    const TTVNode& node = static_cast<const TTVNode&>(item);
    QPixmap picture = images_.Pixmap(node.ImageIndex).scaled(32, 32);
    const QString letter = lettersShown_ ? ShownLetter(record) : QString();
    if (letter.isEmpty())
        return picture;
    QPainter p(&picture);
    QFont font = this->font();
    font.setBold(true);
    font.setPointSize(16);
    // Unhinted glyphs look the same at this size over the picture, and cost
    // a fraction to measure and draw.
    font.setHintingPreference(QFont::PreferNoHinting);
    p.setPen(Qt::white);
    if (letter.size() == 1) {
        p.setFont(font);
        // The letter's top-left corner at (10, 5), as the game's own cards have it.
        p.drawText(QRect(10, 5, 22, 27), Qt::AlignLeft | Qt::AlignTop, letter);
        return picture;
    }
    // A key's name ("F11", "Esc") is made smaller until it fits the button.
    while (font.pointSize() > 6 && QFontMetrics(font).horizontalAdvance(letter) > 30)
        font.setPointSize(font.pointSize() - 1);
    p.setFont(font);
    p.drawText(QRect(1, 5, 30, 27), Qt::AlignHCenter | Qt::AlignTop, letter);
    return picture;
}

void TCommandCard::imgBtn00MouseDown(TCardCell& cell, QPoint at) {
    pressed_ = &cell;
    pressedAt_ = at;
}

void TCommandCard::imgBtn00MouseMove(TCardCell& cell, QPoint at) {
    if (pressed_ != &cell || (at - pressedAt_).manhattanLength() < 4)
        return;
    pressed_ = nullptr;
    StartDrag(cell);
}

void TCommandCard::imgBtn00MouseUp(TCardCell& cell) {
    if (pressed_ != &cell)
        return;
    pressed_ = nullptr;
    imgBtn00EndDrag(cell, nullptr);
}

void TCommandCard::StartDrag(TCardCell& source) {
    if (!source.HoldsButton()) {
        imgBtn00EndDrag(source, nullptr);
        return;
    }
    auto* drag = new QDrag(&source);
    auto* data = new QMimeData;
    data->setData(TCardCell::kMimeType, source.objectName().toUtf8());
    drag->setMimeData(data);
    drag->setPixmap(source.Picture());
    drag->setHotSpot(QPoint(16, 16));
    if (drag->exec(Qt::MoveAction) == Qt::IgnoreAction)
        imgBtn00EndDrag(source, nullptr);
}

bool TCommandCard::imgBtn02DragOver(const TCardCell& source) const {
    return source.HoldsButton();
}

// The dropped button takes the cell; a button standing there takes the cell
// the dropped one left. One edit, redrawn when the documents announce it.
void TCommandCard::imgBtn00DragDrop(TCardCell& source, TCardCell& target) {
    const TTVNode* moved = tree_.ItemAt(source.Tag);
    const TTVNode* displaced =
        target.HoldsButton() && &target != &source ? tree_.ItemAt(target.Tag) : nullptr;
    SwapImagesPos(source, target);
    if (!moved)
        return;
    editor_.MoveButton(moved->Data.ID, PositionValue(source),
                       displaced ? displaced->Data.ID : std::string(),
                       displaced ? PositionValue(target) : std::string());
}

void TCommandCard::imgBtn00EndDrag(TCardCell& source, TCardCell* target) {
    if (!target && source.HoldsButton())
        emit SelectNode(source.Tag);
}

void TCommandCard::imgBtn00DblClick(TCardCell& cell) {
    pressed_ = nullptr;
    if (cell.HoldsButton())
        emit SelectNode(cell.Tag);
}

} // namespace qm
