#pragma once
// The platform of a real run: Qt's message boxes, file and colour dialogs, a lock
// file for the single copy, the registry (or the Wine prefix) for the game
// folder and the documents folder, HTML Help on Windows.

#include "platform/TPlatform.h"

#include <QStringList>

#include <memory>

class QLockFile;

namespace qm {

// Turns a filter in the message table's form ("Description|pattern", more
// pairs after further bars, patterns separated by ";") into Qt name filters.
// With `caseless` every letter of a pattern matches both cases, which file
// systems that tell case apart need to behave as Windows does.
QStringList QtNameFilters(const QString& filter, bool caseless);

class TQtPlatform : public TPlatform {
  public:
    // The lock file lives in `lockFolder`; by default in the user's runtime
    // folder, or the temporary folder where there is none.
    explicit TQtPlatform(QString lockFolder = QString());
    ~TQtPlatform() override;
    TQtPlatform(const TQtPlatform&) = delete;
    TQtPlatform& operator=(const TQtPlatform&) = delete;

    TMsgAnswer MessageBox(QWidget* owner, const QString& caption, const QString& text,
                          TMsgIcon icon, TMsgButtons buttons) override;
    QString OpenFileName(QWidget* owner, const QString& folder, const QString& filter) override;
    QString SaveFileName(QWidget* owner, const QString& folder, const QString& filter) override;
    bool AcquireSingleCopy() override;
    TLockProblem SingleCopyProblem() const override { return problem_; }
    QString RegistryGameFolder() override;
    QString DocumentsFolder(const QString& gameFolder) override;
    bool HtmlHelp(QWidget* owner, int command, const QString& file) override;
    std::optional<QColor> ChooseColor(QWidget* owner, const QColor& initial) override;

    // Where the single-copy lock is kept.
    QString LockPath() const;

  private:
    QString lockFolder_;
    std::unique_ptr<QLockFile> lock_;
    TLockProblem problem_;
};

} // namespace qm
