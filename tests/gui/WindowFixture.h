#pragma once
// The main window started on a program folder with a tree and defaults of
// the test's own, for tests that edit through the panel and the card.

#include "EditorFixture.h"
#include "config/uCfgManager.h"
#include "editor/Main.h"
#include "lang/GlobalConst.h"
#include "support/TScriptedPlatform.h"

#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace qm::test {

class TWindowTest : public ::testing::Test {
  protected:
    // Writes the tree and the defaults, opens `user` when given, and shows
    // the window.
    void Start(const std::string& tree, const std::string& defaults, const std::string& user = {}) {
        ResetMessages();
        WriteBytes(pf_ / "QMKData/TV_foreign.wrk", tree);
        WriteBytes(pf_ / "QMKData/DefaultKeys.wrk", defaults);
        frm_ = std::make_unique<TfrmMain>(platform_, pf_.path());
        ASSERT_TRUE(frm_->Start());
        frm_->show();
        frm_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frm_.get()));
        if (!user.empty()) {
            WriteBytes(pf_ / "user.txt", user);
            ASSERT_TRUE(frm_->ReOpen(pf_.Q(pf_ / "user.txt")));
        }
    }

    template <typename T = QWidget> T* W(const char* name) {
        T* found = frm_->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QTreeWidget* Tree() { return W<QTreeWidget>("tvMain"); }
    // Selects the node at an absolute index, as a click in the tree would.
    void Select(int index) {
        QTreeWidgetItem* node = frm_->Tree().ItemAt(index);
        ASSERT_NE(node, nullptr);
        Tree()->setCurrentItem(node);
    }
    int Selected() { return TTVNode::From(Tree()->currentItem())->Index; }
    // The action as the editor shows it: the working copy's record, empty
    // fields from the defaults.
    TBindRec Rec(const char* id) { return frm_->Documents().Shown(id); }
    void Type(const char* field, const char* keys) { QTest::keyClicks(W(field), keys); }

    TProgramFolder pf_;
    TScriptedPlatform platform_;
    std::unique_ptr<TfrmMain> frm_;
};

} // namespace qm::test
