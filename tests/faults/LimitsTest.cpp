// Saves that cannot finish: a file-size limit, a full disk, a target or
// folder the user may not write. Each fails, keeps the old file and leaves
// no temporary file; the command-line companion says so with exit 3.

#include "FaultFixture.h"
#include "app/TCli.h"
#include "config/uIniFile.h"
#include "gamedata/TreeRewrite.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace qm::test {
namespace {

constexpr rlim_t kSizeLimit = 1u << 20;
const std::string kOld = "[Old]\r\nHotKey=O\r\n\r\n";

// The three savers the program has, each replacing its target's `old`
// bytes with far more than a megabyte.
struct TSaver {
    std::string what;
    std::string old;
    std::function<bool(const fs::path& target, std::string* why)> save;
    std::string reason; // what it says when the system refuses; the tree says nothing
};

std::vector<TSaver> Savers(const fs::path& scratch, const std::string& reason) {
    static const auto doc = LargeDocument(8000, 'N');
    EXPECT_TRUE(doc->SaveToFile(scratch / "defaults.wrk", true));
    std::string tree;
    for (int i = 0; i < 8000; ++i)
        tree += "\t\tUnit|A" + std::to_string(100000 + i) + "|?\r\n";
    const fs::path defaults = scratch / "defaults.wrk";
    return {
        {"document", "[Old]\r\nHotKey=O\r\n\r\n",
         [](const fs::path& t, std::string* why) { return doc->SaveToFile(t, true, why); }, reason},
        {"tree", tree,
         [defaults](const fs::path& t, std::string*) { return FillTVFromDefaults(t, defaults); },
         ""},
        {"settings", "[Interface]\r\ncpTip=0\r\n",
         [](const fs::path& t, std::string* why) {
             TIniFile ini(t);
             for (int i = 0; i < 1000; ++i)
                 ini.WriteString("Custom", "K" + std::to_string(i), std::string(1500, 'v'));
             return ini.Save(why);
         },
         reason},
    };
}

// Runs the save in a child that first calls `fault`, which returns false
// when it cannot set the fault up; expects failure with the saver's reason,
// the old content kept and no temporary file. The child looks itself: a
// disk it mounted is its own.
void ExpectRefused(const fs::path& target, const TSaver& saver,
                   const std::function<bool()>& fault) {
    const int result = RunInChild([&] {
        if (!fault())
            return kChildCannotSetUp;
        std::string why;
        const bool saved = saver.save(target, &why);
        const bool kept = ReadBytes(target) == saver.old;
        const auto left = LeftOver(target.parent_path(), target.filename());
        if (!saved && (saver.reason.empty() || why == saver.reason) && kept && left.empty())
            return kChildOk;
        std::fprintf(stderr, "%s: saved %d, reason \"%s\", old kept %d, %zu files left\n",
                     saver.what.c_str(), saved, why.c_str(), kept, left.size());
        return kChildFailed;
    });
    if (result == kChildCannotSetUp)
        GTEST_SKIP() << "the fault cannot be set up here";
    EXPECT_EQ(result, kChildOk) << saver.what;
}

bool LimitFileSize() {
    std::signal(SIGXFSZ, SIG_IGN); // as both programs do
    const rlimit limit{kSizeLimit, kSizeLimit};
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

TEST(SaveFaults, AFileSizeLimitFailsTheSaveHalfWay) {
    TempDir dir;
    for (const auto& saver : Savers(dir.path(), "File too large")) {
        fs::create_directories(dir / saver.what);
        WriteBytes(dir / saver.what / "target", saver.old);
        ExpectRefused(dir / saver.what / "target", saver, LimitFileSize);
    }
}

TEST(SaveFaults, TheCompanionExitsWithCannotWriteUnderAFileSizeLimit) {
    TempDir dir;
    ASSERT_TRUE(LargeDocument(8000, 'N')->SaveToFile(dir / "in.txt", true));
    fs::create_directories(dir / "out");
    WriteBytes(dir / "out" / "CustomKeys.txt", kOld);
    const std::string in = (dir / "in.txt").string(),
                      out = (dir / "out" / "CustomKeys.txt").string();
    // Without SIGXFSZ ignored, the signal would end the program half way.
    const int code = RunInChild([&] {
        const rlimit limit{kSizeLimit, kSizeLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
        execl(QUILLMARK_CLI, QUILLMARK_CLI, "normalize", in.c_str(), out.c_str(), "--with-data",
              static_cast<char*>(nullptr));
        return kChildCannotSetUp;
    });
    EXPECT_EQ(code, kExitCannotWrite);
    EXPECT_EQ(ReadBytes(out), kOld);
    EXPECT_EQ(LeftOver(dir / "out", "CustomKeys.txt"), std::vector<std::string>{});
}

// A small tmpfs of its own, mounted in a mount namespace of the child's.
bool MountSmallDisk(const fs::path& folder) {
    if (unshare(geteuid() == 0 ? CLONE_NEWNS : CLONE_NEWNS | CLONE_NEWUSER) != 0)
        return false;
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=512k") == 0;
}

TEST(SaveFaults, AFullDiskFailsTheSave) {
    TempDir dir;
    for (const auto& saver : Savers(dir.path(), "No space left on device")) {
        const fs::path disk = dir / saver.what;
        fs::create_directories(disk);
        ExpectRefused(disk / "target", saver, [&] {
            if (!MountSmallDisk(disk))
                return false;
            WriteBytes(disk / "target", saver.old);
            return true;
        });
    }
}

TEST(SaveFaults, AReadOnlyTargetOrFolderIsNotReplaced) {
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::all); // nobody may enter and write here
    const fs::perms readOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const fs::perms lockedFolder =
        readOnly | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    const auto savers = Savers(dir.path(), "Permission denied");
    for (const auto& saver : {savers[0], savers[2]}) {
        const fs::path free = dir / (saver.what + "-ro-file");
        fs::create_directories(free);
        fs::permissions(free, fs::perms::all);
        WriteBytes(free / "target", saver.old);
        fs::permissions(free / "target", readOnly);
        ExpectRefused(free / "target", saver, BecomeNobody);

        const fs::path locked = dir / (saver.what + "-ro-folder");
        fs::create_directories(locked);
        WriteBytes(locked / "target", saver.old);
        fs::permissions(locked / "target", fs::perms::all);
        fs::permissions(locked, lockedFolder);
        ExpectRefused(locked / "target", saver, BecomeNobody);
    }
    if (geteuid() != 0)
        GTEST_SKIP() << "a file of another user needs root to be set up";
    // A file of another user, writable by its owner alone, in a folder anyone may write.
    const fs::path shared = dir / "shared";
    fs::create_directories(shared);
    fs::permissions(shared, fs::perms::all);
    WriteBytes(shared / "target", savers[0].old);
    fs::permissions(shared / "target", readOnly | fs::perms::owner_write);
    ExpectRefused(shared / "target", savers[0], BecomeNobody);
    const std::string in = (dir / "defaults.wrk").string(), out = (shared / "target").string();
    const int code = RunInChild([&] {
        if (!BecomeNobody())
            return kChildCannotSetUp;
        execl(QUILLMARK_CLI, QUILLMARK_CLI, "normalize", in.c_str(), out.c_str(),
              static_cast<char*>(nullptr));
        return kChildCannotSetUp;
    });
    EXPECT_EQ(code, kExitCannotWrite);
    EXPECT_EQ(ReadBytes(shared / "target"), savers[0].old);
}

} // namespace
} // namespace qm::test
