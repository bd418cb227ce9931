// The shipped language files against the program itself: complete, and
// switching between them gives back exactly the built-in texts.

#include "WindowFixture.h"
#include "editor/Loading.h"
#include "lang/InterfaceLanguage.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>

#include <set>
#include <sstream>

namespace qm {
namespace {

namespace fs = std::filesystem;

const fs::path kShipped = fs::path(QUILLMARK_SOURCE_DIR) / "QMKData";

// "section/key" of every value a language file sets.
std::set<std::string> Keys(const fs::path& file) {
    std::set<std::string> keys;
    std::istringstream text(test::ReadBytes(file));
    std::string section;
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with('['))
            section = line;
        else if (const size_t eq = line.find('='); eq != std::string::npos && eq + 1 < line.size())
            keys.insert(section + "/" + line.substr(0, eq));
    }
    return keys;
}

// The windows as built, before a start gives them a document.
class LanguageFiles : public test::TWindowTest {
  protected:
    void SetUp() override {
        ResetMessages();
        frm_ = std::make_unique<TfrmMain>(platform_, pf_.path());
        ASSERT_TRUE(frm_->DumpLanguage(pf_ / "builtin.qlg", "ru"));
    }
};

TEST_F(LanguageFiles, BothHoldEveryTextOfEveryWindow) {
    const auto builtin = Keys(pf_ / "builtin.qlg");
    EXPECT_GT(builtin.size(), 100u);
    EXPECT_TRUE(builtin.count("[STRINGS]/Str" + std::to_string(kMessageCount - 1)));
    EXPECT_EQ(Keys(kShipped / "Russian.qlg"), builtin);
    EXPECT_EQ(Keys(kShipped / "English.qlg"), builtin);
    EXPECT_TRUE(test::ReadBytes(kShipped / "Russian.qlg") == test::ReadBytes(pf_ / "builtin.qlg"))
        << "run scripts/make_language_files.sh after changing a text";
}

TEST_F(LanguageFiles, EnglishThenRussianGivesBackTheBuiltInTexts) {
    TInterfaceLanguage language;
    language.Apply(kShipped / "English.qlg", frm_->TranslatableWindows());
    EXPECT_EQ(frm_->findChild<QMenu*>("mnuFile")->title(), "&File");
    EXPECT_EQ(Msg(msgNoAction), "No action selected");
    language.Apply(kShipped / "Russian.qlg", frm_->TranslatableWindows());
    ASSERT_TRUE(frm_->DumpLanguage(pf_ / "again.qlg", "ru"));
    EXPECT_TRUE(test::ReadBytes(pf_ / "again.qlg") == test::ReadBytes(pf_ / "builtin.qlg"));
}

// The file is kept between applications, but never past a change on disk:
// the player editing a language file and choosing it again sees the edit.
TEST_F(LanguageFiles, AFileChangedOnDiskIsReadAgain) {
    const fs::path file = pf_ / "mine.qlg";
    const auto write = [&](const char* text) {
        test::WriteBytes(file, std::string("[STRINGS]\nStr") + std::to_string(msgNoAction) + "=" +
                                   text + "\n");
    };
    write("First");
    TInterfaceLanguage language;
    language.Apply(file, {});
    language.Apply(file, {});
    EXPECT_EQ(Msg(msgNoAction), "First");
    const auto before = fs::last_write_time(file);
    write("Second");
    fs::last_write_time(file, before + std::chrono::seconds(1));
    language.Apply(file, {});
    EXPECT_EQ(Msg(msgNoAction), "Second");
}

TEST_F(LanguageFiles, ChosenFromTheServiceMenuAndKept) {
    frm_.reset();
    Start(test::kTree, test::kDefaultKeys);
    fs::copy_file(kShipped / "English.qlg", pf_ / "English.qlg");
    platform_.PickFile(pf_.Q(pf_ / "English.qlg")); // looked for in QMKData under its name
    fs::copy_file(kShipped / "English.qlg", pf_ / "QMKData/English.qlg");
    frm_->findChild<QAction*>("actSelectLang")->trigger();
    EXPECT_EQ(platform_.fileDialogs.at(0).filter, QString::fromUtf8("Языковые файлы QMK|*.qlg"));
    EXPECT_EQ(frm_->windowTitle(), "Quillmark:(untitled)[*]");
    EXPECT_EQ(W<QGroupBox>("gbSettings")->title(), "No action selected");
    auto* corner = qobject_cast<QMenuBar*>(frm_->menuBar()->cornerWidget(Qt::TopRightCorner));
    EXPECT_EQ(corner->actions().value(0)->text(), "&Help");
    frm_->SaveProjectSettings();
    EXPECT_NE(test::ReadBytes(pf_.Settings()).find("LangFileName=QMKData\\English.qlg"),
              std::string::npos);
    // Windows the start does not make take the language on when they are.
    EXPECT_EQ(frm_->findChild<QWidget*>("dlgMultiEdit"), nullptr);
    EXPECT_EQ(frm_->findChild<QWidget*>("frmHelp"), nullptr);
    frm_->findChild<QAction*>("actMultiEdit")->trigger();
    auto* multiEdit = W<QWidget>("dlgMultiEdit");
    EXPECT_EQ(multiEdit->windowTitle(), "Multi-editor");
    EXPECT_TRUE(multiEdit->findChild<QStatusBar*>("sbMultiEdit")->currentMessage().startsWith(
        "Records"));
}

// A language switch changes texts, never what the player set; texts made
// from the message table follow; a tool button keeps the hint a file gave it.
TEST_F(LanguageFiles, SwitchingKeepsThePlayersValuesAndRenamesEverything) {
    frm_.reset();
    Start(test::kTree, test::kDefaultKeys);
    frm_->findChild<QAction*>("actMultiEdit")->trigger();
    QWidget* dlg = frm_->findChild<QWidget*>("dlgMultiEdit");
    dlg->findChild<QLineEdit*>("txtMaxLevel")->setText("3");
    test::WriteBytes(pf_ / "QMKData/Mine.qlg", test::ReadBytes(kShipped / "English.qlg") +
                                                   "\r\n[frmMain.mnuFind]\r\nCaption=Search\r\n"
                                                   "[frmMain.tbUndo]\r\nHint=Take back\r\n");
    platform_.PickFile(pf_.Q(pf_ / "QMKData/Mine.qlg"));
    frm_->findChild<QAction*>("actSelectLang")->trigger();
    EXPECT_EQ(dlg->findChild<QLineEdit*>("txtMaxLevel")->text(), "3");
    EXPECT_TRUE(dlg->findChild<QStatusBar*>("sbMultiEdit")->currentMessage().startsWith("Records"));
    EXPECT_EQ(frm_->findChild<QAction*>("actFind")->text(), "Search");
    Select(1);
    Type("txtHotKey", "z"); // Undo's name changes, and Qt copies it onto the button
    EXPECT_EQ(W("tbUndo")->toolTip(), "Take back");
}

TEST_F(LanguageFiles, LoadingStatusesFitTheirLabel) {
    TfrmLoading loading;
    auto* label = loading.findChild<QLabel*>("lblLoadingStatus");
    ASSERT_NE(label, nullptr);
    for (const char* file : {"Russian.qlg", "English.qlg"}) {
        TInterfaceLanguage language;
        language.Apply(kShipped / file, {&loading});
        for (int row : {msgStatusDefaults, msgStatusTree, msgStatusGraphics, msgStatusStarting,
                        msgStatusPreparing, msgStatusDefaultsCasc, msgStatusGraphicsCasc})
            EXPECT_LE(label->fontMetrics().horizontalAdvance(Msg(row)), label->width())
                << file << ": " << Msg(row).toStdString();
    }
}

// Every page of the contents is there, in both books, and every picture and
// link of a page leads to a file of its book.
TEST(HelpBooks, WholeInBothLanguages) {
    std::set<std::string> pages[2];
    int book = 0;
    for (const char* language : {"English", "Russian"}) {
        const fs::path folder = kShipped / "help" / language;
        std::istringstream contents(test::ReadBytes(folder / "contents.txt"));
        for (std::string line; std::getline(contents, line);) {
            const std::string page = line.substr(0, line.find('\t'));
            pages[book].insert(page);
            const std::string html = test::ReadBytes(folder / page);
            ASSERT_FALSE(html.empty()) << language << "/" << page;
            static const QRegularExpression target(R"re((src|href)="([^"#:]+)")re");
            for (const auto& match : target.globalMatch(QString::fromStdString(html))) {
                const std::string file = match.captured(2).toStdString();
                EXPECT_TRUE(fs::exists(folder / file)) << language << "/" << page << ": " << file;
            }
        }
        ++book;
    }
    EXPECT_EQ(pages[0], pages[1]);
    EXPECT_GE(pages[0].size(), 10u);
}

} // namespace
} // namespace qm
