#include "editor/TDocumentSet.h"

#include "config/uAtomicFile.h"
#include "config/uFileError.h"
#include "editor/FieldText.h"
#include "editor/PathText.h"
#include "editor/TEditCommand.h"

#include <QScopedValueRollback>

namespace qm {

TDocumentSet::TDocumentSet(QObject* parent) : QObject(parent) {
    // An undo or a redo changes the working copy like an edit does; a
    // transaction announces itself when it ends.
    connect(&undo_, &QUndoStack::indexChanged, this, [this] {
        if (!announced_)
            emit Changed();
    });
}

TDocumentSet::~TDocumentSet() {
    // The history points into the working copy: it goes first.
    undo_.clear();
}

TDocumentSet::TReadResult TDocumentSet::ReOpen(const QString& defaultsPath, const QString& path,
                                               std::string* why) {
    const TShared defaults = TCfgManager::CreateFromFile(ToPath(defaultsPath), why);
    if (defaults->FileName().empty())
        return TReadResult::DefaultsUnreadable;
    // The untitled document is the defaults: one reading serves both.
    const TShared saved =
        path == defaultsPath ? defaults : TCfgManager::CreateFromFile(ToPath(path), why);
    if (saved->FileName().empty())
        return TReadResult::FileUnreadable;
    const TTextEncoding encoding = DetectEncoding(*saved);
    Replace(defaults, saved, path, encoding);
    return TReadResult::Ok;
}

void TDocumentSet::Replace(TShared defaults, TShared saved, const QString& path,
                           const TTextEncoding& encoding) {
    {
        // The history's clearing is no change of its own: the new documents
        // are announced once, below.
        const QScopedValueRollback quiet(announced_, true);
        TryToDestroyCfgMngrs();
    }
    def_ = std::move(defaults);
    cur_ = saved->Clone();
    encoding_ = encoding;
    saved_ = std::move(saved);
    curFileName_ = path;
    emit Changed();
}

bool TDocumentSet::Save(const QString& path, std::string* why) {
    if (!cur_ || cur_->Count() == 0 || path.isEmpty()) {
        SetWhy(why, kWhyNothingToWrite);
        return false;
    }
    std::string bytes = cur_->SerializeEdits();
    if (!WriteFileAtomically(ToPath(path), bytes, why))
        return false;
    auto written = TCfgManager::CreateFromBytes(std::move(bytes), ToPath(path));
    // The player's choice of code page holds for the file as saved.
    Replace(std::move(def_), std::move(written), path, encoding_);
    return true;
}

void TDocumentSet::SetCodePage(TCodePage page) {
    if (encoding_.CodePage == page)
        return;
    encoding_.CodePage = page;
    emit Changed();
}

QString TDocumentSet::ShownText(std::string_view bytes) const {
    return FieldToQString(bytes, encoding_.CodePage);
}

std::string TDocumentSet::ShownUtf8(std::string_view bytes) const {
    return FieldToUtf8(bytes, encoding_.CodePage);
}

std::optional<std::string> TDocumentSet::TypedBytes(std::string_view utf8,
                                                    std::string_view stored) const {
    return TypedToField(utf8, stored, encoding_);
}

void TDocumentSet::TryToDestroyCfgMngrs() {
    emit Replacing();
    open_.reset();
    depth_ = 0;
    undo_.clear();
    saved_.reset();
    def_.reset();
    cur_.reset();
}

const TBindRec* TDocumentSet::Record(std::string_view id) const {
    return cur_ ? cur_->FindRecord(id) : nullptr;
}

TBindRec TDocumentSet::Shown(std::string_view id) const {
    const TBindRec* own = Record(id);
    const TBindRec* defaults = def_ ? def_->FindRecord(id) : nullptr;
    TBindRec shown = own ? *own : defaults ? *defaults : TBindRec{};
    if (!own && !defaults)
        shown.ID = id;
    if (own && defaults) {
        for (int field = fiHotkey; field < kFieldCount; ++field) {
            if (shown[field].empty())
                shown[field] = (*defaults)[field];
        }
    }
    return shown;
}

// ---- transactions ----

void TDocumentSet::BeginEdit(const QString& name, bool mergeable) {
    if (depth_++ > 0 || !cur_)
        return;
    open_ = std::make_unique<TEditCommand>(*cur_, name);
    open_->SetMergeable(mergeable);
}

void TDocumentSet::EndEdit() {
    if (depth_ == 0 || --depth_ > 0 || !open_)
        return;
    std::unique_ptr<TEditCommand> done = std::move(open_);
    if (done->Empty())
        return;
    announced_ = true;
    undo_.push(done.release());
    announced_ = false;
    emit Changed();
}

void TDocumentSet::NameEdit(const QString& name) {
    if (open_)
        open_->setText(name);
}

TDocumentSet::TEdit::TEdit(TDocumentSet& documents, const QString& name, bool mergeable)
    : documents_(documents) {
    documents_.BeginEdit(name, mergeable);
    before_ = documents_.OpenSteps();
}

TDocumentSet::TEdit::~TEdit() {
    documents_.EndEdit();
}

bool TDocumentSet::TEdit::Changed() const {
    return documents_.OpenSteps() > before_;
}

size_t TDocumentSet::OpenSteps() const {
    return open_ ? open_->Steps() : 0;
}

// ---- the edits ----

bool TDocumentSet::SetField(std::string_view id, int field, std::string_view bytes) {
    TEdit edit(*this, QString());
    TBindRec* record = cur_ ? cur_->FindRecord(id) : nullptr;
    return record && open_ && open_->SetField(*record, field, bytes);
}

bool TDocumentSet::AddDefaultRecord(std::string_view id) {
    TEdit edit(*this, QString());
    const TBindRec* defaults = def_ ? def_->FindRecord(id) : nullptr;
    if (!defaults || !open_ || Record(id))
        return false;
    open_->Add(*defaults);
    return true;
}

void TDocumentSet::ClearWorkingCopy() {
    TEdit edit(*this, QString());
    if (open_ && cur_->Count() > 0)
        open_->ReplaceAll({});
}

void TDocumentSet::ResetWorkingCopy() {
    TEdit edit(*this, QString());
    if (open_ && !cur_->SameAs(*saved_))
        open_->ReplaceAll(saved_->Clone()->TakeAll());
}

} // namespace qm
