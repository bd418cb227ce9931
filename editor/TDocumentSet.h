#pragma once
// The three documents the editor works on: the default configuration, the
// snapshot of the open file as it was read, and the working copy that every
// edit changes; with the open file's name.
//
// Every change the editor makes to a record of the working copy goes through
// SetField (or the few calls below built on it) and is announced by a
// signal; nothing else writes into the working copy's records.

#include "config/uCfgManager.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace qm {

class TDocumentSet : public QObject {
    Q_OBJECT

  public:
    enum class TReadResult { Ok, DefaultsUnreadable, FileUnreadable };

    // The normal form a tooltip takes when the editor shows it; set by the
    // tooltip pages so that merely showing one is not counted as a change.
    using TTipNormaliser = std::function<std::string(std::string_view)>;

    explicit TDocumentSet(QObject* parent = nullptr);
    ~TDocumentSet() override;

    // Reads the defaults and, twice, the file; only when every reading
    // holds a section are the three documents replaced (Replacing first) and
    // `path` becomes the open file. Otherwise everything stays as it was,
    // and `why` says why the file could not be read.
    TReadResult ReOpen(const QString& defaultsPath, const QString& path, std::string* why);
    // Writes the working copy without its data fields; false, with the file
    // untouched and the reason in `why`, when there is no working copy or
    // the write fails.
    bool Write(const QString& path, std::string* why) const;
    void TryToDestroyCfgMngrs();

    // Whether the working copy differs from the snapshot as showing its
    // actions would leave it: a field still empty in the snapshot that holds
    // the default's value, a record the snapshot lacks that equals its
    // default record, and a tooltip in its shown normal form count as
    // unchanged.
    bool HasUnsavedChanges() const;
    void SetTipNormaliser(TTipNormaliser normaliser) { normalTip_ = std::move(normaliser); }

    TCfgManager* DefCfgMngr() const { return def_.get(); }
    TCfgManager* SavedCfgMngr() const { return saved_.get(); }
    TCfgManager* CurCfgMngr() const { return cur_.get(); }
    const QString& CurFileName() const { return curFileName_; }

    // The one edit path: sets a field of a working-copy record; true (and
    // FieldChanged) when the value changed.
    bool SetField(TBindRec& record, int field, std::string_view bytes);
    // Adds a copy of the action's default record to the working copy;
    // nullptr when the defaults have none.
    TBindRec* AddDefaultRecord(std::string_view id);
    // Fills the record's empty fields from its default record.
    void FillEmptyFields(TBindRec& record);
    // Sets fields 1-11 of the record to the source's, empty ones included.
    void CopyEditFields(TBindRec& record, const TBindRec& source);
    // Empties the working copy.
    void ClearWorkingCopy();

  signals:
    // The documents are about to be replaced or destroyed: every reference
    // into them must go now.
    void Replacing();
    void FieldChanged(TBindRec* record, int field);
    void RecordAdded(TBindRec* record);
    void WorkingCopyCleared();

  private:
    bool ShownUnchanged(const TBindRec& current, const TBindRec* saved) const;
    bool FieldUnchanged(int field, const std::string& value, const std::string& saved,
                        const TBindRec* defaults) const;

    std::unique_ptr<TCfgManager> def_;
    std::unique_ptr<TCfgManager> saved_;
    std::unique_ptr<TCfgManager> cur_;
    QString curFileName_;
    TTipNormaliser normalTip_;
};

} // namespace qm
