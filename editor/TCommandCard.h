#pragma once
// The command card of the selected unit, the 4 x 3 grid of buttons the game
// shows (pnlGreed): with a node that is a card (a unit with its actions and
// the common commands the game puts on it), every button with a position is
// drawn in its cell with its icon and hotkey letter, as
// the editor shows the action, and buttons are moved by drag and drop; with
// a single action, only its button is drawn and the card ignores the mouse.
// The card draws itself anew whenever the documents change.
//
// The twelve cell controls change places when buttons move, so a control's
// name (imgBtn<row><column> at start) no longer says where it stands; cells
// are always found by position.

#include <QPoint>
#include <QWidget>

#include <array>
#include <string_view>

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

  private:
    void StartDrag(TCardCell& source);
    QPixmap ButtonPicture(const QTreeWidgetItem& node, const TBindRec& record) const;
    static QPixmap Background();

    TActionTree& tree_;
    TImageList& images_;
    TDocumentSet& documents_;
    TRecordEditor& editor_;
    TImage* imgGreed2_ = nullptr;
    std::array<TCardCell*, 12> cells_{};
    bool lettersShown_ = true;
    TCardCell* pressed_ = nullptr; // the cell a drag may start from
    QPoint pressedAt_;
};

} // namespace qm
