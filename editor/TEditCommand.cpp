#include "editor/TEditCommand.h"

#include "config/uCfgManager.h"

#include <utility>

namespace qm {

struct TEditCommand::TStep {
    enum class TKind { Field, Add, ReplaceAll };
    explicit TStep(TKind kind) : Kind(kind) {}
    TKind Kind;
    TBindRec* Record = nullptr; // Field, Add: the record while it is in the document
    int Field = 0;
    std::string Other;                             // Field: the value the record does not hold now
    std::unique_ptr<TBindRec> Held;                // Add: the record while undone
    int At = 0;                                    // Add: its list position
    std::vector<std::unique_ptr<TBindRec>> Others; // ReplaceAll: the records not in the document
};

TEditCommand::TEditCommand(TCfgManager& document, const QString& name)
    : QUndoCommand(name), document_(document) {}

TEditCommand::~TEditCommand() = default;

bool TEditCommand::SetField(TBindRec& record, int field, std::string_view bytes) {
    std::string& value = record[field];
    if (value == bytes)
        return false;
    auto step = std::make_unique<TStep>(TStep::TKind::Field);
    step->Record = &record;
    step->Field = field;
    step->Other = std::exchange(value, std::string(bytes));
    steps_.push_back(std::move(step));
    return true;
}

TBindRec& TEditCommand::Add(const TBindRec& record) {
    TBindRec& added = document_.AddRecord(record.ID);
    added = record;
    auto step = std::make_unique<TStep>(TStep::TKind::Add);
    step->Record = &added;
    steps_.push_back(std::move(step));
    return added;
}

void TEditCommand::ReplaceAll(std::vector<std::unique_ptr<TBindRec>> records) {
    auto step = std::make_unique<TStep>(TStep::TKind::ReplaceAll);
    step->Others = document_.TakeAll();
    document_.PutAll(std::move(records));
    steps_.push_back(std::move(step));
}

// Every mergeable transaction shares one id; mergeWith decides.
int TEditCommand::id() const {
    return mergeable_ ? 1 : -1;
}

bool TEditCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const TEditCommand*>(other);
    if (!next || steps_.size() != 1 || next->steps_.size() != 1)
        return false;
    const TStep& mine = *steps_.front();
    const TStep& theirs = *next->steps_.front();
    // This command keeps its value from before; the later one's is current.
    return mine.Kind == TStep::TKind::Field && theirs.Kind == TStep::TKind::Field &&
           mine.Record == theirs.Record && mine.Field == theirs.Field;
}

void TEditCommand::Undo(TStep& step) {
    switch (step.Kind) {
    case TStep::TKind::Field:
        std::swap((*step.Record)[step.Field], step.Other);
        break;
    case TStep::TKind::Add:
        step.Held = document_.TakeRecord(*step.Record, &step.At);
        break;
    case TStep::TKind::ReplaceAll: {
        auto current = document_.TakeAll();
        document_.PutAll(std::move(step.Others));
        step.Others = std::move(current);
        break;
    }
    }
}

void TEditCommand::Redo(TStep& step) {
    switch (step.Kind) {
    case TStep::TKind::Field:
        std::swap((*step.Record)[step.Field], step.Other);
        break;
    case TStep::TKind::Add:
        step.Record = &document_.InsertRecord(std::move(step.Held), step.At);
        break;
    case TStep::TKind::ReplaceAll: {
        auto current = document_.TakeAll();
        document_.PutAll(std::move(step.Others));
        step.Others = std::move(current);
        break;
    }
    }
}

void TEditCommand::undo() {
    for (auto it = steps_.rbegin(); it != steps_.rend(); ++it)
        Undo(**it);
    done_ = false;
}

void TEditCommand::redo() {
    if (done_)
        return;
    for (auto& step : steps_)
        Redo(*step);
    done_ = true;
}

} // namespace qm
