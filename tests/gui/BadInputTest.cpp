// The window under bad input: files that are no configuration, and a
// settings file of junk. Each is answered by a message, and the window and
// the open document stay as they were.

#include "WindowFixture.h"
#include "lang/GlobalConst.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QStatusBar>
#include <QTextDocument>

#include <unistd.h>

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;
using A = TMsgAnswer;

class BadInput : public test::TWindowTest {};

TEST_F(BadInput, WhatIsNoConfigurationIsRefusedAndTheDocumentStays) {
    Start(test::kTree, test::kDefaultKeys, "[Aabc]\r\nHotkey=Q\r\n");
    frm_->Documents().SetField(frm_->CurCfgMngr()->Records(0).ID, fiHotkey, "Z");
    const QString open = frm_->CurFileName();
    std::string junk(4096, '\0');
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>(i * 37 + 11);
    WriteBytes(pf_ / "junk.bin", junk);
    WriteBytes(pf_ / "empty.txt", "");
    WriteBytes(pf_ / "big.txt", std::string(50u << 20, 'x'));
    fs::create_directories(pf_ / "folder.txt");
    std::vector<std::string> names = {"junk.bin", "empty.txt", "big.txt", "folder.txt"};
    if (geteuid() != 0) { // root reads whatever it likes
        WriteBytes(pf_ / "locked.txt", "[Aabc]\r\nHotkey=L\r\n");
        fs::permissions(pf_ / "locked.txt", fs::perms::none);
        names.push_back("locked.txt");
    }
    for (const std::string& name : names) {
        const QString path = pf_.Q(pf_ / name);
        platform_.Answer(A::No).Answer(A::Ok); // keep the changes; the message
        platform_.PickFile(path);
        frm_->findChild<QAction*>("actOpen")->trigger();
        // The message, then the file and why, on a line of their own.
        const QString said = platform_.asked.back().text;
        const QString first = Msg(msgCannotRead) + path + Msg(msgNotAConfig);
        EXPECT_TRUE(said.startsWith(first + "\r\n" + path + ": ")) << name;
        EXPECT_GT(said.size(), first.size() + path.size() + 4) << name;
        EXPECT_EQ(frm_->CurFileName(), open);
        EXPECT_EQ(Rec("Aabc").Hotkey, "Z");
        EXPECT_TRUE(frm_->isVisible());
    }
}

// What a file or folder is called is shown as it stands: the status bar
// keeps its height and its tool tip reads the path.
TEST_F(BadInput, AFileNameOfMarkupIsShownAsText) {
    Start(test::kTree, test::kDefaultKeys);
    auto* status = frm_->findChild<QLabel*>("lblFileName");
    const int height = frm_->statusBar()->sizeHint().height();
    const fs::path file = pf_ / "a<img src=/dev/zero>b" / "<h1>BIG<font color=red>RED.txt";
    fs::create_directories(file.parent_path());
    WriteBytes(file, "[Aabc]\r\nHotkey=Q\r\n");
    platform_.PickFile(pf_.Q(file));
    frm_->findChild<QAction*>("actOpen")->trigger();
    ASSERT_EQ(frm_->CurFileName(), pf_.Q(file));
    EXPECT_EQ(status->textFormat(), Qt::PlainText);
    EXPECT_EQ(status->text(), QDir::toNativeSeparators(pf_.Q(file)));
    EXPECT_EQ(frm_->statusBar()->sizeHint().height(), height);
    QTextDocument tip;
    tip.setHtml(status->toolTip());
    EXPECT_EQ(tip.toPlainText(), QDir::toNativeSeparators(pf_.Q(file)));
}

TEST_F(BadInput, SettingsFileOfJunkReadsAsEmptyAndIsWrittenWhole) {
    pf_.WriteSettings(std::string("\x01\x02junk\xff\xfe no section\n", 20) + "War3Folder=x\n");
    platform_.registryFolder = pf_.Q(pf_.Game());
    // Its import flags read as 0, and the game folder holds no archive: said once.
    platform_.Answer(TMsgAnswer::Ok);
    Start(test::kTree, test::kDefaultKeys);
    EXPECT_TRUE(platform_.asked.at(0).text.startsWith(Msg(msgNoGameArchives)));
    frm_->SaveProjectSettings();
    const std::string written = ReadBytes(pf_.Settings());
    EXPECT_TRUE(written.starts_with("[")) << written;
    EXPECT_EQ(written.find("junk"), std::string::npos);
    EXPECT_NE(written.find("[Interface]\r\ncbTogEdit=1\r\n"), std::string::npos);
}

} // namespace
} // namespace qm
