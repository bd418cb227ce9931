// The colour-markup functions over any text, colours and hotkey. The input
// is three colours of four bytes, a hotkey length byte, the hotkey, then
// the tooltip.

#include "config/uCfgManager.h"
#include "config/uColorMarkup.h"
#include "tooltips/TipManager.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

struct TCountingVisitor : qm::TMarkupVisitor {
    size_t plain = 0;
    void PlainChar(char) override { ++plain; }
    void ColorCode(std::string_view digits) override {
        if (digits.size() > 8)
            std::abort();
    }
    void ColorReset() override {}
};

qm::TColor TakeColor(std::string_view& in) {
    std::uint32_t value = 0;
    const size_t n = std::min<size_t>(4, in.size());
    std::memcpy(&value, in.data(), n);
    in.remove_prefix(n);
    // One colour in four is white, which writes no colour code at all.
    return (value >> 24) % 4 == 0 ? qm::kWhite : value & 0xFFFFFF;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::string_view in(reinterpret_cast<const char*>(data), size);
    const qm::TColor tip = TakeColor(in), key = TakeColor(in), brackets = TakeColor(in);
    const size_t keyLength = in.empty() ? 0 : std::min<size_t>(in.size() - 1, std::uint8_t(in[0]));
    const std::string_view hotkey = in.substr(in.empty() ? 0 : 1, keyLength);
    const std::string_view text = in.substr(std::min(in.size(), keyLength + 1));

    TCountingVisitor counter;
    qm::ScanColorMarkup(text, counter);
    const std::string plain = qm::RemoveColorCodes(text);
    if (plain.size() != counter.plain || plain.find('|') != std::string::npos ||
        qm::RemoveColorCodes(plain) != plain)
        std::abort();

    // Colours only add markup: without it the tooltip is the uncoloured one
    // (whose line breaks "|n" read as markup too).
    const std::string coloured = qm::MakeAutoTip(text, hotkey, tip, key, brackets);
    if (qm::RemoveColorCodes(coloured) !=
        qm::RemoveColorCodes(qm::MakeAutoTip(text, hotkey, qm::kWhite, qm::kWhite, qm::kWhite)))
        std::abort();
    if (qm::TipCodeToColor(qm::ColorToTipCode(tip), 1) != tip)
        std::abort();
    (void)qm::TipCodeToColor(text, static_cast<int>(keyLength) - 8);
    return 0;
}
