#pragma once
// The field above the action tree that narrows it as the player types
// (edTreeFilter; Ctrl+E goes to it): a caption holding the text, an
// identifier, "key:Q". With View → Only changed actions (actOnlyChanged)
// the tree shows just the actions whose values differ from the defaults.
// Changed actions are marked in bold in any case, following every edit and
// undo. A node stays when it or one of its descendants is shown.

#include <QWidget>

#include <string>
#include <vector>

class QAction;
class QLineEdit;
class QTreeWidgetItem;

namespace qm {

class TActionTree;
class TDocumentSet;

class TTreeFilter : public QWidget {
    Q_OBJECT

  public:
    TTreeFilter(TActionTree& tree, const TDocumentSet& documents, QWidget* parent = nullptr);

    QAction& actTreeFilter() const { return *actTreeFilter_; }
    QAction& actOnlyChanged() const { return *actOnlyChanged_; }
    // Whether the action differs from the defaults in a value it shows.
    bool IsChanged(const std::string& id) const;
    // The tree's nodes marked and shown anew, for the documents as they are.
    void Refresh();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void AddClearButton();
    void ShowPlaceholder();
    // Marks one node and its subtree; true when anything of it is shown.
    bool Apply(QTreeWidgetItem& item, const std::vector<bool>& matches);

    TActionTree& tree_;
    const TDocumentSet& documents_;
    QLineEdit* edTreeFilter_ = nullptr;
    QAction* actTreeFilter_ = nullptr;
    QAction* actOnlyChanged_ = nullptr;
    std::vector<bool> bold_; // the node's caption is shown marked
    bool narrowed_ = false;  // a text or the changed actions narrow the tree
};

} // namespace qm
