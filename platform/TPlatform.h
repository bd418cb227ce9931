#pragma once
// What differs between systems or must be answered in tests: message boxes,
// file and colour dialogs, the single-copy lock, the game and documents
// folders and help. The windows
// reach the system only through this interface; tests answer it by script.

#include <QColor>
#include <QString>

#include <optional>

class QWidget;

namespace qm {

enum class TMsgIcon { None, Information, Warning, Error, Question };
enum class TMsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TMsgAnswer { Ok, Cancel, Yes, No };

class TPlatform {
  public:
    virtual ~TPlatform() = default;

    // A modal message box; closing it without a button gives Cancel, No for
    // Yes/No and Ok for a lone OK.
    virtual TMsgAnswer MessageBox(QWidget* owner, const QString& caption, const QString& text,
                                  TMsgIcon icon, TMsgButtons buttons) = 0;

    // `folder` is where the dialog starts, or a file there that it suggests;
    // filter in the message table's form "Description|*.txt" (or
    // "war3.mpq|war3.mpq"); empty result = cancelled. Patterns match without
    // regard to case on every system. Neither dialog asks about replacing an
    // existing file: the caller asks through MessageBox.
    virtual QString OpenFileName(QWidget* owner, const QString& folder, const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* owner, const QString& folder, const QString& filter) = 0;

    // false when another copy of the program runs; the lock is held until
    // this object ends. A lock that cannot be made keeps no copy from
    // running: the answer is true, and SingleCopyProblem says why.
    virtual bool AcquireSingleCopy() = 0;
    struct TLockProblem {
        QString Path; // the lock file; empty while the lock is held
        QString Why;  // the system's reason
    };
    virtual TLockProblem SingleCopyProblem() const { return {}; }

    // "InstallPath" from the registry / Wine prefix; empty when none
    virtual QString RegistryGameFolder() = 0;

    // The player's documents folder, where the newer game keeps its files:
    // the user's on Windows, elsewhere the one in the Wine prefix that
    // holds the game; empty when there is none.
    virtual QString DocumentsFolder(const QString& gameFolder) = 0;

    // Hands one request to the system's HTML Help (an HH_ command number and
    // its file, "file::/topic" for a topic); false where there is no HTML
    // Help, and the program shows its own help window instead.
    virtual bool HtmlHelp(QWidget* owner, int command, const QString& file) = 0;

    // The system colour dialog, custom colours shown, opened on `initial`;
    // nothing when cancelled.
    virtual std::optional<QColor> ChooseColor(QWidget* owner, const QColor& initial) = 0;
};

} // namespace qm
