// Colour markup and automatic tooltips.

#include "tooltips/TipManager.h"
#include "config/uCfgManager.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kGold = 52479;

TEST(ColorCodes, ColorToTipCode) {
    EXPECT_EQ(ColorToTipCode(kRed), "ffff0000");
    EXPECT_EQ(ColorToTipCode(0), "ff000000");
    EXPECT_EQ(ColorToTipCode(kGold), "ffffcc00");
    EXPECT_EQ(ColorToTipCode(0xFF0000), "ff0000ff");
}

TEST(ColorCodes, TipCodeToColor) {
    EXPECT_EQ(TipCodeToColor("80FF0000", 1), kRed);
    EXPECT_EQ(TipCodeToColor("|cffFfCc00x", 3), kGold);
    EXPECT_EQ(TipCodeToColor("12", 1), 0x120000u);     // blue 18
    EXPECT_EQ(TipCodeToColor("ff00zz00", 1), 0xFF00u); // digits up to the first non-digit
    EXPECT_EQ(TipCodeToColor("zz", 1), 0u);
    EXPECT_EQ(TipCodeToColor("", 1), 0u);
    EXPECT_EQ(TipCodeToColor("ff", 5), 0u);
}

TEST(ColorCodes, RemoveColorCodes) {
    EXPECT_EQ(RemoveColorCodes("|cff00ff00abc"), "abc");
    EXPECT_EQ(RemoveColorCodes("a|nb"), "anb");
    EXPECT_EQ(RemoveColorCodes("|Cff00ff00x|R"), "Cff00ff00xR");
    EXPECT_EQ(RemoveColorCodes("x|c12"), "x");
    EXPECT_EQ(RemoveColorCodes("||cffffffffA|r|"), "A");
    EXPECT_EQ(RemoveColorCodes("|czzzzzzzzB"), "B");
    EXPECT_EQ(RemoveColorCodes("\xE4\xB8\xAD|cffffcc00\xE6\x96\x87|r"), "\xE4\xB8\xAD\xE6\x96\x87");
}

TEST(AutoTip, TemplateDefaults) {
    EXPECT_EQ(MakeAutoTip("Summon |cffffcc00W|rater Elemental (W)", "Q", kWhite, kGold, kWhite),
              "Summon Water Elemental (|cffffcc00Q|r)");
    EXPECT_EQ(MakeAutoTip("Level 1 (A), Level 2 (A)", "Q", kWhite, kGold, kWhite),
              "Level 1 (|cffffcc00Q|r),Level 2 (|cffffcc00Q|r)");
}

TEST(AutoTip, AllElementsColoured) {
    EXPECT_EQ(MakeAutoTip("Go", "G", kRed, kGold, 0),
              "|cffff0000Go|r |cff000000(|r|cffffcc00G|r|cff000000)|r");
}

TEST(AutoTip, Pieces) {
    EXPECT_EQ(MakeAutoTip("", "Q", kWhite, kGold, kWhite), "");
    EXPECT_EQ(MakeAutoTip("A (x), B(y)  ", "", kWhite, kGold, kWhite), "A,B");
    EXPECT_EQ(MakeAutoTip("a,,b", "", kWhite, kWhite, kWhite), "a,b");
    EXPECT_EQ(MakeAutoTip("Cast 'Fire, Ice' now (X)", "Q", kWhite, kWhite, kWhite),
              "Cast 'Fire, Ice' now (Q)");
    EXPECT_EQ(MakeAutoTip("\"a,b\",c", "", kWhite, kWhite, kWhite), "\"a,b\",c");
    EXPECT_EQ(MakeAutoTip("one\r\ntwo, three", "", kWhite, kWhite, kWhite), "one\r\ntwo,three");
    // A quote of the other kind takes over: the apostrophe no longer closes.
    EXPECT_EQ(MakeAutoTip("'a\"b'c,d", "", kWhite, kWhite, kWhite), "'a\"b'c,d");
}

TEST(AutoTip, Brackets) {
    EXPECT_EQ(MakeAutoTip("a (b (c)) d", "", kWhite, kWhite, kWhite), "a  d");
    EXPECT_EQ(MakeAutoTip("a) b (c)", "", kWhite, kWhite, kWhite), "a) b (c)");
    EXPECT_EQ(MakeAutoTip("(all)", "K", kWhite, kWhite, kWhite), " (K)");
}

// A line break is text inside a level: the hotkey goes at the level's end.
TEST(AutoTip, LineBreaksStayInsideTheirLevel) {
    EXPECT_EQ(MakeAutoTip("\xE5\xBF\x83\xE7\x81\xB5|nsecond", "G", kWhite, kWhite, kWhite),
              "\xE5\xBF\x83\xE7\x81\xB5|nsecond (G)");
    EXPECT_EQ(
        MakeAutoTip("|cffff0000Heal (Q)|n|rline two, Level 2 (Q)", "G", kWhite, kGold, kWhite),
        "Heal |nline two (|cffffcc00G|r),Level 2 (|cffffcc00G|r)");
    EXPECT_EQ(MakeAutoTip("a||nb|nn", "", kWhite, kWhite, kWhite), "a|nb|nn");
}

// Escape and key codes are named as the game's tooltips name them, and an
// old name in brackets goes like any hotkey's.
TEST(AutoTip, HotkeyNames) {
    const std::pair<const char*, const char*> names[] = {
        {"512", "ESC"}, {"27", "ESC"},  {"027", "ESC"},
        {"112", "F1"},  {"222", "'"},   {"81", "Q"},
        {"300", "300"}, {"Q,Q,Q", "Q"}, {"\xC3\xA9x", "\xC3\xA9"},
        {"", ""},       {"5", "5"}};
    for (const auto& [value, name] : names)
        EXPECT_EQ(TipHotkeyName(value), name) << value;
    EXPECT_EQ(MakeAutoTip("Cancel (|cffffcc00ESC|r)", "Q", kWhite, kWhite, kWhite), "Cancel (Q)");
    EXPECT_EQ(MakeAutoTip("Cancel (Q)", TipHotkeyName("512"), kWhite, kWhite, kWhite),
              "Cancel (ESC)");
}

TEST(AutoTip, HotkeyIsUsedWithoutItsColour) {
    EXPECT_EQ(MakeAutoTip("Go", "|cffff0000G|r", kWhite, kWhite, kWhite), "Go (G)");
    EXPECT_EQ(MakeAutoTip("Go", "GH", kWhite, kWhite, kWhite), "Go (GH)");
}

} // namespace
} // namespace qm
