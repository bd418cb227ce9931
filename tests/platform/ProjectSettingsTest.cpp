#include "editor/TProjectSettings.h"

#include "lang/GlobalConst.h"
#include "lang/MultiLang.h"
#include "support/TScriptedPlatform.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLocale>

namespace qm {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

QString Folder(const TempDir& dir) {
    return QString::fromStdString(dir.path().string());
}

// A program folder with QMKData and the given settings file text.
void WriteIni(const TempDir& dir, const std::string& text) {
    std::filesystem::create_directories(dir / "QMKData");
    WriteBytes(dir / "QMKData" / "QMK.ini", text);
}

std::string IniText(const TempDir& dir) {
    return ReadBytes(dir / "QMKData" / "QMK.ini");
}

TEST(ProjectSettings, ResolveKeepsRelativePathsUnderTheProgramFolder) {
    const QString home = QStringLiteral("/opt/quillmark");
    EXPECT_EQ(TProjectSettings::Resolve(home, "QMKData\\DefaultKeys.wrk"),
              "/opt/quillmark/QMKData/DefaultKeys.wrk");
    EXPECT_EQ(TProjectSettings::Resolve(home + "/", "QMKData/TV_rus.wrk"),
              "/opt/quillmark/QMKData/TV_rus.wrk");
    EXPECT_EQ(TProjectSettings::Resolve(home, ".\\QMKData\\\\QMK.ini"),
              "/opt/quillmark/QMKData/QMK.ini");
    // Rooted in Windows form or with a drive letter: relative here, never the file system root.
    EXPECT_EQ(TProjectSettings::Resolve(home, "\\QMKData\\QMK.ini"),
              "/opt/quillmark/QMKData/QMK.ini");
    EXPECT_EQ(TProjectSettings::Resolve(home, "D:\\keys.wrk"), "/opt/quillmark/D:/keys.wrk");
    EXPECT_EQ(TProjectSettings::Resolve(home, "/srv/keys.wrk"), "/srv/keys.wrk");
    const TProjectSettings settings(TDataFolder(home, home));
    EXPECT_EQ(settings.IniPath(), "/opt/quillmark/QMKData/QMK.ini");
    EXPECT_EQ(settings.Resolve("Icons"), "/opt/quillmark/Icons");
}

// A path of the settings that leads outside the data and program folders
// is not used; the default name stands in, and the file keeps the value.
TEST(ProjectSettings, PathsLeadingOutsideTheFoldersAreNotUsed) {
    TempDir dir;
    const TempDir elsewhere;
    const std::string outside = elsewhere.path().string();
    std::filesystem::create_directories(dir / "QMKData");
    std::filesystem::create_symlink(outside, dir / "QMKData" / "link");
    WriteIni(dir, "[Strings]\r\nDefaultConfigName=..\\..\\..\\victim\\keep.txt\r\n"
                  "TVName=" +
                      outside + "/tree.wrk\r\nLangFileName=QMKData\\link\\x.qlg\r\n");
    TProjectSettings s(TDataFolder(Folder(dir), Folder(dir)));
    s.LoadStrings();
    EXPECT_EQ(s.DefaultConfigFile(), "QMKData\\DefaultKeys.wrk");
    EXPECT_EQ(s.TreeFile(), "QMKData\\TV_foreign.wrk");
    EXPECT_EQ(s.LangFile(), LangFileForLocale(QLocale::system()));
    ASSERT_TRUE(s.SaveProjectSettings());
    const std::string saved = IniText(dir);
    EXPECT_NE(saved.find("DefaultConfigName=..\\..\\..\\victim\\keep.txt\r\n"), std::string::npos);
    EXPECT_NE(saved.find("TVName=" + outside + "/tree.wrk\r\n"), std::string::npos);

    // Inside, however it is spelled, a path stays usable; so does the
    // program folder of an installed copy.
    s.DefaultConfigName = "QMKData\\..\\QMKData\\Mine.wrk";
    EXPECT_EQ(s.DefaultConfigFile(), s.DefaultConfigName);
    s.TVName = QString::fromStdString((dir / "QMKData" / "Tree.wrk").string());
    EXPECT_EQ(s.TreeFile(), s.TVName);
    const TProjectSettings installed(TDataFolder(Folder(dir), QString::fromStdString(outside)));
    EXPECT_EQ(installed.Folders().Holds(QString::fromStdString(outside + "/QMKData/x")), true);
}

TEST(ProjectSettings, DefaultsWithoutAFile) {
    TempDir dir;
    TProjectSettings s(Folder(dir));
    s.LoadStrings();
    s.LoadInterface();
    s.LoadInitialisation();
    EXPECT_EQ(s.Language, "foreign");
    EXPECT_EQ(s.DefaultConfigName, "QMKData\\DefaultKeys.wrk");
    EXPECT_EQ(s.TVName, "QMKData\\TV_foreign.wrk");
    EXPECT_EQ(s.LangFileName, LangFileForLocale(QLocale::system()));
    EXPECT_EQ(s.War3Folder, "");
    EXPECT_TRUE(s.cbTogEdit && s.cbAutoChangeTip && s.mnuAutoAdd && s.mnuAlphasShow);
    EXPECT_EQ(s.cpTip, 16777215);
    EXPECT_EQ(s.cpHK, 52479);
    EXPECT_EQ(s.cpBrackets, 16777215);
    EXPECT_FALSE(s.DefCfgLoaded || s.TVLoaded || s.TVClearBeforeLoad || s.IconsLoaded);
}

TEST(ProjectSettings, TreeFileFollowsLanguageExactly) {
    struct Case {
        std::string ini;
        const char* tree;
    };
    const Case cases[] = {
        {"", "QMKData\\TV_foreign.wrk"},
        {"[Initialisation]\nLanguage=foreign\n", "QMKData\\TV_foreign.wrk"},
        {"[initialisation]\nlanguage = foreign \n", "QMKData\\TV_foreign.wrk"},
        {"[Initialisation]\nLanguage=rus\n", "QMKData\\TV_rus.wrk"},
        {"[Initialisation]\nLanguage=Foreign\n", "QMKData\\TV_rus.wrk"},
        {"[Initialisation]\nLanguage=\n", "QMKData\\TV_rus.wrk"},
        {"[Initialisation]\nLanguage=foreign\n[Strings]\nTVName=my\\tree.wrk\n", "my\\tree.wrk"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        WriteIni(dir, c.ini);
        TProjectSettings s(Folder(dir));
        s.LoadStrings();
        EXPECT_EQ(s.TVName, c.tree) << c.ini;
    }
}

TEST(ProjectSettings, ReadsWhatTheFileHolds) {
    TempDir dir;
    WriteIni(dir, "[Strings]\r\nDefaultConfigName=QMKData\\Mine.wrk\r\nLangFileName=QMKData\\"
                  "English.qlg\r\nWar3Folder=C:\\Games\\Warcraft III\r\n"
                  "[Interface]\r\ncbTogEdit=0\r\ncbAutoChangeTip=5\r\nmnuAutoAdd=no\r\n"
                  "mnuAlphasShow=0x0\r\ncpTip=0xFF\r\ncpHK=red\r\ncpBrackets=-1\r\n"
                  "[Initialisation]\r\nDefCfgLoaded=1\r\nTVLoaded=0\r\nTVClearBeforeLoad=2\r\n"
                  "IconsLoaded=yes\r\n");
    TProjectSettings s(Folder(dir));
    s.LoadStrings();
    s.LoadInterface();
    s.LoadInitialisation();
    EXPECT_EQ(s.DefaultConfigName, "QMKData\\Mine.wrk");
    EXPECT_EQ(s.LangFileName, "QMKData\\English.qlg");
    EXPECT_EQ(s.War3Folder, "C:\\Games\\Warcraft III");
    EXPECT_FALSE(s.cbTogEdit);
    EXPECT_TRUE(s.cbAutoChangeTip);
    EXPECT_TRUE(s.mnuAutoAdd); // malformed: the default
    EXPECT_FALSE(s.mnuAlphasShow);
    EXPECT_EQ(s.cpTip, 255);
    EXPECT_EQ(s.cpHK, 52479); // malformed: the default
    EXPECT_EQ(s.cpBrackets, -1);
    EXPECT_TRUE(s.DefCfgLoaded);
    EXPECT_FALSE(s.TVLoaded);
    EXPECT_TRUE(s.TVClearBeforeLoad);
    EXPECT_FALSE(s.IconsLoaded); // malformed: the default
}

TEST(ProjectSettings, SaveWritesInterfaceThenStringsAndKeepsTheRest) {
    TempDir dir;
    WriteIni(dir, "; mine\r\n[Initialisation]\r\nDefCfgLoaded=1\r\nLanguage=rus\r\n"
                  "[Custom]\r\nWho=me\r\n");
    TProjectSettings s(Folder(dir));
    s.LoadStrings();
    s.War3Folder = "/home/p/.wine/drive_c/Warcraft III";
    s.cbTogEdit = false;
    s.cpHK = 255;
    s.LangFileName = "QMKData\\Russian.qlg";
    ASSERT_TRUE(s.SaveProjectSettings());
    EXPECT_EQ(IniText(dir),
              "; mine\r\n[Initialisation]\r\nDefCfgLoaded=1\r\nLanguage=rus\r\n"
              "[Custom]\r\nWho=me\r\n\r\n"
              "[Interface]\r\ncbTogEdit=0\r\ncbAutoChangeTip=1\r\nmnuAutoAdd=1\r\n"
              "mnuAlphasShow=1\r\ncpTip=16777215\r\ncpHK=255\r\ncpBrackets=16777215\r\n"
              "\r\n[Strings]\r\nDefaultConfigName=QMKData\\DefaultKeys.wrk\r\n"
              "TVName=QMKData\\TV_rus.wrk\r\n"
              "War3Folder=/home/p/.wine/drive_c/Warcraft III\r\n"
              "LangFileName=QMKData\\Russian.qlg\r\n");
    TProjectSettings again(Folder(dir));
    again.LoadStrings();
    again.LoadInterface();
    EXPECT_EQ(again.War3Folder, s.War3Folder);
    EXPECT_FALSE(again.cbTogEdit);
    EXPECT_EQ(again.cpHK, 255);
}

TEST(ProjectSettings, ImportMarksAreWrittenOneByOne) {
    TempDir dir;
    WriteIni(dir, "[Initialisation]\nTVClearBeforeLoad=1\n");
    TProjectSettings s(Folder(dir));
    s.Language = "rus";
    ASSERT_TRUE(s.WriteDefCfgLoaded());
    s.LoadInitialisation();
    EXPECT_TRUE(s.DefCfgLoaded);
    EXPECT_FALSE(s.TVLoaded);
    s.TVName = TProjectSettings::TreeFileFor(s.Language);
    ASSERT_TRUE(s.WriteTVName());
    ASSERT_TRUE(s.WriteTVLoaded());
    ASSERT_TRUE(s.WriteIconsLoaded());
    EXPECT_EQ(IniText(dir), "[Initialisation]\nTVClearBeforeLoad=1\nDefCfgLoaded=1\n"
                            "Language=rus\nTVLoaded=1\nIconsLoaded=1\n\n"
                            "[Strings]\nTVName=QMKData\\TV_rus.wrk\n");
    TProjectSettings next(Folder(dir));
    next.LoadStrings();
    next.LoadInitialisation();
    EXPECT_EQ(next.Language, "rus");
    EXPECT_TRUE(next.DefCfgLoaded && next.TVLoaded && next.IconsLoaded && next.TVClearBeforeLoad);
}

TEST(ProjectSettings, UnwritableFileReportsFalse) {
    TempDir dir;
    WriteBytes(dir / "QMKData", "a regular file where the folder should be");
    TProjectSettings s(TDataFolder(Folder(dir), Folder(dir)));
    s.LoadStrings();
    EXPECT_FALSE(s.SaveProjectSettings());
    EXPECT_FALSE(s.WriteDefCfgLoaded());
    EXPECT_FALSE(s.WriteTVName());
    EXPECT_FALSE(s.WriteTVLoaded());
    EXPECT_FALSE(s.WriteIconsLoaded());
    EXPECT_EQ(s.IniPath(), Folder(dir) + "/QMKData/QMK.ini");
    EXPECT_TRUE(s.WriteFailureText().startsWith(Msg(msgCannotWriteTo) + Folder(dir) +
                                                "/QMKData/QMK.ini\r\n"));
}

TEST(ProjectSettings, CyrillicPathsSurviveTheRoundTrip) {
    TempDir dir;
    WriteIni(dir, "");
    TProjectSettings s(Folder(dir));
    s.War3Folder = QString::fromUtf8("C:\\Игры\\Warcraft III");
    ASSERT_TRUE(s.SaveProjectSettings());
    TProjectSettings again(Folder(dir));
    again.LoadInterface();
    EXPECT_EQ(again.War3Folder, s.War3Folder);
}

TEST(ProjectSettings, GameFolderFromTheSettingsAsksNothing) {
    test::TScriptedPlatform platform;
    platform.registryFolder = "/from/registry";
    TProjectSettings s("/opt/q");
    s.War3Folder = "/from/settings";
    EXPECT_TRUE(s.LocateGameFolder(platform));
    EXPECT_EQ(s.War3Folder, "/from/settings");
    EXPECT_EQ(platform.registryCalls, 0);
}

TEST(ProjectSettings, GameFolderFromTheRegistry) {
    TempDir dir;
    WriteIni(dir, "");
    test::TScriptedPlatform platform;
    platform.registryFolder = "/home/p/.wine/drive_c/Warcraft III";
    TProjectSettings s(Folder(dir));
    s.LoadInterface();
    EXPECT_TRUE(s.LocateGameFolder(platform));
    EXPECT_EQ(s.War3Folder, platform.registryFolder);
    // Kept in memory: the file learns it with the next save only.
    EXPECT_EQ(IniText(dir), "");
    ASSERT_TRUE(s.SaveProjectSettings());
    EXPECT_NE(IniText(dir).find("War3Folder=/home/p/.wine/drive_c/Warcraft III\r\n"),
              std::string::npos);
}

TEST(ProjectSettings, DemoGameWhenNoGameIsInstalled) {
    TempDir demo;
    test::WriteBytes(demo / "war3.mpq", "archive");
    qputenv("QUILLMARK_DEMO_GAME", QByteArray::fromStdString(demo.path().string()));
    const QString demoFolder = QString::fromStdString(demo.path().string());
    {
        // A stand-in for this run: never the game folder the settings keep.
        TempDir dir;
        WriteIni(dir, "");
        test::TScriptedPlatform platform;
        TProjectSettings s(Folder(dir));
        EXPECT_TRUE(s.LocateGameFolder(platform));
        EXPECT_EQ(s.GameFolder(), demoFolder);
        EXPECT_TRUE(platform.asked.empty());
        ASSERT_TRUE(s.SaveProjectSettings());
        EXPECT_NE(IniText(dir).find("War3Folder=\r\n"), std::string::npos);
    }
    {
        test::TScriptedPlatform platform; // an installed game comes first
        platform.registryFolder = "/games/W3";
        TProjectSettings s("/opt/q");
        s.War3Folder = demoFolder; // as earlier versions stored it
        EXPECT_TRUE(s.LocateGameFolder(platform));
        EXPECT_EQ(s.War3Folder, "/games/W3");
        EXPECT_EQ(s.GameFolder(), "/games/W3");
    }
    std::filesystem::remove(demo / "war3.mpq");
    {
        test::TScriptedPlatform platform; // a folder without the archive is no game
        platform.Answer(TMsgAnswer::No);
        TProjectSettings s("/opt/q");
        EXPECT_FALSE(s.LocateGameFolder(platform));
        EXPECT_EQ(platform.asked.size(), 1u);
    }
    qunsetenv("QUILLMARK_DEMO_GAME");
}

TEST(ProjectSettings, GameFolderChosenByTheUser) {
    ResetMessages();
    test::TScriptedPlatform platform;
    platform.Answer(TMsgAnswer::Yes).PickFile("/games/W3/WAR3.MPQ");
    TProjectSettings s("/opt/q");
    EXPECT_TRUE(s.LocateGameFolder(platform));
    EXPECT_EQ(s.War3Folder, "/games/W3");
    ASSERT_EQ(platform.asked.size(), 1u);
    EXPECT_EQ(platform.asked[0].caption, Msg(msgError));
    EXPECT_EQ(platform.asked[0].text, Msg(msgNoGameFolder));
    EXPECT_EQ(platform.asked[0].icon, TMsgIcon::Question);
    EXPECT_EQ(platform.asked[0].buttons, TMsgButtons::YesNo);
    EXPECT_EQ(platform.asked[0].owner, nullptr);
    ASSERT_EQ(platform.fileDialogs.size(), 1u);
    EXPECT_EQ(platform.fileDialogs[0].filter, "war3.mpq, .build.info|war3.mpq;.build.info");
    EXPECT_FALSE(platform.fileDialogs[0].save);

    // The newer game is chosen by the build info at its root.
    test::TScriptedPlatform newer;
    newer.Answer(TMsgAnswer::Yes).PickFile("/games/Warcraft III/.BUILD.INFO");
    TProjectSettings n("/opt/q");
    EXPECT_TRUE(n.LocateGameFolder(newer));
    EXPECT_EQ(n.War3Folder, "/games/Warcraft III");
}

TEST(ProjectSettings, GameFolderRefused) {
    {
        test::TScriptedPlatform platform;
        platform.Answer(TMsgAnswer::No);
        TProjectSettings s("/opt/q");
        EXPECT_FALSE(s.LocateGameFolder(platform));
        EXPECT_TRUE(platform.fileDialogs.empty());
    }
    for (const char* picked : {"", "/games/W3/war3x.mpq", "/games/W3/war3.mpq.txt"}) {
        test::TScriptedPlatform platform;
        platform.Answer(TMsgAnswer::Yes).PickFile(picked);
        TProjectSettings s("/opt/q");
        EXPECT_FALSE(s.LocateGameFolder(platform)) << picked;
        EXPECT_TRUE(s.War3Folder.isEmpty());
    }
}

} // namespace
} // namespace qm
