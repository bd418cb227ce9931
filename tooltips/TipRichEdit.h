#pragma once
// Tooltip markup shown as coloured text in a rich-text document, and back.
// Here, and only here, "|n" is a line break: the game writes one so, and a
// stored value must never hold a raw one.

#include "tooltips/TipManager.h"

#include <QColor>

#include <string>
#include <string_view>

class QTextDocument;

namespace qm {

QColor ToQColor(TColor color);
// Alpha is dropped.
TColor ToDisplayColor(const QColor& color);

// Replaces the document's content with the plain characters of the UTF-8
// markup, each in its colour; "|n" and raw line breaks become line breaks.
// The undo history is cleared, as when a text is set from code.
void TipToRichEdit(std::string_view markup, QTextDocument& document);

// The markup a tooltip is stored back as once shown in an editor, its
// normal form; a value that is not UTF-8 is never rewritten and stays.
std::string NormalTipForm(std::string_view markup);

// The normal-form markup of the document: a code only where the colour
// changes, none for white (text without a colour), no closing "|r", "|n" for
// every line break. UTF-8.
std::string RichEditToTip(const QTextDocument& document);

} // namespace qm
