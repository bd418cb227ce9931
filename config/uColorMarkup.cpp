#include "config/uColorMarkup.h"

#include <algorithm>

namespace qm {

void ScanColorMarkup(std::string_view markup, TMarkupVisitor& visitor) {
    constexpr size_t kDigits = 8;
    size_t i = 0;
    while (i < markup.size()) {
        const char c = markup[i];
        if (c != '|') {
            visitor.PlainChar(c);
            ++i;
            continue;
        }
        const char next = i + 1 < markup.size() ? markup[i + 1] : '\0';
        if (next == 'c') {
            visitor.ColorCode(markup.substr(i + 2, kDigits));
            i = std::min(markup.size(), i + 2 + kDigits);
        } else if (next == 'r') {
            visitor.ColorReset();
            i += 2;
        } else {
            visitor.LoneBar();
            ++i; // a lone bar is dropped; the next character is read on its own
        }
    }
}

} // namespace qm
