// Rewriting a tree from default configurations made of the game's own tables.

#include "config/uCfgManager.h"
#include "gamedata/TreeRewrite.h"
#include "support/TestFiles.h"
#include "text/TextCodec.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qm {
namespace {

namespace fs = std::filesystem;

// Fields as the tree loader reads them: TABs, CR and LF skipped before a
// field, "|" and double quotes end one, empty fields dropped.
std::vector<std::string> LoaderFields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (const char c : line) {
        if (c == '|' || c == '"' || c == '\r' || c == '\n') {
            if (!fields.back().empty())
                fields.emplace_back();
        } else if (!(c == '\t' && fields.back().empty())) {
            fields.back() += c;
        }
    }
    if (fields.back().empty())
        fields.pop_back();
    return fields;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    return lines;
}

// Merges every table of a locale into one default configuration with data fields.
std::unique_ptr<TCfgManager> TablesOf(const fs::path& units) {
    auto doc = TCfgManager::Create();
    for (const auto& entry : fs::directory_iterator(units)) {
        if (entry.path().extension() == ".txt") {
            EXPECT_GT(doc->LoadFromFile(entry.path(), true), 0) << entry.path();
        }
    }
    doc->Sort();
    return doc;
}

class TreeRealData : public ::testing::TestWithParam<std::string> {};

TEST_P(TreeRealData, EveryActionLineStaysReadable) {
    const fs::path real = test::RealData();
    if (real.empty())
        GTEST_SKIP() << "no real data beside this checkout (" << QUILLMARK_REAL_DATA << ")";
    test::TempDir dir;
    const auto doc = TablesOf(real / "tables" / GetParam() / "Units");
    ASSERT_GT(doc->Count(), 500);
    ASSERT_TRUE(doc->SaveToFile(dir / "defaults.wrk", true));
    std::string tree = "Units|?|?\r\n";
    for (int i = 0; i < doc->Count(); ++i)
        tree += "\t?|" + doc->Records(i).ID + "|?\r\n";
    test::WriteBytes(dir / "tree.wrk", tree);

    ASSERT_TRUE(FillTVFromDefaults(dir / "tree.wrk", dir / "defaults.wrk"));
    const std::string out = test::ReadBytes(dir / "tree.wrk");
    EXPECT_TRUE(IsValidUtf8(out));
    const auto lines = Lines(out);
    ASSERT_EQ(lines.size(), size_t(doc->Count()) + 1);
    int named = 0, withIcon = 0;
    for (int i = 0; i < doc->Count(); ++i) {
        const std::string& line = lines[i + 1];
        SCOPED_TRACE(line);
        const auto fields = LoaderFields(line);
        ASSERT_EQ(fields.size(), 3u);
        EXPECT_EQ(TabCount(line), 1);
        EXPECT_EQ(fields[1], doc->Records(i).ID);
        named += fields[0] != "?";
        const std::string& icon = fields[2];
        if (icon != "?") {
            ++withIcon;
            EXPECT_TRUE(icon.ends_with(".jpg"));
            EXPECT_EQ(icon.find_first_of("\\/:"), std::string::npos);
        }
    }
    EXPECT_GT(named, doc->Count() / 2);
    EXPECT_GT(withIcon, doc->Count() / 2);
    const auto footman = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find("|hfoo|") != l.npos;
    });
    ASSERT_NE(footman, lines.end());
    EXPECT_TRUE(footman->ends_with("|hfoo|BTNFootman.jpg"));
    if (GetParam().starts_with("enUS"))
        EXPECT_EQ(*footman, "\tFootman|hfoo|BTNFootman.jpg");
    else
        EXPECT_GE(static_cast<unsigned char>((*footman)[1]), 0xE0); // a Chinese name
}

// The tree files the program ships, filled from the English tables: every
// line keeps its level and identifier, and action lines get a caption.
TEST(TreeShippedFiles, FillingKeepsTheStructure) {
    const fs::path real = test::RealData();
    if (real.empty())
        GTEST_SKIP() << "no real data beside this checkout (" << QUILLMARK_REAL_DATA << ")";
    test::TempDir dir;
    const auto doc = TablesOf(real / "tables" / "enUS-1.24.4" / "Units");
    ASSERT_TRUE(doc->SaveToFile(dir / "defaults.wrk", true));
    for (const char* name : {"TV_foreign.wrk", "TV_rus.wrk"}) {
        SCOPED_TRACE(name);
        const std::string before =
            test::ReadBytes(fs::path(QUILLMARK_SOURCE_DIR) / "QMKData" / name);
        ASSERT_FALSE(before.empty());
        test::WriteBytes(dir / name, before);
        ASSERT_TRUE(FillTVFromDefaults(dir / name, dir / "defaults.wrk"));
        const auto oldLines = Lines(before);
        const auto newLines = Lines(test::ReadBytes(dir / name));
        ASSERT_EQ(newLines.size(), oldLines.size());
        for (size_t i = 0; i < oldLines.size(); ++i) {
            SCOPED_TRACE(newLines[i]);
            const auto oldFields = LoaderFields(oldLines[i]);
            const auto newFields = LoaderFields(newLines[i]);
            EXPECT_EQ(TabCount(newLines[i]), TabCount(oldLines[i]));
            ASSERT_EQ(newFields.size(), oldFields.size());
            if (newFields.size() >= 2) {
                EXPECT_EQ(newFields[1], oldFields[1]);
            }
            if (newFields.size() >= 3 && oldFields[2] != "?") {
                EXPECT_EQ(newFields[2], oldFields[2]);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, TreeRealData, ::testing::Values("enUS-1.24.4", "zhCN-1.24.4"),
                         [](const auto& info) { return info.param.substr(0, 4); });

} // namespace
} // namespace qm
