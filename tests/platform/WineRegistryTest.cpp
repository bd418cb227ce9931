#include "platform/TWineRegistry.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteBytes;

constexpr const char* kKey = "Software\\Blizzard Entertainment\\Warcraft III";

const std::string kHeader =
    "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21\n"
    "\n#arch=win32\n\n";

std::string GameKey(const std::string& valueLines) {
    return kHeader +
           "[Software\\\\Blizzard Entertainment\\\\Warcraft III] 1702000000\n"
           "#time=1da2b3c4d5e6f70\n" +
           valueLines + "\n";
}

TEST(WineRegistry, ReadsEscapedStringValues) {
    TWineRegistry reg;
    ASSERT_TRUE(reg.Parse(GameKey("\"InstallPath\"=\"C:\\\\Program Files\\\\Warcraft III\"\n"
                                  "\"Quoted\"=\"say \\\"hi\\\"\\ttab\"\n"
                                  "\"Expand\"=str(2):\"%ProgramFiles%\\\\W3\"\n"
                                  "\"Number\"=dword:00000001\n"
                                  "\"Hex\"=hex:01,02,\\\n  03\n"
                                  "@=\"default\"\n")));
    EXPECT_EQ(reg.Value(kKey, "InstallPath"), "C:\\Program Files\\Warcraft III");
    EXPECT_EQ(reg.Value(kKey, "Quoted"), "say \"hi\"\ttab");
    EXPECT_EQ(reg.Value(kKey, "Expand"), "%ProgramFiles%\\W3");
    EXPECT_EQ(reg.Value(kKey, ""), "default");
    EXPECT_FALSE(reg.Value(kKey, "Number")); // not a string
    EXPECT_FALSE(reg.Value(kKey, "Hex"));
}

TEST(WineRegistry, NamesMatchWithoutRegardToCase) {
    TWineRegistry reg;
    ASSERT_TRUE(reg.Parse(kHeader + "[software\\\\BLIZZARD ENTERTAINMENT\\\\warcraft iii] 1\n"
                                    "\"installpath\"=\"D:\\\\W3\"\n"));
    EXPECT_EQ(reg.Value(kKey, "InstallPath"), "D:\\W3");
    EXPECT_EQ(reg.Value("SOFTWARE\\Blizzard Entertainment\\Warcraft III", "INSTALLPATH"), "D:\\W3");
}

TEST(WineRegistry, HexEscapesAndSurrogatesBecomeUtf8) {
    TWineRegistry reg;
    // "C:\Игры\ 😀" as Wine writes it: \x with four digits before a hex digit
    ASSERT_TRUE(reg.Parse(GameKey("\"InstallPath\"=\"C:\\\\\\x418\\x433\\x440\\x44b\\\\"
                                  "\\xd83d\\xde00\\x0041\\101\"\n")));
    EXPECT_EQ(reg.Value(kKey, "InstallPath"),
              "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\\xF0\x9F\x98\x80"
              "AA");
}

TEST(WineRegistry, MissingKeyOrValue) {
    TWineRegistry reg;
    ASSERT_TRUE(reg.Parse(GameKey("\"Other\"=\"x\"")));
    EXPECT_FALSE(reg.Value(kKey, "InstallPath"));
    EXPECT_FALSE(reg.Value("Software\\Blizzard Entertainment", "InstallPath"));
    ASSERT_TRUE(reg.Parse(kHeader + "[Software\\\\Wine] 1\n\"InstallPath\"=\"C:\\\\x\"\n"));
    EXPECT_FALSE(reg.Value(kKey, "InstallPath"));
}

TEST(WineRegistry, RefusesWhatIsNotARegistryFile) {
    TempDir dir;
    std::string junk;
    for (int i = 0; i < 65536; ++i)
        junk += static_cast<char>((i * 2654435761u) >> 13);
    WriteBytes(dir / "junk.reg", junk);
    TWineRegistry reg;
    EXPECT_FALSE(reg.Load(dir / "junk.reg"));
    EXPECT_FALSE(reg.Load(dir / "missing.reg"));
    EXPECT_FALSE(reg.Load(dir.path())); // a folder
    // Junk after a good header: nothing crashes, nothing is made up.
    EXPECT_TRUE(reg.Parse(kHeader + "[Software\\\\Blizzard Entertainment\\\\Warcraft III\n" + junk +
                          "\n\"InstallPath\"=\"unterminated\\\n\"\\\n[\\"));
    EXPECT_FALSE(reg.Value(kKey, "InstallPath"));
}

// A prefix as Wine lays it out: drive_c, dosdevices/c: → ../drive_c, and
// here a second drive d: → a folder elsewhere.
struct FakePrefix {
    TempDir dir;
    fs::path prefix = dir / "wine";
    fs::path elsewhere = dir / "games";
    FakePrefix() {
        fs::create_directories(prefix / "drive_c" / "Program Files" / "Warcraft III");
        fs::create_directories(prefix / "dosdevices");
        fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
        fs::create_directories(elsewhere / "Warcraft III");
        fs::create_directory_symlink(elsewhere, prefix / "dosdevices" / "d:");
    }
    void UserReg(const std::string& installPath) const {
        WriteBytes(prefix / "user.reg", GameKey("\"InstallPath\"=\"" + installPath + "\""));
    }
};

TEST(WineRegistry, MapsDrivesIntoThePrefix) {
    FakePrefix fake;
    const fs::path c = fs::canonical(fake.prefix / "drive_c");
    const fs::path d = fs::canonical(fake.elsewhere);
    EXPECT_EQ(TWineRegistry::MapPath(fake.prefix, "C:\\Program Files\\Warcraft III"),
              c / "Program Files" / "Warcraft III");
    EXPECT_EQ(TWineRegistry::MapPath(fake.prefix, "c:/Program Files/Warcraft III/"),
              c / "Program Files" / "Warcraft III");
    EXPECT_EQ(TWineRegistry::MapPath(fake.prefix, "D:\\Warcraft III"), d / "Warcraft III");
    // Windows does not tell case apart; the folder on disk keeps its own.
    EXPECT_EQ(TWineRegistry::MapPath(fake.prefix, "C:\\PROGRAM FILES\\warcraft iii"),
              c / "Program Files" / "Warcraft III");
    // ".." stops at the drive's root.
    EXPECT_EQ(TWineRegistry::MapPath(fake.prefix, "D:\\..\\..\\Warcraft III"), d / "Warcraft III");
    EXPECT_EQ(TWineRegistry::MapPath(fake.prefix, "E:\\Games"), fs::path());
    EXPECT_EQ(TWineRegistry::MapPath(fake.prefix, "\\\\server\\share"), fs::path());
    EXPECT_EQ(TWineRegistry::MapPath(fake.prefix, "Games"), fs::path());
    EXPECT_EQ(TWineRegistry::MapPath(fs::path(), "C:\\Games"), fs::path());
}

TEST(WineRegistry, GameFolderFromThePrefix) {
    FakePrefix fake;
    fake.UserReg("D:\\\\Warcraft III\\\\");
    EXPECT_EQ(TWineRegistry::GameFolder(fake.prefix),
              fs::canonical(fake.elsewhere) / "Warcraft III");
    fake.UserReg("C:\\\\Program Files\\\\Warcraft III");
    EXPECT_EQ(TWineRegistry::GameFolder(fake.prefix),
              fs::canonical(fake.prefix / "drive_c") / "Program Files" / "Warcraft III");
    fs::remove(fake.prefix / "user.reg");
    EXPECT_EQ(TWineRegistry::GameFolder(fake.prefix), fs::path());
}

TEST(WineRegistry, PrefixFromTheEnvironment) {
    const char* saved = std::getenv("WINEPREFIX");
    const std::string keep = saved ? saved : "";
    setenv("WINEPREFIX", "/somewhere/prefix", 1);
    EXPECT_EQ(TWineRegistry::DefaultPrefix(), fs::path("/somewhere/prefix"));
    unsetenv("WINEPREFIX");
    if (const char* home = std::getenv("HOME")) {
        EXPECT_EQ(TWineRegistry::DefaultPrefix(), fs::path(home) / ".wine");
    }
    if (saved)
        setenv("WINEPREFIX", keep.c_str(), 1);
}

} // namespace
} // namespace qm
