// Tooltip markup through a rich-text document and back.

#include "tooltips/TipRichEdit.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace qm {
namespace {

std::string RoundTrip(std::string_view markup) {
    QTextDocument document;
    TipToRichEdit(markup, document);
    return RichEditToTip(document);
}

TEST(RichText, ComesBackInNormalForm) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"|cFFFF0000Fire|r Bolt", "|cffff0000Fire|r Bolt"},
        {"|cffffffffA", "A"},
        {"|cff00ff00|cffff0000A", "|cffff0000A"},
        {"|rLeading reset", "Leading reset"},
        {"lone|| bars|", "lone bars"},
        {"|Cff00ff00x|R", "Cff00ff00xR"},
        {"x|c12", "x"},
        {"|c80FF0000alpha", "|cffff0000alpha"},
        {"|cxyz45678black", "|cff000000black"},
        {"a|cffff0000b", "a|cffff0000b"},
        {"|cffff0000a|cffff0000b|r|rc", "|cffff0000ab|rc"},
        {"Summon |cffffcc00W|rater Elemental (|cffffcc00Q|r)",
         "Summon |cffffcc00W|rater Elemental (|cffffcc00Q|r)"},
        {"", ""},
    };
    for (const auto& [markup, normal] : cases)
        EXPECT_EQ(RoundTrip(markup), normal) << markup;
}

TEST(RichText, ShowsEachCharacterInItsColour) {
    QTextDocument document;
    TipToRichEdit("|cff00ff00ab|r c|c12", document);
    EXPECT_EQ(document.toPlainText(), "ab c");
    QTextCursor cursor(&document);
    cursor.setPosition(2); // a cursor has the format of the character before it
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(0, 255, 0));
    cursor.setPosition(4);
    EXPECT_EQ(cursor.charFormat().foreground().color(), Qt::white);
    TipToRichEdit("new", document); // replaces everything
    EXPECT_EQ(document.toPlainText(), "new");
    EXPECT_FALSE(document.isUndoAvailable());
}

TEST(RichText, LineBreaks) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"a|nb", "a|nb"},
        {"|cffff0000a|nb", "|cffff0000a|nb"},
        {"|cffff0000a|n|rb", "|cffff0000a|n|rb"},
        {"|cffff0000a|n|cff00ff00b", "|cffff0000a|n|cff00ff00b"},
        {"|na|n|n", "|na|n|n"},
        {"|cffff0000|n|rx", "|nx"},
        {"||n", "|n"},
        {"|cff|nffff|nb", "|n|cff0000ffb"}, // within a code's digits "|n" is no break
        {"a\r\nb\nc\rd", "a|nb|nc|nd"},     // raw breaks never reach a stored value
    };
    for (const auto& [markup, normal] : cases)
        EXPECT_EQ(RoundTrip(markup), normal) << markup;

    QTextDocument document;
    TipToRichEdit("|cffff0000a|nb", document);
    EXPECT_EQ(document.blockCount(), 2);
    QTextCursor(&document).insertText(QStringLiteral("x\u2028y\u2029z"), QTextCharFormat());
    EXPECT_EQ(RichEditToTip(document), "x|ny|nz|cffff0000a|nb");
}

TEST(RichText, Utf8TextComesBackByteForByte) {
    for (const std::string_view tip : {"Призвать |cffffcc00В|rодного элементаля (|cffffcc00Q|r)",
                                       "召唤|cffffcc00水|r元素|n(|cffffcc00W|r)", "🙂 ok",
                                       "\uFEFFa|cffff0000\uFEFFb"}) // marks at the starts of runs
        EXPECT_EQ(RoundTrip(tip), tip);
}

TEST(RichText, UncolouredAndWhiteTextCarryNoCode) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("plain "));
    QTextCharFormat format;
    format.setForeground(Qt::white);
    cursor.insertText(QStringLiteral("white "), format);
    format.setForeground(QColor(255, 204, 0));
    cursor.insertText(QStringLiteral("gold"), format);
    EXPECT_EQ(RichEditToTip(document), "plain white |cffffcc00gold");
}

} // namespace
} // namespace qm
