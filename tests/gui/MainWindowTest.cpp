// The main window driven headless: start-up, the file commands with their
// questions answered, and the failures that must not lose work.

#include "EditorFixture.h"
#include "config/uCfgManager.h"
#include "editor/Main.h"
#include "fixtures/TMpqWriter.h"
#include "lang/About.h"
#include "lang/GlobalConst.h"
#include "lang/Help.h"
#include "support/TScriptedPlatform.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;
using A = TMsgAnswer;

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override { ResetMessages(); }

    // Starts the editor on the program folder; true when it got to its window.
    bool Start() {
        frm_ = std::make_unique<TfrmMain>(platform_, pf_.path());
        QObject::connect(frm_.get(), &TfrmMain::StartupStatus,
                         [this](const QString& s) { statuses_ << s; });
        if (!frm_->Start())
            return false;
        frm_->show();
        frm_->activateWindow();
        return QTest::qWaitForWindowActive(frm_.get());
    }
    QAction* Act(const char* name) { return frm_->findChild<QAction*>(name); }
    QTreeWidget* Tree() { return frm_->findChild<QTreeWidget*>("tvMain"); }
    void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        QTest::keyClick(frm_.get(), key, mods);
    }
    // A change in the working copy that the snapshot does not have.
    void Change() { frm_->Documents().SetField(frm_->CurCfgMngr()->Records(0).ID, fiHotkey, "Z"); }
    QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }
    QString LastText() { return platform_.asked.empty() ? QString() : platform_.asked.back().text; }
    QString StatusText() { return frm_->statusBar()->currentMessage(); }
    // The last message is `message` with the file and the reason on a line after it.
    bool Said(const QString& message) { return LastText().startsWith(message + "\r\n"); }
    fs::path UserFile(const std::string& text = "[Aabc]\r\nHotkey=Q\r\n[Bbcd]\r\nHotkey=W\r\n") {
        const fs::path p = pf_ / "my.txt";
        WriteBytes(p, text);
        return p;
    }
    void OpenFile(const fs::path& path) {
        platform_.PickFile(Q(path));
        Press(Qt::Key_O);
    }

    test::TProgramFolder pf_;
    test::TScriptedPlatform platform_;
    std::unique_ptr<TfrmMain> frm_;
    QStringList statuses_;
};

// ---- start-up ----

TEST_F(MainWindow, WarmStartOpensTheDefaultsUntitled) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(platform_.asked.empty());
    EXPECT_EQ(statuses_, QStringList({Msg(msgStatusPreparing), Msg(msgStatusStarting)}));
    EXPECT_EQ(frm_->windowTitle(), QString::fromUtf8("Quillmark:(без имени)[*]"));
    EXPECT_FALSE(frm_->HasUnsavedChanges());
    for (const char* name : {"actSave", "actSaveAs", "actSaveToWar"})
        EXPECT_TRUE(Act(name)->isEnabled()) << name;
    ASSERT_EQ(Tree()->topLevelItemCount(), 2);
    EXPECT_EQ(Tree()->currentItem(), Tree()->topLevelItem(0));
    EXPECT_FALSE(frm_->findChild<QPushButton*>("btnAdd")->isVisible());
    EXPECT_TRUE(frm_->findChild<QPushButton*>("btnBack")->isVisible());
    auto* gb = frm_->findChild<QGroupBox*>("gbSettings");
    EXPECT_FALSE(gb->isEnabled());
    EXPECT_EQ(gb->title(), QString::fromUtf8("Действие не выбрано"));
}

TEST_F(MainWindow, FrameMenuAndToolBar) {
    ASSERT_TRUE(Start());
    // The default size; the tree has the room the panel leaves.
    EXPECT_EQ(frm_->centralWidget()->width(), 677);
    EXPECT_NEAR(frm_->height() - frm_->menuBar()->height() -
                    frm_->findChild<QWidget*>("sbMain")->height(),
                406, 2);
    EXPECT_EQ(frm_->findChild<QTreeWidget*>("tvMain")->width(), 273);
    EXPECT_EQ(frm_->findChild<QTreeWidget*>("tvMain")->geometry().bottom(),
              frm_->centralWidget()->height() - 1)
        << "the tree reaches down to the status bar";
    EXPECT_EQ(frm_->findChild<QWidget*>("pnlGreed")->size(), QSize(151, 113));
    EXPECT_EQ(Tree()->indentation(), 19);
    EXPECT_EQ(Tree()->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(Tree()->iconSize(), QSize(32, 32));

    QStringList menus;
    for (QAction* a : frm_->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({QString::fromUtf8("&Файл"), QString::fromUtf8("&Правка"),
                                  QString::fromUtf8("&Вид"), QString::fromUtf8("&Сервис")}));
    // Help sits on its own at the right edge of the bar.
    auto* corner = qobject_cast<QMenuBar*>(frm_->menuBar()->cornerWidget(Qt::TopRightCorner));
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->actions().value(0)->text(), QString::fromUtf8("Сп&равка"));
    const QPoint helpRight = corner->mapTo(frm_.get(), QPoint(corner->width(), 0));
    EXPECT_GE(helpRight.x(), frm_->width() - 4);
    const QRect service = frm_->menuBar()->actionGeometry(frm_->menuBar()->actions().value(2));
    EXPECT_LT(service.right(), corner->mapTo(frm_.get(), QPoint(0, 0)).x());

    QStringList file;
    for (QAction* a : frm_->findChild<QMenu*>("mnuFile")->actions())
        file << (a->isSeparator() ? QStringLiteral("-")
                 : a->menu()      ? a->menu()->objectName()
                                  : a->objectName());
    EXPECT_EQ(file, QStringList({"actNew", "actOpen", "actOpenFromWar", "mnuRecent", "-", "actSave",
                                 "actSaveAs", "actSaveToWar", "-", "actExit"}));
    EXPECT_EQ(Act("actSaveAs")->shortcut(), QKeySequence("Ctrl+Shift+S"));
    EXPECT_EQ(Act("actExit")->text(), QString::fromUtf8("В&ыход"));
    for (const char* name : {"tbNew", "tbOpen", "tbSave", "tbFind", "tbCut", "tbCopy", "tbPaste",
                             "tbUndo", "tbMultiEdit"})
        EXPECT_NE(frm_->findChild<QToolButton*>(name), nullptr) << name;
}

// Without HTML Help the window of our own opens the language's book.
TEST_F(MainWindow, F1OpensTheHelpAtItsIntroduction) {
    for (const char* book : {"English", "Russian"}) {
        fs::create_directories(pf_ / "QMKData/help" / book);
        WriteBytes(pf_ / "QMKData/help" / book / "contents.txt",
                   std::string(book) + "-intro.htm\tIntro\nmore.htm\tMore\n");
        WriteBytes(pf_ / "QMKData/help" / book / (std::string(book) + "-intro.htm"), "<p>hi</p>");
    }
    pf_.WriteSettings("[Initialisation]\r\nDefCfgLoaded=1\r\nTVLoaded=1\r\nIconsLoaded=1\r\n"
                      "[Strings]\r\nLangFileName=QMKData\\Russian.qlg\r\nWar3Folder=" +
                      pf_.Game().string() + "\r\n");
    ASSERT_TRUE(Start());
    Press(Qt::Key_F1, Qt::NoModifier);
    ASSERT_EQ(platform_.htmlHelpFiles.size(), 1);
    EXPECT_TRUE(
        platform_.htmlHelpFiles[0].endsWith(QString::fromUtf8("QMKHelp.chm::/Введение.htm")));
    auto* help = frm_->findChild<TfrmHelp*>("frmHelp");
    ASSERT_TRUE(help && help->isVisible());
    EXPECT_EQ(help->CurrentPage(), "Russian-intro.htm");
    frm_->Settings().LangFileName = "QMKData\\English.qlg";
    Act("actHelp")->trigger();
    EXPECT_EQ(help->CurrentPage(), "English-intro.htm");
    // No book at all: said so, nothing opened.
    fs::remove_all(pf_ / "QMKData/help");
    help->hide();
    platform_.Answer(A::Ok);
    Act("actHelp")->trigger();
    EXPECT_TRUE(LastText().startsWith(Msg(msgNoHelp)));
    EXPECT_FALSE(help->isVisible());
}

TEST_F(MainWindow, AboutBoxShowsAndOkClosesIt) {
    ASSERT_TRUE(Start());
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown = box->ProductName->text() + " " + box->Version->text();
        QTest::mouseClick(box->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    Act("actAbout")->trigger();
    EXPECT_EQ(shown, "Quillmark Version 1.3.4");
}

TEST_F(MainWindow, SecondCopyOnlySaysSo) {
    platform_.lockResult = false;
    platform_.Answer(A::Ok);
    EXPECT_FALSE(Start());
    ASSERT_EQ(platform_.asked.size(), 1u);
    EXPECT_EQ(platform_.asked[0].caption, "Quillmark");
    EXPECT_EQ(platform_.asked[0].text, Msg(msgAlreadyRunning));
    EXPECT_EQ(platform_.asked[0].icon, TMsgIcon::Information);
    EXPECT_TRUE(statuses_.isEmpty());
}

// A lock that cannot be made is named, and the program starts all the same.
TEST_F(MainWindow, ALockThatCannotBeMadeIsSaidAndTheStartGoesOn) {
    platform_.lockProblem = {"/run/user/1000/quillmark.lock", "No space left on device"};
    platform_.Answer(A::Ok);
    EXPECT_TRUE(Start());
    ASSERT_EQ(platform_.asked.size(), 1u);
    EXPECT_EQ(platform_.asked[0].text,
              Msg(msgLockUnavailable) +
                  "\r\n/run/user/1000/quillmark.lock: No space left on device");
    EXPECT_EQ(platform_.asked[0].icon, TMsgIcon::Warning);
}

TEST_F(MainWindow, GameFolderFromTheRegistryOrTheDialog) {
    pf_.WriteSettings("[Initialisation]\r\nDefCfgLoaded=1\r\nTVLoaded=1\r\nIconsLoaded=1\r\n");
    platform_.registryFolder = Q(pf_.Game());
    ASSERT_TRUE(Start());
    EXPECT_TRUE(platform_.asked.empty());
    EXPECT_EQ(frm_->Settings().War3Folder, Q(pf_.Game()));
}

TEST_F(MainWindow, NoGameFolderAndTheUserSaysNo) {
    pf_.WriteSettings("[Initialisation]\r\nDefCfgLoaded=1\r\nTVLoaded=1\r\nIconsLoaded=1\r\n");
    platform_.Answer(A::No);
    EXPECT_FALSE(Start());
    ASSERT_EQ(platform_.asked.size(), 1u);
    EXPECT_EQ(platform_.asked[0].text, Msg(msgNoGameFolder));
    EXPECT_EQ(platform_.asked[0].caption, Msg(msgError));
    EXPECT_EQ(platform_.asked[0].owner, nullptr);
}

// With the built-in defaults beside the program, No starts the editor on
// them: no tooltips, no import, and the way to a game said and offered.
TEST_F(MainWindow, NoGameStartsOnTheBuiltInDefaults) {
    fs::create_directories(pf_ / "QMKData/Builtin/Icons");
    WriteBytes(pf_ / "QMKData/Builtin/DefaultKeys.wrk",
               "[Aabc]\r\nHotkey=A\r\nButtonpos=0,0\r\nArt=BTNFoot.blp\r\n");
    WriteBytes(pf_ / "QMKData/Builtin/TV_foreign.wrk", "Human|?\r\n\tFootman|Aabc|BTNFoot.jpg\r\n");
    WriteBytes(pf_ / "QMKData/Builtin/Icons/BTNFoot.jpg", test::SolidJpeg(0x303030));
    pf_.WriteSettings("[Initialisation]\r\nLanguage=foreign\r\n");
    platform_.Answer(A::No);
    ASSERT_TRUE(Start());
    EXPECT_EQ(frm_->statusBar()->currentMessage(), Msg(msgNoGameBuiltin));
    EXPECT_EQ(frm_->CurCfgMngr()->Count(), 1) << "the built-in defaults, not the imported ones";
    EXPECT_EQ(frm_->CurCfgMngr()->Records(0).Tip, "");
    EXPECT_FALSE(frm_->Settings().DefCfgLoaded) << "nothing imported, nothing marked";
    Tree()->setCurrentItem(Tree()->topLevelItem(0)->child(0));
    QTest::keyClicks(frm_->findChild<QWidget*>("txtHotKey"), "q");
    EXPECT_EQ(frm_->Documents().Shown("Aabc").Tip, "") << "no tooltip made up";
    EXPECT_FALSE(Tree()->topLevelItem(0)->child(0)->icon(0).isNull());

    platform_.Answer(A::Ok);
    Act("actSaveToWar")->trigger();
    EXPECT_EQ(LastText(), Msg(msgNoGameYet));

    // Choosing the game: kept, and imported at the next start.
    platform_.PickFile(Q(pf_.Game() / "war3.mpq"));
    platform_.Answer(A::Ok);
    Act("actChooseGame")->trigger();
    EXPECT_EQ(LastText(), Msg(msgGameNextStart).arg(Q(pf_.Game())));
    const std::string ini = ReadBytes(pf_.Settings());
    EXPECT_NE(ini.find("War3Folder=" + pf_.Game().string()), std::string::npos);
    EXPECT_NE(ini.find("DefCfgLoaded=0"), std::string::npos);
}

TEST_F(MainWindow, GameFolderChosenAsWar3MpqInCapitals) {
    pf_.WriteSettings("[Initialisation]\r\nDefCfgLoaded=1\r\nTVLoaded=1\r\nIconsLoaded=1\r\n");
    platform_.Answer(A::Yes);
    platform_.PickFile(Q(pf_.Game() / "WAR3.MPQ"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(frm_->Settings().War3Folder, Q(pf_.Game()));
}

TEST_F(MainWindow, GameFolderDialogWithAnotherFileEnds) {
    pf_.WriteSettings("[Initialisation]\r\nDefCfgLoaded=1\r\nTVLoaded=1\r\nIconsLoaded=1\r\n");
    platform_.Answer(A::Yes);
    platform_.PickFile(Q(pf_.Game() / "war3x.mpq"));
    EXPECT_FALSE(Start());
}

TEST_F(MainWindow, MissingTreeOrDefaultsEndTheStart) {
    fs::remove(pf_ / "QMKData/TV_foreign.wrk");
    platform_.Answer(A::Ok);
    EXPECT_FALSE(Start());
    EXPECT_TRUE(
        Said(Msg(msgCannotLoadTree) + "QMKData\\TV_foreign.wrk" + Msg(msgTreeInProgramFolder)));
    fs::remove(pf_ / "QMKData/DefaultKeys.wrk");
    platform_.Answer(A::Ok);
    EXPECT_FALSE(Start());
    EXPECT_TRUE(Said(Msg(msgCannotReadInternal) + "QMKData\\DefaultKeys.wrk"));
}

// ---- icons ----

TEST_F(MainWindow, IconsLoadWhenTheirGroupIsShown) {
    ASSERT_TRUE(Start());
    auto* human = TTVNode::From(Tree()->topLevelItem(0));
    auto* orc = TTVNode::From(Tree()->topLevelItem(1));
    EXPECT_GT(human->ImageIndex, 0);
    EXPECT_GT(orc->ImageIndex, 0);
    // The first node is selected, so its card shows its children's icons.
    auto* footman = TTVNode::From(human->child(0));
    EXPECT_GT(footman->ImageIndex, 0);
    EXPECT_EQ(frm_->Images().Count(), 5);
    Tree()->expandItem(human);
    EXPECT_GT(TTVNode::From(human->child(1))->ImageIndex, 0);
    EXPECT_EQ(TTVNode::From(footman->child(0))->ImageIndex, 0);
    EXPECT_EQ(TTVNode::From(orc->child(0))->ImageIndex, 0);
}

// ---- unsaved changes and New ----

TEST_F(MainWindow, NewAsksAboutChangesCancelKeepsThem) {
    ASSERT_TRUE(Start());
    Change();
    fs::remove(pf_.Settings());
    platform_.Answer(A::Cancel);
    Press(Qt::Key_N);
    ASSERT_EQ(platform_.asked.size(), 1u);
    EXPECT_EQ(platform_.asked[0].text, Msg(msgFileChanged));
    EXPECT_EQ(platform_.asked[0].caption, Msg(msgAttention));
    EXPECT_EQ(platform_.asked[0].buttons, TMsgButtons::YesNoCancel);
    EXPECT_TRUE(frm_->HasUnsavedChanges());
    EXPECT_TRUE(fs::exists(pf_.Settings())); // written even on Cancel
}

TEST_F(MainWindow, NewNoDiscardsTheChanges) {
    ASSERT_TRUE(Start());
    Change();
    platform_.Answer(A::No);
    Press(Qt::Key_N);
    EXPECT_FALSE(frm_->HasUnsavedChanges());
    EXPECT_EQ(frm_->CurCfgMngr()->Records(0).Hotkey, "A");
}

TEST_F(MainWindow, NewYesOnUntitledGoesThroughSaveAs) {
    ASSERT_TRUE(Start());
    Change();
    const fs::path target = pf_ / "saved";
    platform_.Answer(A::Yes);
    platform_.PickFile(Q(target));
    Press(Qt::Key_N);
    EXPECT_NE(ReadBytes(pf_ / "saved.txt").find("Hotkey=Z"), std::string::npos);
    EXPECT_EQ(platform_.asked.size(), 1u) << "success is said in the status bar";
    // Then New went on: an untitled copy of the defaults.
    EXPECT_EQ(frm_->windowTitle(), QString::fromUtf8("Quillmark:(без имени)[*]"));
    EXPECT_EQ(frm_->CurCfgMngr()->Records(0).Hotkey, "A");
}

TEST_F(MainWindow, YesWithCancelledSaveAsKeepsTheWindowAndTheChanges) {
    ASSERT_TRUE(Start());
    Change();
    platform_.Answer(A::Yes);
    platform_.CancelFile();
    EXPECT_FALSE(frm_->close());
    EXPECT_TRUE(frm_->isVisible());
    EXPECT_TRUE(frm_->HasUnsavedChanges());
    EXPECT_EQ(frm_->CurCfgMngr()->Records(0).Hotkey, "Z");
}

TEST_F(MainWindow, YesWithFailedSaveKeepsTheWindowOpen) {
    ASSERT_TRUE(Start());
    fs::create_directories(pf_ / "sub");
    WriteBytes(pf_ / "sub" / "k.txt", "[Aabc]\r\nHotkey=Q\r\n");
    OpenFile(pf_ / "sub" / "k.txt");
    Change();
    fs::remove_all(pf_ / "sub");
    platform_.Answer(A::Yes).Answer(A::Ok);
    EXPECT_FALSE(frm_->close());
    EXPECT_TRUE(Said(Msg(msgCannotSave)));
    EXPECT_TRUE(frm_->HasUnsavedChanges());
}

TEST_F(MainWindow, CloseWithoutChangesAsksNothing) {
    ASSERT_TRUE(Start());
    Act("actExit")->trigger();
    EXPECT_FALSE(frm_->isVisible());
    EXPECT_TRUE(platform_.asked.empty());
    EXPECT_EQ(frm_->CurCfgMngr(), nullptr);
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
}

TEST_F(MainWindow, UnwritableSettingsDoNotKeepTheWindowOpen) {
    ASSERT_TRUE(Start());
    fs::remove(pf_.Settings());
    fs::create_directories(pf_.Settings()); // a folder where the file should be
    platform_.Answer(A::Ok);
    EXPECT_TRUE(frm_->close());
    ASSERT_EQ(platform_.asked.size(), 1u);
    EXPECT_TRUE(platform_.asked[0].text.startsWith(Msg(msgCannotWriteTo)));
    EXPECT_TRUE(platform_.asked[0].text.contains("QMK.ini\r\n"));
}

// ---- open ----

TEST_F(MainWindow, OpenShowsTheFileAndCancelKeepsIt) {
    ASSERT_TRUE(Start());
    const fs::path file = UserFile();
    OpenFile(file);
    EXPECT_EQ(frm_->windowTitle(), "Quillmark: (my.txt)[*]");
    EXPECT_EQ(frm_->CurFileName(), Q(file));
    EXPECT_EQ(frm_->CurCfgMngr()->Count(), 2);
    platform_.CancelFile();
    Press(Qt::Key_O);
    EXPECT_EQ(frm_->CurFileName(), Q(file));
    EXPECT_TRUE(platform_.asked.empty());
}

TEST_F(MainWindow, UnreadableFileKeepsTheCurrentDocuments) {
    ASSERT_TRUE(Start());
    Change();
    const fs::path bad = pf_ / "empty.txt";
    WriteBytes(bad, "no sections here\r\n");
    const TCfgManager* before = frm_->CurCfgMngr();
    platform_.Answer(A::No).Answer(A::Ok);
    OpenFile(bad);
    EXPECT_TRUE(Said(Msg(msgCannotRead) + Q(bad) + Msg(msgNotAConfig)));
    EXPECT_TRUE(LastText().endsWith(Msg(msgWhyNoSection))) << "the reason, in the table's words";
    EXPECT_EQ(frm_->CurCfgMngr(), before);
    EXPECT_EQ(frm_->CurCfgMngr()->Records(0).Hotkey, "Z");
    platform_.Answer(A::No).Answer(A::Ok);
    OpenFile(pf_ / "missing.txt");
    EXPECT_TRUE(Said(Msg(msgCannotRead) + Q(pf_ / "missing.txt") + Msg(msgNotAConfig)));
    EXPECT_TRUE(frm_->isVisible());
}

TEST_F(MainWindow, FileNamedLikeTheDefaultsElsewhereIsUntitledButSavedInPlace) {
    ASSERT_TRUE(Start());
    fs::create_directories(pf_ / "other");
    const fs::path file = pf_ / "other" / "DefaultKeys.wrk";
    WriteBytes(file, "[Aabc]\r\nHotkey=Q\r\n");
    OpenFile(file);
    EXPECT_EQ(frm_->windowTitle(), QString::fromUtf8("Quillmark:(без имени)[*]"));
    Change();
    Press(Qt::Key_S);
    EXPECT_NE(ReadBytes(file).find("Hotkey=Z"), std::string::npos);
}

// ---- save ----

TEST_F(MainWindow, SaveWritesNamedFileAndReadsItAgain) {
    ASSERT_TRUE(Start());
    const fs::path file = UserFile();
    OpenFile(file);
    Change();
    Press(Qt::Key_S);
    EXPECT_TRUE(platform_.asked.empty());
    EXPECT_EQ(StatusText(), Msg(msgConfigSavedAs) + Q(file));
    // Only the edited value changed; the file's own spelling stays.
    EXPECT_EQ(ReadBytes(file), "[Aabc]\r\nHotkey=Z\r\n[Bbcd]\r\nHotkey=W\r\n");
    EXPECT_FALSE(frm_->HasUnsavedChanges());
    EXPECT_EQ(frm_->windowTitle(), "Quillmark: (my.txt)[*]");
}

TEST_F(MainWindow, SaveOfAnEmptyDocumentFailsAndKeepsTheFile) {
    ASSERT_TRUE(Start());
    const fs::path file = UserFile();
    OpenFile(file);
    const std::string before = ReadBytes(file);
    frm_->Documents().ClearWorkingCopy();
    platform_.Answer(A::Ok);
    Press(Qt::Key_S);
    EXPECT_TRUE(Said(Msg(msgCannotSave)));
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(frm_->CurCfgMngr()->Count(), 0);
    EXPECT_EQ(test::ListFolder(pf_.path()).size(), 4u) << "no temporary file left";
}

TEST_F(MainWindow, SaveAsAsksBeforeReplacing) {
    ASSERT_TRUE(Start());
    const fs::path file = UserFile();
    const std::string before = ReadBytes(file);
    Change();
    // No returns to the dialog, which suggests the file refused; cancelling
    // it saves nothing.
    platform_.PickFile(Q(file));
    platform_.Answer(A::No);
    platform_.CancelFile();
    Act("actSaveAs")->trigger();
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_TRUE(frm_->HasUnsavedChanges());
    EXPECT_TRUE(LastText().contains("my.txt"));
    ASSERT_EQ(platform_.fileDialogs.size(), 2u);
    EXPECT_EQ(platform_.fileDialogs[1].folder, Q(file));

    platform_.PickFile(Q(file));
    platform_.Answer(A::Yes);
    QTest::keyClick(frm_.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(StatusText(), Msg(msgFileSavedAs) + Q(file));
    EXPECT_NE(ReadBytes(file).find("Hotkey=Z"), std::string::npos);
    EXPECT_EQ(frm_->windowTitle(), "Quillmark: (my.txt)[*]");
    EXPECT_FALSE(frm_->HasUnsavedChanges());
}

// ---- the game folder ----

TEST_F(MainWindow, OpenFromWarCraftAsksAboutChangesFirst) {
    ASSERT_TRUE(Start());
    WriteBytes(pf_.Game() / "CustomKeys.txt", "[Aabc]\r\nHotkey=Y\r\n");
    Change();
    platform_.Answer(A::Cancel);
    Act("actOpenFromWar")->trigger();
    EXPECT_EQ(LastText(), Msg(msgFileChanged));
    EXPECT_EQ(frm_->CurCfgMngr()->Records(0).Hotkey, "Z");
    platform_.Answer(A::No);
    Act("actOpenFromWar")->trigger();
    EXPECT_EQ(frm_->CurCfgMngr()->Records(0).Hotkey, "Y");
    EXPECT_EQ(frm_->windowTitle(), "Quillmark: (CustomKeys.txt)[*]");
}

TEST_F(MainWindow, MissingGameConfigurationIsCreatedOnYes) {
    ASSERT_TRUE(Start());
    platform_.Answer(A::Yes).Answer(A::Yes);
    Act("actOpenFromWar")->trigger();
    ASSERT_EQ(platform_.asked.size(), 2u);
    EXPECT_EQ(platform_.asked[0].text, Msg(msgNoWarConfig));
    EXPECT_EQ(platform_.asked[0].owner, nullptr);
    EXPECT_TRUE(platform_.asked[1].text.startsWith(Msg(msgSaveToWarQuestion)));
    EXPECT_TRUE(platform_.asked[1].text.endsWith("CustomKeys.txt?"));
    EXPECT_EQ(platform_.asked[1].caption, Msg(msgQuestion));
    EXPECT_TRUE(fs::exists(pf_.Game() / "CustomKeys.txt"));
    EXPECT_EQ(frm_->windowTitle(), "Quillmark: (CustomKeys.txt)[*]");
}

TEST_F(MainWindow, SaveToWarCraftNoWritesNothing) {
    ASSERT_TRUE(Start());
    platform_.Answer(A::No);
    Act("actSaveToWar")->trigger();
    EXPECT_FALSE(fs::exists(pf_.Game() / "CustomKeys.txt"));
    EXPECT_EQ(frm_->windowTitle(), QString::fromUtf8("Quillmark:(без имени)[*]"));
}

TEST_F(MainWindow, FailedSaveToWarCraftKeepsTheDocumentsName) {
    ASSERT_TRUE(Start());
    const fs::path file = UserFile();
    OpenFile(file);
    Change();
    fs::create_directories(pf_.Game() / "CustomKeys.txt"); // cannot be replaced by a file
    platform_.Answer(A::Yes).Answer(A::Ok);
    Act("actSaveToWar")->trigger();
    EXPECT_TRUE(Said(Msg(msgCannotSave)));
    EXPECT_EQ(frm_->CurFileName(), Q(file));
    EXPECT_EQ(frm_->windowTitle(), "Quillmark: (my.txt)[*]");
    EXPECT_TRUE(frm_->HasUnsavedChanges());
}

// ---- service commands ----

TEST_F(MainWindow, AddAllCountsWhatItAdds) {
    ASSERT_TRUE(Start());
    platform_.Answer(A::Ok);
    Act("actAddAll")->trigger();
    EXPECT_EQ(LastText(), Msg(msgRecordsAdded) + "0.");

    OpenFile(UserFile("[Aabc]\r\nHotkey=Q\r\n"));
    platform_.Answer(A::Ok);
    Act("actAddAll")->trigger();
    EXPECT_EQ(LastText(), Msg(msgRecordsAdded) + "3.");
    EXPECT_EQ(frm_->CurCfgMngr()->Count(), 4);
    EXPECT_EQ(frm_->CurCfgMngr()->FindRecord("Ddef")->Tip, "Defend");
    EXPECT_EQ(frm_->CurCfgMngr()->FindRecord("Aabc")->Hotkey, "Q");
    // An edit like any other, and undone as one.
    EXPECT_TRUE(frm_->HasUnsavedChanges());
    Press(Qt::Key_Z);
    EXPECT_EQ(frm_->CurCfgMngr()->Count(), 1);
    EXPECT_FALSE(frm_->HasUnsavedChanges());
}

TEST_F(MainWindow, DeleteAllEmptiesTheWorkingCopy) {
    ASSERT_TRUE(Start());
    platform_.Answer(A::No);
    Act("actDelAll")->trigger();
    EXPECT_EQ(frm_->CurCfgMngr()->Count(), 4);
    EXPECT_EQ(platform_.asked[0].caption, Msg(msgDangerous));

    // The selected action stays on show from its defaults, and stays
    // editable with auto-add; nothing comes back until it is edited.
    Tree()->setCurrentItem(Tree()->topLevelItem(0)->child(0));
    platform_.Answer(A::Yes).Answer(A::Ok);
    Act("actDelAll")->trigger();
    EXPECT_EQ(LastText(), Msg(msgAllDeleted));
    EXPECT_EQ(frm_->CurCfgMngr()->Count(), 0);
    EXPECT_TRUE(frm_->findChild<QWidget*>("gbSettings")->isEnabled());
    EXPECT_TRUE(frm_->HasUnsavedChanges());
    Press(Qt::Key_Z);
    EXPECT_EQ(frm_->CurCfgMngr()->Count(), 4);
    EXPECT_FALSE(frm_->HasUnsavedChanges());
}

TEST_F(MainWindow, ResetAllAndRestoreDefaults) {
    ASSERT_TRUE(Start());
    const fs::path file = UserFile();
    OpenFile(file);
    Change();
    // Unsaved changes are only dropped on Yes.
    platform_.Answer(A::No);
    Act("actResetAll")->trigger();
    EXPECT_EQ(LastText(), Msg(msgDropChangesQuestion));
    EXPECT_TRUE(frm_->HasUnsavedChanges());
    platform_.Answer(A::Yes);
    Act("actResetAll")->trigger();
    EXPECT_FALSE(frm_->HasUnsavedChanges());
    EXPECT_EQ(frm_->CurFileName(), Q(file));
    Act("actDefAll")->trigger(); // nothing to lose: no question
    EXPECT_EQ(frm_->CurCfgMngr()->Count(), 4);
    EXPECT_EQ(frm_->windowTitle(), QString::fromUtf8("Quillmark:(без имени)[*]"));
    EXPECT_EQ(platform_.asked.size(), 2u);
}

TEST_F(MainWindow, AutoAddAndTheAddButton) {
    ASSERT_TRUE(Start());
    OpenFile(UserFile("[Aabc]\r\nHotkey=Q\r\n"));
    auto* btnAdd = frm_->findChild<QPushButton*>("btnAdd");
    QTreeWidgetItem* human = Tree()->topLevelItem(0);
    // An action the file lacks is shown from its defaults, ready to edit;
    // its record comes with the first edit.
    Tree()->setCurrentItem(human->child(1));
    EXPECT_EQ(frm_->CurCfgMngr()->FindRecord("Ccde"), nullptr);
    EXPECT_TRUE(frm_->findChild<QWidget*>("gbSettings")->isEnabled());
    EXPECT_FALSE(frm_->HasUnsavedChanges()) << "showing alone is no edit";
    QTest::keyClicks(Tree(), "k");
    EXPECT_EQ(frm_->CurCfgMngr()->FindRecord("Ccde")->Hotkey, "K");

    Act("mnuAutoAdd")->trigger();
    EXPECT_FALSE(Act("mnuAutoAdd")->isChecked());
    EXPECT_TRUE(btnAdd->isVisible());
    Tree()->expandItem(Tree()->topLevelItem(1));
    Tree()->setCurrentItem(Tree()->topLevelItem(1)->child(0));
    EXPECT_EQ(frm_->CurCfgMngr()->FindRecord("Ddef"), nullptr);
    QTest::mouseClick(btnAdd, Qt::LeftButton);
    EXPECT_NE(frm_->CurCfgMngr()->FindRecord("Ddef"), nullptr);

    frm_->SaveProjectSettings();
    EXPECT_NE(ReadBytes(pf_.Settings()).find("mnuAutoAdd=0"), std::string::npos);
}

TEST_F(MainWindow, AutoAddOffFromTheSettingsShowsTheAddButton) {
    pf_.WriteSettings("[Initialisation]\r\nDefCfgLoaded=1\r\nTVLoaded=1\r\nIconsLoaded=1\r\n"
                      "[Interface]\r\nmnuAutoAdd=0\r\nmnuAlphasShow=0\r\n[Strings]\r\nWar3Folder=" +
                      pf_.Game().string() + "\r\n");
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Act("mnuAutoAdd")->isChecked());
    EXPECT_FALSE(Act("mnuAlphasShow")->isChecked());
    EXPECT_TRUE(frm_->findChild<QPushButton*>("btnAdd")->isVisible());
}

TEST_F(MainWindow, EditCommandsActOnTheFocusedField) {
    ASSERT_TRUE(Start());
    auto* field = new QLineEdit(frm_->centralWidget());
    field->show();
    field->setText("hotkey");
    field->setFocus();
    QTest::qWait(0);
    ASSERT_TRUE(field->hasFocus());
    field->selectAll();
    Press(Qt::Key_X);
    EXPECT_EQ(field->text(), "");
    Press(Qt::Key_V);
    EXPECT_EQ(field->text(), "hotkey");
    Press(Qt::Key_Z);
    EXPECT_EQ(field->text(), "");
}

} // namespace
} // namespace qm
