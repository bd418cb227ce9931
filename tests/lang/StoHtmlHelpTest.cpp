#include "lang/StoHtmlHelp.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(StoHtmlHelp, ChmFilesAndTopicPages) {
    EXPECT_TRUE(IsChmFile("QMKHelp.chm"));
    EXPECT_TRUE(IsChmFile("C:\\Help\\A.CHM"));
    for (const char* name : {"", "chm", "help.chm.txt", "help.chmx", "help.chm\\page"})
        EXPECT_FALSE(IsChmFile(name)) << name;

    EXPECT_EQ(TopicPage("Введение"), "Введение.htm");
    EXPECT_EQ(TopicPage("keys.HTML"), "keys.HTML");
    EXPECT_EQ(TopicPage("keys.htm"), "keys.htm");
    EXPECT_EQ(TopicPage("keys.txt"), "keys.txt.htm");
    EXPECT_EQ(TopicPage("v1.0/keys"), "v1.0/keys.htm");
}

TEST(StoHtmlHelp, RequestsGoToTheChmInTheProgramFolder) {
    TStoHtmlHelpViewer viewer("/opt/qm");
    EXPECT_EQ(viewer.HelpFile(), "/opt/qm/QMKhelp.chm");
    viewer.SetWindowHelpFile(TStoHtmlHelpViewer::kMainWindowHelpFile);
    const QString chm = "/opt/qm/QMKHelp.chm";
    EXPECT_EQ(viewer.HelpFile(), chm);

    EXPECT_EQ(viewer.DisplayTopic("Введение"),
              (THtmlHelpCall{THHCommand::DisplayTopic, chm + "::/Введение.htm", {}, 0}));
    EXPECT_EQ(viewer.ShowTableOfContents(), (THtmlHelpCall{THHCommand::DisplayToc, chm, {}, 0}));
    const QStringList strings = viewer.GetHelpStrings("Save as");
    EXPECT_EQ(strings, QStringList{"StoHtmlHelp: Save as"});
    EXPECT_EQ(viewer.ShowHelp(strings[0]),
              (THtmlHelpCall{THHCommand::DisplayIndex, chm, "Save as", 0}));
    EXPECT_EQ(viewer.DisplayHelpByContext(7, QString()),
              (THtmlHelpCall{THHCommand::HelpContext, chm, {}, 7}));
    EXPECT_EQ(viewer.DisplayHelpByContext(7, "Other.chm")->File, "/opt/qm/Other.chm");
    EXPECT_EQ(viewer.UnderstandsKeyword("x"), 1);
    EXPECT_TRUE(viewer.UnderstandsContext(7, "a.chm"));
    EXPECT_FALSE(viewer.UnderstandsContext(7, "a.hlp"));

    // The help manager names a file HTML Help cannot show: nothing is called.
    viewer.SetManagerHelpFile("C:\\Help\\Old.hlp");
    EXPECT_EQ(viewer.HelpFile(), "C:\\Help\\Old.hlp");
    EXPECT_EQ(viewer.UnderstandsKeyword("x"), 0);
    EXPECT_FALSE(viewer.UnderstandsTopic("x"));
    EXPECT_FALSE(viewer.DisplayTopic("x"));
    EXPECT_FALSE(viewer.ShowHelp("StoHtmlHelp: x"));
    EXPECT_FALSE(viewer.ShowTableOfContents());
    EXPECT_EQ(viewer.ShutDown(), (THtmlHelpCall{THHCommand::CloseAll, {}, {}, 0}));
    EXPECT_EQ(viewer.HelpFile(), chm);
}

TEST(StoHtmlHelp, SelectorPicksOurStrings) {
    const TStoHtmlHelpViewer viewer("/opt/qm");
    EXPECT_EQ(viewer.SelectKeyword({"WinHelp: Save", "StoHtmlHelp: Save"}), 1);
    EXPECT_EQ(viewer.SelectKeyword({"StoHtmlHelp", "StoHtmlHelp: Save"}), 0);
    EXPECT_EQ(viewer.SelectKeyword({"WinHelp: Save", "Other"}), 0);
    EXPECT_EQ(viewer.TableOfContents({"WinHelp", "StoHtmlHelp"}), 1);
    EXPECT_EQ(viewer.TableOfContents({"WinHelp"}), -1);
}

} // namespace
} // namespace qm
