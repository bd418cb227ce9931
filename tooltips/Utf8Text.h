#pragma once
// Stored text as Qt strings. QString::fromUtf8 drops a byte-order mark at
// the start of what it is given, so a value or a colour run that begins
// with U+FEFF would lose it on the way to the screen and be stored back
// without it; here it stays a character like any other.

#include <QString>
#include <QStringDecoder>

#include <string_view>

namespace qm {

inline QString Utf8ToQString(std::string_view bytes) {
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace qm
