#pragma once
// The action tree: loads a tree file into the view, binds nodes to the
// records of a document, and loads node icons per group of siblings.

#include "editor/TTVNode.h"

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

    // Appends the nodes of a tree file to the view; a missing file adds none.
    void LoadTVFromFile(const std::filesystem::path& path);
    // -1 for a group node, 0 when bound to a record, 1 for an action that the
    // document does not hold.
    int AssignNodeData(QTreeWidgetItem* item, TCfgManager& document) const;
    // Unbinds every node; each binds again on its next use.
    void ResetTvData() const;
    // Releases every node together with its data.
    void FreeTvData() const;
    // Loads the icons of the node and of every sibling after it.
    void CheckUpBrunchIcons(QTreeWidgetItem* item);
    bool NeedsBranchIcon(QTreeWidgetItem* item) const;

    // Every node in index (pre-)order.
    void ForEachNode(const std::function<void(TTVNode&)>& visit) const;
    int NodeCount() const;

    // The fields of a tree-file line: TABs, CR and LF before a field are
    // skipped, "|", '"', CR and LF end one, and empty fields are dropped.
    static std::vector<std::string_view> ExtractTVFields(std::string_view line);
    // Whether a tree file's icon name stays inside the icons folder.
    static bool IsSafeIconName(std::string_view name);

  private:
    void AddLine(std::string_view line, TTVNode*& last, int& lastDepth);
    void Place(TTVNode* node, int level, TTVNode* last, int lastDepth);
    std::filesystem::path IconPath(const std::string& name);
    void ListIconsFolder();

    QTreeWidget& view_;
    TImageList& images_;
    std::filesystem::path iconsFolder_;
    // Icon file names by their lower-case spelling, so that a tree file's
    // name finds its file whatever the case; re-read when the folder changes.
    std::map<std::string, std::string> iconFiles_;
    std::filesystem::file_time_type listedAt_{};
};

} // namespace qm
