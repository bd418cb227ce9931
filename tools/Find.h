#pragma once
// The find dialog: moves the tree's selection to the next action the typed
// text names, without regard to case (Cyrillic included): a caption that
// begins with it, an identifier that is it ("hfoo"), an action whose hotkey
// is the key after "key:" ("key:Q"); after all of those, a caption that
// holds the text anywhere. Searching on goes round from the last match to
// the first, with a note in the dialog. It stays open between searches.

#include <QDialog>

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qm {

class TActionTree;
class TDocumentSet;
class TPlatform;

// The absolute indexes of the nodes a text names, as the find dialog and
// the tree's filter read it: the strong matches in tree order, then the
// captions that only hold the text.
std::vector<int> MatchingNodes(const TActionTree& tree, const TDocumentSet& documents,
                               const QString& text);

class TdlgFind : public QDialog {
    Q_OBJECT

  public:
    TdlgFind(TActionTree& tree, const TDocumentSet& documents, TPlatform& platform,
             QWidget* parent = nullptr);

    // Selects the first match at or after an absolute node index, going
    // round to the first match; the index found, or -1 (with a message when
    // nodes were searched in vain).
    int Search(int from);
    // The absolute indexes of the nodes the text names: the strong matches
    // in tree order, then the captions that only hold the text.
    std::vector<int> Matches(const QString& text) const;

  public slots:
    void btnFindClick();
    void btnFindNextClick();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SelectFound(int index);

    TActionTree& tree_;
    const TDocumentSet& documents_;
    TPlatform& platform_;
    QLineEdit* edtFind_ = nullptr;
    QPushButton* btnFind_ = nullptr;
    QPushButton* btnFindNext_ = nullptr;
    QLabel* lblFindNote_ = nullptr;
};

} // namespace qm
