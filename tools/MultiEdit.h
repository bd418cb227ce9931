#pragma once
// The multi-editor: sets hotkeys by command-card position over many actions
// at once. Its 4 x 3 key grid mirrors the card; every action whose button
// sits in a cell takes that cell's letter (with its tooltips rebuilt in the
// template colours), or, for a block of cells, its default values or the
// values of the file as read. The tree's selection decides which actions:
// all, the selected ones with what lies below them, or only what lies below,
// down to a depth. One Apply is one edit of the documents, undone as one.

#include "config/uGridKeys.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QRadioButton;
class QStatusBar;
class QTableWidget;

namespace qm {

class TActionTree;
class TDocumentSet;
class TTVNode;
class TUFBitBtn;
class TUpDown;
class TdlgTemplate;

class TdlgMultiEdit : public QDialog {
    Q_OBJECT

  public:
    TdlgMultiEdit(TActionTree& tree, TDocumentSet& documents, const TdlgTemplate& dlgTemplate,
                  QWidget* parent = nullptr);

    static void sgKeyEditorDrawCell(QPainter& painter, const QRect& rect, const QString& text,
                                    bool selected);
    // The letters of the grid, row by row.
    TKeyGrid Keys() const;

  public slots:
    void btnApplyClick();
    void btnCloseClick();
    void btnClearGreedClick();
    void gbActionTypeClick();
    void txtMaxLevelChange();
    void txtMaxLevelExit();
    void udLevelClick();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateGrid();
    void CreateChoices();
    void CreateButtons();
    bool sgKeyEditorKeyPress(QChar key);
    bool InScope(const TTVNode& node, int depth) const;
    bool ApplyTo(const std::string& id);
    void ShowCount(int count);

    TActionTree& tree_;
    TDocumentSet& documents_;
    const TdlgTemplate& dlgTemplate_;
    QTableWidget* sgKeyEditor_ = nullptr;
    QRadioButton* rbApplyAll_ = nullptr;
    QRadioButton* rbApplySelEnc_ = nullptr;
    QRadioButton* rbApplyEnc_ = nullptr;
    QRadioButton* rbValUser_ = nullptr;
    QRadioButton* rbValDef_ = nullptr;
    QRadioButton* rbValReset_ = nullptr;
    QLineEdit* txtMaxLevel_ = nullptr;
    TUpDown* udLevel_ = nullptr;
    TUFBitBtn* btnApply_ = nullptr;
    QStatusBar* sbMultiEdit_ = nullptr;
};

} // namespace qm
