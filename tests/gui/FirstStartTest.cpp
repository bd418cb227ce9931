// The first start imports from a game folder made here: default
// configuration, tree file and icons, each step behind its flag.

#include "EditorFixture.h"
#include "config/uCfgManager.h"
#include "editor/GlobalConst.h"
#include "editor/Main.h"
#include "fixtures/TMpqWriter.h"
#include "support/TScriptedPlatform.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

void MakeGame(const fs::path& folder) {
    const std::vector<std::uint32_t> red(64 * 64, 0xD02010);
    const std::string blp = MakeJpegBlp(EncodeJpeg(ButtonSamples(red), 64, 64, 4), 64, 64);
    TMpqWriter mpq(folder / "war3.mpq");
    ASSERT_TRUE(mpq.IsOpen());
    ASSERT_TRUE(mpq.Add("Units\\HumanUnitStrings.txt",
                        "[hfoo]\r\nName=Footman\r\nHotkey=F\r\nTip=Train |cffffcc00F|rootman\r\n"));
    ASSERT_TRUE(mpq.Add("Units\\HumanUnitFunc.txt",
                        "[hfoo]\r\nArt=ReplaceableTextures\\CommandButtons\\BTNFootman.blp\r\n"
                        "Buttonpos=0,0\r\n"));
    ASSERT_TRUE(mpq.Add("Units\\CommandStrings.txt", "[CmdMove]\r\nHotkey=M\r\nTip=Move\r\n"));
    ASSERT_TRUE(mpq.Add("ReplaceableTextures\\CommandButtons\\BTNFootman.blp", blp));
    ASSERT_TRUE(mpq.Close());
}

class FirstStart : public ::testing::Test {
  protected:
    FirstStart() {
        ResetMessages();
        fs::remove(pf_ / "QMKData/DefaultKeys.wrk");
        for (const auto& icon : fs::directory_iterator(pf_ / "Icons"))
            fs::remove(icon.path());
        WriteBytes(pf_ / "QMKData/TV_foreign.wrk",
                   "Human|?\r\n\tFootman|hfoo|?\r\n\tMove|CmdMove|?\r\n");
        pf_.WriteSettings("[Strings]\r\nWar3Folder=" + pf_.Game().string() + "\r\n");
    }

    QStringList Run() {
        QStringList statuses;
        TfrmMain frm(platform_, pf_.path());
        QObject::connect(&frm, &TfrmMain::StartupStatus, [&](const QString& s) { statuses << s; });
        started_ = frm.Start();
        if (started_) {
            QTreeWidgetItem* human = frm.findChild<QTreeWidget*>("tvMain")->topLevelItem(0);
            human->setExpanded(true);
            footmanIcon_ = TTVNode::From(human->child(0))->ImageIndex;
            frm.close();
        }
        return statuses;
    }

    test::TProgramFolder pf_;
    test::TScriptedPlatform platform_;
    bool started_ = false;
    int footmanIcon_ = 0;
};

TEST_F(FirstStart, RunsTheThreeStepsOnceAndWritesTheirFlags) {
    MakeGame(pf_.Game());
    EXPECT_EQ(Run(),
              QStringList({Msg(msgStatusPreparing), Msg(msgStatusDefaults), Msg(msgStatusTree),
                           Msg(msgStatusGraphics), Msg(msgStatusStarting)}));
    ASSERT_TRUE(started_);
    EXPECT_TRUE(platform_.asked.empty());
    const std::string settings = ReadBytes(pf_.Settings());
    for (const char* line : {"DefCfgLoaded=1", "TVLoaded=1", "IconsLoaded=1", "Language=foreign",
                             "TVName=QMKData\\TV_foreign.wrk"})
        EXPECT_NE(settings.find(line), std::string::npos) << line << " in\n" << settings;
    auto defaults = TCfgManager::CreateFromFile(pf_ / "QMKData/DefaultKeys.wrk");
    ASSERT_NE(defaults->FindRecord("hfoo"), nullptr);
    EXPECT_FALSE(test::ListFolder(pf_ / "Icons").empty());
    EXPECT_GT(footmanIcon_, 0);

    const auto built = fs::last_write_time(pf_ / "QMKData/DefaultKeys.wrk");
    const std::string tree = ReadBytes(pf_ / "QMKData/TV_foreign.wrk");
    EXPECT_EQ(Run(), QStringList({Msg(msgStatusPreparing), Msg(msgStatusStarting)}));
    EXPECT_TRUE(started_);
    EXPECT_EQ(fs::last_write_time(pf_ / "QMKData/DefaultKeys.wrk"), built);
    EXPECT_EQ(ReadBytes(pf_ / "QMKData/TV_foreign.wrk"), tree);
}

} // namespace
} // namespace qm
