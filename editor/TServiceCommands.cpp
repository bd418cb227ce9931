#include "editor/TServiceCommands.h"

#include "editor/Main.h"
#include "lang/GlobalConst.h"


namespace qm {

TServiceCommands::TServiceCommands(TfrmMain& window) : QObject(&window), window_(window) {}

bool TServiceCommands::DropChangesAllowed() {
    return !window_.HasUnsavedChanges() ||
           window_.Say(true, msgQuestion, Msg(msgDropChangesQuestion), TMsgIcon::Question,
                       TMsgButtons::YesNo) == TMsgAnswer::Yes;
}

// Undoable, unlike Restore defaults, which drops the file's name too.
void TServiceCommands::ResetAll() {
    if (!DropChangesAllowed())
        return;
    TDocumentSet& documents = window_.documents_;
    {
        TDocumentSet::TEdit edit(documents, Msg(msgEditResetAll));
        documents.ResetWorkingCopy();
    }
    // The file as read again: clean, until the reset itself is undone.
    documents.UndoStack().setClean();
}

void TServiceCommands::DefAll() {
    if (DropChangesAllowed())
        window_.ReOpen(window_.DefaultConfigPath());
}

void TServiceCommands::AddAll() {
    TDocumentSet& documents = window_.documents_;
    int added = 0;
    {
        TDocumentSet::TEdit edit(documents, QString());
        window_.tree_.ForEachNode([&](TTVNode& node) {
            added += !node.Data.ID.empty() && documents.AddDefaultRecord(node.Data.ID) ? 1 : 0;
        });
        documents.NameEdit(Msg(msgEditAddAll).arg(added));
    }
    window_.UpdateAddButton();
    window_.Say(true, msgInformation, Msg(msgRecordsAdded) + QString::number(added) + ".",
                TMsgIcon::Information);
}

void TServiceCommands::DelAll() {
    if (window_.Say(false, msgDangerous, Msg(msgDeleteAllQuestion), TMsgIcon::Question,
                    TMsgButtons::YesNo) != TMsgAnswer::Yes ||
        !window_.documents_.CurCfgMngr())
        return;
    {
        TDocumentSet::TEdit edit(window_.documents_, Msg(msgEditDeleteAll));
        window_.documents_.ClearWorkingCopy();
    }
    window_.UpdateAddButton();
    window_.Say(true, msgInformation, Msg(msgAllDeleted), TMsgIcon::Information);
}

void TServiceCommands::ChooseGame() {
    const QString folder = TProjectSettings::PickGameFolder(window_.platform_, &window_);
    if (folder.isEmpty())
        return;
    TProjectSettings& settings = window_.settings_;
    settings.War3Folder = folder;
    window_.SaveProjectSettings();
    window_.ReportSettingsWrite(settings.ForgetImport());
    window_.Say(true, msgInformation, Msg(msgGameNextStart).arg(settings.War3Folder),
                TMsgIcon::Information);
}

} // namespace qm
