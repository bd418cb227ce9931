#pragma once
// Which code page a configuration file's values that are not UTF-8 were
// written in. Players' files come in UTF-8, in Windows-1251 from Russian
// systems, and in GBK or Big5 from Chinese ones; the bytes alone tell them
// apart well enough, without decoding anything.

#include <array>
#include <string_view>

namespace qm {

enum class TCodePage { Windows1251, Windows1252, Gbk, Big5 };
inline constexpr std::array<TCodePage, 4> kCodePages = {
    TCodePage::Windows1251, TCodePage::Windows1252, TCodePage::Gbk, TCodePage::Big5};

// The code page's name as Qt's converters (and ICU, and iconv) know it:
// "windows-1251", "windows-1252", "GBK", "Big5".
std::string_view CodePageName(TCodePage page);

// How a file's text is stored: the code page that values which are not
// UTF-8 read in, and whether new text goes into the file as UTF-8.
struct TTextEncoding {
    TCodePage CodePage = TCodePage::Windows1251;
    bool Utf8 = true;

    bool operator==(const TTextEncoding&) const = default;
};

// Collects evidence value by value; Result() weighs it.
class TEncodingGuess {
  public:
    // A value of the file; one of plain ASCII tells nothing.
    void Add(std::string_view value);
    // UTF-8 unless most values with letters beyond ASCII are not UTF-8.
    // The code page: GBK or Big5 when the values that are not UTF-8 pair up
    // as that code page's common characters; otherwise Windows-1251 when
    // their high bytes mostly stand together (Cyrillic words), Windows-1252
    // when they mostly stand alone among Latin letters; Windows-1251 for a
    // file that gives no sign.
    TTextEncoding Result() const;

  private:
    // Double-byte characters as one code page would pair the bytes.
    struct TPairs {
        int Pairs = 0;   // well-formed lead and trail bytes
        int Common = 0;  // of them, in the range of everyday characters
        int Invalid = 0; // high bytes that start no well-formed pair
    };
    static void CountGbk(std::string_view bytes, TPairs& pairs);
    static void CountBig5(std::string_view bytes, TPairs& pairs);
    bool LooksLike(const TPairs& pairs, const TPairs& other) const;

    int utf8Values_ = 0;
    int otherValues_ = 0;
    TPairs gbk_;
    TPairs big5_;
    int highBytes_ = 0;
    int highBytesInRuns_ = 0; // next to another high byte
};

} // namespace qm
