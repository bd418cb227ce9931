#pragma once
// The action tree's view (tvMain): read-only, multiple selection with Ctrl
// and Shift, the selection as visible without the focus, a caption cut
// short shown in full as a tool tip, and no search by typing: a typed
// character is handed on instead.

#include <QTreeWidget>

namespace qm {

class TActionTreeView : public QTreeWidget {
    Q_OBJECT

  public:
    explicit TActionTreeView(QSize iconSize, QWidget* parent = nullptr);

  signals:
    // A printable character typed while the tree has the focus.
    void KeyPress(QChar key);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
};

} // namespace qm
