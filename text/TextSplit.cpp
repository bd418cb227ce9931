#include "text/TextSplit.h"

namespace qm {

std::vector<std::string> SplitQuoted(std::string_view text, std::string_view separators,
                                     std::string_view skippedFirst) {
    std::vector<std::string> pieces;
    std::string piece;
    char quote = 0; // the quote in force, 0 when outside quotes
    const auto flush = [&] {
        if (!piece.empty())
            pieces.push_back(std::move(piece));
        piece.clear();
    };
    for (const char c : text) {
        if (c == '"' || c == '\'') {
            quote = quote == c ? 0 : c;
            piece += c;
        } else if (!quote && separators.find(c) != std::string_view::npos) {
            flush();
        } else if (!(piece.empty() && skippedFirst.find(c) != std::string_view::npos)) {
            piece += c;
        }
    }
    flush();
    return pieces;
}

} // namespace qm
