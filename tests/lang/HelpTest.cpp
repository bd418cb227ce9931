#include "lang/Help.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QListWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <gtest/gtest.h>

namespace qm {
namespace {

class Help : public testing::Test {
  protected:
    void SetUp() override {
        const auto russian = Book("Russian");
        test::WriteBytes(russian / "contents.txt",
                         "intro.htm\tВведение\r\n../outside.htm\tЧужая\r\nkeys.htm\tКлавиши\r\n");
        test::WriteBytes(russian / "intro.htm",
                         "<html><body><h1>Введение</h1><p>Сначала <a href=\"keys.htm\">клавиши"
                         "</a>.</p></body></html>");
        test::WriteBytes(russian / "keys.htm", "<html><body><p>Клавиши</p></body></html>");
        const auto english = Book("English");
        test::WriteBytes(english / "contents.txt", "intro.htm\tIntroduction\n");
        test::WriteBytes(english / "intro.htm", "<html><body><h1>Introduction</h1></body></html>");
    }

    test::fs::path Book(const std::string& language) {
        const auto folder = dir_.path() / "QMKData" / "help" / language;
        test::fs::create_directories(folder);
        return folder;
    }
    QString Folder() const { return QString::fromStdString(dir_.path().string()); }

    // Clicks the first link of the page shown.
    static void ClickLink(TfrmHelp& help) {
        QTextCursor cursor(help.reHelp->document());
        for (QTextBlock b = help.reHelp->document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isAnchor() && cursor.atStart())
                    cursor.setPosition(it.fragment().position() + 1);
        QTest::mouseClick(help.reHelp->viewport(), Qt::LeftButton, {},
                          help.reHelp->cursorRect(cursor).center());
    }

    test::TempDir dir_;
};

TEST_F(Help, BookFollowsTheLanguageFile) {
    const QDir books(Folder() + "/QMKData/help");
    EXPECT_EQ(TfrmHelp::BookFolder(Folder(), "QMKData\\Russian.qlg"), books.filePath("Russian"));
    EXPECT_EQ(TfrmHelp::BookFolder(Folder(), "QMKData/German.qlg"), books.filePath("English"));

    TfrmHelp help;
    ASSERT_TRUE(help.OpenBook(books.filePath("English"), QString::fromUtf8("Введение")));
    EXPECT_EQ(help.CurrentPage(), "intro.htm");
    EXPECT_TRUE(help.reHelp->toPlainText().contains("Introduction"));
    EXPECT_FALSE(help.OpenBook(Folder()));
    EXPECT_EQ(help.lbContents->count(), 1);
}

TEST_F(Help, LinksBackForwardHomeAndContents) {
    TfrmHelp help;
    ASSERT_TRUE(help.OpenBook(TfrmHelp::BookFolder(Folder(), "QMKData\\Russian.qlg"),
                              QString::fromUtf8("Введение")));
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    EXPECT_EQ(help.CurrentPage(), "intro.htm");
    ASSERT_EQ(help.lbContents->count(), 2);
    EXPECT_EQ(help.lbContents->currentRow(), 0);
    EXPECT_FALSE(help.btnBack->isEnabled());

    ClickLink(help);
    EXPECT_EQ(help.CurrentPage(), "keys.htm");
    EXPECT_EQ(help.lbContents->currentRow(), 1);
    QTest::mouseClick(help.btnBack, Qt::LeftButton);
    EXPECT_EQ(help.CurrentPage(), "intro.htm");
    ASSERT_TRUE(help.btnForward->isEnabled());
    QTest::mouseClick(help.btnForward, Qt::LeftButton);
    EXPECT_EQ(help.CurrentPage(), "keys.htm");
    QTest::mouseClick(help.btnHome, Qt::LeftButton);
    EXPECT_EQ(help.CurrentPage(), "intro.htm");

    const QRect row = help.lbContents->visualItemRect(help.lbContents->item(1));
    QTest::mouseClick(help.lbContents->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(help.CurrentPage(), "keys.htm");

    // Closed with Escape or Ctrl+W, as viewer windows are.
    for (const QKeyCombination keys :
         {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::ControlModifier, Qt::Key_W)}) {
        help.show();
        help.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
        QTest::keyClick(help.reHelp, keys.key(), keys.keyboardModifiers());
        EXPECT_FALSE(help.isVisible());
    }
}

} // namespace
} // namespace qm
