#include "platform/TQtPlatform.h"

#include "platform/PlayerDocuments.h"
#include "platform/TWineRegistry.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibrary>
#include <QLockFile>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

#include <filesystem>
#include <system_error>

#ifndef Q_OS_WIN
#include <pwd.h>
#include <unistd.h>
#endif

namespace qm {
namespace {

// The same name as every copy of the program uses, on every system.
const QString kLockName = QStringLiteral("[02CD2664-381A-4463-91F4-A584820CC790].lock");

#ifdef Q_OS_WIN
constexpr bool kCaselessPatterns = false; // the system's dialogs ignore case already
#else
constexpr bool kCaselessPatterns = true;
#endif

QString CaselessPattern(const QString& pattern) {
    QString out;
    for (const QChar c : pattern) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (lower == upper)
            out += c;
        else
            out += u'[' + QString(lower) + QString(upper) + u']';
    }
    return out;
}

QMessageBox::Icon BoxIcon(TMsgIcon icon) {
    switch (icon) {
    case TMsgIcon::Information:
        return QMessageBox::Information;
    case TMsgIcon::Warning:
        return QMessageBox::Warning;
    case TMsgIcon::Error:
        return QMessageBox::Critical;
    case TMsgIcon::Question:
        return QMessageBox::Question;
    case TMsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(TMsgButtons buttons) {
    switch (buttons) {
    case TMsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case TMsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case TMsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case TMsgButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// A box closed without a button answers as its escape button would.
TMsgAnswer Answer(int button, TMsgButtons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return TMsgAnswer::Ok;
    case QMessageBox::Cancel:
        return TMsgAnswer::Cancel;
    case QMessageBox::Yes:
        return TMsgAnswer::Yes;
    case QMessageBox::No:
        return TMsgAnswer::No;
    default:
        break;
    }
    if (buttons == TMsgButtons::Ok)
        return TMsgAnswer::Ok;
    return buttons == TMsgButtons::YesNo ? TMsgAnswer::No : TMsgAnswer::Cancel;
}

QString RunFileDialog(QWidget* owner, const QString& folder, const QString& filter, bool save) {
    QFileDialog dialog(owner, QString(), folder);
    dialog.setNameFilters(QtNameFilters(filter, kCaselessPatterns));
    // The bracketed patterns are for matching, not for reading.
    dialog.setOption(QFileDialog::HideNameFilterDetails, kCaselessPatterns);
    // A pattern for a hidden file (the newer game's ".build.info") must see it.
    if (filter.contains(QStringLiteral("|.")) || filter.contains(QStringLiteral(";.")))
        dialog.setFilter(dialog.filter() | QDir::Hidden);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite); // the caller asks
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

QString DefaultLockFolder() {
#ifdef Q_OS_WIN
    return QDir::tempPath(); // already the user's own
#else
    // /tmp is shared: another user's copy must not count as this user's.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
#endif
}

// The name QLockFile records for a copy of this program, and the machine.
QString OwnProcessName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QString MachineName() {
#ifdef Q_OS_WIN
    return qEnvironmentVariable("COMPUTERNAME");
#else
    return QSysInfo::machineHostName();
#endif
}

// Whether the lock that tryLock could not take belongs to a live copy of
// this program. tryLock has found the process a readable lock of this
// machine names alive (and takes the lock of a dead one itself); what is
// left is that it is this program. An empty or garbled file, a folder, a
// lock of another program or machine name none.
bool HeldByLiveCopy(const QLockFile& lock) {
    qint64 pid = 0;
    QString host;
    QString app;
    return lock.getLockInfo(&pid, &host, &app) && app == OwnProcessName() &&
           (host.isEmpty() || host == MachineName());
}

// Removes a stale lock, a file or an empty folder in its place; the reason
// when it cannot. Two copies starting together judge it again under a
// guard, so that neither removes the lock the other has just made.
QString RemoveStaleLock(const QLockFile& lock, const QString& path) {
    QLockFile guard(path + QStringLiteral(".rmlock"));
    if (!guard.tryLock(0) || HeldByLiveCopy(lock))
        return {};
    std::error_code ec;
    std::filesystem::remove(path.toStdU16String(), ec);
    return ec ? QString::fromLocal8Bit(ec.message()) : QString();
}

// Why the lock file cannot be made. QLockFile says only that it failed, so
// the same is done once more: create the file and write to it.
QString WhyNoLock(const QString& path) {
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return probe.errorString();
    const QByteArray line(64, '\n');
    const bool written = probe.write(line) == line.size() && probe.flush();
    const QString why = probe.errorString();
    probe.remove();
    return written ? QString() : why;
}

// "C:\Games\" → "C:\Games"; a root keeps its separator.
QString WithoutTrailingSeparator(QString path) {
    const qsizetype root = path.size() > 1 && path[1] == u':' ? 3 : 1;
    while (path.size() > root && (path.endsWith(u'\\') || path.endsWith(u'/')))
        path.chop(1);
    return path;
}

} // namespace

QStringList QtNameFilters(const QString& filter, bool caseless) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty())
                patterns << (caseless ? CaselessPattern(trimmed) : trimmed);
        }
        if (!patterns.isEmpty())
            filters << parts[i].trimmed() + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters;
}

TQtPlatform::TQtPlatform(QString lockFolder) : lockFolder_(std::move(lockFolder)) {}

TQtPlatform::~TQtPlatform() = default;

TMsgAnswer TQtPlatform::MessageBox(QWidget* owner, const QString& caption, const QString& text,
                                   TMsgIcon icon, TMsgButtons buttons) {
    QMessageBox box(BoxIcon(icon), caption, text, BoxButtons(buttons), owner);
    // Messages carry paths, file names and language files: never markup.
    box.setTextFormat(Qt::PlainText);
    return Answer(box.exec(), buttons);
}

QString TQtPlatform::OpenFileName(QWidget* owner, const QString& folder, const QString& filter) {
    return RunFileDialog(owner, folder, filter, false);
}

QString TQtPlatform::SaveFileName(QWidget* owner, const QString& folder, const QString& filter) {
    return RunFileDialog(owner, folder, filter, true);
}

QString TQtPlatform::LockPath() const {
    return QDir(lockFolder_.isEmpty() ? DefaultLockFolder() : lockFolder_).filePath(kLockName);
}

bool TQtPlatform::AcquireSingleCopy() {
    if (lock_)
        return true;
    problem_ = {};
    const QString path = LockPath();
    auto lock = std::make_unique<QLockFile>(path);
    // The lock is held for the whole run, so its age says nothing: only a
    // lock that names no live copy of the program is stale.
    lock->setStaleLockTime(0);
    QString why;
    if (!lock->tryLock(0) && lock->error() == QLockFile::LockFailedError) {
        if (HeldByLiveCopy(*lock))
            return false;
        why = RemoveStaleLock(*lock, path);
        if (why.isEmpty() && !lock->tryLock(0) && lock->error() == QLockFile::LockFailedError &&
            HeldByLiveCopy(*lock))
            return false; // another copy took it meanwhile
    }
    if (lock->isLocked()) {
        lock_ = std::move(lock);
        return true;
    }
    // A lock is a convenience: without one this copy runs all the same.
    problem_ = {path, why.isEmpty() ? WhyNoLock(path) : why};
    return true;
}

QString TQtPlatform::RegistryGameFolder() {
#ifdef Q_OS_WIN
    // Reading through QSettings neither creates nor changes the key.
    const QSettings registry(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Blizzard Entertainment\\Warcraft III"),
        QSettings::NativeFormat);
    return WithoutTrailingSeparator(registry.value(QStringLiteral("InstallPath")).toString());
#else
    const auto folder = TWineRegistry::GameFolder(TWineRegistry::DefaultPrefix());
    return WithoutTrailingSeparator(QString::fromStdString(folder.string()));
#endif
}

QString TQtPlatform::DocumentsFolder(const QString& gameFolder) {
#ifdef Q_OS_WIN
    Q_UNUSED(gameFolder);
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
#else
    // Wine names the user's folder after the login name.
    const passwd* login = getpwuid(geteuid());
    const std::string user = login ? login->pw_name : qEnvironmentVariable("USER").toStdString();
    const auto prefix = WinePrefixOf(gameFolder.toStdU16String(), TWineRegistry::DefaultPrefix());
    return QString::fromStdU16String(WineDocumentsFolder(prefix, user).u16string());
#endif
}

#ifdef Q_OS_WIN
// HTML Help's entry point, loaded when first asked for.
bool TQtPlatform::HtmlHelp(QWidget* owner, int command, const QString& file) {
    using THtmlHelpW = void* (*)(void* owner, const wchar_t* file, unsigned command, quintptr data);
    static const auto htmlHelp =
        reinterpret_cast<THtmlHelpW>(QLibrary::resolve(QStringLiteral("hhctrl.ocx"), "HtmlHelpW"));
    const QString chm = file.section(QStringLiteral("::"), 0, 0);
    if (!htmlHelp || (!chm.isEmpty() && !QFileInfo::exists(chm)))
        return false;
    void* window = owner ? reinterpret_cast<void*>(owner->winId()) : nullptr;
    const std::wstring name = QDir::toNativeSeparators(file).toStdWString();
    htmlHelp(window, file.isEmpty() ? nullptr : name.c_str(), static_cast<unsigned>(command), 0);
    return true;
}
#else
// There is no HTML Help outside Windows.
bool TQtPlatform::HtmlHelp(QWidget*, int, const QString&) {
    return false;
}
#endif

std::optional<QColor> TQtPlatform::ChooseColor(QWidget* owner, const QColor& initial) {
    QColorDialog dialog(initial, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

} // namespace qm
