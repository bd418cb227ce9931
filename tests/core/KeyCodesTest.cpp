// Hotkeys written as key codes: their names, and how they clash, in the
// library and through `conflicts`.

#include "config/uKeyCodes.h"
#include "gamedata/HotkeyConflicts.h"
#include "support/CliRun.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(KeyCodes, NamesFromTheGamesList) {
    const std::pair<const char*, const char*> names[] = {
        {"222", "'"},    {"81", "Q"}, {"081", "Q"}, {"112", "F1"}, {"27", "Esc"},
        {"101", "Num5"}, {"300", ""}, {"5", ""},    {"512", ""},   {"2a", ""}};
    for (const auto& [code, name] : names)
        EXPECT_EQ(KeyCodeName(code), name) << code;
}

TEST(KeyCodes, ClashWholeOrByTheirCharacter) {
    const auto clash = [](const char* a, const char* b) {
        TBindRec sibling;
        sibling.Hotkey = b;
        return ClashFlags({a, "", ""}, sibling) == hkHotkey;
    };
    for (const auto& [a, b] : {std::pair{"81", "Q"}, {"Q,Q,Q", "81"}, {"27", "027"}, {"222", "'"}})
        EXPECT_TRUE(clash(a, b)) << a << " " << b;
    for (const auto& [a, b] : {std::pair{"81", "q"}, {"27", "2"}, {"27", "222"}, {"05", "5"}})
        EXPECT_FALSE(clash(a, b)) << a << " " << b;

    test::TempDir dir;
    test::WriteBytes(dir / "tree.wrk", "Human|?\n\tFootman|hfoo\n\t\tAttack|Aatk\n"
                                       "\t\tCancel|Ccan\n\t\tDefend|Adef\n\t\tStop|Cstp\n");
    test::WriteBytes(dir / "keys.txt", "[Aatk]\nHotkey=81\n[Adef]\nHotkey=Q\n"
                                       "[Ccan]\nHotkey=27\n[Cstp]\nHotkey=2\n");
    const auto r =
        test::RunCli({"conflicts", (dir / "tree.wrk").string(), (dir / "keys.txt").string()});
    EXPECT_EQ(r.out, "hotkey\tAatk\tAdef\tQ\n");
}

} // namespace
} // namespace qm
