// Identifiers are found as the game finds sections: the exact spelling
// first, then one that differs only in ASCII case.

#include "config/uCfgManager.h"
#include "support/TestFiles.h"
#include "text/TextCodec.h"

#include <gtest/gtest.h>

#include <random>

namespace qm {
namespace {

using test::TempDir;
using test::WriteBytes;

TEST(IdentifierCase, ExactSpellingWinsThenTheFirstInAnyCase) {
    auto doc = TCfgManager::Create();
    doc->AddRecord("Achd").Hotkey = "1";
    doc->AddRecord("AChd").Hotkey = "2";
    doc->AddRecord("cmdmove").Hotkey = "V";
    doc->AddRecord("A1-b").Hotkey = "3";
    EXPECT_EQ(doc->FindRecord("Achd")->Hotkey, "1");
    EXPECT_EQ(doc->FindRecord("AChd")->Hotkey, "2");
    // Neither spelling: the first in list order, upper case sorting first.
    EXPECT_EQ(doc->FindRecord("ACHD")->Hotkey, "2");
    EXPECT_EQ(doc->FindRecord("CmdMove")->Hotkey, "V");
    EXPECT_EQ(doc->FindRecord("a1-B")->Hotkey, "3");
    EXPECT_EQ(doc->FindRecord("cmdmov"), nullptr);
    EXPECT_EQ(doc->FindRecord("cmdmovee"), nullptr);
    EXPECT_EQ(doc->FindRecordLinear(" CMDMOVE\t")->Hotkey, "V");
    EXPECT_EQ(doc->FindRecordLinear("AChd")->Hotkey, "2");
}

// The search without an index against the plain rule, on identifiers that
// share long prefixes in every case.
TEST(IdentifierCase, FindRecordAgreesWithTheRuleEverywhere) {
    std::mt19937 rng(5);
    const auto randomId = [&] {
        static constexpr char kChars[] = "aAbB1";
        std::string id(1 + rng() % 4, ' ');
        for (char& c : id)
            c = kChars[rng() % 5];
        return id;
    };
    auto doc = TCfgManager::Create();
    for (int i = 0; i < 200; ++i)
        doc->AddRecord(randomId()).Hotkey = std::to_string(i);
    for (int q = 0; q < 2000; ++q) {
        const std::string id = randomId();
        const TBindRec* expected = nullptr;
        for (int r = 0; r < doc->Count() && !expected; ++r)
            expected = doc->Records(r).ID == id ? &doc->Records(r) : nullptr;
        for (int r = 0; r < doc->Count() && !expected; ++r)
            expected = SameIgnoringAsciiCase(doc->Records(r).ID, id) ? &doc->Records(r) : nullptr;
        ASSERT_EQ(doc->FindRecord(id), expected) << id;
    }
}

TEST(IdentifierCase, PlayersSectionIsEditedUnderItsOwnSpelling) {
    TempDir dir;
    WriteBytes(dir / "in.txt", "[cmdmove]\nHotkey=V\nButtonpos=3,2\n");
    const auto doc = TCfgManager::CreateFromFile(dir / "in.txt");
    auto defaults = TCfgManager::Create();
    TBindRec& move = defaults->AddRecord("CmdMove");
    move.Hotkey = "M";
    move.Tip = "Move";
    TBindRec shown = *doc->FindRecord("CmdMove");
    defaults->FillEmptyFields(shown);
    EXPECT_EQ(shown.Hotkey, "V");
    EXPECT_EQ(shown.Tip, "Move");
    doc->FindRecord("CmdMove")->Hotkey = "B";
    EXPECT_EQ(doc->SerializeEdits(), "[cmdmove]\nHotkey=B\nButtonpos=3,2\n");
    // Laid over the defaults, and compared with them, it is the same action.
    defaults->Overlay(*doc);
    EXPECT_EQ(move.Hotkey, "B");
    EXPECT_EQ(move.Buttonpos, "3,2");
    auto same = doc->Clone();
    same->Records(0).ID = "CMDMOVE";
    EXPECT_TRUE(same->SameAs(*doc));
    same->Records(0).Buttonpos = "0,0";
    EXPECT_FALSE(same->SameAs(*doc));
}

// Merging joins a section to a record in another case, unless the file
// itself holds that spelling too, as the game's tables hold Achd and AChd.
TEST(IdentifierCase, MergingJoinsOtherCaseButNotWhatTheFileSpells) {
    TempDir dir;
    WriteBytes(dir / "table.txt", "[Achd]\nTip=a\n[AChd]\nTip=b\n[CmdMove]\nHotkey=M\n");
    WriteBytes(dir / "player.txt", "[cmdmove]\nHotkey=V\n[ACHD]\nHotkey=X\n");
    auto doc = TCfgManager::Create();
    EXPECT_EQ(doc->LoadFromFile(dir / "table.txt", true), 3);
    EXPECT_EQ(doc->LoadFromFile(dir / "player.txt", true), 2);
    doc->Sort();
    ASSERT_EQ(doc->Count(), 3);
    // Joined, the later spelling taken; ACHD joins the first of its case.
    EXPECT_EQ(doc->FindRecord("cmdmove")->Hotkey, "V");
    EXPECT_EQ(doc->FindRecord("ACHD")->Tip, "a");
    EXPECT_EQ(doc->FindRecord("ACHD")->Hotkey, "X");
    EXPECT_EQ(doc->FindRecord("AChd")->Tip, "b");
    EXPECT_EQ(doc->FindRecord("AChd")->Hotkey, "");
}

} // namespace
} // namespace qm
