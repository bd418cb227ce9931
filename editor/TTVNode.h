#pragma once
// A node of the action tree with its node data. The data lives and dies
// with its node, so it can neither leak nor outlive the node.

#include <QTreeWidgetItem>
#include <string>

namespace qm {

struct TTVNodeData {
    std::string ID;   // empty for a group node
    std::string Icon; // icon file name, empty when none
};

class TTVNode : public QTreeWidgetItem {
  public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;

    explicit TTVNode(const QString& caption) : QTreeWidgetItem(kType) { setText(0, caption); }

    // The node behind an item of the action tree; nullptr for anything else.
    static TTVNode* From(QTreeWidgetItem* item) {
        return item && item->type() == kType ? static_cast<TTVNode*>(item) : nullptr;
    }

    TTVNodeData Data;
    int ImageIndex = 0; // position of the node's picture in the image list
    int Index = -1;     // absolute index in the tree
};

} // namespace qm
