#include "config/uIniFile.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace qm {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(IniFile, ReadsSectionsAndKeysWithoutRegardToCase) {
    TempDir dir;
    WriteBytes(dir / "a.ini", "[Strings]\r\nTVName=QMKData\\TV_rus.wrk\r\n"
                              "[interface]\r\n  cbTogEdit =  0 \r\n");
    const TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadString("STRINGS", "tvname", "x"), "QMKData\\TV_rus.wrk");
    EXPECT_FALSE(ini.ReadBool("Interface", "CBTOGEDIT", true));
    EXPECT_TRUE(ini.SectionExists("INTERFACE"));
    EXPECT_FALSE(ini.SectionExists("Initialisation"));
    EXPECT_TRUE(ini.ValueExists("strings", "TVNAME"));
}

TEST(IniFile, ValuesStandAsWritten) {
    TempDir dir;
    WriteBytes(dir / "a.ini", "[S]\nPath=C:\\new\\tab;not a comment, nor a list\n"
                              "Quoted=\"kept\"\nEmpty=\nEq=a=b\n; Commented=1\n");
    const TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadString("S", "Path", ""), "C:\\new\\tab;not a comment, nor a list");
    EXPECT_EQ(ini.ReadString("S", "Quoted", ""), "\"kept\"");
    EXPECT_EQ(ini.ReadString("S", "Empty", "default"), ""); // present, so not the default
    EXPECT_EQ(ini.ReadString("S", "Eq", ""), "a=b");
    EXPECT_EQ(ini.ReadString("S", "; Commented", "none"), "none");
    EXPECT_EQ(ini.ReadString("S", "Missing", "default"), "default");
    EXPECT_EQ(ini.ReadString("Nowhere", "Path", "default"), "default");
}

TEST(IniFile, FirstSectionAndFirstKeyWin) {
    TempDir dir;
    WriteBytes(dir / "a.ini", "[S]\nk=1\nK=2\n[s]\nk=3\nother=4\n");
    TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadInteger("S", "k", 0), 1);
    EXPECT_EQ(ini.ReadInteger("S", "other", 0), 0); // the second [s] is never searched
    EXPECT_EQ(ini.ReadSection("s"), (std::vector<std::string>{"k"}));
    ini.WriteInteger("S", "K", 9);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(dir / "a.ini"), "[S]\nk=9\nK=2\n[s]\nk=3\nother=4\n");
}

TEST(IniFile, EmptySectionNameAndKeysOutsideSections) {
    TempDir dir;
    WriteBytes(dir / "a.ini", "lost=1\n[S]\nk=1\n[ ]\nk=2\n");
    TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadInteger("S", "k", 0), 1);
    EXPECT_EQ(ini.ReadInteger("S", "lost", 0), 0);
    EXPECT_EQ(ini.ReadInteger("", "k", 0), 2);
    ini.WriteInteger("S", "n", 3); // lands in [S], not after the empty-named section
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(dir / "a.ini"), "lost=1\n[S]\nk=1\nn=3\n[ ]\nk=2\n");
}

TEST(IniFile, IntegersAndBooleans) {
    TempDir dir;
    WriteBytes(dir / "a.ini",
               "[I]\ndec=52479\nneg=-17\nhex=0xCCff\nupper=0X10\nallbits=0xFFFFFFFF\n"
               "big=2147483648\nmin=-2147483648\nhexbig=0x100000000\n"
               "word=true\nhalf=12ab\nspace=1 2\nfloat=1.5\nbare=0x\nsign=-\n"
               "b2=2\nb0=0\nbneg=-1\nbx=0x0\n");
    const TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadInteger("I", "dec", 0), 52479);
    EXPECT_EQ(ini.ReadInteger("I", "neg", 0), -17);
    EXPECT_EQ(ini.ReadInteger("I", "hex", 0), 0xCCFF);
    EXPECT_EQ(ini.ReadInteger("I", "upper", 0), 16);
    EXPECT_EQ(ini.ReadInteger("I", "allbits", 0), -1);
    EXPECT_EQ(ini.ReadInteger("I", "min", 0), -2147483647 - 1);
    for (const char* malformed :
         {"big", "hexbig", "word", "half", "space", "float", "bare", "sign", "missing"})
        EXPECT_EQ(ini.ReadInteger("I", malformed, 77), 77) << malformed;
    EXPECT_TRUE(ini.ReadBool("I", "b2", false));
    EXPECT_TRUE(ini.ReadBool("I", "bneg", false));
    EXPECT_FALSE(ini.ReadBool("I", "b0", true));
    EXPECT_FALSE(ini.ReadBool("I", "bx", true));
    EXPECT_TRUE(ini.ReadBool("I", "word", true)); // malformed: the default
    EXPECT_FALSE(ini.ReadBool("I", "word", false));
}

TEST(IniFile, ValuesAreReadUpTo2047Characters) {
    TempDir dir;
    const std::string exact(2047, 'a');
    // Two-byte characters must not be cut in half.
    std::string cyrillic;
    for (int i = 0; i < 2050; ++i)
        cyrillic += "\xD0\xAF";
    WriteBytes(dir / "a.ini", "[S]\nexact=" + exact + "\nlong=" + exact + "bc\nru=" + cyrillic +
                                  "\nnum=" + std::string(3000, '0') + "1\n");
    TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadString("S", "exact", ""), exact);
    EXPECT_EQ(ini.ReadString("S", "long", ""), exact);
    EXPECT_EQ(ini.ReadString("S", "ru", ""), cyrillic.substr(0, 2047 * 2));
    EXPECT_EQ(ini.ReadInteger("S", "num", 5), 0); // the 2,047 zeros that are read
    // Writing another key leaves the long value whole in the file.
    ini.WriteString("S", "other", "x");
    ASSERT_TRUE(ini.Save());
    EXPECT_NE(ReadBytes(dir / "a.ini").find(exact + "bc\n"), std::string::npos);
}

TEST(IniFile, WritingKeepsEverythingElse) {
    TempDir dir;
    const std::string original = "; settings of a friend\r\n"
                                 "[Strings]\r\n"
                                 "TVName = old\r\n"
                                 "Unknown=keep me\r\n"
                                 "\r\n"
                                 "; before Interface\r\n"
                                 "[Interface]\r\n"
                                 "cpTip=1\r\n"
                                 "[Custom]\r\n"
                                 "Mine=1,2;3\r\n";
    WriteBytes(dir / "a.ini", original);
    TIniFile ini(dir / "a.ini");
    ini.WriteString("strings", "tvname", "QMKData\\TV_rus.wrk");
    ini.WriteString("Strings", "War3Folder", "C:\\Games\\Warcraft III");
    ini.WriteBool("Initialisation", "TVLoaded", true);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(dir / "a.ini"), "; settings of a friend\r\n"
                                        "[Strings]\r\n"
                                        "TVName =QMKData\\TV_rus.wrk\r\n"
                                        "Unknown=keep me\r\n"
                                        "War3Folder=C:\\Games\\Warcraft III\r\n"
                                        "\r\n"
                                        "; before Interface\r\n"
                                        "[Interface]\r\n"
                                        "cpTip=1\r\n"
                                        "[Custom]\r\n"
                                        "Mine=1,2;3\r\n"
                                        "\r\n"
                                        "[Initialisation]\r\n"
                                        "TVLoaded=1\r\n");
    const TIniFile again(dir / "a.ini");
    EXPECT_EQ(again.ReadString("Strings", "TVName", ""), "QMKData\\TV_rus.wrk");
    EXPECT_TRUE(again.ReadBool("Initialisation", "TVLoaded", false));
}

TEST(IniFile, LineEndingsAndByteOrderMarkArePreserved) {
    TempDir dir;
    WriteBytes(dir / "lf.ini", "\xEF\xBB\xBF[S]\nk=1");
    TIniFile ini(dir / "lf.ini");
    EXPECT_EQ(ini.ReadInteger("s", "k", 0), 1);
    ini.WriteInteger("S", "n", 2);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(dir / "lf.ini"), "\xEF\xBB\xBF[S]\nk=1\nn=2\n");
}

TEST(IniFile, NewFileIsCreatedWithWindowsLineEnds) {
    TempDir dir;
    TIniFile ini(dir / "new.ini");
    EXPECT_FALSE(ini.SectionExists("Interface"));
    ini.WriteBool("Interface", "cbTogEdit", false);
    ini.WriteInteger("Interface", "cpHK", 52479);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(dir / "new.ini"), "[Interface]\r\ncbTogEdit=0\r\ncpHK=52479\r\n");
}

// A save that changes nothing leaves the file as it is (the same inode, so
// not even replaced by a copy); one removed meanwhile is written again.
TEST(IniFile, UnchangedFileIsNotWrittenAgain) {
    TempDir dir;
    const auto path = dir / "same.ini";
    WriteBytes(path, "[Interface]\r\ncbTogEdit=1\r\n");
    const auto inode = [&] {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    };
    const auto before = inode();
    TIniFile ini(path);
    ini.WriteBool("Interface", "cbTogEdit", true);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(inode(), before);
    std::filesystem::remove(path);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(path), "[Interface]\r\ncbTogEdit=1\r\n");
}

TEST(IniFile, WrittenValueStaysOnItsLine) {
    TempDir dir;
    TIniFile ini(dir / "a.ini");
    ini.WriteString("S", "k", "one\r\n[Initialisation]\nDefCfgLoaded=0");
    ASSERT_TRUE(ini.Save());
    const TIniFile again(dir / "a.ini");
    EXPECT_FALSE(again.SectionExists("Initialisation"));
    EXPECT_EQ(again.ReadString("S", "k", ""), "one  [Initialisation] DefCfgLoaded=0");
}

TEST(IniFile, ReadsWindows1251WhenNotUtf8AndWritesUtf8) {
    TempDir dir;
    // "Язык" in Windows-1251
    WriteBytes(dir / "a.ini", "[STRINGS]\r\nStr0=\xDF\xE7\xFB\xEA\r\n");
    TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadString("Strings", "Str0", ""), "\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA");
    ini.WriteString("Strings", "Str1", "\xD0\x94\xD0\xB0");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(dir / "a.ini"),
              "[STRINGS]\r\nStr0=\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA\r\nStr1=\xD0\x94\xD0\xB0\r\n");
}

TEST(IniFile, ReadSectionListsKeysInFileOrder) {
    TempDir dir;
    WriteBytes(dir / "a.ini", "[frmMain]\nCaption=x\n; note\nnot a key\nmnuFile.Caption=y\n"
                              "CAPTION=z\n[Other]\nq=1\n");
    const TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadSection("FRMMAIN"), (std::vector<std::string>{"Caption", "mnuFile.Caption"}));
    EXPECT_TRUE(ini.ReadSection("none").empty());
}

TEST(IniFile, JunkReadsAsNoValues) {
    TempDir dir;
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 7919) & 0xFF);
    junk.insert(100, "\n[Interface]\ncpTip=5\n"); // a header by chance is junk too
    // Binary junk, and text of no section: both read as empty, and writing
    // makes the settings file anew rather than adding below the junk.
    for (const std::string& bytes : {junk, std::string("just some words\nnot=settings\n")}) {
        WriteBytes(dir / "junk.ini", bytes);
        TIniFile ini(dir / "junk.ini");
        EXPECT_EQ(ini.ReadInteger("Interface", "cpTip", 16777215), 16777215);
        EXPECT_FALSE(ini.SectionExists("Interface"));
        ini.WriteInteger("Interface", "cpTip", 7);
        ini.WriteBool("Initialisation", "TVLoaded", true);
        ASSERT_TRUE(ini.Save());
        EXPECT_EQ(ReadBytes(dir / "junk.ini"),
                  "[Interface]\r\ncpTip=7\r\n\r\n[Initialisation]\r\nTVLoaded=1\r\n");
    }
    // Comments alone are a settings file still to be filled.
    WriteBytes(dir / "notes.ini", "; mine\n");
    TIniFile notes(dir / "notes.ini");
    notes.WriteBool("S", "k", true);
    ASSERT_TRUE(notes.Save());
    EXPECT_EQ(ReadBytes(dir / "notes.ini"), "; mine\n\n[S]\nk=1\n");
}

TEST(IniFile, SaveReportsFailure) {
    TempDir dir;
    WriteBytes(dir / "file", "x");
    TIniFile below(dir / "file" / "QMK.ini"); // a folder that is a regular file
    below.WriteBool("Initialisation", "TVLoaded", true);
    EXPECT_FALSE(below.Save());

    std::filesystem::create_directory(dir / "folder.ini");
    TIniFile folder(dir / "folder.ini"); // exists, cannot be read as a file
    folder.WriteBool("S", "k", true);
    std::string why;
    EXPECT_FALSE(folder.Save(&why));
    EXPECT_EQ(why, "Is a directory");
    EXPECT_EQ(folder.ReadError(), "Is a directory");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.ini"));
}

TEST(IniFile, UnreadableFileIsNeverReplaced) {
    if (geteuid() == 0)
        GTEST_SKIP() << "unreadable files do not stop root";
    TempDir dir;
    WriteBytes(dir / "a.ini", "[Custom]\nMine=1\n");
    std::filesystem::permissions(dir / "a.ini", std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::remove);
    TIniFile ini(dir / "a.ini");
    ini.WriteBool("S", "k", true);
    EXPECT_FALSE(ini.Save()); // saving would drop [Custom]
    std::filesystem::permissions(dir / "a.ini", std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(ReadBytes(dir / "a.ini"), "[Custom]\nMine=1\n");
}

// The game's own data tables are profile-style files too: adding a section to
// a copy must leave every byte of the original in front of it.
TEST(IniFile, RealTablesKeepEveryByte) {
    const auto real = test::RealData();
    if (real.empty())
        GTEST_SKIP() << "no real data beside this checkout";
    TempDir dir;
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(real / "tables")) {
        if (entry.path().extension() != ".txt")
            continue;
        const std::string original = ReadBytes(entry.path());
        if (original.find('\r') != std::string::npos)
            continue; // line ends are made uniform on writing
        const auto copy = dir / "copy.txt";
        WriteBytes(copy, original);
        TIniFile ini(copy);
        ini.WriteString("QuillmarkCheck", "Key", "value");
        ASSERT_TRUE(ini.Save());
        std::string expected = original;
        if (!expected.empty() && expected.back() != '\n')
            expected += '\n';
        if (!expected.empty() && expected != "\xEF\xBB\xBF" &&
            expected.find_last_not_of('\n') + 2 == expected.size())
            expected += '\n'; // one blank line before the new section
        expected += "[QuillmarkCheck]\nKey=value\n";
        EXPECT_EQ(ReadBytes(copy), expected) << entry.path();
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

} // namespace
} // namespace qm
