#pragma once
// The question before a clashing hotkey is stored: may the edited action and
// the other button of its card exchange their hotkeys? The clash itself is
// found by the record editor; this asks the player, in the main window.

#include <QString>

class QWidget;

namespace qm {

class TActionTree;
class TPlatform;

class THotKeyConflicts {
  public:
    THotKeyConflicts(const TActionTree& tree, TPlatform& platform, QWidget& owner);

    // True when the player lets the two exchange; `otherNode` is the other
    // button's node, named in the question by its caption.
    bool AskToSwap(int otherNode);

  private:
    const TActionTree& tree_;
    TPlatform& platform_;
    QWidget& owner_;
};

} // namespace qm
