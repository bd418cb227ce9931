// The find dialog over a tree with Cyrillic captions and collapsed branches.

#include "tools/Find.h"
#include "WindowFixture.h"

#include <QLabel>
#include <QLineEdit>

namespace qm {
namespace {

using A = TMsgAnswer;

const char* kTree = "Люди|?\n"                  // 0
                    "\tПехотинец|hfoo\n"        // 1
                    "\tТяжёлая пехота|hkni\n"   // 2
                    "\tКазармы|hbar\n"          // 3
                    "\t\tПЕХОТНАЯ броня|Rhde\n" // 4
                    "Ёжики|?\n"                 // 5
                    "\tпехотинец-ёж|ehed\n";    // 6

class Find : public test::TWindowTest {
  protected:
    void SetUp() override {
        Start(kTree, "[hfoo]\nHotkey=F\n[hkni]\nHotkey=K\n[ehed]\nHotkey=F\n");
        QTest::keyClick(frm_.get(), Qt::Key_F, Qt::ControlModifier);
        dlg_ = frm_->findChild<TdlgFind*>("dlgFind");
        ASSERT_NE(dlg_, nullptr);
        ASSERT_TRUE(dlg_->isVisible());
        edit_ = dlg_->findChild<QLineEdit*>("edtFind");
    }
    void Next() { QTest::mouseClick(W("btnFindNext"), Qt::LeftButton); }
    TdlgFind* dlg_ = nullptr;
    QLineEdit* edit_ = nullptr;
};

TEST_F(Find, PrefixesFirstThenAnywhereThenRoundAgain) {
    edit_->setText(QString::fromUtf8("пехот"));
    QTest::mouseClick(W("btnFind"), Qt::LeftButton);
    EXPECT_EQ(Selected(), 1);
    Next();
    EXPECT_EQ(Selected(), 4);
    EXPECT_TRUE(Tree()->currentItem()->parent()->isExpanded());
    QTest::keyClick(edit_, Qt::Key_Return); // Enter searches on
    EXPECT_EQ(Selected(), 6);
    Next();
    EXPECT_EQ(Selected(), 2) << "then the caption that holds the text inside";
    EXPECT_TRUE(W<QLabel>("lblFindNote")->text().isEmpty());
    Next();
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(W<QLabel>("lblFindNote")->text(), Msg(msgFindWrapped));
    EXPECT_TRUE(platform_.asked.empty());
    edit_->setText(QString::fromUtf8("ЁЖИ"));
    QTest::mouseClick(W("btnFind"), Qt::LeftButton);
    EXPECT_EQ(Selected(), 5);
}

TEST_F(Find, ByIdentifierAndByHotkey) {
    edit_->setText("HKNI");
    QTest::mouseClick(W("btnFind"), Qt::LeftButton);
    EXPECT_EQ(Selected(), 2);
    edit_->setText("key:f");
    QTest::mouseClick(W("btnFind"), Qt::LeftButton);
    EXPECT_EQ(Selected(), 1);
    Next();
    EXPECT_EQ(Selected(), 6);
}

TEST_F(Find, NothingFoundSaysSoAndAnEmptyTextSearchesNothing) {
    Select(3);
    QTest::mouseClick(W("btnFind"), Qt::LeftButton);
    EXPECT_EQ(Selected(), 3);
    edit_->setText("zzz");
    platform_.Answer(A::Ok);
    Next();
    ASSERT_EQ(platform_.asked.size(), 1u);
    EXPECT_EQ(platform_.asked[0].text, QString::fromUtf8("Слово не найдено!"));
    EXPECT_EQ(platform_.asked[0].text, Msg(msgWordNotFound)) << "a language file translates it";
    EXPECT_EQ(Selected(), 3);
    // With no node selected, "Искать далее..." starts at the first node.
    Tree()->setCurrentItem(nullptr);
    edit_->setText(QString::fromUtf8("люди"));
    Next();
    EXPECT_EQ(Selected(), 0);
}

} // namespace
} // namespace qm
