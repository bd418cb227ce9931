#include "text/TextCodec.h"
#include "config/uReadFile.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(TextCodec, Utf8Validity) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xD0\x90\xE4\xB8\xAD\xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xD0"));             // cut short
    EXPECT_FALSE(IsValidUtf8("\xCF\xF0\xE8"));     // Windows-1251
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
}

TEST(TextCodec, FieldsReadAsUtf8ElseWindows1251) {
    EXPECT_EQ(FieldToUtf8("\xD0\x9F"), "\xD0\x9F");
    EXPECT_EQ(FieldToUtf8("\xCF\xF0\xE8"), "\xD0\x9F\xD1\x80\xD0\xB8"); // "При"
    EXPECT_EQ(Cp1251ToUtf8("\xA8\xB8\x88"), "\xD0\x81\xD1\x91\xE2\x82\xAC");
    // The last of the table: "№єѕї", and never a zero byte for any byte.
    EXPECT_EQ(Cp1251ToUtf8("\xB9\xBA\xBE\xBF"), "\xE2\x84\x96\xD1\x94\xD1\x95\xD1\x97");
    for (int b = 1; b < 256; ++b)
        EXPECT_EQ(Cp1251ToUtf8(std::string(1, char(b))).find('\0'), std::string::npos) << b;
    EXPECT_EQ(FirstCodePoint("\xD0\x90z"), U'\u0410');
    EXPECT_EQ(FirstCodePoint(""), 0u);
}

TEST(TextCodec, BrokenUtf8IsDropped) {
    EXPECT_EQ(WithoutBrokenUtf8("a\x96\xD0\x96"
                                "b\xD0"),
              "a\xD0\x96"
              "b");
    EXPECT_EQ(WithoutBrokenUtf8("\xE2\x84\x96\xF0\x9F"), "\xE2\x84\x96");
}

TEST(TextCodec, WholeFiles) {
    EXPECT_EQ(FileTextToUtf8("\xEF\xBB\xBFGroup|?"), "Group|?");
    EXPECT_EQ(FileTextToUtf8("\xC3\xF0"), "\xD0\x93\xD1\x80");
}

TEST(TextCodec, TrimRemovesCodesUpTo32) {
    EXPECT_EQ(Trim(std::string_view("\0\t a b \r\x1F", 8)), "a b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
}

TEST(ReadFileBytes, WholeSmallRegularFilesOnly) {
    test::TempDir dir;
    test::WriteBytes(dir / "f", std::string("a\0b", 3));
    EXPECT_EQ(ReadFileBytes(dir / "f", 3), std::string("a\0b", 3));
    EXPECT_EQ(ReadFileBytes(dir / "f", 2), std::nullopt); // over the ceiling
    EXPECT_EQ(ReadFileBytes(dir / "missing", 100), std::nullopt);
    EXPECT_EQ(ReadFileBytes(dir.path(), 100), std::nullopt);
    EXPECT_EQ(ReadFileBytes("/dev/zero", 100), std::nullopt); // would never end
    test::WriteBytes(dir / "empty", "");
    EXPECT_EQ(ReadFileBytes(dir / "empty", 0), std::string());
}

} // namespace
} // namespace qm
