// Writing documents, and the whole-document operations.

#include "config/uAtomicFile.h"
#include "config/uCfgManager.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace qm {
namespace {

using test::ListFolder;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(CfgWriter, RecordLayout) {
    auto doc = TCfgManager::Create();
    TBindRec& rec = doc->AddRecord("Abcd");
    rec.Hotkey = "A";
    rec.Tip = "Go";
    rec.Name = "Unit";
    rec.Art = "ReplaceableTextures\\CommandButtons\\BTNx.blp";
    EXPECT_EQ(doc->Serialize(false), "//Unit\r\n[Abcd]\r\nHotKey=A\r\nTip=Go\r\n\r\n");
    EXPECT_EQ(doc->Serialize(true), "//Unit\r\n[Abcd]\r\nHotKey=A\r\nTip=Go\r\nName=Unit\r\n"
                                    "Art=ReplaceableTextures\\CommandButtons\\BTNx.blp\r\n\r\n");
}

TEST(CfgWriter, KeysInIndexOrderAndSkippedRecords) {
    auto doc = TCfgManager::Create();
    doc->AddRecord("Only");              // only its identifier: not written
    doc->AddRecord("Blank").Tip = "   "; // blanks only: a value, but not written
    TBindRec& all = doc->AddRecord("All");
    for (int i = 1; i < kFieldCount; ++i)
        all[i] = " v" + std::to_string(i);
    doc->AddRecord("").Hotkey = "X"; // no identifier: not written
    EXPECT_EQ(doc->Serialize(false),
              "// v12\r\n[All]\r\nHotKey= v1\r\nUnHotKey= v2\r\nResearchHotKey= v3\r\n"
              "Tip= v4\r\nUnTip= v5\r\nResearchTip= v6\r\nReviveTip= v7\r\nAwakenTip= v8\r\n"
              "ButtonPos= v9\r\nUnButtonPos= v10\r\nResearchButtonPos= v11\r\n\r\n"
              "[Blank]\r\n\r\n");
    EXPECT_NE(doc->Serialize(true).find("UberTip= v13\r\nArt= v14\r\nSellUnits= v15\r\n"
                                        "Trains= v16\r\n\r\n"),
              std::string::npos);
}

TEST(CfgWriter, EmptyDocumentLeavesTheFileAlone) {
    TempDir dir;
    WriteBytes(dir / "keep.txt", "old");
    EXPECT_FALSE(TCfgManager::Create()->SaveToFile(dir / "keep.txt", false));
    EXPECT_EQ(ReadBytes(dir / "keep.txt"), "old");
}

TEST(CfgWriter, FailedSaveKeepsOldContentAndLeavesNoTemporaryFile) {
    TempDir dir;
    auto doc = TCfgManager::Create();
    doc->AddRecord("A").Hotkey = "Q";
    EXPECT_FALSE(doc->SaveToFile(dir / "no-such-folder" / "out.txt", false));
    EXPECT_FALSE(doc->SaveToFile(dir.path(), false)); // a folder
    WriteBytes(dir / "file", "x");
    EXPECT_FALSE(doc->SaveToFile(dir / "file" / "out.txt", false)); // below a file
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"file"});
    if (geteuid() == 0)
        GTEST_SKIP() << "read-only folders do not stop root";
    WriteBytes(dir / "ro.txt", "old");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_FALSE(doc->SaveToFile(dir / "ro.txt", false));
    EXPECT_EQ(ReadBytes(dir / "ro.txt"), "old");
}

TEST(CfgWriter, SaveReplacesTheFileAndKeepsItsPermissions) {
    TempDir dir;
    WriteBytes(dir / "out.txt", "old content that is longer than the new one");
    std::filesystem::permissions(dir / "out.txt", std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::owner_write |
                                                      std::filesystem::perms::group_read);
    auto doc = TCfgManager::Create();
    doc->AddRecord("A").Hotkey = "Q";
    ASSERT_TRUE(doc->SaveToFile(dir / "out.txt", false));
    EXPECT_EQ(ReadBytes(dir / "out.txt"), "[A]\r\nHotKey=Q\r\n\r\n");
    EXPECT_EQ(std::filesystem::status(dir / "out.txt").permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"out.txt"});
}

TEST(CfgWriter, AtomicFileDiscardsWhenNotCommitted) {
    TempDir dir;
    WriteBytes(dir / "t.txt", "old");
    {
        TAtomicFile file(dir / "t.txt");
        ASSERT_TRUE(file.Open());
        file.Write("new");
        EXPECT_EQ(ListFolder(dir.path()).size(), 2u);
    }
    EXPECT_EQ(ReadBytes(dir / "t.txt"), "old");
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"t.txt"});
}

TEST(CfgWriter, RoundTripGivesTheSameBytes) {
    TempDir dir;
    WriteBytes(dir / "in.txt",
               "// header\n[B]\nhotkey=Q  \nTip=\xD0\x9F\xD1\x80\xD0\xB8 (|cffffcc00Q|r)\n"
               "Tip=  lead\n[A]\nButtonpos=0,1\nName=Alpha\nResearchtip=\xCF\xF0\xE8\n");
    const auto first = TCfgManager::CreateFromFile(dir / "in.txt");
    ASSERT_TRUE(first->SaveToFile(dir / "one.txt", true));
    const auto second = TCfgManager::CreateFromFile(dir / "one.txt");
    ASSERT_TRUE(second->SaveToFile(dir / "two.txt", true));
    EXPECT_EQ(ReadBytes(dir / "one.txt"), ReadBytes(dir / "two.txt"));
    EXPECT_TRUE(first->SameAs(*second));
    EXPECT_EQ(second->Records(0).Researchtip, "\xCF\xF0\xE8");
    EXPECT_EQ(second->Records(1).Tip, "  lead");
}

TEST(CfgDocumentOps, SameAsComparesFieldsZeroToEleven) {
    auto a = TCfgManager::Create();
    auto b = TCfgManager::Create();
    a->AddRecord("A").Hotkey = "Q";
    b->AddRecord("A").Hotkey = "Q";
    EXPECT_TRUE(a->SameAs(*b));
    for (int i = fiName; i < kFieldCount; ++i)
        b->Records(0)[i] = "data";
    EXPECT_TRUE(a->SameAs(*b));
    b->Records(0).Researchbuttonpos = "0,0";
    EXPECT_FALSE(a->SameAs(*b));
    b->Records(0).Researchbuttonpos.clear();
    b->AddRecord("B");
    EXPECT_FALSE(a->SameAs(*b));
}

TEST(CfgDocumentOps, OverlayTakesTheFirstExactMatch) {
    auto base = TCfgManager::Create();
    base->AddRecord("A").Hotkey = "Q";
    base->AddRecord("B").Tip = "keep";
    base->AddRecord("").Hotkey = "none";
    auto top = TCfgManager::Create();
    top->AddRecord("A").Tip = "first";
    top->AddRecord("A").Tip = "second";
    top->AddRecord("C").Hotkey = "C";
    top->AddRecord("B ").Tip = "trimmed does not match";
    top->AddRecord("").Hotkey = "X";
    base->Overlay(*top);
    ASSERT_EQ(base->Count(), 3);
    EXPECT_EQ(base->FindRecord("A")->Hotkey, "Q");
    EXPECT_EQ(base->FindRecord("A")->Tip, "first");
    EXPECT_EQ(base->FindRecord("B")->Tip, "keep");
    EXPECT_EQ(base->FindRecord("")->Hotkey, "none");
}

TEST(CfgDocumentOps, FillEmptyFieldsFromDefaults) {
    auto defaults = TCfgManager::Create();
    TBindRec& def = defaults->AddRecord("A");
    def.Hotkey = "D";
    def.Tip = "default tip";
    def.Art = "art";
    TBindRec rec;
    rec.ID = "A";
    rec.Hotkey = "U";
    defaults->FillEmptyFields(rec);
    EXPECT_EQ(rec.Hotkey, "U");
    EXPECT_EQ(rec.Tip, "default tip");
    EXPECT_EQ(rec.Art, "art");
    TBindRec unknown;
    unknown.ID = "Z";
    defaults->FillEmptyFields(unknown);
    EXPECT_EQ(unknown.Tip, "");
}

} // namespace
} // namespace qm
