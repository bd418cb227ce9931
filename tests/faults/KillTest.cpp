// A save killed at random moments: the target is always whole, the old
// bytes or the new ones, never a mix and never empty.

#include "FaultFixture.h"
#include "config/uIniFile.h"
#include "gamedata/TreeRewrite.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <iostream>
#include <random>
#include <thread>

#include <sys/wait.h>

namespace qm::test {
namespace {

using TClock = std::chrono::steady_clock;

constexpr int kKills = 100;
constexpr size_t kLargeDocument = 5u << 20;
// Tree and settings files are far smaller in life; a megabyte keeps the
// sanitizer run of these tests short.
constexpr size_t kLargeTree = 1u << 20;

struct TKillCounts {
    int oldBytes = 0;
    int newBytes = 0;
    int other = 0;
};

class KillWhileSaving : public ::testing::Test {
  protected:
    // Kills `save` over a target holding `oldBytes` at kKills random
    // moments within the time one whole save takes, and counts what the
    // target held afterwards. The new bytes are those of an unkilled save.
    TKillCounts Run(const fs::path& target, const std::string& oldBytes, const TSave& save,
                    size_t atLeast) {
        WriteBytes(target, oldBytes);
        const auto start = TClock::now();
        EXPECT_EQ(RunInChild([&] { return save() ? kChildOk : kChildFailed; }), kChildOk);
        const auto whole = TClock::now() - start;
        const std::string newBytes = ReadBytes(target);
        EXPECT_NE(newBytes, oldBytes);
        EXPECT_GE(newBytes.size(), atLeast);

        std::mt19937_64 rng(std::random_device{}());
        std::uniform_int_distribution<long long> moment(
            0, std::chrono::duration_cast<std::chrono::microseconds>(whole).count());
        TKillCounts counts;
        for (int i = 0; i < kKills; ++i) {
            for (const auto& name : LeftOver(target.parent_path(), target.filename()))
                fs::remove_all(target.parent_path() / name); // a killed save cannot clean up
            WriteBytes(target, oldBytes);
            const pid_t child = StartChild([&] { return save() ? kChildOk : kChildFailed; });
            std::this_thread::sleep_for(std::chrono::microseconds(moment(rng)));
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            const std::string now = ReadBytes(target);
            (now == oldBytes   ? counts.oldBytes
             : now == newBytes ? counts.newBytes
                               : counts.other)++;
        }
        std::cout << "killed " << kKills << " saves of " << newBytes.size() << " bytes: old "
                  << counts.oldBytes << ", new " << counts.newBytes << ", other " << counts.other
                  << '\n';
        RecordProperty("old", counts.oldBytes);
        RecordProperty("new", counts.newBytes);
        RecordProperty("other", counts.other);
        return counts;
    }

    TempDir dir;
};

TEST_F(KillWhileSaving, ADocumentIsOldOrNew) {
    fs::create_directories(dir / "docs");
    const auto doc = LargeDocument(20000, 'N');
    const auto counts = Run(
        dir / "docs" / "CustomKeys.txt", LargeDocument(20000, 'O')->Serialize(false),
        [&] { return doc->SaveToFile(dir / "docs" / "CustomKeys.txt", false); }, kLargeDocument);
    EXPECT_EQ(counts.other, 0);
}

TEST_F(KillWhileSaving, ARewrittenTreeIsOldOrNew) {
    fs::create_directories(dir / "tree");
    const auto defaults = LargeDocument(2000, 'D');
    for (int i = 0; i < defaults->Count(); ++i)
        defaults->Records(i).Name = "Footman of the new tree, number " + std::to_string(i);
    ASSERT_TRUE(defaults->SaveToFile(dir / "DefaultKeys.wrk", true));
    std::string tree = "Human|?|?\r\n";
    for (int i = 0; tree.size() < kLargeTree; ++i)
        tree +=
            "\t\tSome unit of the old tree file|A" + std::to_string(100000 + i % 2000) + "|?\r\n";
    const auto counts = Run(
        dir / "tree" / "TV_rus.wrk", tree,
        [&] { return FillTVFromDefaults(dir / "tree" / "TV_rus.wrk", dir / "DefaultKeys.wrk"); },
        kLargeTree);
    EXPECT_EQ(counts.other, 0);
}

TEST_F(KillWhileSaving, ASettingsFileIsOldOrNew) {
    fs::create_directories(dir / "QMKData");
    std::string ini = "[Interface]\r\ncpTip=16777215\r\n[Custom]\r\n";
    for (int i = 0; ini.size() < kLargeTree; ++i)
        ini += "Key" + std::to_string(i) + "=some value the user keeps in the settings file\r\n";
    const fs::path path = dir / "QMKData" / "QMK.ini";
    const auto counts = Run(
        path, ini,
        [&] {
            TIniFile settings(path);
            settings.WriteInteger("Interface", "cpTip", 52479);
            return settings.Save();
        },
        kLargeTree);
    EXPECT_EQ(counts.other, 0);
}

} // namespace
} // namespace qm::test
