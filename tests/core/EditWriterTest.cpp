// Writing a document over the file it was read from: the file's own bytes,
// with only the player's edits.

#include "config/uCfgManager.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class EditWriter : public ::testing::Test {
  protected:
    std::unique_ptr<TCfgManager> Read(const std::string& bytes) {
        WriteBytes(dir_ / "in.txt", bytes);
        return TCfgManager::CreateFromFile(dir_ / "in.txt");
    }
    TempDir dir_;
};

TEST_F(EditWriter, ChangesOnlyTheEditedValues) {
    const std::string file = "// my keys\n"
                             "\n"
                             "// Attack\n"
                             "[Aatk]\n"
                             "Hotkey=  A// old\n"
                             "EditorSuffix= (x)\n"
                             "Tip=Attack (A)  \n"
                             "Buttonpos=0,2\n"
                             "\n"
                             "// Move title\n"
                             "[cmdmove]\n"
                             "hotkey=M\n"
                             "HOTKEY=V\n"
                             "Tip=Move\n"
                             "\n"
                             "// next\n"
                             "[Bzzz]\n"
                             "Hotkey=Z\n";
    const auto asRead = Read(file);
    const auto edited = asRead->Clone();
    EXPECT_EQ(asRead->SerializeEdits(), file);
    EXPECT_EQ(edited->SerializeEdits(), file);

    TBindRec& attack = *edited->FindRecord("Aatk");
    attack.Hotkey = "Q";
    attack.Tip = "Attack (Q)";
    attack.Researchhotkey = "R";
    attack.Unhotkey = "U";
    attack.Name = "data fields stay as read";
    edited->FindRecord("CmdMove")->Hotkey.clear();
    edited->TakeRecord(*edited->FindRecord("Bzzz"));
    TBindRec& added = edited->AddRecord("Hnew");
    added.Hotkey = "N";
    added.Name = "New unit";
    EXPECT_EQ(edited->SerializeEdits(), "// my keys\n"
                                        "\n"
                                        "// Attack\n"
                                        "[Aatk]\n"
                                        "Hotkey=  Q// old\n"
                                        "EditorSuffix= (x)\n"
                                        "Tip=Attack (Q)  \n"
                                        "Buttonpos=0,2\n"
                                        "UnHotKey=U\n"
                                        "ResearchHotKey=R\n"
                                        "\n"
                                        "// Move title\n"
                                        "[cmdmove]\n"
                                        "Tip=Move\n"
                                        "\n"
                                        "//New unit\n"
                                        "[Hnew]\n"
                                        "HotKey=N\n"
                                        "\n");
    ASSERT_TRUE(edited->SaveEdits(dir_ / "out.txt"));
    const auto back = TCfgManager::CreateFromFile(dir_ / "out.txt");
    EXPECT_EQ(back->FindRecord("cmdmove")->Hotkey, "");
    EXPECT_EQ(back->FindRecord("Aatk")->Hotkey, "Q");
}

TEST_F(EditWriter, KeepsByteOrderMarkLineEndsAndWhatFollowsCtrlZ) {
    const std::string tail = "\x1A junk after\n[B]\nHotkey=B\n";
    const std::string file = "\xEF\xBB\xBF[A]\r\nHotkey=A\r\nTip=x" + tail;
    const auto doc = Read(file);
    EXPECT_EQ(doc->SerializeEdits(), file);
    doc->Records(0).Buttonpos = "1,1";
    doc->AddRecord("C").Hotkey = "C";
    EXPECT_EQ(doc->SerializeEdits(), "\xEF\xBB\xBF[A]\r\nHotkey=A\r\nTip=x\r\nButtonPos=1,1\r\n"
                                     "\r\n[C]\r\nHotKey=C\r\n\r\n" +
                                         tail);
    // The line end most lines use; the last line keeps going without one.
    const auto mixed = Read("[A]\nHotkey=A\r\nTip=x\n[B]\nTip=y");
    mixed->Records(0).Buttonpos = "0,0";
    mixed->Records(1).Hotkey = "B";
    EXPECT_EQ(mixed->SerializeEdits(),
              "[A]\nHotkey=A\r\nTip=x\nButtonPos=0,0\n[B]\nTip=y\nHotKey=B");
}

TEST_F(EditWriter, DocumentsWithoutAFileAreWrittenAsEver) {
    auto doc = TCfgManager::Create();
    EXPECT_FALSE(doc->SaveEdits(dir_ / "out.txt"));
    TBindRec& rec = doc->AddRecord("Abcd");
    rec.Hotkey = "A";
    rec.Art = "not written";
    EXPECT_EQ(doc->SerializeEdits(), doc->Serialize(false));
    // Merging makes a document of several files: it has no layout.
    WriteBytes(dir_ / "a.txt", "// kept?\n[Abcd]\nTip=x\n");
    doc->LoadFromFile(dir_ / "a.txt", true);
    EXPECT_EQ(doc->Layout(), nullptr);
    EXPECT_EQ(doc->SerializeEdits(), "[Abcd]\r\nHotKey=A\r\nTip=x\r\n\r\n");
}

// A section given twice is two records, matched in file order.
TEST_F(EditWriter, RepeatedSectionsAreMatchedInFileOrder) {
    const auto doc = Read("[B]\nHotkey=1\n[A]\nHotkey=2\n[B]\nHotkey=3\n");
    ASSERT_EQ(doc->Records(2).Hotkey, "3");
    doc->Records(2).Hotkey = "4";
    EXPECT_EQ(doc->SerializeEdits(), "[B]\nHotkey=1\n[A]\nHotkey=2\n[B]\nHotkey=4\n");
    doc->TakeRecord(doc->Records(2));
    EXPECT_EQ(doc->SerializeEdits(), "[B]\nHotkey=1\n[A]\nHotkey=2\n");
}

// Deleting every record keeps only what belongs to no section.
TEST_F(EditWriter, DeletedSectionsTakeTheirTitleAndBlankLines) {
    const auto doc = Read("// file header\n\n// title A\n[A]\nHotkey=A\n// note in A\nTip=a\n"
                          "// after A\n\n\n// title B\n[B]\nHotkey=B\n\n// end\n");
    doc->Clear();
    EXPECT_EQ(doc->SerializeEdits(), "// file header\n\n// after A\n\n\n// end\n");
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    size_t from = 0;
    for (size_t lf; (lf = text.find('\n', from)) != std::string::npos; from = lf + 1)
        out.push_back(text.substr(from, lf - from));
    out.push_back(text.substr(from));
    return out;
}

// The lines of `after` that are not `before`'s, for edits far apart that
// replace or insert single lines.
std::vector<std::string> NewLines(const std::vector<std::string>& before,
                                  const std::vector<std::string>& after) {
    std::vector<std::string> added;
    size_t i = 0, j = 0;
    while (j < after.size()) {
        if (i < before.size() && before[i] == after[j]) {
            ++i, ++j;
            continue;
        }
        added.push_back(after[j]);
        const bool inserted =
            i >= before.size() || (j + 1 < after.size() && after[j + 1] == before[i]);
        i += inserted ? 0 : 1;
        ++j;
    }
    return added;
}

// Every player's file comes back byte for byte; edited, only the edited
// lines differ.
TEST(EditWriterRealFiles, PlayersFilesKeepAllButTheirEdits) {
    const fs::path real = test::RealData();
    if (real.empty())
        GTEST_SKIP() << "no real data beside this checkout (" << QUILLMARK_REAL_DATA << ")";
    int files = 0;
    for (const auto& entry : fs::directory_iterator(real / "customkeys")) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string bytes = ReadBytes(entry.path());
        const auto before = Lines(bytes);
        const auto asRead = TCfgManager::CreateFromFile(entry.path());
        auto edited = asRead->Clone();
        ASSERT_EQ(edited->SerializeEdits(), bytes);
        // One hotkey and one tooltip (added where the file has none).
        int hotkey = -1, tip = -1, lacking = -1;
        for (int r = 0; r < edited->Count(); ++r) {
            const TBindRec& rec = edited->Records(r);
            if (hotkey < 0 && !rec.Hotkey.empty())
                hotkey = r;
            else if (tip < 0 && !rec.Tip.empty())
                tip = r;
            else if (lacking < 0 && !rec.Hotkey.empty() && rec.Researchhotkey.empty())
                lacking = r;
        }
        ASSERT_TRUE(hotkey >= 0 && lacking >= 0);
        std::string& key = edited->Records(hotkey).Hotkey;
        key = key == "Q" ? "W" : "Q";
        std::string& tooltip = edited->Records(tip >= 0 ? tip : hotkey).Tip;
        tooltip = tip >= 0 ? tooltip + "!" : "Added!";
        const auto after = Lines(edited->SerializeEdits());
        EXPECT_EQ(after.size(), before.size() + (tip < 0 ? 1 : 0));
        const auto added = NewLines(before, after);
        ASSERT_EQ(added.size(), 2u);
        const auto holdsTip = [&](const std::string& line) {
            return line.find(tooltip) != std::string::npos;
        };
        EXPECT_TRUE(holdsTip(added[0]) || holdsTip(added[1]));
        // A value the section lacks: one line more, all others as they were.
        edited = asRead->Clone();
        edited->Records(lacking).Researchhotkey = "R";
        auto grown = Lines(edited->SerializeEdits());
        ASSERT_EQ(grown.size(), before.size() + 1);
        const auto at = std::mismatch(before.begin(), before.end(), grown.begin()).second;
        EXPECT_TRUE(at->starts_with("ResearchHotKey=R"));
        grown.erase(at);
        EXPECT_EQ(grown, before);
        ++files;
    }
    EXPECT_EQ(files, 24);
}

} // namespace
} // namespace qm
