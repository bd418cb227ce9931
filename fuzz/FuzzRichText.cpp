// Tooltip markup through a rich-text document: whatever the bytes, valid
// UTF-8 comes back in a normal form that a second pass keeps, with no raw
// line break.

#include "text/TextCodec.h"
#include "tooltips/TipRichEdit.h"

#include <QTextDocument>

#include <cstdlib>
#include <string>

namespace {

std::string RoundTrip(std::string_view markup) {
    QTextDocument document;
    qm::TipToRichEdit(markup, document);
    return qm::RichEditToTip(document);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view markup(reinterpret_cast<const char*>(data), size);
    const std::string once = RoundTrip(markup);
    if (!qm::IsValidUtf8(markup))
        return 0;
    if (once.find_first_of("\r\n") != std::string::npos || RoundTrip(once) != once)
        std::abort();
    return 0;
}
