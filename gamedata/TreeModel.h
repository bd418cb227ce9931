#pragma once
// The action tree as a file describes it, without any window: nodes in index
// (pre-)order with their parents. The editor's tree view is built from it,
// and the command-line companion reads command cards from it.
//
// A tree-file line is caption|ID|icon, indented by TABs to its level; "?"
// stands for an empty ID or icon. A line indented deeper than the line before
// becomes that line's child, whatever the depth asked for. A unit's line may
// go on with a fourth field, the common commands that stand on its command
// card beside its own buttons ("CmdMove,CmdStop"), which the game gives by
// what the unit can do; older trees without it keep their commands on a card
// of their own.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct TTreeNode {
    std::string Caption;
    std::string ID;   // empty for a group node
    std::string Icon; // empty when none
    int Parent = -1;  // index of the parent node; -1 at the top level
    int Level = 0;
    std::vector<std::string> Commands; // the common commands on its card (action nodes)
};

class TTreeModel {
  public:
    // Parses the text of a tree file (UTF-8).
    static TTreeModel Parse(std::string_view text);
    // Reads a tree file as UTF-8 when it is valid UTF-8, else as
    // Windows-1251; nothing, with the reason in `why`, when it cannot be read.
    static std::optional<TTreeModel> LoadFromFile(const std::filesystem::path& path,
                                                  std::string* why = nullptr);

    // The fields of a tree-file line: TABs, CR and LF before a field are
    // skipped, "|", '"', CR and LF end one, and empty fields are dropped.
    static std::vector<std::string_view> ExtractTVFields(std::string_view line);

    const std::vector<TTreeNode>& Nodes() const { return nodes_; }
    int Count() const { return static_cast<int>(nodes_.size()); }
    const TTreeNode& operator[](int index) const { return nodes_.at(static_cast<size_t>(index)); }

    // The children of a node in tree order; -1 gives the top-level nodes.
    const std::vector<int>& Children(int parent) const;
    // Every node that carries the identifier, in tree order.
    const std::vector<int>& NodesOf(std::string_view id) const;

    // The command cards an action stands on, in tree order: the parents with
    // an identifier (a unit, building or hero) of every node that carries it,
    // and the nodes whose Commands name it; for an action on no such card, the
    // parents of its nodes, the top level (-1) counting as one card. Group
    // nodes such as "Units" list units a second time, and those places are no
    // card of theirs.
    const std::vector<int>& CardsOf(std::string_view id) const;
    // The buttons a card shows, as nodes: its children in tree order, then
    // the first node of each common command on it that the tree holds.
    std::vector<int> ButtonsOf(int card) const;
    // The actions that share a card with `id`, one node for each identifier,
    // by card in tree order and by button in card order; `id` itself is not
    // among them. Two actions share a card only when it is among both one's
    // cards, so the relation is symmetric: a group node (the common commands'
    // own) that shows both counts only when neither stands on a unit's card.
    const std::vector<int>& CardMatesOf(std::string_view id) const;
    // Whether actions of two or more identifiers carry the caption, so that a
    // question naming one must add its identifier.
    bool CaptionRepeats(std::string_view caption) const;

  private:
    void Add(std::string_view line, int& last);

    void Index();
    std::vector<int> FindCards(const std::vector<int>& nodes,
                               const std::vector<int>& commandCards) const;
    std::vector<int> FindCardMates(std::string_view id) const;

    using TIdMap = std::map<std::string, std::vector<int>, std::less<>>;
    struct TIdNodes {
        std::vector<int> Nodes; // where the identifier stands, in tree order
        std::vector<int> Cards; // the cards it is on
    };
    std::vector<TTreeNode> nodes_;
    std::vector<std::vector<int>> children_; // by parent index + 1
    std::map<std::string, TIdNodes, std::less<>> byID_;
    // Worked out when first asked: the clash count asks for every action's
    // mates after each edit, and the tree does not change under it.
    mutable TIdMap mates_;
};

} // namespace qm
