#include "editor/TDocumentSet.h"

#include "config/uFileError.h"
#include "editor/PathText.h"

namespace qm {
namespace {

bool IsTipField(int field) {
    return field >= fiTip && field <= fiAwakentip;
}

} // namespace

TDocumentSet::TDocumentSet(QObject* parent) : QObject(parent) {}

TDocumentSet::~TDocumentSet() = default;

TDocumentSet::TReadResult TDocumentSet::ReOpen(const QString& defaultsPath, const QString& path,
                                               std::string* why) {
    auto defaults = TCfgManager::CreateFromFile(ToPath(defaultsPath), why);
    if (defaults->FileName().empty())
        return TReadResult::DefaultsUnreadable;
    auto saved = TCfgManager::CreateFromFile(ToPath(path), why);
    auto current = TCfgManager::CreateFromFile(ToPath(path), why);
    if (saved->FileName().empty() || current->FileName().empty())
        return TReadResult::FileUnreadable;
    TryToDestroyCfgMngrs();
    def_ = std::move(defaults);
    saved_ = std::move(saved);
    cur_ = std::move(current);
    curFileName_ = path;
    return TReadResult::Ok;
}

bool TDocumentSet::Write(const QString& path, std::string* why) const {
    if (!cur_ || path.isEmpty()) {
        SetWhy(why, kWhyNothingToWrite);
        return false;
    }
    return cur_->SaveToFile(ToPath(path), false, why);
}

void TDocumentSet::TryToDestroyCfgMngrs() {
    emit Replacing();
    saved_.reset();
    def_.reset();
    cur_.reset();
}

bool TDocumentSet::SetField(TBindRec& record, int field, std::string_view bytes) {
    std::string& value = record[field];
    if (value == bytes)
        return false;
    value.assign(bytes);
    emit FieldChanged(&record, field);
    return true;
}

TBindRec* TDocumentSet::AddDefaultRecord(std::string_view id) {
    const TBindRec* defaults = def_ && cur_ ? def_->FindRecord(id) : nullptr;
    if (!defaults)
        return nullptr;
    TBindRec& added = cur_->AddRecord(id);
    added = *defaults;
    emit RecordAdded(&added);
    return &added;
}

void TDocumentSet::FillEmptyFields(TBindRec& record) {
    const TBindRec* defaults = def_ ? def_->FindRecord(record.ID) : nullptr;
    if (!defaults)
        return;
    for (int field = fiID + 1; field < kFieldCount; ++field) {
        if (record[field].empty())
            SetField(record, field, (*defaults)[field]);
    }
}

void TDocumentSet::CopyEditFields(TBindRec& record, const TBindRec& source) {
    for (int field = fiHotkey; field <= fiResearchbuttonpos; ++field)
        SetField(record, field, source[field]);
}

void TDocumentSet::ClearWorkingCopy() {
    if (!cur_)
        return;
    emit Replacing();
    cur_->Clear();
    emit WorkingCopyCleared();
}

// Unchanged: the file's value, or for a field the file leaves empty the
// default's value that showing fills in; tooltips also in their shown form.
bool TDocumentSet::FieldUnchanged(int field, const std::string& value, const std::string& saved,
                                  const TBindRec* defaults) const {
    const bool filled = saved.empty() && defaults;
    const auto same = [&](const std::string& as) {
        return value == as || (IsTipField(field) && normalTip_ && value == normalTip_(as));
    };
    return same(saved) || (filled && same((*defaults)[field]));
}

bool TDocumentSet::ShownUnchanged(const TBindRec& current, const TBindRec* saved) const {
    const TBindRec* defaults = def_->FindRecord(current.ID);
    if (!saved && !defaults)
        return false;
    static const TBindRec kNothing;
    for (int field = fiHotkey; field <= fiResearchbuttonpos; ++field) {
        if (!FieldUnchanged(field, current[field], (saved ? *saved : kNothing)[field], defaults))
            return false;
    }
    return true;
}

// Both documents are sorted by identifier: walk them side by side, pairing
// records with the same identifier in order.
bool TDocumentSet::HasUnsavedChanges() const {
    if (!cur_ || !saved_ || !def_)
        return false;
    int c = 0;
    int s = 0;
    while (c < cur_->Count() || s < saved_->Count()) {
        const TBindRec* current = c < cur_->Count() ? &cur_->Records(c) : nullptr;
        const TBindRec* saved = s < saved_->Count() ? &saved_->Records(s) : nullptr;
        if (!current || (saved && saved->ID < current->ID))
            return true; // a record of the file is gone
        const bool paired = saved && saved->ID == current->ID;
        if (!ShownUnchanged(*current, paired ? saved : nullptr))
            return true;
        ++c;
        s += paired ? 1 : 0;
    }
    return false;
}

} // namespace qm
