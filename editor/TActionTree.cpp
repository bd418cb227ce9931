#include "editor/TActionTree.h"

#include "config/uCfgManager.h"
#include "config/uReadFile.h"
#include "editor/IconImage.h"
#include "editor/TImageList.h"
#include "gamedata/TreeRewrite.h"
#include "text/TextCodec.h"

#include <QTreeWidgetItemIterator>

namespace qm {
namespace {

namespace fs = std::filesystem;

bool EndsField(char c) {
    return c == '|' || c == '"' || c == '\r' || c == '\n';
}

bool SkippedBeforeField(char c) {
    return c == '\t' || c == '\r' || c == '\n';
}

int Depth(const QTreeWidgetItem* item) {
    int depth = 0;
    for (const QTreeWidgetItem* p = item->parent(); p; p = p->parent())
        ++depth;
    return depth;
}

// The delivered trees take about 100 KB; a file far beyond that is no tree.
constexpr std::uintmax_t kMaxTreeFileSize = 64u << 20;

} // namespace

TActionTree::TActionTree(QTreeWidget& view, TImageList& images, fs::path iconsFolder)
    : view_(view), images_(images), iconsFolder_(std::move(iconsFolder)) {}

std::vector<std::string_view> TActionTree::ExtractTVFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && SkippedBeforeField(line[pos]))
            ++pos;
        const size_t start = pos;
        while (pos < line.size() && !EndsField(line[pos]))
            ++pos;
        if (pos > start)
            fields.push_back(line.substr(start, pos - start));
        ++pos; // the ending character belongs to no field
    }
    return fields;
}

bool TActionTree::IsSafeIconName(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of("/\\:") == std::string_view::npos;
}

void TActionTree::LoadTVFromFile(const fs::path& path) {
    const auto bytes = ReadFileBytes(path, kMaxTreeFileSize);
    if (!bytes)
        return;
    const std::string text = FileTextToUtf8(*bytes);
    TTVNode* last = nullptr;
    int lastDepth = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        AddLine(std::string_view(text).substr(start, end - start), last, lastDepth);
        start = end + 1;
    }
}

void TActionTree::AddLine(std::string_view line, TTVNode*& last, int& lastDepth) {
    const auto fields = ExtractTVFields(line);
    if (fields.empty())
        return;
    auto* node = new TTVNode(QString::fromUtf8(fields[0].data(), fields[0].size()));
    if (fields.size() >= 2 && fields[1] != "?")
        node->Data.ID = std::string(fields[1]);
    if (fields.size() >= 3 && fields[2] != "?")
        node->Data.Icon = std::string(fields[2]);
    node->setIcon(0, images_.Icon(0));
    Place(node, TabCount(line), last, lastDepth);
    last = node;
    lastDepth = Depth(node);
}

void TActionTree::Place(TTVNode* node, int level, TTVNode* last, int lastDepth) {
    if (!last) {
        view_.addTopLevelItem(node);
        return;
    }
    if (level > lastDepth) {
        last->addChild(node);
        return;
    }
    QTreeWidgetItem* sibling = last;
    for (int up = lastDepth - level; up > 0; --up)
        sibling = sibling->parent();
    if (QTreeWidgetItem* parent = sibling->parent())
        parent->addChild(node);
    else
        view_.addTopLevelItem(node);
}

int TActionTree::AssignNodeData(QTreeWidgetItem* item, TCfgManager& document) const {
    TTVNode* node = TTVNode::From(item);
    if (!node)
        return -1;
    if (node->Data.Record)
        return 0;
    if (node->Data.ID.empty())
        return -1;
    node->Data.Record = document.FindRecord(node->Data.ID);
    return node->Data.Record ? 0 : 1;
}

void TActionTree::ResetTvData() const {
    ForEachNode([](TTVNode& node) { node.Data.Record = nullptr; });
}

void TActionTree::FreeTvData() const {
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
    for (int i = first; i >= 0 && i < count; ++i) {
        QTreeWidgetItem* sibling = parent ? parent->child(i) : view_.topLevelItem(i);
        TTVNode* node = TTVNode::From(sibling);
        if (!node || !NeedsBranchIcon(node))
            continue;
        const fs::path path = IconPath(node->Data.Icon);
        if (path.empty())
            continue;
        const QImage picture = LoadJpegBitmap(QString::fromStdU16String(path.u16string()),
                                              images_.Size().width(), images_.Size().height());
        if (picture.isNull())
            continue;
        node->ImageIndex = images_.Add(picture);
        node->setIcon(0, images_.Icon(node->ImageIndex));
    }
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
    for (QTreeWidgetItemIterator it(&view_); *it; ++it) {
        if (TTVNode* node = TTVNode::From(*it))
            visit(*node);
    }
}

int TActionTree::NodeCount() const {
    int count = 0;
    for (QTreeWidgetItemIterator it(&view_); *it; ++it)
        ++count;
    return count;
}

} // namespace qm
