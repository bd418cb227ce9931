#include "text/TextCodePage.h"

#include "text/TextCodec.h"

namespace qm {
namespace {

bool IsHigh(unsigned char b) {
    return b >= 0x80;
}

bool HasHighByte(std::string_view bytes) {
    for (char c : bytes) {
        if (IsHigh(static_cast<unsigned char>(c)))
            return true;
    }
    return false;
}

// A double-byte guess needs a few characters: one stray byte between Latin
// letters pairs up with its neighbour in either code page.
constexpr int kMinPairs = 4;
// At most one high byte in twenty may fail to pair (a damaged byte, a
// character cut by an editor); Cyrillic text in Windows-1251 fails far more
// often, since its words of odd length leave a lead byte before a blank.
constexpr int kInvalidPerPairs = 20;
// Chinese text keeps mostly to the everyday characters of its code page.
constexpr double kMinCommonShare = 0.6;

} // namespace

std::string_view CodePageName(TCodePage page) {
    switch (page) {
    case TCodePage::Windows1252:
        return "windows-1252";
    case TCodePage::Gbk:
        return "GBK";
    case TCodePage::Big5:
        return "Big5";
    case TCodePage::Windows1251:
        break;
    }
    return "windows-1251";
}

// GBK: lead 0x81-0xFE, trail 0x40-0xFE but 0x7F. The everyday characters
// are GB2312's: symbols in rows 0xA1-0xA3, Hanzi in rows 0xB0-0xF7, both
// with trails from 0xA1.
void TEncodingGuess::CountGbk(std::string_view bytes, TPairs& pairs) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (!IsHigh(lead))
            continue;
        const auto trail = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        if (lead == 0x80 || lead == 0xFF || trail < 0x40 || trail == 0x7F || trail == 0xFF) {
            ++pairs.Invalid;
            continue;
        }
        ++pairs.Pairs;
        if (trail >= 0xA1 && ((lead >= 0xB0 && lead <= 0xF7) || (lead >= 0xA1 && lead <= 0xA3)))
            ++pairs.Common;
        ++i;
    }
}

// Big5: lead 0xA1-0xF9, trail 0x40-0x7E or 0xA1-0xFE. The everyday
// characters are the symbols of rows 0xA1-0xA3 and the frequent Hanzi of
// rows 0xA4-0xC6.
void TEncodingGuess::CountBig5(std::string_view bytes, TPairs& pairs) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (!IsHigh(lead))
            continue;
        const auto trail = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        const bool trailOk = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0xA1 && trail <= 0xFE);
        if (lead < 0xA1 || lead > 0xF9 || !trailOk) {
            ++pairs.Invalid;
            continue;
        }
        ++pairs.Pairs;
        if (lead <= 0xC6)
            ++pairs.Common;
        ++i;
    }
}

void TEncodingGuess::Add(std::string_view value) {
    if (!HasHighByte(value))
        return;
    if (IsValidUtf8(value)) {
        ++utf8Values_;
        return;
    }
    ++otherValues_;
    CountGbk(value, gbk_);
    CountBig5(value, big5_);
    for (size_t i = 0; i < value.size(); ++i) {
        if (!IsHigh(static_cast<unsigned char>(value[i])))
            continue;
        ++highBytes_;
        const bool before = i > 0 && IsHigh(static_cast<unsigned char>(value[i - 1]));
        const bool after = i + 1 < value.size() && IsHigh(static_cast<unsigned char>(value[i + 1]));
        if (before || after)
            ++highBytesInRuns_;
    }
}

bool TEncodingGuess::LooksLike(const TPairs& pairs, const TPairs& other) const {
    if (pairs.Pairs < kMinPairs || pairs.Invalid * kInvalidPerPairs > pairs.Pairs)
        return false;
    const double share = static_cast<double>(pairs.Common) / pairs.Pairs;
    const double otherShare = other.Pairs ? static_cast<double>(other.Common) / other.Pairs : 0;
    return share >= kMinCommonShare && share >= otherShare;
}

TTextEncoding TEncodingGuess::Result() const {
    TTextEncoding result;
    result.Utf8 = utf8Values_ >= otherValues_;
    if (LooksLike(gbk_, big5_))
        result.CodePage = TCodePage::Gbk;
    else if (LooksLike(big5_, gbk_))
        result.CodePage = TCodePage::Big5;
    else if (highBytes_ > 0 && highBytesInRuns_ * 2 < highBytes_)
        result.CodePage = TCodePage::Windows1252;
    return result;
}

} // namespace qm
