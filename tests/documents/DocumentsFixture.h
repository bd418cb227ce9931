#pragma once
// Documents read from files the test writes, and the working copy as bytes.

#include "config/uCfgManager.h"
#include "editor/TDocumentSet.h"
#include "support/TestFiles.h"

#include <QString>

namespace qm::test {

class TDocumentsTest : public ::testing::Test {
  protected:
    void Open(const std::string& defaults, const std::string& file) {
        WriteBytes(dir_ / "defaults.txt", defaults);
        WriteBytes(dir_ / "file.txt", file);
        ASSERT_EQ(docs_.ReOpen(Q("defaults.txt"), Q("file.txt"), nullptr),
                  TDocumentSet::TReadResult::Ok);
    }
    QString Q(const std::string& name) const {
        return QString::fromStdString((dir_ / name).string());
    }
    // Everything the working copy holds, data fields included.
    std::string Bytes() const { return docs_.CurCfgMngr()->Serialize(true); }
    // Undoes every step and redoes them, checking the bytes at both ends.
    void ExpectUndoRedo(const std::string& before, const std::string& after) {
        QUndoStack& history = docs_.UndoStack();
        while (history.canUndo())
            history.undo();
        EXPECT_EQ(Bytes(), before);
        EXPECT_FALSE(docs_.HasUnsavedChanges());
        while (history.canRedo())
            history.redo();
        EXPECT_EQ(Bytes(), after);
    }

    TempDir dir_;
    TDocumentSet docs_;
};

} // namespace qm::test
