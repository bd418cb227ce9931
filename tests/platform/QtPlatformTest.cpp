#include "platform/TQtPlatform.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace qm {
namespace {

using test::TempDir;
using test::WriteBytes;

QString Folder(const TempDir& dir) {
    return QString::fromStdString(dir.path().string());
}

// Runs `act` on the modal window the code under test opens next. When none
// shows up, or `act` leaves it open, the test fails and the window is closed,
// so nothing waits for a person.
void WhenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++*waited < 500)
            return;
        timer->stop();
        timer->deleteLater();
        if (!modal) {
            ADD_FAILURE() << "no modal window came up";
            return;
        }
        act(modal);
        if (QApplication::activeModalWidget() == modal) {
            ADD_FAILURE() << "the modal window was left open";
            modal->close();
        }
    });
    timer->start(10);
}

TEST(QtPlatform, NameFiltersFromTheMessageTableForm) {
    const QString config = QString::fromUtf8("Конфигурационные файлы Warcraft III|*.txt");
    EXPECT_EQ(QtNameFilters(config, false),
              QStringList{QString::fromUtf8("Конфигурационные файлы Warcraft III (*.txt)")});
    EXPECT_EQ(QtNameFilters("war3.mpq|war3.mpq", false), QStringList{"war3.mpq (war3.mpq)"});
    EXPECT_EQ(QtNameFilters("Text|*.txt;*.wrk|All|*.*", false),
              (QStringList{"Text (*.txt *.wrk)", "All (*.*)"}));
    EXPECT_TRUE(QtNameFilters("", false).isEmpty());
    EXPECT_TRUE(QtNameFilters("no pattern", false).isEmpty());
}

TEST(QtPlatform, CaselessPatternsMatchAnySpelling) {
    const QStringList filters = QtNameFilters("war3.mpq|war3.mpq", true);
    ASSERT_EQ(filters.size(), 1);
    const QString pattern = filters[0].section(u'(', 1).chopped(1);
    const auto re = QRegularExpression::fromWildcard(pattern);
    for (const char* name : {"war3.mpq", "WAR3.MPQ", "War3.Mpq"})
        EXPECT_TRUE(re.match(name).hasMatch()) << name;
    for (const char* name : {"war3x.mpq", "war3.mpqx", "war3Xmpq"})
        EXPECT_FALSE(re.match(name).hasMatch()) << name;
}

TEST(QtPlatform, SecondCopyIsRefusedWhileTheFirstHoldsTheLock) {
    TempDir dir;
    auto first = std::make_unique<TQtPlatform>(Folder(dir));
    TQtPlatform second(Folder(dir));
    EXPECT_TRUE(first->AcquireSingleCopy());
    EXPECT_TRUE(first->AcquireSingleCopy()); // holding it already
    EXPECT_TRUE(QFileInfo::exists(first->LockPath()));
    EXPECT_TRUE(first->LockPath().endsWith("[02CD2664-381A-4463-91F4-A584820CC790].lock"));
    EXPECT_FALSE(second.AcquireSingleCopy());
    first.reset(); // the first copy ends
    EXPECT_TRUE(second.AcquireSingleCopy());
}

// Writes a lock file as another copy of this program with process `pid` would.
void WriteLockOf(const TQtPlatform& platform, pid_t pid, const QDateTime& modified) {
    QFile file(platform.LockPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::number(pid) + '\n' +
               QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n' +
               QSysInfo::machineHostName().toUtf8() + '\n');
    ASSERT_TRUE(file.flush()); // else closing would make it new again
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

TEST(QtPlatform, OldLockOfARunningCopyStillHolds) {
    TempDir dir;
    // Another copy, started hours ago and still running.
    const pid_t other = fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        pause();
        _exit(0);
    }
    TQtPlatform platform(Folder(dir));
    WriteLockOf(platform, other, QDateTime::currentDateTime().addSecs(-5 * 3600));
    EXPECT_FALSE(platform.AcquireSingleCopy());
    // Once it has crashed, its lock no longer counts.
    kill(other, SIGKILL);
    ASSERT_EQ(waitpid(other, nullptr, 0), other);
    EXPECT_TRUE(platform.AcquireSingleCopy());
}

TEST(QtPlatform, LockLeftByACrashedCopyDoesNotBlock) {
    TempDir dir;
    // A process that has ended: its PID names no running program.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);

    TQtPlatform platform(Folder(dir));
    WriteLockOf(platform, child, QDateTime::currentDateTime());
    EXPECT_TRUE(platform.AcquireSingleCopy());
    TQtPlatform another(Folder(dir));
    EXPECT_FALSE(another.AcquireSingleCopy()); // the lock is ours now
}

// A lock that names no live copy of the program is stale and taken over:
// empty, garbled, a folder in its place, the lock of another program.
TEST(QtPlatform, ALockOfNoLiveCopyIsTakenOver) {
    TempDir dir;
    TQtPlatform platform(Folder(dir));
    const QString path = platform.LockPath();
    const std::vector<std::function<void()>> stale = {
        [&] { WriteBytes(path.toStdString(), ""); },
        [&] { WriteBytes(path.toStdString(), std::string("\x9f\x00garbage\n\xff", 11)); },
        [&] { std::filesystem::create_directory(path.toStdString()); },
        // The live process that started the tests, under its own name.
        [&] {
            const pid_t parent = getppid();
            const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(parent));
            WriteBytes(path.toStdString(), std::to_string(parent) + "\n" +
                                               QFileInfo(exe).fileName().toStdString() + "\n" +
                                               QSysInfo::machineHostName().toStdString() + "\n");
        }};
    for (size_t i = 0; i < stale.size(); ++i) {
        TQtPlatform copy(Folder(dir));
        stale[i]();
        EXPECT_TRUE(copy.AcquireSingleCopy()) << i;
        EXPECT_EQ(copy.SingleCopyProblem().Path, "") << i;
        EXPECT_FALSE(TQtPlatform(Folder(dir)).AcquireSingleCopy()) << i; // ours now
    }
}

// A lock that cannot be made keeps no copy from running; it is named, with
// the system's reason.
TEST(QtPlatform, ALockThatCannotBeMadeIsReportedAndTheCopyRuns) {
    TempDir dir;
    TQtPlatform missing(Folder(dir) + "/gone");
    EXPECT_TRUE(missing.AcquireSingleCopy());
    EXPECT_EQ(missing.SingleCopyProblem().Path, missing.LockPath());
    EXPECT_EQ(missing.SingleCopyProblem().Why, "No such file or directory");

    TQtPlatform blocked(Folder(dir));
    std::filesystem::create_directories(blocked.LockPath().toStdString() + "/inside");
    EXPECT_TRUE(blocked.AcquireSingleCopy());
    EXPECT_EQ(blocked.SingleCopyProblem().Path, blocked.LockPath());
    EXPECT_EQ(blocked.SingleCopyProblem().Why, "Directory not empty");
}

// Messages carry paths and language files: a box shows them as text.
TEST(QtPlatform, MessageBoxesShowTheirTextAsText) {
    TQtPlatform platform;
    const QString text = QStringLiteral("Cannot read\r\n/tmp/a<img src=/dev/zero>b/<h1>BIG.txt");
    Qt::TextFormat format = Qt::RichText;
    QString shown;
    WhenModal([&](QWidget* box) {
        const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        if (label) {
            format = label->textFormat();
            shown = label->text();
        }
        static_cast<QMessageBox*>(box)->accept();
    });
    platform.MessageBox(nullptr, "Error", text, TMsgIcon::Error, TMsgButtons::Ok);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown, text);
}

TEST(QtPlatform, GameFolderFromTheWinePrefix) {
    TempDir dir;
    const auto prefix = dir / "prefix";
    std::filesystem::create_directories(prefix / "drive_c" / "Games" / "Warcraft III");
    WriteBytes(prefix / "user.reg",
               "WINE REGISTRY Version 2\n\n[Software\\\\Blizzard Entertainment\\\\Warcraft III] 1\n"
               "\"InstallPath\"=\"C:\\\\Games\\\\Warcraft III\\\\\"\n");
    const char* saved = std::getenv("WINEPREFIX");
    const std::string keep = saved ? saved : "";
    setenv("WINEPREFIX", prefix.c_str(), 1);
    TQtPlatform platform(Folder(dir));
    const QString expected = QString::fromStdString(
        (std::filesystem::canonical(prefix / "drive_c") / "Games" / "Warcraft III").string());
    EXPECT_EQ(platform.RegistryGameFolder(), expected);
    std::filesystem::remove(prefix / "user.reg");
    EXPECT_EQ(platform.RegistryGameFolder(), "");
    if (saved)
        setenv("WINEPREFIX", keep.c_str(), 1);
    else
        unsetenv("WINEPREFIX");
}

TEST(QtPlatform, MessageBoxShowsCaptionTextIconAndButtons) {
    TQtPlatform platform;
    QWidget owner;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget* parent = nullptr;
    WhenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        parent = box->parentWidget();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(platform.MessageBox(&owner, "Caption", "Save?\r\nReally?", TMsgIcon::Question,
                                  TMsgButtons::YesNoCancel),
              TMsgAnswer::No);
    EXPECT_EQ(title, "Caption");
    EXPECT_EQ(text, "Save?\r\nReally?");
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(parent, &owner);
}

TEST(QtPlatform, MessageBoxAnswersAndEscape) {
    TQtPlatform platform;
    struct Case {
        TMsgIcon icon;
        TMsgButtons buttons;
        QMessageBox::Icon shown;
        int click; // a button, or -1 for Escape
        TMsgAnswer answer;
    };
    const Case cases[] = {
        {TMsgIcon::Error, TMsgButtons::Ok, QMessageBox::Critical, QMessageBox::Ok, TMsgAnswer::Ok},
        {TMsgIcon::None, TMsgButtons::Ok, QMessageBox::NoIcon, -1, TMsgAnswer::Ok},
        {TMsgIcon::Warning, TMsgButtons::OkCancel, QMessageBox::Warning, QMessageBox::Cancel,
         TMsgAnswer::Cancel},
        {TMsgIcon::Information, TMsgButtons::YesNo, QMessageBox::Information, QMessageBox::Yes,
         TMsgAnswer::Yes},
        {TMsgIcon::Question, TMsgButtons::YesNo, QMessageBox::Question, -1, TMsgAnswer::No},
        {TMsgIcon::Question, TMsgButtons::YesNoCancel, QMessageBox::Question, -1,
         TMsgAnswer::Cancel},
    };
    for (const Case& c : cases) {
        QMessageBox::Icon shown = QMessageBox::NoIcon;
        WhenModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            shown = box->icon();
            if (c.click < 0)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(static_cast<QMessageBox::StandardButton>(c.click))->click();
        });
        EXPECT_EQ(platform.MessageBox(nullptr, "C", "T", c.icon, c.buttons), c.answer);
        EXPECT_EQ(shown, c.shown);
    }
}

// The names the open dialog lists in its folder, once it has read it.
QStringList ListedNames(QFileDialog* dialog) {
    auto* view = dialog->findChild<QListView*>("listView");
    if (!view)
        return {};
    QStringList names;
    const bool read = QTest::qWaitFor(
        [&] {
            names.clear();
            const QModelIndex root = view->rootIndex();
            for (int row = 0; row < view->model()->rowCount(root); ++row)
                names << view->model()->index(row, 0, root).data().toString();
            return !names.isEmpty();
        },
        5000);
    EXPECT_TRUE(read) << "the dialog never listed its folder";
    names.sort();
    return names;
}

// Types a name into the dialog and presses Enter, as a person would.
void TypeFileName(QFileDialog* dialog, const QString& name) {
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    edit->clear();
    QTest::keyClicks(edit, name);
    QTest::keyClick(edit, Qt::Key_Return);
}

TEST(QtPlatform, OpenDialogFindsWar3MpqInAnyCase) {
    TempDir dir;
    WriteBytes(dir / "WAR3.MPQ", "x");
    WriteBytes(dir / "war3x.mpq", "x");
    WriteBytes(dir / "readme.txt", "x");
    TQtPlatform platform;
    QStringList listed;
    QString shownFilter;
    WhenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_TRUE(dialog->testOption(QFileDialog::HideNameFilterDetails));
        if (auto* types = dialog->findChild<QComboBox*>("fileTypeCombo"))
            shownFilter = types->currentText();
        listed = ListedNames(dialog);
        TypeFileName(dialog, "WAR3.MPQ");
    });
    EXPECT_EQ(platform.OpenFileName(nullptr, Folder(dir), "war3.mpq|war3.mpq"),
              Folder(dir) + "/WAR3.MPQ");
    EXPECT_EQ(listed, QStringList{"WAR3.MPQ"});
    EXPECT_EQ(shownFilter, "war3.mpq"); // the bracketed pattern stays out of sight
}

TEST(QtPlatform, CancelledDialogGivesNothing) {
    TempDir dir;
    TQtPlatform platform;
    WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(platform.OpenFileName(nullptr, Folder(dir), "Text|*.txt"), "");
}

TEST(QtPlatform, SaveDialogLeavesTheReplaceQuestionToTheCaller) {
    TempDir dir;
    WriteBytes(dir / "CustomKeys.txt", "old");
    TQtPlatform platform;
    bool confirms = true;
    WhenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        TypeFileName(dialog, "CustomKeys.txt");
    });
    EXPECT_EQ(platform.SaveFileName(nullptr, Folder(dir), "Text|*.txt"),
              Folder(dir) + "/CustomKeys.txt");
    EXPECT_FALSE(confirms);
}

TEST(QtPlatform, ColourDialogOpensOnTheColourAndGivesTheChoice) {
    TQtPlatform platform;
    QColor shown;
    WhenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        shown = dialog->currentColor();
        dialog->setCurrentColor(QColor(1, 2, 3));
        dialog->accept();
    });
    EXPECT_EQ(platform.ChooseColor(nullptr, QColor(255, 204, 0)), QColor(1, 2, 3));
    EXPECT_EQ(shown, QColor(255, 204, 0));
    WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(platform.ChooseColor(nullptr, Qt::red), std::nullopt);
}

#ifndef Q_OS_WIN
TEST(QtPlatform, NoHtmlHelpOutsideWindows) {
    TempDir dir;
    WriteBytes(dir / "QMKHelp.chm", "x");
    TQtPlatform platform;
    EXPECT_FALSE(platform.HtmlHelp(nullptr, 0, Folder(dir) + "/QMKHelp.chm::/Intro.htm"));
}
#endif

} // namespace
} // namespace qm
