// The installed copy: `cmake --install` into a read-only prefix, and the
// installed editor started headless twice on the demo game with HOME of its
// own. The first start imports into the per-user data folder, the second
// finds the import there, and neither writes beside the programs.

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <map>

namespace qm {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

int Shell(const std::string& command) {
    return WEXITSTATUS(std::system((command + " >/dev/null 2>&1").c_str()));
}

// Gives the prefix back to the temporary folder's clean-up, however the test ends.
struct TWritableAgain {
    fs::path Root;
    ~TWritableAgain() { Shell("chmod -R u+w " + Quoted(Root)); }
};

// Every file and folder under a root with its time of change.
std::map<fs::path, fs::file_time_type> Snapshot(const fs::path& root) {
    std::map<fs::path, fs::file_time_type> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        files[entry.path()] = entry.last_write_time();
    return files;
}

TEST(Installed, ImportsIntoTheDataFolderOnceAndNeverBesideItself) {
    test::TempDir root;
    const fs::path prefix = root / "prefix", data = root / "home/.local/share/Quillmark";
    ASSERT_EQ(Shell(std::string(QUILLMARK_CMAKE) + " --install " + QUILLMARK_BUILD_DIR +
                    " --prefix " + Quoted(prefix) + " && chmod -R a-w " + Quoted(prefix)),
              0);
    const TWritableAgain writable{prefix};
    for (const char* file :
         {"bin/quillmark-cli", "share/quillmark/QMKData/TV_foreign.wrk",
          "share/quillmark/QMKData/Builtin/DefaultKeys.wrk",
          "share/quillmark/QMKData/Builtin/TV_foreign.wrk",
          "share/quillmark/QMKData/Builtin/Icons/BTNFootman.jpg",
          "share/applications/quillmark.desktop", "share/icons/hicolor/64x64/apps/quillmark.png"})
        EXPECT_TRUE(fs::is_regular_file(prefix / file)) << file;
    // Permissions do not bind an administrator: a read-only mount does.
    std::string editor = Quoted(prefix / "bin/quillmark");
    if (access(prefix.c_str(), W_OK) == 0) {
        if (Shell("unshare -Urm true") != 0)
            GTEST_SKIP() << "administrator without user namespaces: no read-only prefix";
        editor = "unshare -Urm sh -c 'mount --bind \"$0\" \"$0\" && mount -o remount,bind,ro "
                 "\"$0\" \"$0\" && exec \"$0/bin/quillmark\"' " +
                 Quoted(prefix);
    }
    fs::create_directories(root / "run");
    fs::permissions(root / "run", fs::perms::owner_all);
    const std::string start = "env -i PATH=/usr/bin:/bin HOME=" + Quoted(root / "home") +
                              " XDG_RUNTIME_DIR=" + Quoted(root / "run") +
                              " QT_QPA_PLATFORM=offscreen QUILLMARK_CLOSE_WHEN_SHOWN=1" +
                              " QUILLMARK_DEMO_GAME=" + Quoted(QUILLMARK_DEMO) + " timeout 20 ";
    const auto installed = Snapshot(prefix);

    ASSERT_EQ(Shell(start + editor), 0);
    const std::string settings = test::ReadBytes(data / "QMKData/QMK.ini");
    for (const char* line : {"DefCfgLoaded=1", "TVLoaded=1", "IconsLoaded=1", "War3Folder=\r\n"})
        EXPECT_NE(settings.find(line), std::string::npos) << line << " in\n" << settings;
    const fs::path defaults = data / "QMKData/DefaultKeys.wrk",
                   tree = data / "QMKData/TV_foreign.wrk";
    EXPECT_GT(test::ListFolder(data / "Icons").size(), 100u);
    // Marked as old, anything a second import wrote would show.
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(defaults, old);
    fs::last_write_time(tree, old);
    const auto icons = Snapshot(data / "Icons");
    ASSERT_EQ(Shell(start + editor), 0);
    EXPECT_EQ(fs::last_write_time(defaults), old);
    EXPECT_EQ(fs::last_write_time(tree), old);
    EXPECT_EQ(Snapshot(data / "Icons"), icons);
    EXPECT_EQ(Snapshot(prefix), installed);
}

} // namespace
} // namespace qm
