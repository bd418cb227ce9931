// Any text through the language files' escapes: LangUnescape never grows a
// text, LangEscape keeps it on one line, and the round trip — in memory and
// through a written language file read back — gives the text again wherever
// the format can express it.

#include "FuzzInput.h"
#include "config/uIniFile.h"
#include "lang/GlobalConst.h"
#include "lang/MultiLang.h"

#include <cstdlib>

namespace {

// The text as the format keeps it: a CR or LF outside a CR LF pair becomes
// a space, as it must to stay on the file's line.
QString OneLine(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += QLatin1String("\r\n");
            ++i;
        } else {
            out += text[i] == '\r' || text[i] == '\n' ? QChar(' ') : text[i];
        }
    }
    return out;
}

// A "/" just before a line break has no escape of its own.
bool Expressible(const QString& text) {
    return !OneLine(text).contains(QLatin1String("/\r\n"));
}

// What a language file line can hold: no control codes but TAB, and no
// value beyond what the reader takes (with the quotes that may wrap it).
bool FitsALine(const QString& text) {
    for (const QChar c : text)
        if ((c.unicode() < 32 && c != '\t' && c != '\r' && c != '\n') || c.unicode() == 127)
            return false;
    return qm::LangEscape(text).size() + 2 <= static_cast<qsizetype>(qm::TIniFile::kMaxValueLength);
}

void CheckFileRoundTrip(const QString& text, const std::filesystem::path& file) {
    constexpr int kRow = qm::msgCannotWriteTo;
    qm::ResetMessages();
    qm::SetMsg(kRow, text);
    if (!qm::LangWriteFile(file, {}))
        std::abort();
    qm::ResetMessages();
    const QString before = qm::Msg(kRow);
    qm::LangApplyStrings(qm::TIniFile(file));
    if (qm::Msg(kRow) != (text.isEmpty() ? before : OneLine(text)))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const qm::fuzz::TInputFile file("escape.qlg");
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString unescaped = text;
    qm::LangUnescape(unescaped);
    if (unescaped.size() > text.size())
        std::abort();
    const QString escaped = qm::LangEscape(text);
    if (escaped.contains('\r') || escaped.contains('\n'))
        std::abort();
    QString back = escaped;
    qm::LangUnescape(back);
    if (Expressible(text) && back != OneLine(text))
        std::abort();
    if (Expressible(text) && FitsALine(text))
        CheckFileRoundTrip(text, file.path());
    return 0;
}
