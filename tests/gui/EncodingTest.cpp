// A player's file in another code page than UTF-8, as the window shows and
// stores it; tooltips too long to lay out; files too large to open.

#include "WindowFixture.h"
#include "tooltips/RichEdit.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QStringDecoder>

#include <filesystem>

namespace qm {
namespace {

namespace fs = std::filesystem;

const char* kTree = "Human|?\n"
                    "\tArchmage|Hamg\n"          // 1
                    "\t\tWater Elemental|AHwe\n" // 2
                    "\t\tBlizzard|AHbz\n";       // 3

const char* kDefaults = "[Hamg]\nHotkey=A\nTip=Archmage (A)\nButtonpos=0,0\n"
                        "[AHwe]\nHotkey=W\nTip=Water Elemental (W)\nButtonpos=0,2\n"
                        "[AHbz]\nHotkey=B\nTip=Blizzard (B)\nButtonpos=1,2\n";

// "召唤水元素 (W)" and "暴风雪" in GBK: the file gives no UTF-8 to go by.
const std::string kGbkTip = "\xD5\xD9\xBB\xBD\xCB\xAE\xD4\xAA\xCB\xD8 (W)";
const std::string kGbkFile =
    "[AHwe]\r\nHotkey=W\r\nTip=" + kGbkTip + "\r\n[AHbz]\r\nTip=\xB1\xA9\xB7\xE7\xD1\xA9\r\n";

enum { kHamg = 1, kAHwe, kAHbz };

QString Gbk(const std::string& bytes) {
    QStringDecoder decode("GBK");
    return decode(QByteArray::fromStdString(bytes));
}

class Encoding : public test::TWindowTest {
  protected:
    TRichEdit* TipEditor() { return W<TRichEdit>("reTip"); }
    void TypeAtEnd(const QString& text) {
        QTextCursor end = TipEditor()->textCursor();
        end.movePosition(QTextCursor::End);
        TipEditor()->setTextCursor(end);
        // keyClicks takes Latin-1 only: a key event with the text, as an
        // input method sends it.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(TipEditor(), &press);
    }
};

TEST_F(Encoding, AChineseFileIsShownAndEditedInItsOwnCodePage) {
    Start(kTree, kDefaults, kGbkFile);
    EXPECT_EQ(frm_->Documents().Encoding().CodePage, TCodePage::Gbk);
    Select(kAHwe);
    EXPECT_EQ(TipEditor()->toPlainText(), Gbk(kGbkTip));

    // A typed character GBK holds goes into the file in GBK.
    TypeAtEnd("!");
    EXPECT_EQ(Rec("AHwe").Tip, kGbkTip + "!");

    // One it lacks asks; No keeps the value as it was.
    platform_.Answer(TMsgAnswer::No);
    TypeAtEnd(QString::fromUtf8("ก"));
    ASSERT_EQ(platform_.asked.size(), 1u);
    EXPECT_TRUE(platform_.asked[0].text.contains("GBK"));
    EXPECT_EQ(Rec("AHwe").Tip, kGbkTip + "!");
    EXPECT_EQ(TipEditor()->toPlainText(), Gbk(kGbkTip + "!"));
    // Yes stores the tooltip as UTF-8, and typing on asks no more.
    platform_.Answer(TMsgAnswer::Yes);
    TypeAtEnd(QString::fromUtf8("ก"));
    TypeAtEnd(QString::fromUtf8("ก"));
    EXPECT_EQ(platform_.asked.size(), 2u);
    EXPECT_EQ(Rec("AHwe").Tip, (Gbk(kGbkTip) + QString::fromUtf8("!กก")).toStdString());

    // Reset gives back the bytes as read.
    QTest::mouseClick(W<QPushButton>("btnResetTip"), Qt::LeftButton);
    EXPECT_EQ(Rec("AHwe").Tip, kGbkTip);

    // An automatic tooltip rebuilds the text, not the bytes, and keeps GBK.
    Type("txtHotKey", "q");
    EXPECT_EQ(TipEditor()->toPlainText(), Gbk(kGbkTip).replace("(W)", "(Q)"));
    const std::string tip = Rec("AHwe").Tip;
    EXPECT_EQ(tip.substr(0, 10), kGbkTip.substr(0, 10));
    EXPECT_NE(tip.find("|cffffcc00Q|r"), std::string::npos) << tip;
}

TEST_F(Encoding, TheCodePageCanBeChosenAndShowingWritesNothing) {
    Start(kTree, kDefaults, kGbkFile);
    Select(kAHbz);
    EXPECT_EQ(TipEditor()->toPlainText(), QString::fromUtf8("暴风雪"));
    auto* big5 = W<QAction>("mnuCodePageBig5");
    EXPECT_FALSE(big5->isChecked());
    EXPECT_TRUE(W<QAction>("mnuCodePageGbk")->isChecked());
    big5->trigger();
    QStringDecoder decode("Big5");
    EXPECT_EQ(TipEditor()->toPlainText(), QString(decode(QByteArray("\xB1\xA9\xB7\xE7\xD1\xA9"))));
    EXPECT_FALSE(frm_->HasUnsavedChanges());
    ASSERT_TRUE(frm_->actSaveExecute());
    EXPECT_EQ(test::ReadBytes(pf_ / "user.txt"), kGbkFile);
    EXPECT_TRUE(big5->isChecked()) << "the choice holds for the file as saved";
}

// A single unbroken word of a megabyte would keep the layout busy for
// minutes: its beginning is shown, read-only, and its bytes stay.
TEST_F(Encoding, ATooLongTooltipIsShownCutAndKept) {
    const std::string word(1 << 20, 'x');
    Start(kTree, kDefaults, "[AHwe]\r\nTip=" + word + "\r\n");
    Select(kAHwe);
    const QString shown = TipEditor()->toPlainText();
    EXPECT_LT(shown.size(), 20 * 1024);
    EXPECT_TRUE(shown.endsWith(Msg(msgTipCut)));
    EXPECT_TRUE(TipEditor()->isReadOnly());
    Select(kAHbz);
    EXPECT_FALSE(TipEditor()->isReadOnly());
    ASSERT_TRUE(frm_->actSaveExecute());
    EXPECT_TRUE(test::ReadBytes(pf_ / "user.txt") == "[AHwe]\r\nTip=" + word + "\r\n");
}

TEST_F(Encoding, AFileOverTheLimitIsRefusedWithItsSize) {
    Start(kTree, kDefaults);
    const fs::path huge = pf_ / "huge.txt";
    test::WriteBytes(huge, "[AHwe]\r\n");
    fs::resize_file(huge, (64u << 20) + 1);
    platform_.Answer(TMsgAnswer::Ok);
    platform_.PickFile(pf_.Q(huge));
    QTest::keyClick(frm_.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(platform_.asked.size(), 1u);
    EXPECT_TRUE(platform_.asked[0].text.startsWith(Msg(msgCannotRead)));
    EXPECT_TRUE(platform_.asked[0].text.contains("64.0 MB"));
    EXPECT_EQ(frm_->CurFileName(), pf_.Q(pf_ / "QMKData/DefaultKeys.wrk"));
}

} // namespace
} // namespace qm
