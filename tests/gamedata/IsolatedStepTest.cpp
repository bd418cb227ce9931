// Steps run apart from the test process: what they send arrives, and their
// death is reported while this process goes on.

#include "gamedata/IsolatedStep.h"
#include "GameFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>

namespace qm {
namespace {

std::vector<TStepMessage> Heard(const TIsolatedStep& step, TStepOutcome& outcome) {
    std::vector<TStepMessage> heard;
    outcome = RunIsolated(step, [&](const TStepMessage& m) { heard.push_back(m); });
    return heard;
}

// A reason or a file name crosses as numbers, cut to what a message holds.
TEST(IsolatedStep, ShortTextsTravelAfterAMessagesHead) {
    TStepOutcome outcome;
    const std::string longText(200, 'x');
    const auto heard = Heard(
        [&](TStepReport& report) {
            report.Send(WithText({7, 1}, "No space left on device"));
            report.Send(WithText({7}, longText));
            report.Send(WithText({7}, ""));
        },
        outcome);
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0][1], 1);
    EXPECT_EQ(TextAfter(heard[0], 2), "No space left on device");
    EXPECT_EQ(TextAfter(heard[1], 1), longText.substr(0, (kMaxStepMessage - 2) * 8));
    EXPECT_EQ(TextAfter(heard[2], 1), "");
    EXPECT_EQ(TextAfter({7, 99, 0}, 1), ""); // a length beyond the message
}

TEST(IsolatedStep, MessagesArriveInOrderAndTheStepCompletes) {
    TStepOutcome outcome;
    const auto heard = Heard(
        [](TStepReport& report) {
            report.Send({});
            for (std::int64_t i = 0; i < 1000; ++i) // more than a pipe holds at once
                report.Send({i, -i, INT64_MAX});
        },
        outcome);
    EXPECT_TRUE(outcome.Completed);
    EXPECT_EQ(outcome.Failure, "");
    ASSERT_EQ(heard.size(), 1001u);
    EXPECT_TRUE(heard[0].empty());
    EXPECT_EQ(heard[1000], (TStepMessage{999, -999, INT64_MAX}));
}

TEST(IsolatedStep, ADeathEndsTheStepAloneAndKeepsWhatWasSent) {
    TStepOutcome outcome;
    auto heard = Heard(
        [](TStepReport& report) {
            report.Send({1});
            std::raise(SIGKILL);
        },
        outcome);
    EXPECT_FALSE(outcome.Completed);
    EXPECT_EQ(outcome.Failure, "Killed");
    EXPECT_EQ(heard, std::vector<TStepMessage>{{1}});

    heard = Heard([](TStepReport&) { throw std::runtime_error("no"); }, outcome);
    EXPECT_FALSE(outcome.Completed);
    EXPECT_EQ(outcome.Failure, "ended with status 1");

    // A step that changes memory changes only its own copy.
    int touched = 0;
    EXPECT_TRUE(RunIsolated([&](TStepReport&) { touched = 1; }).Completed);
    EXPECT_EQ(touched, 0);
}

TEST(IsolatedStep, ACrashInStormLibKillsOnlyTheReadingChild) {
    test::TempDir dir;
    test::MakeCrashingArchive(dir / "war3.mpq", "Units\\CommandStrings.txt");
    EXPECT_TRUE(test::ReadingKills(dir / "war3.mpq", "Units\\CommandStrings.txt"))
        << "Debian's StormLib 9.22 dies on this archive; a newer one may not";
}

} // namespace
} // namespace qm
