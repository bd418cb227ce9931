#pragma once
// The tooltip editor: coloured text on navy, white where no colour is set.
// Enter and pasted line breaks make line breaks ("|n" in the markup); pasted
// text comes in plain, in the colour typed next.

#include "tooltips/TipManager.h"

#include <QTextEdit>

#include <string>
#include <string_view>

namespace qm {

class TRichEdit : public QTextEdit {
    Q_OBJECT

  public:
    explicit TRichEdit(QWidget* parent = nullptr);

    // The colour of the first selected character; with nothing selected, the
    // colour of the text typed next.
    TColor SelectionColor() const;
    // Recolours the selected text; with nothing selected, sets the colour of
    // the text typed next.
    void SetSelectionColor(TColor color);

  signals:
    // The content or its colours changed.
    void Changed();
    // The selection or the caret moved.
    void SelectionChanged();

  protected:
    // Undo and Redo keys the editor has no history for are left to the
    // window, whose commands take back the documents' edits.
    bool event(QEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    friend void TipToRichEdit(std::string_view markup, TRichEdit& edit);
    void ReportChange();
    void ReportSelection();

    int quiet_ = 0; // while above 0, nothing is reported
    int anchor_ = 0;
    int position_ = 0;
};

// Fills the editor with the markup (see the document overloads), keeps the
// colour typed next as it was, leaves the caret at the end, and reports one
// Changed at the end and nothing else.
void TipToRichEdit(std::string_view markup, TRichEdit& edit);
std::string RichEditToTip(const TRichEdit& edit);

} // namespace qm
