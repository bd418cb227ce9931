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
    // One change; most are of one field, so a step is kept small and the
    // rarer kinds hold what they need through a pointer.
    struct TStep {
        enum class TKind : char { Field, Add, ReplaceAll };
        TKind Kind = TKind::Field;
        int Field = 0;                  // Field: the field; Add: the list position while undone
        TBindRec* Record = nullptr;     // Field, Add: the record while in the document
        std::string Other;              // Field: the value the record does not hold now
        std::unique_ptr<TBindRec> Held; // Add: the record while undone
        std::unique_ptr<std::vector<std::unique_ptr<TBindRec>>> Others; // ReplaceAll
    };
    void Undo(TStep& step);
    void Redo(TStep& step);

    TCfgManager& document_;
    std::vector<TStep> steps_;
    bool mergeable_ = false;
    bool done_ = true; // made while recorded: the first redo has nothing to do
};

} // namespace qm
