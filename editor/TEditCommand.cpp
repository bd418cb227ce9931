#include "editor/TEditCommand.h"

#include "config/uCfgManager.h"

#include <utility>

namespace qm {

TEditCommand::TEditCommand(TCfgManager& document, const QString& name)
    : QUndoCommand(name), document_(document) {}

TEditCommand::~TEditCommand() = default;

bool TEditCommand::SetField(TBindRec& record, int field, std::string_view bytes) {
    std::string& value = record[field];
    if (value == bytes)
        return false;
    TStep& step = steps_.emplace_back();
    step.Record = &record;
    step.Field = field;
    step.Other = std::exchange(value, std::string(bytes));
    return true;
}

TBindRec& TEditCommand::Add(const TBindRec& record) {
    TBindRec& added = document_.AddRecord(record.ID);
    added = record;
    TStep& step = steps_.emplace_back();
    step.Kind = TStep::TKind::Add;
    step.Record = &added;
    return added;
}

void TEditCommand::ReplaceAll(std::vector<std::unique_ptr<TBindRec>> records) {
    TStep& step = steps_.emplace_back();
    step.Kind = TStep::TKind::ReplaceAll;
    step.Others = std::make_unique<std::vector<std::unique_ptr<TBindRec>>>(document_.TakeAll());
    document_.PutAll(std::move(records));
}

// Every mergeable transaction shares one id; mergeWith decides.
int TEditCommand::id() const {
    return mergeable_ ? 1 : -1;
}

bool TEditCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const TEditCommand*>(other);
    if (!next || steps_.size() != 1 || next->steps_.size() != 1)
        return false;
    const TStep& mine = steps_.front();
    const TStep& theirs = next->steps_.front();
    // This command keeps its value from before; the later one's is current.
    return mine.Kind == TStep::TKind::Field && theirs.Kind == TStep::TKind::Field &&
           mine.Record == theirs.Record && mine.Field == theirs.Field;
}

// A field and the replaced records swap with what the step holds; undoing
// and redoing them is the same exchange.
void TEditCommand::Undo(TStep& step) {
    switch (step.Kind) {
    case TStep::TKind::Field:
        std::swap((*step.Record)[step.Field], step.Other);
        break;
    case TStep::TKind::Add:
        step.Held = document_.TakeRecord(*step.Record, &step.Field);
        break;
    case TStep::TKind::ReplaceAll: {
        auto current = document_.TakeAll();
        document_.PutAll(std::move(*step.Others));
        *step.Others = std::move(current);
        break;
    }
    }
}

void TEditCommand::Redo(TStep& step) {
    if (step.Kind == TStep::TKind::Add)
        step.Record = &document_.InsertRecord(std::move(step.Held), step.Field);
    else
        Undo(step);
}

void TEditCommand::undo() {
    for (auto it = steps_.rbegin(); it != steps_.rend(); ++it)
        Undo(*it);
    done_ = false;
}

void TEditCommand::redo() {
    if (done_)
        return;
    for (auto& step : steps_)
        Redo(step);
    done_ = true;
}

} // namespace qm
