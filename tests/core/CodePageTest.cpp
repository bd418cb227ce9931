// Values that are not UTF-8 read through their file's code page, and typed
// text goes back into it.

#include "config/uCfgManager.h"
#include "editor/FieldText.h"
#include "support/TestFiles.h"
#include "text/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace qm {
namespace {

namespace fs = std::filesystem;

std::string Encode(const char* codePage, const char* utf8) {
    QStringEncoder encode(codePage);
    return QByteArray(encode(QString::fromUtf8(utf8))).toStdString();
}

TTextEncoding Guess(const std::vector<std::string>& values) {
    TEncodingGuess guess;
    for (const auto& value : values)
        guess.Add(value);
    return guess.Result();
}

TEST(CodePage, GuessedFromTheValuesThatAreNotUtf8) {
    const std::string hint = "|cffffcc00Q|r ";
    EXPECT_EQ(Guess({hint + Encode("GBK", "召唤水元素"), Encode("GBK", "攻击敌人，造成伤害。")}),
              (TTextEncoding{TCodePage::Gbk, false}));
    EXPECT_EQ(Guess({hint + Encode("Big5", "召喚水元素"), Encode("Big5", "攻擊敵人，造成傷害。")}),
              (TTextEncoding{TCodePage::Big5, false}));
    EXPECT_EQ(Guess({Encode("windows-1251", "Призвать водяного элементаля (Q)"),
                     Encode("windows-1251", "Атака")}),
              (TTextEncoding{TCodePage::Windows1251, false}));
    EXPECT_EQ(Guess({Encode("windows-1252", "Invoquer l'élémentaire d'eau"),
                     Encode("windows-1252", "Übung für Königin")}),
              (TTextEncoding{TCodePage::Windows1252, false}));
    // One stray byte in a UTF-8 file: still UTF-8, the byte read as Latin.
    EXPECT_EQ(Guess({"Necro\xB4lic", "\xD0\x90\xD1\x82", "\xE5\x8F\xAC"}),
              (TTextEncoding{TCodePage::Windows1252, true}));
    EXPECT_EQ(Guess({"plain", "Hotkey"}), (TTextEncoding{TCodePage::Windows1251, true}));
}

TEST(CodePage, TypedTextIsStoredInTheValuesEncoding) {
    const TTextEncoding gbkFile{TCodePage::Gbk, false};
    const std::string gbk = Encode("GBK", "召唤水元素");
    EXPECT_EQ(FieldToUtf8(gbk, TCodePage::Gbk), "召唤水元素");
    EXPECT_EQ(TypedToField("召唤水元素!", gbk, gbkFile), gbk + "!");
    EXPECT_EQ(TypedToField("召唤", "Hotkey", gbkFile), Encode("GBK", "召唤"));
    // Hangul is not in GBK: the editor asks before storing UTF-8.
    EXPECT_EQ(TypedToField("召唤 한", gbk, gbkFile), std::nullopt);
    // UTF-8 values and UTF-8 files take UTF-8.
    EXPECT_EQ(TypedToField("召唤", "\xD0\x90", gbkFile), "召唤");
    EXPECT_EQ(TypedToField("召唤", "Hotkey", TTextEncoding{}), "召唤");
    const std::string cp1251 = Encode("windows-1251", "Атака");
    EXPECT_EQ(FieldToUtf8(cp1251, TCodePage::Windows1251), "Атака");
    EXPECT_EQ(TypedToField("Атака!", cp1251, TTextEncoding{TCodePage::Windows1251, false}),
              cp1251 + "!");
    EXPECT_EQ(Utf8ToCodePage("召唤", TCodePage::Windows1251), std::nullopt);
}

TEST(CodePage, ChineseFileIsShownInChinese) {
    const fs::path real = test::RealData();
    if (real.empty())
        GTEST_SKIP() << "no real data beside this checkout (" << QUILLMARK_REAL_DATA << ")";
    const auto doc =
        TCfgManager::CreateFromFile(real / "customkeys" / "Jocoo0326__War3CustomKey-2.txt");
    EXPECT_EQ(DetectEncoding(*doc), (TTextEncoding{TCodePage::Gbk, false}));
    int shown = 0;
    for (int r = 0; r < doc->Count(); ++r) {
        const std::string& tip = doc->Records(r).Tip;
        if (IsValidUtf8(tip))
            continue;
        QStringDecoder gbk("GBK");
        const QString expected = gbk(QByteArray::fromStdString(tip));
        EXPECT_EQ(FieldToQString(tip, TCodePage::Gbk), expected);
        const bool hanzi = std::any_of(expected.begin(), expected.end(), [](QChar c) {
            return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF;
        });
        EXPECT_TRUE(hanzi) << expected.toStdString();
        ++shown;
    }
    EXPECT_GT(shown, 100);
}

} // namespace
} // namespace qm
