#include "gamedata/TreeModel.h"

#include "config/uReadFile.h"
#include "gamedata/TreeRewrite.h"
#include "text/TextCodec.h"

#include <algorithm>
#include <set>

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

// The identifiers of a comma-separated list, trimmed, without empty ones.
std::vector<std::string> SplitIds(std::string_view list) {
    std::vector<std::string> ids;
    while (!list.empty()) {
        const size_t comma = std::min(list.find(','), list.size());
        const std::string_view id = Trim(list.substr(0, comma));
        if (!id.empty())
            ids.emplace_back(id);
        list.remove_prefix(std::min(comma + 1, list.size()));
    }
    return ids;
}

void SortUnique(std::vector<int>& v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
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
    TTreeNode node;
    node.Caption = fields[0];
    node.ID = FieldOrEmpty(fields, 1);
    node.Icon = FieldOrEmpty(fields, 2);
    // Only an action's card carries commands; a group shows its children.
    if (!node.ID.empty())
        node.Commands = SplitIds(FieldOrEmpty(fields, 3));
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
    TIdMap commandCards;
    for (int i = 0; i < Count(); ++i) {
        const TTreeNode& node = nodes_[i];
        children_[static_cast<size_t>(node.Parent + 1)].push_back(i);
        if (node.ID.empty())
            continue;
        byID_[node.ID].Nodes.push_back(i);
        for (const std::string& command : node.Commands)
            commandCards[command].push_back(i);
    }
    for (auto& [id, entry] : byID_) {
        const auto found = commandCards.find(id);
        entry.Cards = FindCards(entry.Nodes, found == commandCards.end() ? std::vector<int>()
                                                                         : found->second);
    }
}

std::vector<int> TTreeModel::FindCards(const std::vector<int>& nodes,
                                       const std::vector<int>& commandCards) const {
    std::vector<int> cards = commandCards;
    std::vector<int> parents;
    for (int node : nodes) {
        const int parent = nodes_[node].Parent;
        if (parent >= 0 && !nodes_[parent].ID.empty())
            cards.push_back(parent);
        parents.push_back(parent);
    }
    std::vector<int>& found = cards.empty() ? parents : cards;
    // Node indexes are in tree order; the top level (-1) comes first.
    SortUnique(found);
    return found;
}

const std::vector<int>& TTreeModel::Children(int parent) const {
    static const std::vector<int> kNone;
    const size_t slot = static_cast<size_t>(parent + 1);
    return parent >= -1 && slot < children_.size() ? children_[slot] : kNone;
}

const std::vector<int>& TTreeModel::NodesOf(std::string_view id) const {
    static const std::vector<int> kNone;
    const auto found = byID_.find(id);
    return found == byID_.end() ? kNone : found->second.Nodes;
}

const std::vector<int>& TTreeModel::CardsOf(std::string_view id) const {
    static const std::vector<int> kNone;
    const auto found = byID_.find(id);
    return found == byID_.end() ? kNone : found->second.Cards;
}

std::vector<int> TTreeModel::ButtonsOf(int card) const {
    std::vector<int> buttons = Children(card);
    if (card < 0 || card >= Count())
        return buttons;
    for (const std::string& command : nodes_[card].Commands) {
        const std::vector<int>& nodes = NodesOf(command);
        const bool onCard = std::any_of(buttons.begin(), buttons.end(),
                                        [&](int b) { return nodes_[b].ID == command; });
        if (!nodes.empty() && !onCard)
            buttons.push_back(nodes.front());
    }
    return buttons;
}

const std::vector<int>& TTreeModel::CardMatesOf(std::string_view id) const {
    auto found = mates_.find(id);
    if (found == mates_.end())
        found = mates_.emplace(std::string(id), FindCardMates(id)).first;
    return found->second;
}

std::vector<int> TTreeModel::FindCardMates(std::string_view id) const {
    std::vector<int> mates;
    std::set<std::string_view> seen = {id};
    for (int card : CardsOf(id)) {
        for (int button : ButtonsOf(card)) {
            const std::string& other = nodes_[button].ID;
            const std::vector<int>& theirs = CardsOf(other);
            if (!other.empty() && std::binary_search(theirs.begin(), theirs.end(), card) &&
                seen.insert(other).second)
                mates.push_back(button);
        }
    }
    return mates;
}

// Asked only when a question names an action: looked up then, not indexed.
bool TTreeModel::CaptionRepeats(std::string_view caption) const {
    const std::string* first = nullptr;
    for (const TTreeNode& node : nodes_) {
        if (node.ID.empty() || node.Caption != caption)
            continue;
        if (!first)
            first = &node.ID;
        else if (node.ID != *first)
            return true;
    }
    return false;
}

} // namespace qm
