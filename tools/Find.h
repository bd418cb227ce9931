#pragma once
// The find dialog: moves the tree's selection to the next node whose
// caption begins with the typed text, without regard to case (Cyrillic
// included). It stays open between searches and never wraps around.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace qm {

class TActionTree;
class TPlatform;

class TdlgFind : public QDialog {
    Q_OBJECT

  public:
    TdlgFind(TActionTree& tree, TPlatform& platform, QWidget* parent = nullptr);

    // Searches from an absolute node index on; the index found, or -1 (with
    // a message when nodes were searched in vain).
    int Search(int from);

  public slots:
    void btnFindClick();
    void btnFindNextClick();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SelectFound(int index);

    TActionTree& tree_;
    TPlatform& platform_;
    QLineEdit* edtFind_ = nullptr;
    QPushButton* btnFind_ = nullptr;
    QPushButton* btnFindNext_ = nullptr;
};

} // namespace qm
