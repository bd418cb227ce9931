// Reading CustomKeys-format files into documents.

#include "config/uCfgManager.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteBytes;

class CfgReader : public ::testing::Test {
  protected:
    std::unique_ptr<TCfgManager> Read(const std::string& text) {
        WriteBytes(dir_ / "in.txt", text);
        return TCfgManager::CreateFromFile(dir_ / "in.txt");
    }
    TempDir dir_;
};

TEST_F(CfgReader, FileWithoutHeaderGivesNoRecordAndNoFileName) {
    const auto doc = Read("Hotkey=Q\r\n// nothing here\r\n");
    EXPECT_EQ(doc->Count(), 0);
    EXPECT_TRUE(doc->FileName().empty());
}

TEST_F(CfgReader, MissingFileFolderAndDeviceReadNothing) {
    auto doc = TCfgManager::Create();
    EXPECT_EQ(doc->LoadFromFile(dir_ / "missing.txt", false), 0);
    EXPECT_EQ(doc->LoadFromFile(dir_.path(), false), 0);
    EXPECT_EQ(doc->LoadFromFile("/dev/zero", false), 0); // would never end
    EXPECT_TRUE(TCfgManager::CreateFromFile(dir_.path())->FileName().empty());
}

TEST_F(CfgReader, TextBeforeFirstHeaderIsIgnored) {
    const auto doc = Read("//comment\r\nHotkey=Z\r\n[ACac]\r\nHotkey=A\r\n");
    ASSERT_EQ(doc->Count(), 1);
    EXPECT_EQ(doc->Records(0).ID, "ACac");
    EXPECT_EQ(doc->Records(0).Hotkey, "A");
    EXPECT_EQ(doc->FileName(), dir_ / "in.txt");
}

TEST_F(CfgReader, HeaderOnLastLine) {
    EXPECT_EQ(Read("junk\r\n[ACac]")->Count(), 0);
    EXPECT_EQ(Read("[ACac]\r\n")->Count(), 0);
    const auto doc = Read("[AAaa]\r\nHotkey=A\r\n[ACac]");
    ASSERT_EQ(doc->Count(), 2);
    EXPECT_EQ(doc->Records(1).ID, "ACac");
    EXPECT_EQ(doc->Records(1).Hotkey, "");
}

TEST_F(CfgReader, KeysMatchWithoutRegardToCaseAndBlanks) {
    const auto doc = Read("[A]\nhotkey=Q\n[B]\nHotKey=W\n[C]\nHOTKEY=E\n[D]\n  Hotkey \t= \tR\n"
                          "[E]\nTip = \tkeeps its blanks\n");
    ASSERT_EQ(doc->Count(), 5);
    EXPECT_EQ(doc->Records(0).Hotkey, "Q");
    EXPECT_EQ(doc->Records(1).Hotkey, "W");
    EXPECT_EQ(doc->Records(2).Hotkey, "E");
    EXPECT_EQ(doc->Records(3).Hotkey, "R");
    EXPECT_EQ(doc->Records(4).Tip, " \tkeeps its blanks");
}

TEST_F(CfgReader, ValuesAreCutAtCommentAndKeepEqualSigns) {
    const auto doc = Read("[A]\nTip=Summon (Q)//old\nUntip=a=b\nResearchtip=set\nResearchtip=\n"
                          "Tip2=unknown\nButtonpos= 0,2\n");
    const TBindRec& r = doc->Records(0);
    EXPECT_EQ(r.Tip, "Summon (Q)");
    EXPECT_EQ(r.Untip, "a=b");
    EXPECT_EQ(r.Researchtip, "");
    EXPECT_EQ(r.Buttonpos, "0,2");
}

TEST_F(CfgReader, MultiLevelAndQuotedValuesAreVerbatim) {
    const auto doc = Read("[A]\nHotkey=Q,W,E\nTip=\"Level 1, (Q)\",\"Level 2\"\n");
    EXPECT_EQ(doc->Records(0).Hotkey, "Q,W,E");
    EXPECT_EQ(doc->Records(0).Tip, "\"Level 1, (Q)\",\"Level 2\"");
}

TEST_F(CfgReader, EveryFieldHasItsKey) {
    std::string text = "[ID]\n";
    for (int i = 1; i < kFieldCount; ++i)
        text += std::string(ReadingKey(i)) + "=v" + std::to_string(i) + "\n";
    const auto doc = Read(text);
    for (int i = 1; i < kFieldCount; ++i)
        EXPECT_EQ(GetField(doc->Records(0), i), "v" + std::to_string(i));
}

TEST_F(CfgReader, LineEndsCtrlZAndByteOrderMark) {
    const auto doc =
        Read("\xEF\xBB\xBF[A]\rHotkey=Q\r\r\nTip=x\ry\n[B]\nHotkey=B\x1A\n[C]\nHotkey=C\n");
    ASSERT_EQ(doc->Count(), 2);
    EXPECT_EQ(doc->Records(0).ID, "A");
    // A lone CR is dropped while the line goes on.
    EXPECT_EQ(doc->Records(0).Hotkey, "");
    EXPECT_EQ(doc->Records(0).Tip, "xy");
    EXPECT_EQ(doc->Records(1).Hotkey, "B");
}

TEST_F(CfgReader, IdentifierEndsAtFirstBracket) {
    const auto doc = Read("[ACac] // note\nHotkey=A\n[Open\nHotkey=O\n");
    ASSERT_EQ(doc->Count(), 2);
    EXPECT_EQ(doc->Records(0).ID, "ACac");
    EXPECT_EQ(doc->Records(1).ID, "Open");
}

TEST_F(CfgReader, EmptyIdentifierIsSkippedAndReadingGoesOn) {
    const auto doc = Read("[A]\nHotkey=A\n[]\nHotkey=X\n[\nHotkey=Y\n[B]\nHotkey=B\n");
    ASSERT_EQ(doc->Count(), 2);
    EXPECT_EQ(doc->Records(0).Hotkey, "A");
    EXPECT_EQ(doc->Records(1).ID, "B");
    EXPECT_EQ(doc->Records(1).Hotkey, "B");
}

TEST_F(CfgReader, BytesAreKeptWhateverTheirEncoding) {
    // Windows-1251 Cyrillic, GBK and stray bytes all stay as they are.
    const std::string cp1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";
    const std::string gbk = "\xB9\xA5\xBB\xF7";
    const auto doc = Read("[A]\nTip=" + cp1251 + "\nName=" + gbk + "\nArt=\xFF\x01z\n");
    EXPECT_EQ(doc->Records(0).Tip, cp1251);
    EXPECT_EQ(doc->Records(0).Name, gbk);
    EXPECT_EQ(doc->Records(0).Art, "\xFF\x01z");
}

TEST_F(CfgReader, DuplicatesWithoutMergingStayInFileOrder) {
    const auto doc = Read("[B]\nHotkey=1\n[A]\nHotkey=2\n[B]\nHotkey=3\n[B]\nTip=4\n");
    ASSERT_EQ(doc->Count(), 4);
    EXPECT_EQ(doc->Records(0).ID, "A");
    EXPECT_EQ(doc->Records(1).Hotkey, "1");
    EXPECT_EQ(doc->Records(2).Hotkey, "3");
    EXPECT_EQ(doc->Records(3).Tip, "4");
}

TEST_F(CfgReader, MergingTakesLaterNonEmptyValues) {
    WriteBytes(dir_ / "a.txt", "[A]\nHotkey=Q\nTip=old\nArt=a.blp\n");
    WriteBytes(dir_ / "b.txt", "[ A ]\nHotkey=W\nTip=\n[C]\nHotkey=C\n[C]\nTip=c\n");
    auto doc = TCfgManager::Create();
    EXPECT_EQ(doc->LoadFromFile(dir_ / "a.txt", true), 1);
    EXPECT_EQ(doc->LoadFromFile(dir_ / "b.txt", true), 3);
    ASSERT_EQ(doc->Count(), 2);
    const TBindRec& a = doc->Records(0);
    EXPECT_EQ(a.ID, " A "); // every non-empty field moves over, the identifier too
    EXPECT_EQ(a.Hotkey, "W");
    EXPECT_EQ(a.Tip, "old");
    EXPECT_EQ(a.Art, "a.blp");
    EXPECT_EQ(doc->Records(1).Hotkey, "C");
    EXPECT_EQ(doc->Records(1).Tip, "c");
}

TEST_F(CfgReader, LoadingWithoutMergingReplacesTheRecords) {
    WriteBytes(dir_ / "a.txt", "[A]\nHotkey=Q\n");
    WriteBytes(dir_ / "b.txt", "[B]\nHotkey=W\n");
    auto doc = TCfgManager::Create();
    doc->LoadFromFile(dir_ / "a.txt", false);
    EXPECT_EQ(doc->LoadFromFile(dir_ / "b.txt", false), 1);
    ASSERT_EQ(doc->Count(), 1);
    EXPECT_EQ(doc->Records(0).ID, "B");
    // A missing file leaves the document as it was.
    EXPECT_EQ(doc->LoadFromFile(dir_ / "none.txt", false), 0);
    EXPECT_EQ(doc->Count(), 1);
}

TEST_F(CfgReader, HostileInputNeitherCrashesNorHangs) {
    EXPECT_EQ(Read("[")->Count(), 0);
    EXPECT_EQ(Read(std::string("\0\0[A\0]\0\nHotkey=\0Q\n", 18))->Count(), 1);
    const std::string longLine(8 << 20, 'x');
    const auto doc = Read("[A]\nTip=" + longLine + "\n[B]\nHotkey=B\n");
    ASSERT_EQ(doc->Count(), 2);
    EXPECT_EQ(doc->Records(0).Tip.size(), longLine.size());
    std::string binary;
    std::mt19937 rng(7);
    for (int i = 0; i < 200000; ++i)
        binary += static_cast<char>(rng());
    Read(binary); // whatever it holds, it reads to an end
}

TEST_F(CfgReader, FileOverSixtyFourMegabytesIsRefusedWithItsSize) {
    const fs::path path = dir_ / "big.txt";
    WriteBytes(path, "[A]\nHotkey=Q\n");
    fs::resize_file(path, TCfgManager::kMaxFileSize + 1);
    std::string why;
    const auto doc = TCfgManager::CreateFromFile(path, &why);
    EXPECT_EQ(doc->Count(), 0);
    EXPECT_TRUE(doc->FileName().empty());
    EXPECT_EQ(why, "too large: 67108865 bytes");
}

TEST(CfgDocument, SortIsByteOrderAndStable) {
    auto doc = TCfgManager::Create();
    auto& second = doc->AddRecord("b");
    second.Tip = "first b";
    doc->AddRecord("B");
    doc->AddRecord("\xC0");
    doc->AddRecord("Bb");
    doc->AddRecord("b").Tip = "second b";
    const std::vector<std::string> expected = {"B", "Bb", "b", "b", "\xC0"};
    ASSERT_EQ(doc->Count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(doc->Records(i).ID, expected[i]);
    EXPECT_EQ(doc->Records(2).Tip, "first b");
    EXPECT_EQ(doc->Records(3).Tip, "second b");
    // References survive sorting and insertion.
    doc->Sort();
    doc->AddRecord("a");
    EXPECT_EQ(&second, &doc->Records(3));
}

TEST(CfgDocument, LookupsAndBounds) {
    auto doc = TCfgManager::Create();
    doc->AddRecord("ACac").Hotkey = "A";
    doc->AddRecord(" AHbz ").Hotkey = "B";
    EXPECT_EQ(doc->FindRecord("ACac")->Hotkey, "A");
    EXPECT_EQ(doc->FindRecord("acac")->Hotkey, "A"); // in another case
    EXPECT_EQ(doc->FindRecord("AHbz"), nullptr);     // untrimmed
    EXPECT_EQ(doc->FindRecordLinear("AHbz\t")->Hotkey, "B");
    EXPECT_THROW(doc->Records(2), std::out_of_range);
    EXPECT_THROW(doc->Records(-1), std::out_of_range);
    doc->Clear();
    EXPECT_EQ(doc->Count(), 0);
    EXPECT_EQ(doc->FindRecord("ACac"), nullptr);
}

// Undoing a removal needs the very record back, at its old place among
// records with the same identifier.
TEST(CfgDocument, TakeAndInsertKeepRecordsAndOrder) {
    auto doc = TCfgManager::Create();
    doc->AddRecord("A").Hotkey = "1";
    doc->AddRecord("A").Hotkey = "2";
    doc->AddRecord("B");
    const TBindRec* second = &doc->Records(1);
    int at = -1;
    auto taken = doc->TakeRecord(doc->Records(1), &at);
    EXPECT_EQ(taken.get(), second);
    EXPECT_EQ(at, 1);
    EXPECT_EQ(doc->Count(), 2);
    EXPECT_EQ(doc->TakeRecord(*taken), nullptr); // no longer the document's
    EXPECT_EQ(&doc->InsertRecord(std::move(taken), at), second);
    EXPECT_EQ(doc->Records(1).Hotkey, "2");

    auto copy = doc->Clone();
    auto all = doc->TakeAll();
    EXPECT_EQ(doc->Count(), 0);
    doc->PutAll(std::move(all));
    EXPECT_EQ(&doc->Records(1), second);
    ASSERT_EQ(copy->Count(), 3);
    EXPECT_NE(&copy->Records(1), second);
    EXPECT_TRUE(copy->SameAs(*doc));
}

TEST(RecordHelpers, FieldsByIndex) {
    TBindRec rec;
    rec[fiTip] = "tip";
    rec[fiTrains] = "hfoo";
    EXPECT_EQ(rec.Tip, "tip");
    EXPECT_EQ(GetField(rec, 16), "hfoo");
    EXPECT_THROW(GetField(rec, 17), std::out_of_range);
    EXPECT_EQ(FirstNonEmptyField(rec, 4, 8), "tip");
    EXPECT_EQ(FirstNonEmptyField(rec, 5, 8), "");
    EXPECT_EQ(FirstNonEmptyField(rec, 8, 4), "");

    TBindRec target;
    target.ID = "T";
    target.Hotkey = "H";
    target.Name = "keep";
    TBindRec source;
    source.ID = "S";
    source.Tip = "new";
    source.Art = "art";
    CopyNonEmptyFields(target, source);
    EXPECT_EQ(target.ID, "S");
    EXPECT_EQ(target.Hotkey, "H");
    EXPECT_EQ(target.Art, "art");
}

TEST(RecordHelpers, ParseButtonPos) {
    const auto check = [](std::string_view text, int col, int row, bool ok) {
        const TButtonPos pos = ParseButtonPos(text);
        EXPECT_EQ(pos.Col, col) << text;
        EXPECT_EQ(pos.Row, row) << text;
        EXPECT_EQ(pos.Ok, ok) << text;
    };
    check("0,2", 0, 2, true);
    check("1, 1", 1, 1, true);
    check(" 3 ,\t0 ", 3, 0, true);
    check("\"2\",'1'", 2, 1, true);
    check("0,,2", 0, 2, true);
    check("0\n2", 0, 2, true);
    check("", -1, -1, true);
    check("3", -1, -1, true);
    check("0,1,2", -1, -1, true);
    check("a,1", -1, -1, false);
    check("0,1x", -1, -1, false);
    check("0,99999999999", -1, -1, false);
}

} // namespace
} // namespace qm
