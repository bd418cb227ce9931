#pragma once
// The question before a hotkey is stored: does one of the three values shown
// in the panel clash with a button on a command card the selected action
// stands on? The cards are those of TTreeModel::CardsOf, so a unit listed a
// second time under a group node is compared with the buttons of the
// building that trains it, not with the other units of the group.

#include <QString>

#include <array>

class QTreeWidgetItem;
class QWidget;

namespace qm {

class TActionTree;
class TDocumentSet;
class TPlatform;

class THotKeyConflicts {
  public:
    THotKeyConflicts(TActionTree& tree, TDocumentSet& documents, TPlatform& platform,
                     QWidget& owner);

    // Visits the other actions of the node's cards in tree order and asks
    // about the first one whose stored values clash with `shown` (hotkey,
    // un-hotkey, research hotkey). -1 when nothing clashes or the user lets
    // the two exchange (the other action then takes the node's stored values
    // of the clashing kinds); otherwise the absolute index of the other
    // action's node, the user having refused.
    int CheckUpEqualHotKey(QTreeWidgetItem* node, const std::array<QString, 3>& shown);

  private:
    bool AskToSwap(const QString& caption);

    TActionTree& tree_;
    TDocumentSet& documents_;
    TPlatform& platform_;
    QWidget& owner_;
};

} // namespace qm
