// The first start imports from a game folder made here: default
// configuration, tree file and icons, each step behind its flag.

#include "EditorFixture.h"
#include "config/uCfgManager.h"
#include "editor/Main.h"
#include "fixtures/CascWriter.h"
#include "fixtures/TMpqWriter.h"
#include "gamedata/GameFixture.h"
#include "lang/GlobalConst.h"
#include "support/TScriptedPlatform.h"
#include "text/TextCodec.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include <sys/resource.h>

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

const std::string kFootmanImage = "ReplaceableTextures\\CommandButtons\\BTNFootman.blp";

test::TEntries GameTables() {
    return {
        {"Units\\HumanUnitStrings.txt",
         "[hfoo]\r\nName=Footman\r\nHotkey=F\r\nTip=Train |cffffcc00F|rootman\r\n"},
        {"Units\\HumanUnitFunc.txt", "[hfoo]\r\nArt=" + kFootmanImage + "\r\nButtonpos=0,0\r\n"},
        {"Units\\CommandStrings.txt", "[CmdMove]\r\nHotkey=M\r\nTip=Move\r\n"}};
}

void MakeGame(const fs::path& folder, bool noisyImage = false) {
    std::vector<std::uint32_t> pixels(64 * 64, 0xD02010);
    // Noise makes a JPEG of many kilobytes, far larger than any other file of the import.
    for (size_t i = 0; noisyImage && i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
    test::TEntries entries = GameTables();
    entries[kFootmanImage] = MakeJpegBlp(EncodeJpeg(ButtonSamples(pixels), 64, 64, 4), 64, 64);
    test::MakeArchive(folder / "war3.mpq", entries);
}

// A limit on the size of every file this process and its children write,
// as a full disk would set one; the signal ignored, as the program does.
class TFileSizeLimit {
  public:
    explicit TFileSizeLimit(rlim_t size) {
        getrlimit(RLIMIT_FSIZE, &old_);
        signal_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{size, old_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, signal_);
    }

  private:
    rlimit old_{};
    void (*signal_)(int) = nullptr;
};

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

// The newer game: the same steps from its CASC storage, the statuses saying so.
TEST_F(FirstStart, ImportsFromTheNewerGamesStorage) {
    TCascWriter casc;
    for (const auto& [name, bytes] : GameTables()) {
        const bool strings = name.find("Strings") != std::string::npos;
        casc.Add(std::string("war3.w3mod:") + (strings ? "_locales\\enus.w3mod:" : "") +
                     AsciiLower(name),
                 bytes);
    }
    casc.Add("war3.w3mod:" + kFootmanImage,
             MakeJpegBlp(EncodeJpeg(ButtonSamples(std::vector<std::uint32_t>(64 * 64, 0xD02010)),
                                    64, 64, 4),
                         64, 64));
    ASSERT_TRUE(casc.Write(pf_.Game()));
    EXPECT_EQ(Run(),
              QStringList({Msg(msgStatusPreparing), Msg(msgStatusDefaultsCasc), Msg(msgStatusTree),
                           Msg(msgStatusGraphicsCasc), Msg(msgStatusStarting)}));
    ASSERT_TRUE(started_);
    EXPECT_TRUE(platform_.asked.empty());
    const auto defaults = TCfgManager::CreateFromFile(pf_ / "QMKData/DefaultKeys.wrk");
    ASSERT_NE(defaults->FindRecord("hfoo"), nullptr);
    EXPECT_EQ(defaults->FindRecord("hfoo")->Hotkey, "F");
    EXPECT_GT(footmanIcon_, 0);
}

// An archive that kills StormLib costs only the step that reads it: the
// window says so, the step's flag stays unset so that it runs again, and
// the program goes on as far as the other steps allow.
TEST_F(FirstStart, AnArchiveThatCrashesTheReaderFailsOnlyItsStep) {
    const fs::path archive = pf_.Game() / "war3.mpq";
    test::MakeCrashingArchive(archive, kFootmanImage, GameTables());
    SKIP_UNLESS_READING_KILLS(archive, kFootmanImage);
    platform_.Answer(TMsgAnswer::Ok);
    EXPECT_EQ(Run(),
              QStringList({Msg(msgStatusPreparing), Msg(msgStatusDefaults), Msg(msgStatusTree),
                           Msg(msgStatusGraphics), Msg(msgStatusStarting)}));
    ASSERT_TRUE(started_);
    if (platform_.asked.empty())
        platform_.DropUnused();
    SKIP_IF_READ_THROUGH(platform_.asked.empty());
    ASSERT_EQ(platform_.asked.size(), 1u);
    EXPECT_TRUE(platform_.asked[0].text.startsWith(Msg(msgArchivesUnreadable) + "\r\n" +
                                                   pf_.Q(pf_.Game()) + ": "));
    std::string settings = ReadBytes(pf_.Settings());
    EXPECT_NE(settings.find("DefCfgLoaded=1"), std::string::npos);
    EXPECT_EQ(settings.find("IconsLoaded"), std::string::npos);
    EXPECT_TRUE(test::ListFolder(pf_ / "Icons").empty());

    // With the tables unreadable too, the build fails as well and the start
    // ends with the message for missing defaults, whether the reader died on
    // the tables or read garbage through the damage.
    test::MakeCrashingArchive(archive, "Units\\CommandStrings.txt");
    fs::remove(pf_ / "QMKData/DefaultKeys.wrk");
    pf_.WriteSettings("[Strings]\r\nWar3Folder=" + pf_.Game().string() + "\r\n");
    platform_.asked.clear();
    platform_.Answer(TMsgAnswer::Ok).Answer(TMsgAnswer::Ok);
    Run();
    if (started_)
        platform_.DropUnused();
    SKIP_IF_READ_THROUGH(started_);
    ASSERT_EQ(platform_.asked.size(), 2u);
    EXPECT_TRUE(platform_.asked[1].text.startsWith(Msg(msgCannotReadInternal)));
    settings = ReadBytes(pf_.Settings());
    EXPECT_EQ(settings.find("DefCfgLoaded"), std::string::npos);
    EXPECT_EQ(settings.find("TVLoaded"), std::string::npos); // the tree waits for the defaults
}

// A default configuration named outside the program's folders is built in
// its usual place: the file there is never replaced.
TEST_F(FirstStart, ASettingsPathOutsideTheFoldersIsNotWritten) {
    MakeGame(pf_.Game());
    const test::TempDir elsewhere;
    const fs::path victim = elsewhere / "keep.txt";
    WriteBytes(victim, "mine");
    pf_.WriteSettings("[Strings]\r\nWar3Folder=" + pf_.Game().string() +
                      "\r\nDefaultConfigName=" + victim.string() + "\r\n");
    Run();
    ASSERT_TRUE(started_);
    EXPECT_EQ(ReadBytes(victim), "mine");
    EXPECT_TRUE(fs::exists(pf_ / "QMKData/DefaultKeys.wrk"));
    EXPECT_NE(ReadBytes(pf_.Settings()).find("DefaultConfigName=" + victim.string()),
              std::string::npos);
}

// A folder without the game's archives is said so before anything is
// tried: no flag is set, and the start after the folder is mended imports
// everything.
TEST_F(FirstStart, AFolderWithoutTheArchivesIsNamedAndImportedLater) {
    const fs::path notTheGame = pf_ / "etc";
    fs::create_directories(notTheGame);
    pf_.WriteSettings("[Strings]\r\nWar3Folder=" + notTheGame.string() + "\r\n");
    platform_.Answer(TMsgAnswer::Ok).Answer(TMsgAnswer::Ok);
    EXPECT_EQ(Run(), QStringList({Msg(msgStatusPreparing), Msg(msgStatusStarting)}));
    EXPECT_FALSE(started_);
    ASSERT_EQ(platform_.asked.size(), 2u);
    EXPECT_EQ(platform_.asked[0].text, Msg(msgNoGameArchives) + "\r\n" + pf_.Q(notTheGame));
    EXPECT_TRUE(platform_.asked[1].text.startsWith(Msg(msgCannotReadInternal)));
    EXPECT_EQ(ReadBytes(pf_.Settings()).find("Loaded"), std::string::npos);

    MakeGame(pf_.Game());
    pf_.WriteSettings("[Strings]\r\nWar3Folder=" + pf_.Game().string() + "\r\n");
    platform_.asked.clear();
    Run();
    ASSERT_TRUE(started_);
    EXPECT_TRUE(platform_.asked.empty());
    const std::string settings = ReadBytes(pf_.Settings());
    for (const char* line : {"DefCfgLoaded=1", "TVLoaded=1", "IconsLoaded=1"})
        EXPECT_NE(settings.find(line), std::string::npos) << line;
    EXPECT_GT(footmanIcon_, 0);
}

// An icon that cannot be written fails the icon step with the file and the
// system's reason; its flag stays 0 and the next start extracts it.
TEST_F(FirstStart, AFullDiskLeavesTheIconsToTheNextStart) {
    MakeGame(pf_.Game(), true);
    platform_.Answer(TMsgAnswer::Ok);
    {
        const TFileSizeLimit full(4096);
        Run();
    }
    ASSERT_TRUE(started_);
    ASSERT_EQ(platform_.asked.size(), 1u);
    EXPECT_EQ(platform_.asked[0].text, Msg(msgImportStepFailed) + "\r\n" +
                                           pf_.Q(pf_ / "Icons" / "BTNFootman.jpg") + ": " +
                                           QString::fromLocal8Bit(strerror(EFBIG)));
    std::string settings = ReadBytes(pf_.Settings());
    EXPECT_NE(settings.find("TVLoaded=1"), std::string::npos);
    EXPECT_EQ(settings.find("IconsLoaded"), std::string::npos);
    EXPECT_TRUE(test::ListFolder(pf_ / "Icons").empty());

    platform_.asked.clear();
    EXPECT_EQ(Run(), QStringList({Msg(msgStatusPreparing), Msg(msgStatusGraphics),
                                  Msg(msgStatusStarting)}));
    EXPECT_TRUE(platform_.asked.empty());
    EXPECT_NE(ReadBytes(pf_.Settings()).find("IconsLoaded=1"), std::string::npos);
    EXPECT_GT(footmanIcon_, 0);
}

} // namespace
} // namespace qm
