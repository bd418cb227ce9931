// The default configuration built from data tables packed into test archives.

#include "gamedata/PreLoad.h"
#include "GameFixture.h"
#include "config/uCfgManager.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qm {
namespace {

using test::MakeArchive;
using test::ReadBytes;
using test::TempDir;
using test::TEntries;
using test::WriteBytes;
namespace fs = std::filesystem;

// Points the temporary folder at a folder of the test's own while alive.
class TTempFolderOverride {
  public:
    explicit TTempFolderOverride(const fs::path& folder) {
        if (const char* old = std::getenv("TMPDIR"))
            old_ = old;
        setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TTempFolderOverride() {
        if (old_.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", old_.c_str(), 1);
    }

  private:
    std::string old_;
};

const std::string kCommandStrings = "Units\\CommandStrings.txt";
const std::string kCommandFunc = "Units\\CommandFunc.txt";
const std::string kNeutralStrings = "Units\\NeutralAbilityStrings.txt";
const std::string kNeutralFunc = "Units\\NeutralAbilityFunc.txt";

class DefaultKeys : public ::testing::Test {
  protected:
    fs::path Game() const { return dir / "game"; }
    fs::path Out() const { return dir / "DefaultKeys.wrk"; }

    void Archive(const std::string& name, const TEntries& entries) {
        fs::create_directories(Game());
        MakeArchive(Game() / name, entries);
    }
    TDefaultKeys Build(const fs::path& fix = {}) {
        return BuildDefaultConfiguration(Game(), Out(), fix);
    }
    std::unique_ptr<TCfgManager> Result() const { return TCfgManager::CreateFromFile(Out()); }
    std::string Field(const std::string& id, int index) const {
        const auto doc = Result();
        const TBindRec* rec = doc->FindRecord(id);
        return rec ? (*rec)[index] : "<no record>";
    }

    TempDir dir;
};

TEST_F(DefaultKeys, OnlyWar3StringsOverlaidWithFunctionsAndCorrection) {
    Archive("war3.mpq",
            {{kCommandStrings, "[CmdA]\r\nName=Attack\r\nTip=Attack\r\n"},
             {kNeutralStrings, "[ACac]\r\nName=Command Aura\r\nHotkey=Q\r\n"},
             {kCommandFunc, "[CmdA]\r\nArt=ReplaceableTextures\\CommandButtons\\BTNAttack.blp\r\n"
                            "Buttonpos=0,2\r\nHotkey=A\r\n[FuncOnly]\r\nHotkey=F\r\n"},
             {kNeutralFunc, "[ACac]\r\nHotkey=C\r\nButtonpos=1,2\r\n"}});
    WriteBytes(dir / "Fix.wrk", "[ACac]\r\nButtonpos=3,2\r\n[FixOnly]\r\nHotkey=X\r\n");

    const TDefaultKeys built = Build(dir / "Fix.wrk");
    EXPECT_TRUE(built.Written);
    EXPECT_EQ(built.Language, "foreign");
    const auto doc = Result();
    ASSERT_EQ(doc->Count(), 2); // identifiers of the function tables or the fix alone are dropped
    EXPECT_EQ(doc->Records(0).ID, "ACac");
    EXPECT_EQ(doc->Records(1).ID, "CmdA");
    EXPECT_EQ(Field("CmdA", fiArt), "ReplaceableTextures\\CommandButtons\\BTNAttack.blp");
    EXPECT_EQ(Field("CmdA", fiHotkey), "A"); // the function table beats the strings table
    EXPECT_EQ(Field("CmdA", fiTip), "Attack");
    EXPECT_EQ(Field("ACac", fiHotkey), "C");
    EXPECT_EQ(Field("ACac", fiButtonpos), "3,2"); // the correction file beats every archive
    EXPECT_EQ(Field("ACac", fiName), "Command Aura");
    // Written with the data fields.
    EXPECT_NE(ReadBytes(Out()).find("Name=Command Aura\r\n"), std::string::npos);
}

TEST_F(DefaultKeys, LaterArchivesOverrideValueByValue) {
    Archive("war3.mpq", {{kNeutralStrings, "[ACac]\r\nName=Base\r\nTip=Base tip\r\n"},
                         {kNeutralFunc, "[ACac]\r\nHotkey=B\r\nButtonpos=0,0\r\n"}});
    Archive("war3x.mpq", {{kNeutralFunc, "[ACac]\r\nHotkey=X\r\nButtonpos=1,1\r\n"}});
    // The localised archive gives strings only: its function table is not read.
    Archive("war3xlocal.mpq", {{kNeutralStrings, "[ACac]\r\nName=Local\r\n"},
                               {kNeutralFunc, "[ACac]\r\nHotkey=L\r\n"}});
    Archive("war3patch.mpq", {{kNeutralStrings, "[ACac]\r\nTip=\r\n"},
                              {kNeutralFunc, "[ACac]\r\nHotkey=\r\nButtonpos=2,2\r\n"}});
    EXPECT_TRUE(Build().Written);
    EXPECT_EQ(Field("ACac", fiName), "Local");
    EXPECT_EQ(Field("ACac", fiTip), "Base tip"); // an empty key keeps the earlier value
    EXPECT_EQ(Field("ACac", fiHotkey), "X");
    EXPECT_EQ(Field("ACac", fiButtonpos), "2,2");
}

TEST_F(DefaultKeys, ArchiveNamesMatchWithoutRegardToCase) {
    Archive("War3.MPQ", {{kNeutralStrings, "[ACac]\r\nName=Base\r\n"}});
    Archive("WAR3PATCH.mpq", {{kNeutralStrings, "[ACac]\r\nName=Patched\r\n"}});
    EXPECT_TRUE(Build().Written);
    EXPECT_EQ(Field("ACac", fiName), "Patched");
}

TEST_F(DefaultKeys, TablesAreJoinedByteForByte) {
    // CommandStrings ends without a line break: the next table's header line
    // runs into its last line, so that section is lost into the previous one.
    Archive("war3.mpq", {{kCommandStrings, "[CmdA]\r\nName=Attack"},
                         {"Units\\CommonAbilityStrings.txt", "[Aabc]\r\nName=Lost\r\n"
                                                             "[Adef]\r\nName=Kept\r\n"}});
    EXPECT_TRUE(Build().Written);
    const auto doc = Result();
    EXPECT_EQ(doc->FindRecord("Aabc"), nullptr);
    EXPECT_EQ(Field("CmdA", fiName), "Lost");
    EXPECT_EQ(Field("Adef", fiName), "Kept");
}

TEST_F(DefaultKeys, ByteOrderMarksOfJoinedTablesHideNoHeader) {
    const std::string bom = "\xEF\xBB\xBF";
    Archive("war3.mpq", {{kCommandStrings, bom + "[CmdA]\r\nName=Attack\r\n"},
                         {"Units\\CommonAbilityStrings.txt", bom + "[Aabc]\r\nName=Kept\r\n"},
                         {"Units\\HumanAbilityStrings.txt", "[AHbz]\r\nName=Blizzard"},
                         {"Units\\HumanUnitStrings.txt", bom + "[Hblm]\r\nName=Blood Mage\r\n"}});
    Archive("war3x.mpq", {{kCommandFunc, bom + "[CmdA]\r\nHotkey=A\r\n"}});
    EXPECT_TRUE(Build().Written);
    EXPECT_EQ(Field("CmdA", fiName), "Attack");
    EXPECT_EQ(Field("CmdA", fiHotkey), "A");
    EXPECT_EQ(Field("Aabc", fiName), "Kept");
    // After a table without a final line break the next one still runs in.
    EXPECT_EQ(Field("Hblm", fiName), "<no record>");
    EXPECT_EQ(Field("AHbz", fiName), "Blood Mage");
}

TEST_F(DefaultKeys, LanguageFollowsTheFirstLetterOfACacsName) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Command Aura", "foreign"},
        {"\xD0\x90\xD1\x83\xD1\x80\xD0\xB0", "rus"},          // "Аура" in UTF-8
        {"\xD1\x8F", "rus"},                                  // "я", the last letter counted
        {"\xC0\xF3\xF0\xE0 \xEA\xEE\xEC\xE0\xED\xE4", "rus"}, // Windows-1251
        {"\xFF", "rus"},                                      // Windows-1251 "я"
        {"\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0", "foreign"},      // "Ё" is outside А..я
        {"\xE5\x91\xBD\xE4\xBB\xA4\xE5\x85\x89\xE7\x8E\xAF", "foreign"}, // Chinese
        {"\xC3\x84ra", "foreign"},                                       // "Ä" in UTF-8
        {"", "foreign"},
    };
    for (const auto& [name, language] : cases) {
        Archive("war3.mpq", {{kNeutralStrings, "[ACac]\r\nName=" + name + "\r\n"}});
        EXPECT_EQ(BuildDefaultKeys(Game(), Out(), {}), language) << name;
    }
    Archive("war3.mpq", {{kNeutralStrings, "[AHbz]\r\nName=\xD0\x91\r\n"}});
    EXPECT_EQ(BuildDefaultKeys(Game(), Out(), {}), "foreign");
}

TEST_F(DefaultKeys, NoIntermediateFileIsLeftOnAnyWayOut) {
    TempDir temp;
    const TTempFolderOverride tempOverride(temp.path());
    Archive("war3.mpq", {{kNeutralStrings, "[ACac]\r\nName=Aura\r\n"},
                         {kNeutralFunc, "[ACac]\r\nHotkey=Q\r\n"}});
    Archive("war3xlocal.mpq", {{kNeutralStrings, "[ACac]\r\nName=Aura\r\n"}});
    EXPECT_TRUE(Build().Written);
    EXPECT_TRUE(test::ListFolder(temp.path()).empty());
    // The output cannot be written: still nothing left behind.
    EXPECT_FALSE(BuildDefaultConfiguration(Game(), dir / "no" / "out.wrk", {}).Written);
    EXPECT_TRUE(test::ListFolder(temp.path()).empty());
    EXPECT_EQ(test::ListFolder(Game()), (std::vector<std::string>{"war3.mpq", "war3xlocal.mpq"}));
    EXPECT_FALSE(fs::exists("DefStrings.tmp"));
    EXPECT_FALSE(fs::exists("DefFuncs.tmp"));
}

// An archive that kills StormLib fails the build, in a child: the old
// output stays, nothing is left behind, and the next build still works.
TEST_F(DefaultKeys, AnArchiveThatCrashesTheReaderFailsTheBuildAlone) {
    TempDir temp;
    const TTempFolderOverride tempOverride(temp.path());
    fs::create_directories(Game());
    test::MakeCrashingArchive(Game() / "war3x.mpq", kCommandStrings);
    SKIP_UNLESS_READING_KILLS(Game() / "war3x.mpq", kCommandStrings);
    Archive("war3.mpq", {{kNeutralStrings, "[ACac]\r\nName=Aura\r\n"}});
    WriteBytes(Out(), "previous");
    const TDefaultKeys built = Build();
    SKIP_IF_READ_THROUGH(built.Written);
    EXPECT_EQ(built.Records, 0);
    EXPECT_NE(built.Failure, "");
    EXPECT_EQ(ReadBytes(Out()), "previous");
    EXPECT_TRUE(test::ListFolder(temp.path()).empty());
    EXPECT_EQ(test::ListFolder(dir.path()), (std::vector<std::string>{"DefaultKeys.wrk", "game"}));

    fs::remove(Game() / "war3x.mpq");
    const TDefaultKeys rebuilt = Build();
    EXPECT_TRUE(rebuilt.Written);
    EXPECT_EQ(rebuilt.Failure, "");
    EXPECT_EQ(Field("ACac", fiName), "Aura");
}

// A damaged archive can claim a table of gigabytes that decompresses from a
// few bytes; a table far larger than any the game has is left out.
TEST_F(DefaultKeys, TablesBeyondAnyTheGameHasAreLeftOut) {
    std::string huge = "[Ahug]\r\nName=Huge\r\n";
    huge.resize((16u << 20) + 1, ' ');
    Archive("war3.mpq", {{kNeutralStrings, "[ACac]\r\nName=Aura\r\n"}, {kCommandStrings, huge}});
    EXPECT_TRUE(Build().Written);
    EXPECT_EQ(Field("ACac", fiName), "Aura");
    EXPECT_EQ(Result()->FindRecord("Ahug"), nullptr);
}

TEST_F(DefaultKeys, NothingToReadWritesNothing) {
    WriteBytes(Out(), "previous");
    // No game folder, a game folder that is a file, a folder without archives,
    // archives that are not archives.
    EXPECT_EQ(Build().Language, "foreign");
    WriteBytes(Game(), "not a folder");
    EXPECT_FALSE(Build().Written);
    fs::remove(Game());
    fs::create_directories(Game());
    EXPECT_FALSE(Build().Written);
    WriteBytes(Game() / "war3.mpq", "junk");
    fs::create_directory(Game() / "war3x.mpq");
    const TDefaultKeys built = Build(dir / "missing-fix.wrk");
    EXPECT_FALSE(built.Written);
    EXPECT_EQ(built.Language, "foreign");
    EXPECT_EQ(ReadBytes(Out()), "previous");
}

// An archive the folder holds but the import cannot open stops the build
// before anything is written: defaults without its tables would pass for
// the game's. It is named, as is an output that cannot be written.
TEST_F(DefaultKeys, WhatKeepsTheBuildFromItsWorkIsNamed) {
    Archive("war3.mpq", {{kNeutralStrings, "[ACac]\r\nName=Aura\r\n"}});
    WriteBytes(Game() / "War3X.mpq", std::string(8192, '\0'));
    WriteBytes(Out(), "previous");
    TDefaultKeys built = Build();
    EXPECT_FALSE(built.Written);
    EXPECT_EQ(built.Failure, "");
    EXPECT_EQ(built.Problem.Kind, TImportProblem::UnusableArchive);
    EXPECT_EQ(built.Problem.File, Game() / "War3X.mpq");
    EXPECT_EQ(ReadBytes(Out()), "previous");

    fs::remove(Game() / "War3X.mpq");
    built = BuildDefaultConfiguration(Game(), dir / "no" / "out.wrk", {});
    EXPECT_FALSE(built.Written);
    EXPECT_EQ(built.Problem.Kind, TImportProblem::Unwritten);
    EXPECT_EQ(built.Problem.File, dir / "no" / "out.wrk");
    EXPECT_EQ(built.Problem.Why, "No such file or directory");
    EXPECT_TRUE(HoldsGame(Game()));
    EXPECT_FALSE(HoldsGame(dir.path()));
}

TEST(DefaultKeysTables, ThirtySixTablesInTheirFixedOrder) {
    ASSERT_EQ(FunctionTables().size(), 18u);
    ASSERT_EQ(StringsTables().size(), 18u);
    EXPECT_EQ(FunctionTables().front(), "Units\\CommandFunc.txt");
    EXPECT_EQ(FunctionTables()[6], "Units\\ItemFunc.txt");
    EXPECT_EQ(StringsTables().back(), "Units\\UndeadUpgradeStrings.txt");
}

// The 36 tables of a real game, packed into war3.mpq as the game keeps them.
class RealTables : public DefaultKeys {
  protected:
    bool PackTables(const std::string& game) {
        const fs::path real = test::RealData();
        if (real.empty())
            return false;
        const fs::path units = real / "tables" / game / "Units";
        TEntries entries;
        for (const auto* list : {&FunctionTables(), &StringsTables()})
            for (const auto& table : *list)
                entries[table] = ReadBytes(units / table.substr(table.find('\\') + 1));
        Archive("war3.mpq", entries);
        return true;
    }
};

TEST_F(RealTables, English) {
    if (!PackTables("enUS-1.24.4"))
        GTEST_SKIP() << "no real game data beside the checkout";
    const TDefaultKeys built = Build();
    EXPECT_TRUE(built.Written);
    EXPECT_EQ(built.Language, "foreign");
    EXPECT_EQ(Field("ACac", fiName), "Command Aura");
    EXPECT_EQ(Field("ACac", fiArt),
              "ReplaceableTextures\\PassiveButtons\\PASBTNGnollCommandAura.blp");
    EXPECT_EQ(Field("Hblm", fiName), "Blood Mage");
    EXPECT_GT(built.Records, 1000);
}

// Most Chinese tables start with a byte-order mark. Joined into one file,
// a mark would hide the header line it precedes.
TEST_F(RealTables, ChineseTablesWithByteOrderMarks) {
    if (!PackTables("zhCN-1.24.4"))
        GTEST_SKIP() << "no real game data beside the checkout";
    const TDefaultKeys built = Build();
    EXPECT_TRUE(built.Written);
    EXPECT_EQ(built.Language, "foreign");
    EXPECT_EQ(Field("ACac", fiName), "\xE5\x91\xBD\xE4\xBB\xA4\xE5\x85\x89\xE7\x8E\xAF");
    // HumanUnitStrings starts with a mark right before "[Hblm]".
    EXPECT_EQ(Field("Hblm", fiName), "\xE8\xA1\x80\xE9\xAD\x94\xE6\xB3\x95\xE5\xB8\x88");
    const auto doc = Result();
    for (int i = 0; i < doc->Count(); ++i)
        EXPECT_EQ(doc->Records(i).ID.find("\xEF\xBB\xBF"), std::string::npos);
    EXPECT_GT(built.Records, 1000);
}

} // namespace
} // namespace qm
