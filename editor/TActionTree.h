#pragma once
// The action tree: loads a tree file into the view, binds nodes to the
// records of a document, and loads node icons per group of siblings. The
// parsed file stays beside the view, so a node's absolute index (its place
// when every node is counted from the top, expanded or not) and the command
// cards of an action are found without walking the view.

#include "editor/TTVNode.h"
#include "gamedata/TreeModel.h"

#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TCfgManager;
class TImageList;

class TActionTree {
  public:
    TActionTree(QTreeWidget& view, TImageList& images, std::filesystem::path iconsFolder);

    // Where the icons are looked for from now on.
    void SetIconsFolder(std::filesystem::path folder);
    // Fills the view with the nodes of a tree file; a file that cannot be
    // read gives none, with the reason in `why`.
    void LoadTVFromFile(const std::filesystem::path& path, std::string* why = nullptr);
    // -1 for a group node, 0 for an action the document holds, 1 for an
    // action that it does not hold. Nodes keep no pointer into a document:
    // records come and go with every edit and its undo.
    int AssignNodeData(QTreeWidgetItem* item, const TCfgManager& document) const;
    // Releases every node together with its data.
    void FreeTvData();
    // Loads the icons of the node and of every sibling after it.
    void CheckUpBrunchIcons(QTreeWidgetItem* item);
    // Loads one node's icon, when it has none yet.
    void CheckUpIcon(QTreeWidgetItem* item);
    bool NeedsBranchIcon(QTreeWidgetItem* item) const;

    // Every node in index (pre-)order.
    void ForEachNode(const std::function<void(TTVNode&)>& visit) const;
    int NodeCount() const { return static_cast<int>(nodes_.size()); }
    // The node at an absolute index; nullptr outside the tree.
    TTVNode* ItemAt(int index) const;
    const TTreeModel& Model() const { return model_; }
    QTreeWidget& View() const { return view_; }

    // Whether a tree file's icon name stays inside the icons folder.
    static bool IsSafeIconName(std::string_view name);

  private:
    std::filesystem::path IconPath(const std::string& name);
    void ListIconsFolder();

    QTreeWidget& view_;
    TImageList& images_;
    std::filesystem::path iconsFolder_;
    TTreeModel model_;
    std::vector<TTVNode*> nodes_; // by absolute index; owned by the view
    // Icon file names by their lower-case spelling, so that a tree file's
    // name finds its file whatever the case; re-read when the folder changes.
    std::map<std::string, std::string> iconFiles_;
    std::filesystem::file_time_type listedAt_{};
    // The image-list index of every icon file decoded, so that a picture
    // many nodes share is decoded once for the life of the tree.
    std::map<std::filesystem::path, int> decoded_;
};

} // namespace qm
