#include "editor/TDataFolder.h"

#include "editor/PathText.h"
#include "editor/TProjectSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <filesystem>

namespace qm {

TDataFolder::TDataFolder(QString programFolder, QString dataFolder)
    : program_(QDir::cleanPath(programFolder)), data_(QDir::cleanPath(dataFolder)) {}

TDataFolder TDataFolder::For(const QString& programFolder) {
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // Without a home to write to, the writes fail where they always were.
    if (CanWrite(programFolder) || user.isEmpty())
        return {programFolder, programFolder};
    return {programFolder, user};
}

QString TDataFolder::ProgramFolderOf(const QString& executableFolder,
                                     const QString& installedData) {
    const QDir beside(executableFolder);
    if (beside.exists(QStringLiteral("QMKData")))
        return QDir::cleanPath(executableFolder);
    const QString installed = QDir::cleanPath(beside.filePath(installedData));
    if (QDir(installed).exists(QStringLiteral("QMKData")))
        return installed;
    return QDir::cleanPath(executableFolder);
}

bool TDataFolder::CanWrite(const QString& programFolder) {
    const QDir folder(programFolder);
    const QString target = folder.exists(QStringLiteral("QMKData"))
                               ? folder.filePath(QStringLiteral("QMKData"))
                               : programFolder;
    // Permission bits say nothing to an administrator or on a read-only
    // mount; creating a file does.
    QTemporaryFile probe(QDir(target).filePath(QStringLiteral("write-probe-XXXXXX")));
    return probe.open();
}

QString TDataFolder::Read(const QString& relative) const {
    const QString own = Write(relative);
    if (!Separate() || QFileInfo::exists(own))
        return own;
    const QString shipped = TProjectSettings::Resolve(program_, relative);
    return QFileInfo::exists(shipped) ? shipped : own;
}

QString TDataFolder::Write(const QString& relative) const {
    return TProjectSettings::Resolve(data_, relative);
}

QString TDataFolder::Adopt(const QString& relative, std::string* why) const {
    const QString own = Write(relative);
    const QString shipped = Read(relative);
    if (shipped == own)
        return own;
    QDir().mkpath(QFileInfo(own).absolutePath());
    QFile copy(shipped);
    if (!copy.copy(own)) {
        if (why)
            *why = copy.errorString().toLocal8Bit().toStdString();
        return {};
    }
    // The copy keeps the shipped file's read-only mode; it is ours to rewrite.
    QFile::setPermissions(own, QFile::permissions(own) | QFile::WriteOwner | QFile::WriteUser);
    return own;
}

bool TDataFolder::Holds(const QString& path) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path file = fs::weakly_canonical(ToPath(path), ec);
    if (ec)
        return false;
    for (const QString& folder : {program_, data_}) {
        const fs::path root = fs::weakly_canonical(ToPath(folder), ec);
        if (!ec &&
            std::mismatch(root.begin(), root.end(), file.begin(), file.end()).first == root.end())
            return true;
    }
    return false;
}

bool TDataFolder::Prepare() const {
    const QDir data(data_);
    return data.mkpath(QStringLiteral("QMKData")) && data.mkpath(QStringLiteral("Icons"));
}

} // namespace qm
