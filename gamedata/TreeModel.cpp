#include "gamedata/TreeModel.h"

#include "config/uReadFile.h"
#include "gamedata/TreeRewrite.h"
#include "text/TextCodec.h"

#include <algorithm>

namespace qm {
namespace {

// The delivered trees take about 100 KB; a file far beyond that is no tree.
constexpr std::uintmax_t kMaxTreeFileSize = 64u << 20;

bool EndsField(char c) {
    return c == '|' || c == '"' || c == '\r' || c == '\n';
}

bool SkippedBeforeField(char c) {
    return c == '\t' || c == '\r' || c == '\n';
}

std::string FieldOrEmpty(const std::vector<std::string_view>& fields, size_t i) {
    return i < fields.size() && fields[i] != "?" ? std::string(fields[i]) : std::string();
}

} // namespace

std::vector<std::string_view> TTreeModel::ExtractTVFields(std::string_view line) {
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

TTreeModel TTreeModel::Parse(std::string_view text) {
    TTreeModel model;
    int last = -1;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        model.Add(text.substr(start, end - start), last);
        start = end + 1;
    }
    model.Index();
    return model;
}

std::optional<TTreeModel> TTreeModel::LoadFromFile(const std::filesystem::path& path,
                                                   std::string* why) {
    const auto bytes = ReadFileBytes(path, kMaxTreeFileSize, why);
    if (!bytes)
        return std::nullopt;
    return Parse(FileTextToUtf8(*bytes));
}

// A line deeper than the last one becomes its child; one at the same or a
// shallower level becomes the sibling of the last line's ancestor there.
void TTreeModel::Add(std::string_view line, int& last) {
    const auto fields = ExtractTVFields(line);
    if (fields.empty())
        return;
    TTreeNode node{std::string(fields[0]), FieldOrEmpty(fields, 1), FieldOrEmpty(fields, 2)};
    if (last >= 0) {
        const int level = TabCount(line);
        int sibling = last;
        if (level > nodes_[last].Level) {
            node.Parent = last;
        } else {
            for (int up = nodes_[last].Level - level; up > 0; --up)
                sibling = nodes_[sibling].Parent;
            node.Parent = nodes_[sibling].Parent;
        }
        node.Level = node.Parent < 0 ? 0 : nodes_[node.Parent].Level + 1;
    }
    nodes_.push_back(std::move(node));
    last = Count() - 1;
}

void TTreeModel::Index() {
    children_.assign(nodes_.size() + 1, {});
    for (int i = 0; i < Count(); ++i) {
        children_[static_cast<size_t>(nodes_[i].Parent + 1)].push_back(i);
        if (!nodes_[i].ID.empty())
            byID_[nodes_[i].ID].push_back(i);
    }
}

const std::vector<int>& TTreeModel::Children(int parent) const {
    static const std::vector<int> kNone;
    const size_t slot = static_cast<size_t>(parent + 1);
    return parent >= -1 && slot < children_.size() ? children_[slot] : kNone;
}

const std::vector<int>& TTreeModel::NodesOf(std::string_view id) const {
    static const std::vector<int> kNone;
    const auto found = byID_.find(id);
    return found == byID_.end() ? kNone : found->second;
}

std::vector<int> TTreeModel::CardsOf(std::string_view id) const {
    std::vector<int> units;
    std::vector<int> parents;
    for (int node : NodesOf(id)) {
        const int parent = nodes_[node].Parent;
        if (parent >= 0 && !nodes_[parent].ID.empty())
            units.push_back(parent);
        parents.push_back(parent);
    }
    std::vector<int>& cards = units.empty() ? parents : units;
    // Node indexes are in tree order; the top level (-1) comes first.
    std::sort(cards.begin(), cards.end());
    cards.erase(std::unique(cards.begin(), cards.end()), cards.end());
    return cards;
}

} // namespace qm
