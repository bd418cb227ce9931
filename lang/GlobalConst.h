#pragma once
// The message table: every text the program shows in a message box, status
// line or file-dialog filter, by its fixed number. A language file may
// replace any entry, so code always refers to a message by its number.

#include <QString>

#include <string>

namespace qm {

enum TMsg : int {
    msgNoWarConfig = 0,
    msgError,
    msgConfigSavedAs,
    msgInformation,
    msgCannotSave,
    msgFileSavedAs,
    msgCannotSaveAs,
    msgSaveToWarQuestion,
    msgQuestion,
    msgRecordsAdded,
    msgDeleteAllQuestion,
    msgDangerous,
    msgAllDeleted,
    msgCannotReadInternal,
    msgCannotRead,
    msgNotAConfig,
    msgCannotLoadTree,
    msgTreeInProgramFolder,
    msgUntitled,
    msgFileChanged,
    msgAttention,
    msgHotkeyInUse,
    msgSwapButtons,
    msgNoAction,
    msgNoGameFolder,
    msgCannotLoadLibrary,
    msgWrongGameFolder,
    msgRecordsChecked,
    msgNoArchiveLibrary,
    msgCannotOpen,
    msgCannotClose,
    msgSize,
    msgOver4GB,
    msgCannotReadToBuffer,
    msgCannotWrite,
    msgAlreadyRunning,
    msgConfigFilter,
    msgLangFilter,
    msgStatusDefaults,
    msgStatusTree,
    msgStatusGraphics,
    msgStatusStarting,
    msgStatusPreparing,
    // Ours, after the table's first 43 rows, so that language files
    // translate them too. The first: before Reset all and Restore defaults
    // throw unsaved changes away.
    msgDropChangesQuestion,
    msgWordNotFound,    // the find dialog found nothing
    msgCannotWriteTo,   // followed by the path of a file that cannot be written
    msgReplaceQuestion, // Save As over an existing file; %1 is its path
    msgNoHelp,          // followed by the folder of a missing help book
    // Why a file could not be read or written, where the system has no word.
    msgWhyNotRegularFile,
    msgWhyTooLarge,
    msgWhyNoSection,
    msgWhyNothingToWrite,
    // An import step whose reading of the game's archives crashed; followed
    // by the game folder and the reason.
    msgArchivesUnreadable,
    // The game folder holds no archive of the game; followed by the folder.
    msgNoGameArchives,
    // An import step that could not use a file (an archive, the default
    // configuration, an icon to write); followed by the file and the reason.
    msgImportStepFailed,
    msgWhyNotAnArchive,
    // The single-copy lock file cannot be made; followed by its path and the reason.
    msgLockUnavailable,
    // The names of the edits in the undo history; %1 is an action's caption
    // or a count of records.
    msgEditHotkey,
    msgEditTip,
    msgEditDefault,
    msgEditReset,
    msgEditPosition,
    msgEditAdd,
    msgEditAddAll,
    msgEditDeleteAll,
    msgEditResetAll,
    msgEditMultiEditor,
    // Edit > Undo and Redo with the name of the edit they take back or make
    // again.
    msgUndoNamed,
    msgRedoNamed,
    // A typed key a hotkey field does not take; %1 is the key.
    msgHotkeyTakesLetters,
    msgHotkeyTakesKeys,
    // The find dialog went round from the last match to the first.
    msgFindWrapped,
    // The about box's word before the author's name.
    msgAuthor,
    // Below a tooltip shown cut for its length.
    msgTipCut,
    // Typed text that the file's code page (%1) cannot hold.
    msgStoreAsUtf8,
    // The hint in the tree's filter field.
    msgTreeFilter,
    // The list of clashes: its title, its columns and kinds ("|" between
    // them), and the status bar's count.
    msgConflictsTitle,
    msgConflictColumns,
    msgConflictKinds,
    msgConflictCount,
    // A start without a game: the status bar's note, the answer of the
    // commands that need the game, and the game chosen for the next start.
    msgNoGameBuiltin,
    msgNoGameYet,
    msgGameNextStart,
    // The import's statuses for the newer game, whose data is a CASC storage.
    msgStatusDefaultsCasc,
    msgStatusGraphicsCasc,
};
inline constexpr int kMessageCount = 85;

// The current text of an entry (the built-in one until a language file
// replaces it); empty for a number outside the table.
const QString& Msg(int index);
// Replaces an entry; numbers outside the table are ignored.
void SetMsg(int index, const QString& text);
// Restores the built-in texts.
void ResetMessages();

// A reason a reader or writer gave (the system's words, or one of its own,
// which the table translates), for a line after a message.
QString FailureReason(const std::string& why);
// A message, and on the next line the file and why it failed.
QString WithReason(const QString& message, const QString& path, const std::string& why);

} // namespace qm
