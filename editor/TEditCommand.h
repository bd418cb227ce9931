#pragma once
// One transaction on the working copy, as the undo stack keeps it: the
// changes in the order they were made, each with what undoing it needs.
// The changes are made as they are recorded, so the steps of one user
// action see one another; undo takes them back in reverse order. Records
// that leave the document stay alive here, so an undone removal puts back
// the very record, at its old place.

#include <QUndoCommand>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TCfgManager;
struct TBindRec;

class TEditCommand : public QUndoCommand {
  public:
    TEditCommand(TCfgManager& document, const QString& name);
    ~TEditCommand() override;

    // Sets a field of one of the document's records; false when it already
    // held the bytes (nothing is recorded then).
    bool SetField(TBindRec& record, int field, std::string_view bytes);
    // Adds a record at its sorted place.
    TBindRec& Add(const TBindRec& record);
    // Replaces all records by these.
    void ReplaceAll(std::vector<std::unique_ptr<TBindRec>> records);
    bool Empty() const { return steps_.empty(); }
    size_t Steps() const { return steps_.size(); }

    // Typing into one tooltip is one step of the undo history, not one per
    // key: consecutive transactions that only set the same field merge.
    void SetMergeable(bool mergeable) { mergeable_ = mergeable; }
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

    void undo() override;
    void redo() override;

  private:
    struct TStep;
    void Undo(TStep& step);
    void Redo(TStep& step);

    TCfgManager& document_;
    std::vector<std::unique_ptr<TStep>> steps_;
    bool mergeable_ = false;
    bool done_ = true; // made while recorded: the first redo has nothing to do
};

} // namespace qm
