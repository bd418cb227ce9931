// Editing in the window over a game-size tree: selecting a unit with twelve
// actions (panel filled, card drawn with icons), typing a hotkey into a
// three-level action with edit-together on, undoing and redoing a
// multi-editor run, the memory of an undo history, the command-line clash
// listing over the shipped tree and a large player's file, and the actions a
// common command's hotkey is checked against.

#include "BenchSupport.h"
#include "app/TCli.h"
#include "editor/Main.h"
#include "editor/TRecordEditor.h"
#include "fixtures/ImageWriter.h"
#include "gamedata/TreeModel.h"
#include "tools/Find.h"
#include "tools/MultiEdit.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using qm::bench::Write;

std::string Id(char kind, int n) {
    std::string id = "A000";
    id[0] = kind;
    for (int i = 3; i >= 1; --i, n /= 10)
        id[i] = static_cast<char>('0' + n % 10);
    return id;
}

std::string Action(int a) {
    const std::string letter(1, static_cast<char>('A' + a));
    const std::string hotkey = a == 11 ? "H" : "Q,W,E";
    return "Hotkey=" + hotkey + "\r\nUnhotkey=" + letter +
           "\r\nResearchhotkey=" + (a == 11 ? "H" : "R") +
           "\r\nTip=Summon |cffffcc00W|rater Elemental (Q),Level 2 (W),Level 3 (E)"
           "\r\nUntip=Stop |cffff0000now|r (" +
           letter +
           ")\r\nResearchtip=Learn |cff00ff00Water|r Elemental (R)"
           "\r\nRevivetip=Revive the |cffffcc00Archmage|r (H)"
           "\r\nAwakentip=Awaken the |cffffcc00Archmage|r (H)\r\nButtonpos=" +
           std::to_string(a % 4) + "," + std::to_string(a / 4) + "\r\n";
}

// 8 races of 10 units with twelve actions each, every action with an icon,
// a position and all five tooltips; eleven actions of each unit have three
// levels, the last one (a hero, say) one level and all three hotkeys.
class TGameFolder : public qm::bench::TTempFolder {
  public:
    TGameFolder() : TTempFolder("quillmark-bench-editing-") {
        std::string tree;
        std::string defaults;
        int unit = 0;
        int action = 0;
        for (int race = 0; race < 8; ++race) {
            tree += "Race " + std::to_string(race) + "|?|?\r\n";
            for (int u = 0; u < 10; ++u, ++unit) {
                tree += "\tUnit|" + Id('u', unit) + "|BTNUnit.jpg\r\n";
                defaults += "[" + Id('u', unit) + "]\r\nHotkey=U\r\nButtonpos=0,0\r\n";
                for (int a = 0; a < 12; ++a, ++action) {
                    tree += "\t\tAction|" + Id('A', action) + "|BTN" + Id('A', action) + ".jpg\r\n";
                    defaults += "[" + Id('A', action) + "]\r\n" + Action(a);
                }
            }
        }
        Write(path() / "QMKData/TV_foreign.wrk", tree);
        Write(path() / "QMKData/DefaultKeys.wrk", defaults);
        Write(path() / "QMKData/QMK.ini",
              "[Initialisation]\r\nLanguage=foreign\r\nDefCfgLoaded=1\r\nTVLoaded=1\r\n"
              "IconsLoaded=1\r\n[Strings]\r\nWar3Folder=" +
                  path().string() + "\r\n");
        const std::vector<std::uint32_t> rgb(64 * 64, 0x3060C0);
        const std::string icon = qm::EncodeJpeg(qm::ButtonSamples(rgb), 64, 64, 4);
        Write(path() / "Icons/BTNUnit.jpg", icon);
        for (int a = 0; a < action; ++a)
            Write(path() / "Icons" / ("BTN" + Id('A', a) + ".jpg"), icon);
    }
};

TGameFolder& Game() {
    static TGameFolder folder;
    return folder;
}

// The first two children of `parent` in turn, so each selection shows
// something new.
void SelectChildrenInTurn(benchmark::State& state, qm::TfrmMain& frm, QTreeWidgetItem* parent) {
    int turn = 0;
    for (auto _ : state) {
        frm.Tree().View().setCurrentItem(parent->child(turn++ % 2));
        QApplication::processEvents();
    }
}

// Letters no sibling uses, so nothing is asked.
void TypeHotkeysInTurn(benchmark::State& state, qm::TfrmMain& frm, QTreeWidgetItem* action) {
    frm.Tree().View().setCurrentItem(action);
    auto* field = frm.findChild<QLineEdit*>("txtHotKey");
    const char letters[] = {'Y', 'Z'};
    int turn = 0;
    for (auto _ : state) {
        QTest::keyClick(field, letters[turn++ % 2]);
        // What the key press left for later (the clash count) is its cost too.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Two units of the last race in turn, so each selection shows a new card.
void BM_SelectUnitWithTwelveActions(benchmark::State& state) {
    qm::bench::TSilentPlatform platform;
    const auto editor = qm::bench::StartedEditor(platform, Game().path(), state);
    if (!editor)
        return;
    SelectChildrenInTurn(state, *editor, editor->Tree().View().topLevelItem(7));
}
BENCHMARK(BM_SelectUnitWithTwelveActions)->Unit(benchmark::kMillisecond);

void BM_TypeHotkeyIntoThreeLevelAction(benchmark::State& state) {
    qm::bench::TSilentPlatform platform;
    const auto editor = qm::bench::StartedEditor(platform, Game().path(), state);
    if (!editor)
        return;
    TypeHotkeysInTurn(state, *editor, editor->Tree().View().topLevelItem(7)->child(9)->child(10));
}
BENCHMARK(BM_TypeHotkeyIntoThreeLevelAction)->Unit(benchmark::kMicrosecond);

// A leaf action: panel, five tooltip editors and its single button.
void BM_SelectActionWithFiveTooltips(benchmark::State& state) {
    qm::bench::TSilentPlatform platform;
    const auto editor = qm::bench::StartedEditor(platform, Game().path(), state);
    if (!editor)
        return;
    SelectChildrenInTurn(state, *editor, editor->Tree().View().topLevelItem(7)->child(9));
}
BENCHMARK(BM_SelectActionWithFiveTooltips)->Unit(benchmark::kMillisecond);

// Edit-together and automatic tooltips on: all three hotkeys and all five
// tooltips are rewritten.
void BM_TypeHotkeyForHeroWithAutoTips(benchmark::State& state) {
    qm::bench::TSilentPlatform platform;
    const auto editor = qm::bench::StartedEditor(platform, Game().path(), state);
    if (!editor)
        return;
    TypeHotkeysInTurn(state, *editor, editor->Tree().View().topLevelItem(7)->child(9)->child(11));
}
BENCHMARK(BM_TypeHotkeyForHeroWithAutoTips)->Unit(benchmark::kMillisecond);

qm::bench::TDemoFolder& Demo() {
    static qm::bench::TDemoFolder folder(QUILLMARK_SOURCE_DATA, QUILLMARK_DEMO_GAME);
    return folder;
}

std::unique_ptr<qm::TfrmMain> DemoEditor(qm::TPlatform& platform, benchmark::State& state) {
    if (!Demo().Ready()) {
        state.SkipWithError("no demo game in this build");
        return nullptr;
    }
    return qm::bench::StartedEditor(platform, Demo().path(), state);
}

// The multi-editor is made when first opened.
qm::TdlgMultiEdit* OpenMultiEditor(qm::TfrmMain& frm) {
    frm.findChild<QAction*>("actMultiEdit")->trigger();
    return frm.findChild<qm::TdlgMultiEdit*>("dlgMultiEdit");
}

// Every node of the shipped tree, a full grid of letters, panel refreshed.
void BM_MultiEditApplyToAll(benchmark::State& state) {
    qm::bench::TSilentPlatform platform;
    const auto editor = DemoEditor(platform, state);
    if (!editor)
        return;
    qm::TfrmMain& frm = *editor;
    qm::TdlgMultiEdit* dlg = OpenMultiEditor(frm);
    auto* grid = dlg->findChild<QTableWidget*>("sgKeyEditor");
    const char* keys[2] = {"QWERASDFZXCV", "ZXCVQWERASDF"};
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int cell = 0; cell < 12; ++cell)
            grid->item(cell / 4, cell % 4)->setText(QString(QChar(keys[turn % 2][cell])));
        ++turn;
        state.ResumeTiming();
        dlg->btnApplyClick();
    }
    state.counters["nodes"] = frm.Tree().NodeCount();
}
BENCHMARK(BM_MultiEditApplyToAll)->Unit(benchmark::kMillisecond);

// One multi-editor run over the whole shipped tree, then its undo, or its
// redo, timed alone.
void UndoRedoMultiEdit(benchmark::State& state, bool timeUndo) {
    qm::bench::TSilentPlatform platform;
    const auto editor = DemoEditor(platform, state);
    if (!editor)
        return;
    qm::TfrmMain& frm = *editor;
    qm::TdlgMultiEdit* dlg = OpenMultiEditor(frm);
    auto* grid = dlg->findChild<QTableWidget*>("sgKeyEditor");
    for (int cell = 0; cell < 12; ++cell)
        grid->item(cell / 4, cell % 4)->setText(QString(QChar("QWERASDFZXCV"[cell])));
    dlg->btnApplyClick();
    QUndoStack& history = frm.Documents().UndoStack();
    for (auto _ : state) {
        if (!timeUndo)
            state.PauseTiming();
        history.undo();
        if (!timeUndo)
            state.ResumeTiming();
        else
            state.PauseTiming();
        history.redo();
        if (timeUndo)
            state.ResumeTiming();
    }
    state.counters["steps"] = history.count();
}

void BM_UndoMultiEditApplyToAll(benchmark::State& state) {
    UndoRedoMultiEdit(state, true);
}
BENCHMARK(BM_UndoMultiEditApplyToAll)->Unit(benchmark::kMillisecond);

void BM_RedoMultiEditApplyToAll(benchmark::State& state) {
    UndoRedoMultiEdit(state, false);
}
BENCHMARK(BM_RedoMultiEditApplyToAll)->Unit(benchmark::kMillisecond);

// The heap an undo history of 1,000 key presses takes, each stored with
// its automatic tooltip: on the demo game's Footman (its hotkey and its
// tooltip), or on a hero of the game-size tree (edit-together and automatic
// tooltips rewrite all three hotkeys and all five tooltips).
void UndoHistoryOfThousandKeys(benchmark::State& state, qm::TfrmMain* editor, const char* id) {
    if (!editor)
        return;
    qm::TRecordEditor& records = editor->RecordEditor();
    const qm::TEditRules rules;
    double bytes = 0;
    for (auto _ : state) {
        editor->Documents().UndoStack().clear();
        const auto before = mallinfo2().uordblks;
        for (int key = 0; key < 1000; ++key)
            records.TypeHotkey(id, 0, key % 2 ? "J" : "X", rules);
        bytes = static_cast<double>(mallinfo2().uordblks - before);
    }
    state.counters["history_bytes"] = bytes;
    // Every press a step: a letter that clashes (Rally Point's Y on the
    // Barracks) would be refused and measure nothing.
    state.counters["steps"] = editor->Documents().UndoStack().count();
}

void BM_UndoHistoryOfThousandKeys(benchmark::State& state) {
    qm::bench::TSilentPlatform platform;
    UndoHistoryOfThousandKeys(state, DemoEditor(platform, state).get(), "hfoo");
}
BENCHMARK(BM_UndoHistoryOfThousandKeys)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_UndoHistoryOfThousandHeroKeys(benchmark::State& state) {
    qm::bench::TSilentPlatform platform;
    const auto editor = qm::bench::StartedEditor(platform, Game().path(), state);
    UndoHistoryOfThousandKeys(state, editor.get(), Id('A', 11).c_str());
}
BENCHMARK(BM_UndoHistoryOfThousandHeroKeys)->Unit(benchmark::kMillisecond)->Iterations(1);

// The tree's filter narrowing the shipped tree as one more letter is typed.
void BM_TreeFilterKeyPress(benchmark::State& state) {
    qm::bench::TSilentPlatform platform;
    const auto editor = DemoEditor(platform, state);
    if (!editor)
        return;
    auto* field = editor->findChild<QLineEdit*>("edTreeFilter");
    const QString texts[2] = {QStringLiteral("tra"), QStringLiteral("trai")};
    int turn = 0;
    for (auto _ : state)
        field->setText(texts[turn++ % 2]);
    state.counters["nodes"] = editor->Tree().NodeCount();
}
BENCHMARK(BM_TreeFilterKeyPress)->Unit(benchmark::kMillisecond);

void BM_FindWithoutMatch(benchmark::State& state) {
    qm::bench::TSilentPlatform platform;
    const auto editor = DemoEditor(platform, state);
    if (!editor)
        return;
    qm::TfrmMain& frm = *editor;
    auto* dlg = frm.findChild<qm::TdlgFind*>("dlgFind");
    dlg->findChild<QLineEdit*>("edtFind")->setText(QStringLiteral("no such action"));
    for (auto _ : state)
        benchmark::DoNotOptimize(dlg->Search(0));
}
BENCHMARK(BM_FindWithoutMatch)->Unit(benchmark::kMillisecond);

void BM_ConflictsCommand(benchmark::State& state) {
    const fs::path player =
        fs::path(QUILLMARK_REAL_DATA) / "customkeys" / "danisilv__warcraft3-2.txt";
    if (!fs::exists(player)) {
        state.SkipWithError("no real players' files beside the checkout");
        return;
    }
    const qm::TCli cli;
    const std::vector<std::string> args = {"conflicts", QUILLMARK_SOURCE_DATA "/TV_foreign.wrk",
                                           player.string()};
    for (auto _ : state) {
        std::ostringstream out, err;
        benchmark::DoNotOptimize(cli.Run(args, out, err));
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(player));
}
BENCHMARK(BM_ConflictsCommand)->Unit(benchmark::kMillisecond);

// The actions a hotkey of Move is checked against: every button of every
// card that carries Move, the most any action of the shipped tree has;
// worked out anew in a fresh copy of the tree each time.
void BM_CardMatesOfMove(benchmark::State& state) {
    const auto tree = qm::TTreeModel::LoadFromFile(QUILLMARK_SOURCE_DATA "/TV_foreign.wrk");
    for (auto _ : state) {
        state.PauseTiming();
        const qm::TTreeModel fresh = *tree;
        state.ResumeTiming();
        benchmark::DoNotOptimize(fresh.CardMatesOf("CmdMove"));
    }
    state.counters["mates"] = static_cast<double>(tree->CardMatesOf("CmdMove").size());
}
BENCHMARK(BM_CardMatesOfMove)->Unit(benchmark::kMicrosecond);

} // namespace
