#include "editor/TActionTree.h"

#include "config/uCfgManager.h"
#include "editor/IconImage.h"
#include "editor/PathText.h"
#include "editor/TImageList.h"
#include "text/TextCodec.h"
#include "tooltips/Utf8Text.h"

namespace qm {

namespace fs = std::filesystem;

TActionTree::TActionTree(QTreeWidget& view, TImageList& images, fs::path iconsFolder)
    : view_(view), images_(images), iconsFolder_(std::move(iconsFolder)) {}

bool TActionTree::IsSafeIconName(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of("/\\:") == std::string_view::npos;
}

void TActionTree::LoadTVFromFile(const fs::path& path, std::string* why) {
    FreeTvData();
    model_ = TTreeModel::LoadFromFile(path, why).value_or(TTreeModel());
    nodes_.reserve(static_cast<size_t>(model_.Count()));
    // Built apart from the view and handed over at the end: a child added
    // to an item the view already shows costs the view a notice each.
    QList<QTreeWidgetItem*> roots;
    for (const TTreeNode& line : model_.Nodes()) {
        auto* node = new TTVNode(Utf8ToQString(line.Caption));
        node->Data.ID = line.ID;
        node->Data.Icon = line.Icon;
        node->Index = NodeCount();
        node->setIcon(0, images_.Icon(0));
        if (line.Parent >= 0)
            nodes_[static_cast<size_t>(line.Parent)]->addChild(node);
        else
            roots.append(node);
        nodes_.push_back(node);
    }
    view_.addTopLevelItems(roots);
}

TTVNode* TActionTree::ItemAt(int index) const {
    return index >= 0 && index < NodeCount() ? nodes_[static_cast<size_t>(index)] : nullptr;
}

int TActionTree::AssignNodeData(QTreeWidgetItem* item, const TCfgManager& document) const {
    const TTVNode* node = TTVNode::From(item);
    if (!node || node->Data.ID.empty())
        return -1;
    return document.FindRecord(node->Data.ID) ? 0 : 1;
}

void TActionTree::FreeTvData() {
    nodes_.clear();
    decoded_.clear();
    model_ = TTreeModel();
    view_.clear();
}

bool TActionTree::NeedsBranchIcon(QTreeWidgetItem* item) const {
    const TTVNode* node = TTVNode::From(item);
    return !(node && !node->Data.Icon.empty() && node->ImageIndex > 0);
}

void TActionTree::CheckUpBrunchIcons(QTreeWidgetItem* item) {
    if (!item)
        return;
    QTreeWidgetItem* parent = item->parent();
    const int first = parent ? parent->indexOfChild(item) : view_.indexOfTopLevelItem(item);
    const int count = parent ? parent->childCount() : view_.topLevelItemCount();
    for (int i = first; i >= 0 && i < count; ++i)
        CheckUpIcon(parent ? parent->child(i) : view_.topLevelItem(i));
}

void TActionTree::CheckUpIcon(QTreeWidgetItem* item) {
    TTVNode* node = TTVNode::From(item);
    if (!node || !NeedsBranchIcon(node))
        return;
    const fs::path path = IconPath(node->Data.Icon);
    if (path.empty())
        return;
    auto known = decoded_.find(path);
    if (known == decoded_.end()) {
        const QImage picture =
            LoadJpegBitmap(FromPath(path), images_.Size().width(), images_.Size().height());
        // A file that cannot be decoded now is tried again next time.
        if (picture.isNull())
            return;
        known = decoded_.emplace(path, images_.Add(picture)).first;
    }
    node->ImageIndex = known->second;
    node->setIcon(0, images_.Icon(node->ImageIndex));
}

fs::path TActionTree::IconPath(const std::string& name) {
    if (!IsSafeIconName(name))
        return {};
    std::error_code ec;
    const fs::path exact = iconsFolder_ / name;
    if (fs::is_regular_file(exact, ec))
        return exact;
    ListIconsFolder();
    const auto found = iconFiles_.find(AsciiLower(name));
    return found == iconFiles_.end() ? fs::path() : iconsFolder_ / found->second;
}

void TActionTree::SetIconsFolder(std::filesystem::path folder) {
    iconsFolder_ = std::move(folder);
    iconFiles_.clear();
    listedAt_ = {};
    decoded_.clear();
}

void TActionTree::ListIconsFolder() {
    std::error_code ec;
    const auto changed = fs::last_write_time(iconsFolder_, ec);
    if (ec || (changed == listedAt_ && !iconFiles_.empty()))
        return;
    iconFiles_.clear();
    listedAt_ = changed;
    for (fs::directory_iterator it(iconsFolder_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string fileName = it->path().filename().string();
        iconFiles_.emplace(AsciiLower(fileName), fileName);
    }
}

void TActionTree::ForEachNode(const std::function<void(TTVNode&)>& visit) const {
    for (TTVNode* node : nodes_)
        visit(*node);
}

} // namespace qm
