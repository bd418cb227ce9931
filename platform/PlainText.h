#pragma once
// Texts from files, paths, language files or the player are shown as they
// stand, never as markup: a label takes Qt::PlainText. A tool tip has no
// format of its own and Qt takes whatever looks like markup for markup, so
// such a text is escaped into the markup that shows it literally.

#include <QString>
#include <QTextDocument>

namespace qm {

inline QString PlainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace qm
