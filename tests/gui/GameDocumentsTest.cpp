// Open and Save to WarCraft with the newer game's documents folder, laid out
// here as Windows has it: Documents\Warcraft III beside the game folder.

#include "WindowFixture.h"

#include <QAction>
#include <QLabel>

namespace qm {
namespace {

namespace fs = std::filesystem;

class GameDocuments : public test::TWindowTest {
  protected:
    void Trigger(const char* action) { frm_->findChild<QAction*>(action)->trigger(); }
    QString Status() { return W<QLabel>("lblFileName")->toolTip(); }
    QString Native(const fs::path& path) { return QDir::toNativeSeparators(pf_.Q(path)); }
};

TEST_F(GameDocuments, SaveMakesCustomKeyBindingsAndOpenReadsItBack) {
    const fs::path documents = pf_ / "Documents";
    const fs::path keys = documents / "Warcraft III/CustomKeyBindings/CustomKeys.txt";
    platform_.documentsFolder = pf_.Q(documents);
    test::WriteBytes(pf_.Game() / "CustomKeys.txt", "[Aabc]\r\nHotkey=Y\r\n"); // the older game's
    Start(test::kTree, test::kDefaultKeys);
    Trigger("actOpenFromWar"); // no Warcraft III in the documents: the game folder's file
    EXPECT_EQ(Rec("Aabc").Hotkey, "Y");
    EXPECT_EQ(Status(), Native(pf_.Game() / "CustomKeys.txt"));

    fs::create_directories(documents / "Warcraft III");
    platform_.Answer(TMsgAnswer::Yes).Answer(TMsgAnswer::Yes);
    Trigger("actOpenFromWar");
    ASSERT_EQ(platform_.asked.size(), 2u);
    EXPECT_EQ(platform_.asked[0].text, Msg(msgNoWarConfig));
    EXPECT_TRUE(platform_.asked[1].text.endsWith(Native(keys) + "?"));
    ASSERT_TRUE(fs::is_regular_file(keys));
    EXPECT_EQ(frm_->windowTitle(), "Quillmark: (CustomKeys.txt)[*]");
    EXPECT_EQ(Status(), Native(keys));
    test::WriteBytes(keys, "[Aabc]\r\nHotkey=X\r\n");
    Trigger("actOpenFromWar");
    EXPECT_EQ(Rec("Aabc").Hotkey, "X");
}

} // namespace
} // namespace qm
