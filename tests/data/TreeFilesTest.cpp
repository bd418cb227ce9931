// The shipped action trees: well-formed lines, consistent levels, and the
// same tree in both languages.

#include "data/TreeFile.h"
#include "support/TestFiles.h"
#include "text/TextCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>

namespace qm::test {
namespace {

const char* const kTrees[] = {"TV_foreign.wrk", "TV_rus.wrk"};

bool IsLetters(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isalpha(c); });
}

// The common commands are named by words ("CmdMove"), not four characters.
bool IsCommandId(const std::string& id) {
    return id.starts_with("Cmd") && IsLetters(std::string_view(id).substr(3));
}

// A plain file name in the icons folder: no folder part, a ".jpg" ending.
bool IsIconName(const std::string& name) {
    const std::string_view stem = std::string_view(name).substr(0, name.size() - 4);
    return name.ends_with(".jpg") && !stem.empty() &&
           std::all_of(stem.begin(), stem.end(), [](unsigned char c) {
               return std::isalnum(c) || c == '_' || c == '-' || c == '&';
           });
}

TEST(TreeFiles, AreUtf8WithCrLfLineEnds) {
    for (const char* name : kTrees) {
        SCOPED_TRACE(name);
        const std::string bytes = ReadBytes(TreePath(name));
        ASSERT_FALSE(bytes.empty());
        EXPECT_TRUE(IsValidUtf8(bytes));
        EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF")) << "no byte-order mark";
        EXPECT_TRUE(bytes.ends_with("\r\n"));
        for (size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1))
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
    }
}

TEST(TreeFiles, EveryLineIsCaptionIdentifierAndIcon) {
    for (const char* name : kTrees) {
        SCOPED_TRACE(name);
        const auto tree = ReadTree(TreePath(name));
        ASSERT_GT(tree.size(), 500u);
        const std::set<std::string> ids = TreeIds(tree);
        int previousLevel = -1;
        for (const TTreeLine& line : tree) {
            SCOPED_TRACE("line " + std::to_string(line.Number));
            ASSERT_GE(line.Fields.size(), 3u);
            ASSERT_LE(line.Fields.size(), 4u);
            EXPECT_LE(line.Level, previousLevel + 1) << "a level may deepen by one only";
            previousLevel = line.Level;
            const std::string& caption = line.Fields[0];
            EXPECT_EQ(caption, std::string(Trim(caption)));
            // An apostrophe would make the first-start rewriting keep the line as it is.
            EXPECT_EQ(caption.find('\''), std::string::npos);
            if (!line.Id.empty()) {
                EXPECT_TRUE(line.Id.size() == 4 || IsCommandId(line.Id)) << line.Id;
            }
            if (!line.Icon.empty()) {
                EXPECT_TRUE(IsIconName(line.Icon)) << line.Icon;
            }
            // The fourth field lists the common commands on a unit's card.
            if (line.Fields.size() == 4) {
                EXPECT_FALSE(line.Id.empty());
                std::istringstream list(line.Fields[3]);
                for (std::string command; std::getline(list, command, ',');)
                    EXPECT_TRUE(IsCommandId(command) && ids.contains(command)) << command;
            }
        }
    }
}

TEST(TreeFiles, BothLanguagesShareOneShape) {
    const auto english = ReadTree(TreePath("TV_foreign.wrk"));
    const auto russian = ReadTree(TreePath("TV_rus.wrk"));
    ASSERT_EQ(english.size(), russian.size());
    for (size_t i = 0; i < english.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(english[i].Number));
        EXPECT_EQ(english[i].Level, russian[i].Level);
        EXPECT_EQ(english[i].Id, russian[i].Id);
        EXPECT_EQ(english[i].Icon, russian[i].Icon);
        // Russian captions are Cyrillic, not English left behind.
        const char32_t first = FirstCodePoint(russian[i].Fields[0]);
        EXPECT_TRUE(first >= U'\u0400' && first <= U'\u04FF') << russian[i].Fields[0];
    }
}

TEST(TreeFiles, GroupsGatherNodesAndCardsHoldEachButtonOnce) {
    const auto tree = ReadTree(TreePath("TV_foreign.wrk"));
    std::vector<std::set<std::string>> cards(tree.size());
    std::vector<int> children(tree.size());
    for (const TTreeLine& line : tree) {
        if (line.Parent < 0)
            continue;
        ++children[line.Parent];
        if (!line.Id.empty() && !tree[line.Parent].Id.empty()) {
            EXPECT_TRUE(cards[line.Parent].insert(line.Id).second)
                << line.Id << " twice on the card of " << tree[line.Parent].Id;
        }
    }
    for (size_t i = 0; i < tree.size(); ++i)
        if (tree[i].Id.empty()) {
            EXPECT_GT(children[i], 0) << "empty group " << tree[i].Fields[0];
        }
}

TEST(TreeFiles, WorkersOpenTheirBuildMenu) {
    const auto tree = ReadTree(TreePath("TV_foreign.wrk"));
    for (const char* worker : {"hpea", "opeo", "uaco", "ewsp"}) {
        SCOPED_TRACE(worker);
        int menus = 0;
        for (size_t i = 0; i < tree.size(); ++i) {
            if (tree[i].Id != worker || tree[tree[i].Parent].Id.size() == 4)
                continue; // the worker as a unit, not as a trained button
            for (size_t k = i + 1; k < tree.size() && tree[k].Level > tree[i].Level; ++k)
                if (tree[k].Parent == static_cast<int>(i) && tree[k].Id.starts_with("CmdBuild")) {
                    ++menus;
                    EXPECT_LT(k + 1, tree.size());
                    EXPECT_EQ(tree[k + 1].Parent, static_cast<int>(k)) << "menu without buildings";
                }
        }
        EXPECT_EQ(menus, 1);
    }
}

} // namespace
} // namespace qm::test
