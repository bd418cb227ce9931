#include "editor/FieldText.h"

#include "text/TextCodec.h"
#include "tooltips/Utf8Text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace qm {
namespace {

bool IsAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

QByteArray NameOf(TCodePage page) {
    const std::string_view name = CodePageName(page);
    return QByteArray(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

QString FieldToQString(std::string_view bytes, TCodePage page) {
    if (IsValidUtf8(bytes))
        return Utf8ToQString(bytes);
    // The program's own table, as ever, for the code page of Russian files.
    if (page == TCodePage::Windows1251)
        return Utf8ToQString(Cp1251ToUtf8(bytes));
    QStringDecoder decode(NameOf(page).constData(), QStringConverter::Flag::Stateless);
    return decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string FieldToUtf8(std::string_view bytes, TCodePage page) {
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    return FieldToQString(bytes, page).toStdString();
}

std::optional<std::string> Utf8ToCodePage(std::string_view utf8, TCodePage page) {
    QStringEncoder encode(NameOf(page).constData(), QStringConverter::Flag::Stateless);
    const QByteArray bytes = encode(Utf8ToQString(utf8));
    if (encode.hasError())
        return std::nullopt;
    return bytes.toStdString();
}

std::optional<std::string> TypedToField(std::string_view utf8, std::string_view stored,
                                        const TTextEncoding& encoding) {
    const bool utf8Value = IsValidUtf8(stored) && (!IsAscii(stored) || encoding.Utf8);
    if (utf8Value || IsAscii(utf8))
        return std::string(utf8);
    return Utf8ToCodePage(utf8, encoding.CodePage);
}

} // namespace qm
