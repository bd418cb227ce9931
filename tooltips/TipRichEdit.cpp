#include "tooltips/TipRichEdit.h"

#include "config/uColorMarkup.h"
#include "text/TextCodec.h"
#include "tooltips/Utf8Text.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace qm {
namespace {

// Collects runs of one colour and inserts each with a single call.
class TRunInserter : public TMarkupVisitor {
  public:
    explicit TRunInserter(QTextCursor& cursor) : cursor_(cursor) {}

    void PlainChar(char c) override {
        // After a lone bar, "n" is the game's line break; insertText makes
        // a block of it, as of any raw CR, LF or CR LF.
        run_ += afterBar_ && c == 'n' ? '\n' : c;
        afterBar_ = false;
    }
    void ColorCode(std::string_view digits) override { SetColor(TipCodeToColor(digits, 1)); }
    void ColorReset() override { SetColor(kWhite); }
    void LoneBar() override { afterBar_ = true; }

    void Flush() {
        if (run_.empty())
            return;
        QTextCharFormat format;
        format.setForeground(ToQColor(color_));
        cursor_.insertText(Utf8ToQString(run_), format);
        run_.clear();
    }

  private:
    void SetColor(TColor color) {
        afterBar_ = false;
        if (color == color_)
            return;
        Flush();
        color_ = color;
    }

    QTextCursor& cursor_;
    std::string run_; // UTF-8 bytes in color_
    TColor color_ = kWhite;
    bool afterBar_ = false;
};

bool IsLineBreak(QChar c) {
    return c == QChar::LineSeparator || c == QChar::ParagraphSeparator || c == u'\n' || c == u'\r';
}

// Appends text in its colour, a code first when the colour changes; line
// breaks carry no colour, so the comparison skips over them.
class TMarkupWriter {
  public:
    void Append(const QString& text, TColor color) {
        qsizetype start = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            if (i < text.size() && !IsLineBreak(text[i]))
                continue;
            AppendPiece(QStringView(text).mid(start, i - start), color);
            if (i < text.size())
                LineBreak();
            start = i + 1;
        }
    }
    void LineBreak() { out_ += "|n"; }
    std::string Take() { return std::move(out_); }

  private:
    void AppendPiece(QStringView piece, TColor color) {
        if (piece.isEmpty())
            return;
        if (color != previous_) {
            out_ += color == kWhite ? "|r" : "|c" + ColorToTipCode(color);
            previous_ = color;
        }
        out_ += piece.toUtf8().toStdString();
    }

    std::string out_;
    TColor previous_ = kWhite;
};

TColor ForegroundOf(const QTextCharFormat& format) {
    const QBrush brush = format.foreground();
    return brush.style() == Qt::NoBrush ? kWhite : ToDisplayColor(brush.color());
}

} // namespace

QColor ToQColor(TColor color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

TColor ToDisplayColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<TColor>(rgb.red()) | static_cast<TColor>(rgb.green()) << 8 |
           static_cast<TColor>(rgb.blue()) << 16;
}

void TipToRichEdit(std::string_view markup, QTextDocument& document) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    // One edit block: a shown editor lays the text out once, not per run.
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.setBlockFormat(QTextBlockFormat());
    cursor.setBlockCharFormat(QTextCharFormat());
    TRunInserter inserter(cursor);
    ScanColorMarkup(markup, inserter);
    inserter.Flush();
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undo);
}

std::string RichEditToTip(const QTextDocument& document) {
    TMarkupWriter writer;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            writer.LineBreak();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            writer.Append(fragment.text(), ForegroundOf(fragment.charFormat()));
        }
    }
    return writer.Take();
}

std::string NormalTipForm(std::string_view markup) {
    if (!IsValidUtf8(markup))
        return std::string(markup);
    QTextDocument document;
    TipToRichEdit(markup, document);
    return RichEditToTip(document);
}

} // namespace qm
