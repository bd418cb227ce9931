// Key-code hotkeys in the editor: the card and the panel name the key,
// Default brings a code back, and a real player's file with codes is shown
// and saved with every value kept.

#include "WindowFixture.h"
#include "editor/TCommandCard.h"

#include <QLabel>
#include <QPushButton>

namespace qm {
namespace {

namespace fs = std::filesystem;

const char* kTree = "Human|?\n\tFootman|hfoo\n\t\tAttack|Aatk\n\t\tCancel|CmdCancel\n"
                    "\t\tDefend|Adef\n";
const char* kDefaults = "[hfoo]\nHotkey=F\n[Aatk]\nHotkey=81\nButtonpos=0,0\n"
                        "[CmdCancel]\nHotkey=27\nButtonpos=3,2\n"
                        "[Adef]\nHotkey=D\nUnhotkey=222\nButtonpos=1,0\n";
enum { kCancel = 3, kDefend };

class KeyCodes : public test::TWindowTest {
  protected:
    QString Name(const char* label) { return W<QLabel>(label)->text(); }
};

TEST_F(KeyCodes, CardAndPanelNameTheKey) {
    Start(kTree, kDefaults);
    EXPECT_EQ(W<TCommandCard>("pnlGreed")->ShownLetter(Rec("Aatk")), "Q");
    EXPECT_EQ(W<TCommandCard>("pnlGreed")->ShownLetter(Rec("CmdCancel")), "Esc");
    Select(kDefend);
    EXPECT_EQ(Name("lblUnHotKeyName"), "'");
    // The names stand inside the hotkey frame, clear of fields and captions.
    for (const char* label : {"lblHotKeyName", "lblUnHotKeyName", "lblResearchHotKeyName"}) {
        EXPECT_TRUE(W("bvHotKeys")->geometry().contains(W(label)->geometry())) << label;
        for (const char* other : {"txtHotKey", "txtUnHotKey", "txtResearchHotKey", "lblHotKey",
                                  "lblUnHotKey", "lblResearchHotKey"}) {
            const QRect shown(W(other)->pos(), W(other)->sizeHint().boundedTo(W(other)->size()));
            EXPECT_FALSE(W(label)->geometry().intersects(shown)) << label << " over " << other;
        }
    }

    // A code is one level; Default brings it back as it stands.
    Select(kCancel);
    EXPECT_EQ(Name("lblHotKeyName"), "Esc");
    Type("txtHotKey", "w");
    EXPECT_EQ(Rec("CmdCancel").Hotkey, "W");
    EXPECT_EQ(Name("lblHotKeyName"), "");
    QTest::mouseClick(W<QPushButton>("btnDefHotKeys"), Qt::LeftButton);
    EXPECT_EQ(Rec("CmdCancel").Hotkey, "27");
}

TEST_F(KeyCodes, APlayersFileIsShownAndSavedWithEveryValue) {
    const auto file = test::RealData() / "customkeys/koneu__warcraft3-1.txt";
    if (!fs::exists(file))
        GTEST_SKIP() << "no real data beside this checkout (" << QUILLMARK_REAL_DATA << ")";
    Start(kTree, kDefaults, test::ReadBytes(file));
    Select(kCancel);
    EXPECT_EQ(Name("lblHotKeyName"), "Esc");
    ASSERT_TRUE(frm_->actSaveExecute());
    EXPECT_EQ(test::ReadBytes(pf_ / "user.txt"), test::ReadBytes(file)) << "nothing was edited";
    const auto original = TCfgManager::CreateFromFile(file);
    const auto saved = TCfgManager::CreateFromFile(pf_ / "user.txt");
    for (int i = 0; i < original->Count(); ++i) {
        const TBindRec& rec = original->Records(i);
        for (int f = fiHotkey; f <= fiResearchbuttonpos; ++f) {
            const TBindRec* back = saved->FindRecord(rec.ID);
            if (!rec[f].empty()) {
                EXPECT_EQ(back ? (*back)[f] : "", rec[f]) << rec.ID << " field " << f;
            }
        }
    }
}

} // namespace
} // namespace qm
