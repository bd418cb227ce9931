#pragma once
// The command card of the selected unit, the 4 x 3 grid of buttons the game
// shows (pnlGreed): with a node that is a card (a unit with its actions and
// the common commands the game puts on it), every button with a position is
// drawn in its cell with its icon and hotkey letter, as
// the editor shows the action, and buttons are moved by drag and drop; with
// an action, the card it stands on is drawn, its button framed. The card
// draws itself anew whenever the documents change.
//
// From the keyboard the card is one stop of the Tab chain; the arrow keys
// move a frame from cell to cell, Enter picks the framed button, and a
// letter typed there is that action's new hotkey.
//
// The twelve cell controls change places when buttons move, so a control's
// name (imgBtn<row><column> at start) no longer says where it stands; cells
// are always found by position.

#include <QPoint>
#include <QWidget>

#include <array>
#include <string_view>

class QFrame;
class QTreeWidgetItem;

namespace qm {

class TActionTree;
class TCardCell;
class TDocumentSet;
class TImage;
class TImageList;
class TRecordEditor;
struct TBindRec;
struct TButtonPos;

class TCommandCard : public QWidget {
    Q_OBJECT

  public:
    TCommandCard(TActionTree& tree, TImageList& images, TDocumentSet& documents,
                 TRecordEditor& editor, QWidget* parent = nullptr);

    void SetLettersShown(bool shown) { lettersShown_ = shown; }

    // Redraws the whole card for a node: its children, or the node alone.
    void DrawBrunchButtons(QTreeWidgetItem* node);
    // Draws one action into the cell of its position.
    void DrawButton(QTreeWidgetItem* node);
    void ClearImgBtns();
    void SwapImagesPos(QWidget& a, QWidget& b);

    // The cell control standing at a position; nullptr outside the card.
    TCardCell* CellAt(int col, int row) const;
    // The position value "col,row" of the place a control stands at.
    static std::string PositionValue(const QWidget& cell);
    // The position an action shows: the first of its three position values
    // that is set, parsed; (-1, -1) when none is a valid position.
    static TButtonPos ShownPosition(const TBindRec& record);
    // The letter an action shows: the first character of the first hotkey
    // value that is set, none for "512"; for a key code, the key's character
    // or name, or the code itself for a key without a name.
    QString ShownLetter(const TBindRec& record) const;

    // The cell handlers. A press begins a drag that starts once the pointer
    // has moved 4 pixels; a release before that ends it without a target.
    void imgBtn00MouseDown(TCardCell& cell, QPoint at);
    void imgBtn00MouseMove(TCardCell& cell, QPoint at);
    void imgBtn00MouseUp(TCardCell& cell);
    bool imgBtn02DragOver(const TCardCell& source) const;
    void imgBtn00DragDrop(TCardCell& source, TCardCell& target);
    void imgBtn00EndDrag(TCardCell& source, TCardCell* target);
    void imgBtn00DblClick(TCardCell& cell);

  signals:
    // The user picked the button of the node at this absolute index.
    void SelectNode(int index);
    // A key typed on the framed button of the node at this index.
    void TypeKey(int index, QChar key);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void StartDrag(TCardCell& source);
    QPixmap ButtonPicture(const QTreeWidgetItem& node, const TBindRec& record) const;
    static QPixmap Background();
    // The card the action of this node stands on: its parent's when that
    // carries it, else the first card that does; -1 for none.
    int CardOf(const QTreeWidgetItem& node) const;
    void MoveFocusFrame(int col, int row);

    TActionTree& tree_;
    TImageList& images_;
    TDocumentSet& documents_;
    TRecordEditor& editor_;
    TImage* imgGreed2_ = nullptr;
    std::array<TCardCell*, 12> cells_{};
    bool lettersShown_ = true;
    TCardCell* pressed_ = nullptr; // the cell a drag may start from
    QPoint pressedAt_;
    int marked_ = -1;            // the node whose button is framed
    QPoint focusCell_{0, 0};     // the cell the keyboard is on
    QFrame* shpFocus_ = nullptr; // its frame, while the card has the focus
};

} // namespace qm
