// The player's documents folder in a Wine prefix made here: the one above
// the game's drive_c, in Documents or an older prefix's My Documents, of
// whichever user holds Warcraft III.

#include "platform/PlayerDocuments.h"
#include "platform/TQtPlatform.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

namespace fs = std::filesystem;

TEST(PlayerDocuments, FoundInThePrefixHoldingTheGame) {
    test::TempDir prefix;
    const fs::path users = prefix / "drive_c/users";
    const fs::path game = prefix / "drive_c/Program Files/Warcraft III";
    fs::create_directories(game);
    fs::create_directories(users / "player/My Documents");
    EXPECT_EQ(WineDocumentsFolder(prefix.path(), "player"), users / "player/My Documents");
    // A prefix made elsewhere (Proton's steamuser) holds the game's files.
    fs::create_directories(users / "steamuser/Documents/Warcraft III");
    EXPECT_EQ(WineDocumentsFolder(prefix.path(), "player"), users / "steamuser/Documents");

    TQtPlatform platform; // whoever runs the test, only steamuser has Warcraft III
    EXPECT_EQ(platform.DocumentsFolder(QString::fromStdString(game.string())),
              QString::fromStdString((users / "steamuser/Documents").string()));
}

} // namespace
} // namespace qm
