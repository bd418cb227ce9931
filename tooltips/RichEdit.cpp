#include "tooltips/RichEdit.h"

#include "tooltips/TipRichEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace qm {
namespace {

const QColor kNavy(0, 0, 128);

} // namespace

TRichEdit::TRichEdit(QWidget* parent) : QTextEdit(parent) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, kNavy);
    colours.setColor(QPalette::Text, Qt::white);
    setPalette(colours);
    setAcceptRichText(false);
    // A tab in a tooltip means nothing to the game; Tab moves on.
    setTabChangesFocus(true);
    connect(this, &QTextEdit::textChanged, this, &TRichEdit::ReportChange);
    connect(this, &QTextEdit::cursorPositionChanged, this, &TRichEdit::ReportSelection);
    connect(this, &QTextEdit::selectionChanged, this, &TRichEdit::ReportSelection);
}

TColor TRichEdit::SelectionColor() const {
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        // A cursor's format is that of the character before it.
        cursor.setPosition(cursor.selectionStart() + 1);
    }
    const QBrush brush = cursor.charFormat().foreground();
    return brush.style() == Qt::NoBrush ? kWhite : ToDisplayColor(brush.color());
}

void TRichEdit::SetSelectionColor(TColor color) {
    QTextCharFormat format;
    format.setForeground(ToQColor(color));
    mergeCurrentCharFormat(format);
}

bool TRichEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto& key = static_cast<QKeyEvent&>(*event);
        const bool undo = key.matches(QKeySequence::Undo);
        const bool redo = key.matches(QKeySequence::Redo);
        if ((undo && !document()->isUndoAvailable()) || (redo && !document()->isRedoAvailable())) {
            event->ignore();
            return true;
        }
    }
    return QTextEdit::event(event);
}

bool TRichEdit::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void TRichEdit::insertFromMimeData(const QMimeData* source) {
    QTextCursor cursor = textCursor();
    cursor.insertText(source->text());
    setTextCursor(cursor);
}

void TRichEdit::ReportChange() {
    if (quiet_ == 0)
        emit Changed();
}

void TRichEdit::ReportSelection() {
    const QTextCursor cursor = textCursor();
    if (cursor.anchor() == anchor_ && cursor.position() == position_)
        return;
    anchor_ = cursor.anchor();
    position_ = cursor.position();
    if (quiet_ == 0)
        emit SelectionChanged();
}

void TipToRichEdit(std::string_view markup, TRichEdit& edit) {
    const TColor typing = edit.SelectionColor();
    {
        ++edit.quiet_;
        struct TLoud {
            int& quiet;
            ~TLoud() { --quiet; }
        } loud{edit.quiet_};
        TipToRichEdit(markup, *edit.document());
        edit.moveCursor(QTextCursor::End);
        edit.SetSelectionColor(typing);
        edit.ReportSelection();
    }
    emit edit.Changed();
}

std::string RichEditToTip(const TRichEdit& edit) {
    return RichEditToTip(*edit.document());
}

} // namespace qm
