#pragma once
// The three documents the editor works on: the default configuration, the
// snapshot of the open file as it was read, and the working copy that holds
// that file plus the player's edits; with the open file's name and the undo
// history of the edits.
//
// The documents are handed out read-only. Every change goes through the
// edit calls below, by identifier, inside a transaction: one user action,
// however many fields it touches, is one step of the undo history and one
// Changed signal. Showing an action computes what it shows (Shown) and
// writes nothing.

#include "config/uCfgManager.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

class TEditCommand;

class TDocumentSet : public QObject {
    Q_OBJECT

  public:
    enum class TReadResult { Ok, DefaultsUnreadable, FileUnreadable };

    explicit TDocumentSet(QObject* parent = nullptr);
    ~TDocumentSet() override;

    // Reads the defaults and the file; only when both hold a section are the
    // documents replaced (Replacing first, Changed after) and `path` becomes
    // the open file, with an empty undo history. Otherwise everything stays
    // as it was, and `why` says why the file could not be read.
    TReadResult ReOpen(const QString& defaultsPath, const QString& path, std::string* why);
    // Writes the working copy: a document read from a file as that file
    // with only the edited values changed, an untitled one in the program's
    // own layout. What was written becomes the open file, as read, with an
    // empty undo history, without reading it back. False, with the file and
    // the documents untouched and the reason in `why`, when the working copy
    // is empty or the write fails.
    bool Save(const QString& path, std::string* why);
    void TryToDestroyCfgMngrs();

    // How the open file's values are stored: the code page of those that
    // are not UTF-8 (detected when it is read, changeable by the player for
    // as long as it is open) and whether new text goes in as UTF-8.
    const TTextEncoding& Encoding() const { return encoding_; }
    void SetCodePage(TCodePage page);
    // A stored value as text, through the code page where it is not UTF-8.
    QString ShownText(std::string_view bytes) const;
    std::string ShownUtf8(std::string_view bytes) const;
    // The bytes to store for what the player typed into a value that holds
    // `stored`, in the file's encoding; nothing when a character does not
    // fit its code page.
    std::optional<std::string> TypedBytes(std::string_view utf8, std::string_view stored) const;

    // An edit since the file was read that has not been undone.
    bool HasUnsavedChanges() const { return !undo_.isClean(); }
    QUndoStack& UndoStack() { return undo_; }

    const TCfgManager* DefCfgMngr() const { return def_.get(); }
    const TCfgManager* SavedCfgMngr() const { return saved_.get(); }
    const TCfgManager* CurCfgMngr() const { return cur_.get(); }
    const QString& CurFileName() const { return curFileName_; }

    // The working copy's record of an action; nullptr when it has none.
    const TBindRec* Record(std::string_view id) const;
    // The action as the editor shows it: the working copy's record with its
    // empty fields taken from the default record, or the default record when
    // the working copy has none; only the identifier when neither has it.
    TBindRec Shown(std::string_view id) const;

    // A transaction: the edits between BeginEdit and EndEdit are one step
    // of the undo history, announced by one Changed. Transactions nest; the
    // outermost one's name is the step's, and NameEdit may still change it.
    // A mergeable step that sets the same field as the step before joins it.
    void BeginEdit(const QString& name, bool mergeable = false);
    void EndEdit();
    void NameEdit(const QString& name);

    // The scope of a transaction.
    class TEdit {
      public:
        TEdit(TDocumentSet& documents, const QString& name, bool mergeable = false);
        ~TEdit();
        TEdit(const TEdit&) = delete;
        TEdit& operator=(const TEdit&) = delete;
        // Whether the working copy changed since the scope began.
        bool Changed() const;

      private:
        TDocumentSet& documents_;
        size_t before_ = 0;
    };

    // The edits. Outside a transaction each is one of its own.
    // Sets a field of the action's record; false when the working copy has
    // no record for it or the field already holds the bytes.
    bool SetField(std::string_view id, int field, std::string_view bytes);
    // Adds a copy of the action's default record; false when the working
    // copy has a record for it already or the defaults have none.
    bool AddDefaultRecord(std::string_view id);
    // Empties the working copy.
    void ClearWorkingCopy();
    // Gives the working copy the snapshot's records again.
    void ResetWorkingCopy();

  signals:
    // The documents are about to be replaced or destroyed.
    void Replacing();
    // The working copy changed, or how it is shown: after a transaction, an
    // undo or a redo, a new code page, and after the documents were read or
    // saved anew.
    void Changed();

  private:
    size_t OpenSteps() const;
    using TShared = std::shared_ptr<const TCfgManager>;
    void Replace(TShared defaults, TShared saved, const QString& path,
                 const TTextEncoding& encoding);

    // Neither is ever changed; the untitled document's file is the defaults
    // themselves, one document for both.
    TShared def_;
    TShared saved_;
    std::unique_ptr<TCfgManager> cur_;
    QString curFileName_;
    TTextEncoding encoding_;
    QUndoStack undo_;
    std::unique_ptr<TEditCommand> open_; // the transaction being made
    int depth_ = 0;
    // The history moves for a change announced elsewhere: a transaction being
    // recorded, or documents being replaced; not an undo or a redo.
    bool announced_ = false;
};

} // namespace qm
