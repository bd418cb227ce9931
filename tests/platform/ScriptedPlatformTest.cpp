#include "support/TScriptedPlatform.h"

#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace qm::test {
namespace {

using testing::HasSubstr;

// The failures `body` reports, kept from the running test.
template <class Body> std::vector<std::string> FailuresOf(Body body) {
    testing::TestPartResultArray results;
    {
        testing::ScopedFakeTestPartResultReporter reporter(
            testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        body();
    }
    std::vector<std::string> messages;
    for (int i = 0; i < results.size(); ++i)
        messages.emplace_back(results.GetTestPartResult(i).message());
    return messages;
}

TEST(ScriptedPlatform, AnswersInOrderAndRecordsQuestions) {
    TScriptedPlatform platform;
    platform.Answer(TMsgAnswer::Yes).Answer(TMsgAnswer::Cancel);
    TPlatform& p = platform;
    EXPECT_EQ(p.MessageBox(nullptr, "Q", "first?", TMsgIcon::Question, TMsgButtons::YesNo),
              TMsgAnswer::Yes);
    EXPECT_EQ(p.MessageBox(nullptr, "A", "second?", TMsgIcon::Warning, TMsgButtons::YesNoCancel),
              TMsgAnswer::Cancel);
    ASSERT_EQ(platform.asked.size(), 2u);
    EXPECT_EQ(platform.asked[0].caption, "Q");
    EXPECT_EQ(platform.asked[0].text, "first?");
    EXPECT_EQ(platform.asked[0].icon, TMsgIcon::Question);
    EXPECT_EQ(platform.asked[0].buttons, TMsgButtons::YesNo);
    EXPECT_EQ(platform.asked[1].answer, TMsgAnswer::Cancel);
    EXPECT_TRUE(platform.AllUsed());
}

TEST(ScriptedPlatform, FileDialogsPickOrCancel) {
    TScriptedPlatform platform;
    platform.PickFile("/games/War3/WAR3.MPQ").CancelFile();
    TPlatform& p = platform;
    EXPECT_EQ(p.OpenFileName(nullptr, "/games", "war3.mpq|war3.mpq"), "/games/War3/WAR3.MPQ");
    EXPECT_EQ(p.SaveFileName(nullptr, "/home", "Text|*.txt"), "");
    ASSERT_EQ(platform.fileDialogs.size(), 2u);
    EXPECT_FALSE(platform.fileDialogs[0].save);
    EXPECT_EQ(platform.fileDialogs[0].filter, "war3.mpq|war3.mpq");
    EXPECT_TRUE(platform.fileDialogs[1].save);
    EXPECT_EQ(platform.fileDialogs[1].folder, "/home");
    EXPECT_TRUE(platform.fileDialogs[1].picked.isEmpty());
}

TEST(ScriptedPlatform, ColourDialogsPickOrCancel) {
    TScriptedPlatform platform;
    platform.PickColor(QColor(255, 204, 0)).PickColor(std::nullopt);
    TPlatform& p = platform;
    EXPECT_EQ(p.ChooseColor(nullptr, Qt::black), QColor(255, 204, 0));
    EXPECT_EQ(p.ChooseColor(nullptr, Qt::red), std::nullopt);
    EXPECT_EQ(platform.colorDialogs, (std::vector<QColor>{Qt::black, Qt::red}));
    const auto failures = FailuresOf([] {
        TScriptedPlatform unasked;
        unasked.PickColor(Qt::blue);
    });
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_THAT(failures[0], HasSubstr("colour choice(s) never asked for"));
}

TEST(ScriptedPlatform, LockRegistryAndHelpAreSettableAndCounted) {
    TScriptedPlatform platform;
    platform.lockResult = false;
    platform.registryFolder = "/games/War3";
    TPlatform& p = platform;
    EXPECT_FALSE(p.AcquireSingleCopy());
    EXPECT_EQ(p.RegistryGameFolder(), "/games/War3");
    EXPECT_FALSE(p.HtmlHelp(nullptr, 0, "QMKHelp.chm::/index.htm"));
    EXPECT_EQ(platform.lockCalls, 1);
    EXPECT_EQ(platform.registryCalls, 1);
    EXPECT_EQ(platform.htmlHelpFiles, QStringList{"QMKHelp.chm::/index.htm"});
}

TEST(ScriptedPlatform, UnexpectedQuestionFailsAndDoesNotWait) {
    TScriptedPlatform platform;
    TMsgAnswer answer = TMsgAnswer::Yes;
    const auto failures = FailuresOf([&] {
        answer =
            platform.MessageBox(nullptr, "C", "unasked", TMsgIcon::None, TMsgButtons::YesNoCancel);
        platform.OpenFileName(nullptr, "", "Text|*.txt");
    });
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_THAT(failures[0], HasSubstr("unexpected message box"));
    EXPECT_THAT(failures[0], HasSubstr("unasked"));
    EXPECT_THAT(failures[1], HasSubstr("unexpected open dialog"));
    EXPECT_EQ(answer, TMsgAnswer::Cancel);
    EXPECT_EQ(platform.asked.size(), 1u);
}

TEST(ScriptedPlatform, AnswerTheBoxDoesNotOfferFails) {
    TScriptedPlatform platform;
    platform.Answer(TMsgAnswer::Yes);
    TMsgAnswer answer = TMsgAnswer::Yes;
    const auto failures = FailuresOf([&] {
        answer = platform.MessageBox(nullptr, "C", "ok only", TMsgIcon::Error, TMsgButtons::Ok);
    });
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_THAT(failures[0], HasSubstr("is not a button"));
    EXPECT_EQ(answer, TMsgAnswer::Ok);
}

TEST(ScriptedPlatform, UnusedAnswersFailWhenItEnds) {
    const auto failures = FailuresOf([] {
        TScriptedPlatform platform;
        platform.Answer(TMsgAnswer::No).PickFile("x");
    });
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_THAT(failures[0], HasSubstr("answer(s) never asked for"));
    EXPECT_THAT(failures[1], HasSubstr("file choice(s) never asked for"));
    const auto none = FailuresOf([] {
        TScriptedPlatform platform;
        platform.Answer(TMsgAnswer::No);
        platform.DropUnused(); // a test that means to leave it
    });
    EXPECT_TRUE(none.empty());
}

} // namespace
} // namespace qm::test
