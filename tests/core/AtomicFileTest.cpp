// Replacing files: links kept, targets that may not be replaced refused,
// scratch files always new, and the reasons that readers and writers give.

#include "config/uAtomicFile.h"
#include "config/uCfgManager.h"
#include "config/uFileError.h"
#include "config/uLineReader.h"
#include "config/uReadFile.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::ListFolder;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(AtomicFile, ALinkStaysALinkAndTheFileItNamesIsReplaced) {
    TempDir dir;
    fs::create_directories(dir / "real");
    WriteBytes(dir / "real" / "keys.txt", "old");
    fs::create_symlink("real/keys.txt", dir / "hop");
    fs::create_symlink(dir / "hop", dir / "keys.txt"); // absolute, to a relative one
    std::string why;
    ASSERT_TRUE(WriteFileAtomically(dir / "keys.txt", "new", &why)) << why;
    EXPECT_TRUE(fs::is_symlink(dir / "keys.txt"));
    EXPECT_TRUE(fs::is_symlink(dir / "hop"));
    EXPECT_EQ(ReadBytes(dir / "real" / "keys.txt"), "new");
    EXPECT_EQ(ListFolder(dir / "real"), std::vector<std::string>{"keys.txt"});
    // A dangling link makes the file it names.
    fs::create_symlink("made.txt", dir / "dangling");
    ASSERT_TRUE(WriteFileAtomically(dir / "dangling", "made"));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_EQ(ReadBytes(dir / "made.txt"), "made");
}

TEST(AtomicFile, RefusesWhatItMayNotReplace) {
    TempDir dir;
    std::string why;
    EXPECT_FALSE(WriteFileAtomically(dir.path(), "x", &why));
    EXPECT_EQ(why, "Is a directory");
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(WriteFileAtomically(dir / "fifo", "x", &why));
    EXPECT_EQ(why, "not a regular file");
    EXPECT_FALSE(WriteFileAtomically(dir / "none" / "x.txt", "x", &why));
    EXPECT_EQ(why, "No such file or directory");
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"fifo"});
    if (geteuid() == 0)
        GTEST_SKIP() << "read-only files do not stop root; the fault tests try it as nobody";
    WriteBytes(dir / "ro.txt", "old");
    fs::permissions(dir / "ro.txt", fs::perms::owner_read);
    EXPECT_FALSE(WriteFileAtomically(dir / "ro.txt", "new", &why));
    EXPECT_EQ(why, "Permission denied");
    EXPECT_EQ(ReadBytes(dir / "ro.txt"), "old");
}

TEST(AtomicFile, ScratchFilesAreNewUniqueAndNeverThroughALink) {
    TempDir dir;
    WriteBytes(dir / "outside.txt", "keep");
    fs::create_symlink(dir / "outside.txt", dir / "planted");
    EXPECT_EQ(CreateNewFile(dir / "planted"), nullptr);
    EXPECT_EQ(CreateNewFile(dir / "outside.txt"), nullptr);
    EXPECT_EQ(ReadBytes(dir / "outside.txt"), "keep");

    TAtomicFile first(dir / "t.txt"), second(dir / "t.txt");
    ASSERT_TRUE(first.Open() && second.Open());
    EXPECT_NE(first.TempPath(), second.TempPath());
    EXPECT_EQ(first.TempPath().parent_path(), dir.path());
    struct stat st {};
    ASSERT_EQ(lstat(first.TempPath().c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
}

TEST(FileReasons, ReadersSayWhyNothingWasRead) {
    TempDir dir;
    std::string why;
    EXPECT_TRUE(TCfgManager::CreateFromFile(dir / "missing", &why)->FileName().empty());
    EXPECT_EQ(why, "No such file or directory");
    EXPECT_TRUE(TCfgManager::CreateFromFile(dir.path(), &why)->FileName().empty());
    EXPECT_EQ(why, "Is a directory");
    WriteBytes(dir / "words.txt", "no sections here\n");
    EXPECT_EQ(TCfgManager::Create()->LoadFromFile(dir / "words.txt", true, &why), 0);
    EXPECT_EQ(why, "holds no section");
    // A FIFO is refused at once instead of waiting for a writer.
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    TLineReader lines;
    EXPECT_FALSE(lines.Open(dir / "fifo", &why));
    EXPECT_EQ(why, "not a regular file");
    EXPECT_EQ(ReadFileBytes(dir / "fifo", 10, &why), std::nullopt);
    EXPECT_EQ(why, "not a regular file");
    WriteBytes(dir / "big", std::string(11, 'x'));
    EXPECT_EQ(ReadFileBytes(dir / "big", 10, &why), std::nullopt);
    EXPECT_EQ(why, "too large: 11 bytes");
    EXPECT_EQ(TooLargeSize(why), 11u);
    EXPECT_EQ(TooLargeSize("too large: 11 kB"), std::nullopt);
    why.clear();
    EXPECT_TRUE(ReadFileBytes(dir / "big", 11, &why));
    EXPECT_EQ(why, "");
}

TEST(FileReasons, WritersSayWhyNothingWasWritten) {
    TempDir dir;
    std::string why;
    auto doc = TCfgManager::Create();
    EXPECT_FALSE(doc->SaveToFile(dir / "a.txt", false, &why));
    EXPECT_EQ(why, "nothing to write");
    doc->AddRecord("A").Hotkey = "Q";
    WriteBytes(dir / "file", "x");
    EXPECT_FALSE(doc->SaveToFile(dir / "file" / "a.txt", false, &why));
    EXPECT_EQ(why, "Not a directory");
    EXPECT_TRUE(doc->SaveToFile(dir / "a.txt", false, &why));
}

} // namespace
} // namespace qm
