#include "editor/Loading.h"

#include "config/uIniFile.h"
#include "editor/TProjectSettings.h"
#include "lang/GlobalConst.h"
#include "lang/MultiLang.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QTextDocument>

namespace qm {
namespace {

// Counts the paint events a widget receives.
class TPaintCounter : public QObject {
  public:
    explicit TPaintCounter(QWidget* w) { w->installEventFilter(this); }
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A language file is shared between players: its captions and hints are
// text, however much they look like markup. A picture it names is never read.
TEST(Loading, CaptionsOfALanguageFileAreText) {
    ResetMessages();
    test::TempDir dir;
    QImage(200, 200, QImage::Format_RGB32).save(QString::fromStdString((dir / "big.png").string()));
    const std::string caption = "<img src=" + (dir / "big.png").string() + ">";
    test::WriteBytes(dir / "hostile.qlg",
                     "[frmLoading.lblLoading]\r\nCaption=" + caption + "\r\nHint=<b>bold</b>\r\n");
    TfrmLoading w;
    LangApplyForm(&w, TIniFile(dir / "hostile.qlg"));
    EXPECT_EQ(w.lblLoading->text(), QString::fromStdString(caption));
    EXPECT_EQ(w.lblLoading->textFormat(), Qt::PlainText);
    EXPECT_LT(w.lblLoading->sizeHint().height(), 100);
    QTextDocument tip;
    tip.setHtml(w.lblLoading->toolTip());
    EXPECT_EQ(tip.toPlainText(), "<b>bold</b>");
    w.lblLoadingStatus->setText(QString::fromStdString(caption)); // a status from the message table
    EXPECT_LT(w.lblLoadingStatus->sizeHint().height(), 100);
}

TEST(Loading, BorderlessBlackAndCentred) {
    ResetMessages();
    TfrmLoading w;
    EXPECT_FALSE(w.isVisible()); // created hidden
    EXPECT_EQ(w.size(), QSize(256, 197));
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.frameGeometry().size(), QSize(256, 197));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((w.geometry().center() - screen.center()).manhattanLength(), 2);
    const QImage shot = w.grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 195), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(253, 150), QColor(Qt::black));
}

TEST(Loading, WidgetsNamedAndPlaced) {
    ResetMessages();
    TfrmLoading w;
    EXPECT_EQ(w.findChild<QLabel*>("imgLoading"), w.imgLoading);
    EXPECT_EQ(w.findChild<QLabel*>("lblLoading"), w.lblLoading);
    EXPECT_EQ(w.findChild<QLabel*>("lblLoadingStatus"), w.lblLoadingStatus);
    EXPECT_EQ(w.findChild<QProgressBar*>("pbLoading"), w.pbLoading);
    for (QWidget* child : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_FALSE(child->objectName().isEmpty()) << child->metaObject()->className();

    EXPECT_EQ(w.imgLoading->geometry(), QRect(0, 0, 256, 145));
    EXPECT_EQ(w.imgLoading->pixmap().size(), QSize(256, 145));
    EXPECT_EQ(w.lblLoading->text(), QString::fromUtf8("Затрузка..."));
    EXPECT_EQ(w.lblLoading->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(w.lblLoadingStatus->palette().color(QPalette::WindowText), QColor(192, 192, 192));
    EXPECT_EQ(w.lblLoadingStatus->text(), Msg(msgStatusPreparing));
    // Status at the bottom left, under the title, the bar under the status.
    EXPECT_EQ(w.lblLoadingStatus->x(), w.lblLoading->x());
    EXPECT_GT(w.lblLoadingStatus->y(), w.lblLoading->y());
    EXPECT_GE(w.lblLoading->y(), 145);
    EXPECT_GE(w.pbLoading->y(), w.lblLoadingStatus->geometry().bottom());
    EXPECT_LE(w.pbLoading->geometry().bottom(), 196);
    EXPECT_TRUE(w.pbLoading->isHidden());
}

TEST(Loading, SplashPictureIsDrawn) {
    const QImage picture = TfrmLoading::SplashPicture().toImage();
    ASSERT_EQ(picture.size(), QSize(256, 145));
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 3)
        for (int x = 0; x < picture.width(); x += 3)
            colours.insert(picture.pixel(x, y));
    EXPECT_GT(colours.size(), 50);                 // a picture, not a filled rectangle
    EXPECT_LT(qGray(picture.pixel(250, 140)), 40); // dark around the edges
}

TEST(Loading, StatusAndProgressRepaintAtOnce) {
    TfrmLoading w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    TPaintCounter statusPaints(w.lblLoadingStatus);
    TPaintCounter barPaints(w.pbLoading);

    w.SetStatus(Msg(msgStatusDefaults));
    // No event loop ran in between: the label must already have been drawn.
    EXPECT_EQ(w.lblLoadingStatus->text(), Msg(msgStatusDefaults));
    EXPECT_GT(statusPaints.paints, 0);

    w.SetProgress(3, 12);
    EXPECT_TRUE(w.pbLoading->isVisible());
    EXPECT_EQ(w.pbLoading->maximum(), 12);
    EXPECT_EQ(w.pbLoading->value(), 3);
    EXPECT_GT(barPaints.paints, 0);
    w.SetProgress(20, 12); // never past the end
    EXPECT_EQ(w.pbLoading->value(), 12);
    w.SetProgress(0, 0);
    EXPECT_FALSE(w.pbLoading->isVisible());
}

TEST(Loading, CreationReadsTheSettingsItNeeds) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "QMKData");
    test::WriteBytes(
        dir / "QMKData" / "QMK.ini",
        "[Initialisation]\r\nLanguage=rus\r\n[Strings]\r\nLangFileName=QMKData\\En.qlg\r\n");
    TProjectSettings settings(QString::fromStdString(dir.path().string()));
    TfrmLoading w(settings);
    EXPECT_EQ(settings.Language, "rus");
    EXPECT_EQ(settings.TVName, "QMKData\\TV_rus.wrk");
    EXPECT_EQ(settings.LangFileName, "QMKData\\En.qlg");
}

} // namespace
} // namespace qm
