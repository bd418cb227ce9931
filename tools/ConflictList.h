#pragma once
// Every clash of the open document at a glance (dkConflicts, shown from the
// View menu): one row per pair of actions that share a command card and a
// key of one kind, under the rule the clash question uses. It follows every
// edit and undo; double-clicking a row selects its first action. The status
// bar's lblConflicts counts the clashes.

#include <QDockWidget>
#include <QTimer>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace qm {

class TActionTree;
class TDocumentSet;

class TConflictList : public QDockWidget {
    Q_OBJECT

  public:
    // `count` is the status bar's label the list keeps up to date.
    TConflictList(TActionTree& tree, const TDocumentSet& documents, QLabel& count,
                  QWidget* parent = nullptr);

    // The clashes of the documents as they are, listed and counted; hidden,
    // the list counts them once the events at hand are done, so that an
    // edit or a start does not wait for the count.
    void Refresh();

  signals:
    // The player picked the first action of a clash: its node's index.
    void SelectNode(int index);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    QTreeWidget& List();
    void ShowTexts();
    void ShowCount();
    void Count();
    QString Caption(const std::string& id) const;
    void lvConflictsDblClick(QTreeWidgetItem* row);

    TActionTree& tree_;
    const TDocumentSet& documents_;
    QLabel& count_;
    QTreeWidget* lvConflicts_ = nullptr; // made on first show
    int clashes_ = 0;
    QTimer countLater_;
};

} // namespace qm
