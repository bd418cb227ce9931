// The main window as a desktop window: resized, maximized and placed again
// at the next start; the recent files; where the file dialogs start.

#include "WindowFixture.h"

#include <QAction>
#include <QMenu>
#include <QScreen>

namespace qm {
namespace {

using test::WriteBytes;
namespace fs = std::filesystem;

const char* kTree = "Human|?\n\tFootman|hfoo\n";
const char* kDefaults = "[hfoo]\nHotkey=F\nTip=Footman\nButtonpos=0,0\n";

class Window : public test::TWindowTest {
  protected:
    void SetUp() override { Start(kTree, kDefaults); }
    // Closes the window (the settings are written) and starts it again.
    void Restart() {
        ASSERT_TRUE(frm_->close());
        frm_.reset();
        Start(kTree, kDefaults);
    }
    QStringList Recent() {
        QStringList shown;
        for (QAction* item : W<QMenu>("mnuRecent")->actions())
            shown << item->toolTip();
        return shown;
    }
    fs::path File(const std::string& name) {
        const fs::path file = pf_ / name;
        WriteBytes(file, "[hfoo]\r\nHotkey=Q\r\n");
        return file;
    }
};

// Every control of the client area stays whole inside the window, down to
// the smallest size the window takes; the tree has whatever room is left.
TEST_F(Window, ResizingKeepsEveryControlInside) {
    const QSize smallest = frm_->minimumSizeHint();
    for (QSize size : {smallest, QSize(1280, 1000), QSize(677, 444)}) {
        frm_->resize(size);
        QApplication::processEvents();
        SCOPED_TRACE(size.width());
        const QRect window = frm_->rect();
        for (QWidget* control : frm_->centralWidget()->findChildren<QWidget*>()) {
            if (!control->isVisible() || control->objectName().isEmpty())
                continue;
            const QRect at(control->mapTo(frm_.get(), QPoint(0, 0)), control->size());
            EXPECT_TRUE(window.contains(at)) << control->objectName().toStdString();
        }
    }
    frm_->resize(1280, 1000);
    QApplication::processEvents();
    EXPECT_EQ(W("pnlGreed")->size(), QSize(151, 113)) << "the card keeps its size";
    EXPECT_GT(Tree()->width(), 800);
    EXPECT_GT(Tree()->height(), 800);
}

TEST_F(Window, SizePlaceAndMaximizedAreKeptAcrossAStart) {
    const QRect screen = frm_->screen()->availableGeometry();
    const QRect wanted(screen.x() + 40, screen.y() + 30, 900, 700);
    frm_->setGeometry(wanted);
    Restart();
    EXPECT_EQ(frm_->geometry(), wanted);
    EXPECT_FALSE(frm_->isMaximized());

    frm_->showMaximized();
    QApplication::processEvents();
    Restart();
    EXPECT_TRUE(frm_->isMaximized());
    EXPECT_EQ(frm_->normalGeometry(), wanted) << "un-maximized, it goes back there";
}

TEST_F(Window, RecentFilesAreKeptNewestFirstTenAtMost) {
    EXPECT_FALSE(W<QMenu>("mnuRecent")->isEnabled());
    std::vector<fs::path> files;
    for (int i = 0; i < 12; ++i) {
        files.push_back(File("f" + std::to_string(i) + ".txt"));
        ASSERT_TRUE(frm_->ReOpen(pf_.Q(files.back())));
    }
    ASSERT_TRUE(frm_->ReOpen(pf_.Q(files[5]))); // again: to the top, once
    fs::remove(files[11]);
    Restart();
    const QStringList recent = Recent();
    ASSERT_EQ(recent.size(), 10);
    EXPECT_EQ(recent[0], pf_.Q(files[5]));
    EXPECT_EQ(recent[1], pf_.Q(files[11]));
    EXPECT_EQ(recent[9], pf_.Q(files[2])); // 5, 11, 10 … 6, 4, 3, 2
    EXPECT_EQ(recent.count(pf_.Q(files[5])), 1);
    const QList<QAction*> items = W<QMenu>("mnuRecent")->actions();
    EXPECT_FALSE(items[1]->isEnabled()) << "a file that is gone is greyed";
    EXPECT_TRUE(items[0]->text().endsWith("f5.txt"));

    items[2]->trigger();
    EXPECT_EQ(frm_->CurFileName(), pf_.Q(files[10]));
    EXPECT_EQ(Recent().front(), pf_.Q(files[10]));
}

// Open starts in the open file's folder; with the untitled defaults open,
// Open and Save As start where the game keeps its configuration.
TEST_F(Window, FileDialogsStartBesideTheFile) {
    platform_.CancelFile();
    frm_->actOpenExecute();
    EXPECT_EQ(platform_.fileDialogs.back().folder, pf_.Q(pf_.Game()));
    platform_.CancelFile();
    frm_->actSaveAsExecute();
    EXPECT_EQ(platform_.fileDialogs.back().folder, pf_.Q(pf_.Game()));

    fs::create_directories(pf_ / "mine");
    ASSERT_TRUE(frm_->ReOpen(pf_.Q(File("mine/keys.txt"))));
    platform_.CancelFile();
    frm_->actOpenExecute();
    EXPECT_EQ(platform_.fileDialogs.back().folder, pf_.Q(pf_ / "mine"));
}

} // namespace
} // namespace qm
