#include "lang/MultiLang.h"

#include "config/uIniFile.h"
#include "lang/GlobalConst.h"
#include "support/TestFiles.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace qm {
namespace {

template <typename T> T* Named(QWidget* parent, const char* name) {
    auto* object = new T(parent);
    object->setObjectName(QLatin1String(name));
    return object;
}

// A main window with every kind of control a language file reaches, each
// text marked with `tag`, and two dialogs: one owned by the window, one not.
std::unique_ptr<QMainWindow> MakeWindow(const QString& tag) {
    auto main = std::make_unique<QMainWindow>();
    main->setObjectName("frmMain");
    main->setWindowTitle("Quillmark " + tag);
    QMenu* mnuFile = main->menuBar()->addMenu("&Файл " + tag);
    mnuFile->setObjectName("mnuFile");
    QAction* actOpen = mnuFile->addAction("&Открыть " + tag);
    actOpen->setObjectName("actOpen");
    actOpen->setToolTip("Открыть " + tag);
    actOpen->setStatusTip("Открыть файл " + tag);
    mnuFile->addSeparator();
    QMenu* mnuRecent = mnuFile->addMenu("Недавние " + tag);
    mnuRecent->setObjectName("mnuRecent");
    mnuRecent->menuAction()->setStatusTip("Последние файлы " + tag);
    mnuRecent->addAction("Первый " + tag)->setObjectName("actRecent");
    auto* corner = Named<QMenuBar>(main->menuBar(), "mmHelpCorner");
    main->menuBar()->setCornerWidget(corner);
    corner->addMenu("Справка " + tag)->setObjectName("mnuHelp");
    QToolBar* tbMain = main->addToolBar("tbMain");
    tbMain->addAction(actOpen);
    tbMain->widgetForAction(actOpen)->setObjectName("tbOpen");

    auto* pcTips = Named<QTabWidget>(main.get(), "pcTips");
    main->setCentralWidget(pcTips);
    auto* tsTip = Named<QWidget>(nullptr, "tsTip");
    pcTips->addTab(tsTip, "Подсказка " + tag);
    auto* gbColors = Named<QGroupBox>(tsTip, "gbColors");
    gbColors->setTitle("Цвета " + tag);
    Named<QPushButton>(gbColors, "btnTemplate")->setText("Шаблон " + tag);
    Named<QCheckBox>(gbColors, "cbTogEdit")->setText("'Вместе " + tag + "'");
    Named<QRadioButton>(gbColors, "rbOne")->setText("Один " + tag);
    auto* tbPick = Named<QToolButton>(gbColors, "tbPick");
    tbPick->setText("... " + tag);
    tbPick->setToolTip("Выбрать " + tag);
    Named<QLabel>(gbColors, "lblSpaces")->setText("  " + tag + "  ");
    auto* txtHotKey = Named<QLineEdit>(gbColors, "txtHotKey");
    txtHotKey->setText("Q" + tag);
    txtHotKey->setToolTip("Клавиша " + tag);
    txtHotKey->setStatusTip("Клавиша " + tag);

    auto* dlgTemplate = Named<QDialog>(main.get(), "dlgTemplate");
    LangSetOwnedByParent(dlgTemplate);
    dlgTemplate->setWindowTitle("Шаблон " + tag);
    Named<QLabel>(dlgTemplate, "lblTipColor")->setText("Цвет " + tag);
    auto* dlgFind = Named<QDialog>(main.get(), "dlgFind");
    dlgFind->setWindowTitle("Поиск " + tag);
    Named<QLabel>(dlgFind, "lblFind")->setText("Слово " + tag);
    return main;
}

// Every text a window and its dialogs show, for finding leftovers.
QStringList AllTexts(QMainWindow& main) {
    QStringList texts{main.windowTitle(), main.findChild<QTabWidget*>("pcTips")->tabText(0)};
    for (QObject* object : main.findChildren<QObject*>())
        for (const char* property : {"text", "title", "windowTitle", "toolTip", "statusTip"})
            texts << object->property(property).toString();
    return texts;
}

class MultiLang : public testing::Test {
  protected:
    void SetUp() override { ResetMessages(); }
    void TearDown() override { ResetMessages(); }

    TIniFile File(const std::string& text) {
        test::WriteBytes(dir_ / "Test.qlg", text);
        return TIniFile(dir_ / "Test.qlg");
    }

    test::TempDir dir_;
};

TEST_F(MultiLang, UnescapeAndEscapeAreInverse) {
    const auto unescaped = [](QString text) {
        LangUnescape(text);
        return text;
    };
    EXPECT_EQ(unescaped("Файл сохранён:/n"), "Файл сохранён:\r\n");
    EXPECT_EQ(unescaped("a//nb"), "a/nb");
    EXPECT_EQ(unescaped("///n"), "//n");
    EXPECT_EQ(unescaped("a/b/"), "a/b/");
    EXPECT_EQ(unescaped("end//"), "end/");

    QStringList texts = {"a/nb", "//", "/n/", "x\r\ny", "a/b", "///n"};
    for (int n = 0; n < kMessageCount; ++n)
        texts << Msg(n);
    for (const QString& text : texts)
        EXPECT_EQ(unescaped(LangEscape(text)), text) << text.toStdString();
}

TEST_F(MultiLang, FirstStartFollowsTheLocale) {
    EXPECT_EQ(LangFileForLocale(QLocale(QLocale::Russian, QLocale::Russia)),
              "QMKData\\Russian.qlg");
    EXPECT_EQ(LangFileForLocale(QLocale(QLocale::Russian, QLocale::Ukraine)),
              "QMKData\\Russian.qlg");
    EXPECT_EQ(LangFileForLocale(QLocale(QLocale::German)), "QMKData\\English.qlg");
}

TEST_F(MultiLang, SectionsFollowTheOwnerWindow) {
    auto main = MakeWindow("A");
    const auto section = [&main](const char* name) {
        return LangSectionName(main->findChild<QObject*>(name));
    };
    EXPECT_EQ(section("btnTemplate"), "frmMain.btnTemplate");
    EXPECT_EQ(section("mnuFile"), "frmMain.mnuFile");
    EXPECT_EQ(section("lblTipColor"), "frmMain.dlgTemplate.lblTipColor");
    EXPECT_EQ(section("lblFind"), "dlgFind.lblFind");
    EXPECT_EQ(LangSectionName(main.get()), "frmMain");
}

TEST_F(MultiLang, FileRenamesWhatItNamesOnly) {
    auto main = MakeWindow("A");
    const TIniFile file = File("[frmMain]\r\nCaption=\r\n"
                               "[frmMain.mnuFile]\r\nCaption=&File\r\n"
                               "[frmMain.actOpen]\r\nHint=Open|Opens a file\r\n"
                               "[frmMain.tsTip]\r\nCaption=Tip\r\n"
                               "[FRMMAIN.TXTHOTKEY]\r\ncaption=W\r\nHint=Key\r\n"
                               "[frmMain.dlgTemplate.lblTipColor]\r\nCaption=Colour\r\n"
                               "[dlgTemplate.lblTipColor]\r\nCaption=Wrong\r\n"
                               "[dlgTemplate]\r\nCaption=Template\r\nHint=Never\r\n"
                               "[dlgFind]\r\nCaption=Find action\r\n"
                               "[dlgFind.lblFind]\r\nCaption=\"  Word \"\r\n");
    LangApplyForm(main.get(), file);
    for (auto* dialog : main->findChildren<QDialog*>())
        LangApplyForm(dialog, file);

    EXPECT_EQ(main->windowTitle(), "Quillmark A");
    EXPECT_EQ(main->findChild<QMenu*>("mnuFile")->title(), "&File");
    auto* actOpen = main->findChild<QAction*>("actOpen");
    EXPECT_EQ(actOpen->toolTip(), "Open");
    EXPECT_EQ(actOpen->statusTip(), "Opens a file");
    EXPECT_EQ(main->findChild<QToolButton*>("tbOpen")->toolTip(), "Open");
    EXPECT_EQ(main->findChild<QTabWidget*>("pcTips")->tabText(0), "Tip");
    auto* txtHotKey = main->findChild<QLineEdit*>("txtHotKey");
    EXPECT_EQ(txtHotKey->text(), "W");
    EXPECT_EQ(txtHotKey->statusTip(), "Key");
    EXPECT_EQ(main->findChild<QLabel*>("lblTipColor")->text(), "Colour");
    auto* dlgTemplate = main->findChild<QDialog*>("dlgTemplate");
    EXPECT_EQ(dlgTemplate->windowTitle(), "Template");
    EXPECT_TRUE(dlgTemplate->toolTip().isEmpty());
    EXPECT_EQ(main->findChild<QDialog*>("dlgFind")->windowTitle(), "Find action");
    EXPECT_EQ(main->findChild<QLabel*>("lblFind")->text(), "  Word ");
    EXPECT_EQ(main->findChild<QPushButton*>("btnTemplate")->text(), "Шаблон A");
}

TEST_F(MultiLang, RowsComeFromStringsAndStayWhenMissing) {
    LangApplyStrings(File("[Interface]\r\nStr1=not here\r\n"));
    LangApplyStrings(TIniFile(dir_ / "Absent.qlg"));
    EXPECT_EQ(Msg(msgError), QString::fromUtf8("Ошибка!"));

    LangApplyStrings(File("[strings]\r\nSTR5=Файл сохранён:/n\r\nStr3=a//nb\r\nStr1=Error!\r\n"));
    EXPECT_EQ(Msg(5), QString::fromUtf8("Файл сохранён:\r\n"));
    EXPECT_EQ(Msg(3), "a/nb");
    // A second file without those keys keeps the first file's texts, as they are.
    LangApplyStrings(File("\xEF\xBB\xBF[STRINGS]\r\nStr1=\r\nStr42=Ready\r\n"));
    EXPECT_EQ(Msg(3), "a/nb");
    EXPECT_EQ(Msg(msgError), "Error!");
    EXPECT_EQ(Msg(42), "Ready");
    // Not valid UTF-8: an older Windows-1251 file.
    LangApplyStrings(File("[STRINGS]\r\nStr1=\xCE\xF8\xE8\xE1\xEA\xE0!\r\n"));
    EXPECT_EQ(Msg(msgError), QString::fromUtf8("Ошибка!"));
}

TEST_F(MultiLang, WrittenFileGivesEveryTextBack) {
    SetMsg(29, " /n//\r\n\"quoted\" ");
    SetMsg(30, QStringLiteral("\uFEFF\uFEFFstarts with marks"));
    QStringList rows;
    for (int n = 0; n < kMessageCount; ++n)
        rows << Msg(n);
    const auto windows = [](QMainWindow& main) {
        return QList<QWidget*>{&main, main.findChild<QWidget*>("dlgTemplate"),
                               main.findChild<QWidget*>("dlgFind")};
    };
    auto source = MakeWindow("#A");
    const auto path = dir_ / "Dump.qlg";
    ASSERT_TRUE(LangWriteFile(path, windows(*source)));
    const std::string dumped = test::ReadBytes(path);
    EXPECT_EQ(dumped.find("tbOpen"), std::string::npos);
    for (int n = 0; n < kMessageCount; ++n)
        SetMsg(n, "x");

    auto target = MakeWindow("#B");
    const TIniFile file(path);
    for (QWidget* window : windows(*target))
        LangApplyForm(window, file);
    LangApplyStrings(file);

    EXPECT_FALSE(AllTexts(*target).join('\n').contains("#B"));
    EXPECT_EQ(target->findChild<QLabel*>("lblSpaces")->text(), "  #A  ");
    EXPECT_EQ(target->findChild<QCheckBox*>("cbTogEdit")->text(), "'Вместе #A'");
    for (int n = 0; n < kMessageCount; ++n)
        EXPECT_EQ(Msg(n), rows[n]) << n;
    const auto again = dir_ / "Again.qlg";
    ASSERT_TRUE(LangWriteFile(again, windows(*target)));
    EXPECT_EQ(test::ReadBytes(again), dumped);
}

} // namespace
} // namespace qm
