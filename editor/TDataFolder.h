#pragma once
// Where the program's files are read and written. The program folder holds
// what ships with the program (QMKData: trees, corrections, language files);
// the data folder takes everything the program writes (QMK.ini, the default
// configuration, the rewritten tree, Icons). They are one folder when this
// user can write the program folder, as in an unpacked copy or the build
// tree; an installed copy writes to the per-user application data folder
// instead and never into its program folder.
//
// Paths are relative, in either separator form, as the settings keep them.

#include <QString>

#include <string>

namespace qm {

class TDataFolder {
  public:
    TDataFolder(QString programFolder, QString dataFolder);
    // The program folder itself when it can be written, else the per-user
    // folder (QStandardPaths::AppDataLocation).
    static TDataFolder For(const QString& programFolder);

    // The folder holding the shipped QMKData for an executable in
    // `executableFolder`: that folder, or for an installed copy the folder
    // `installedData` names relative to it ("../share/quillmark").
    static QString ProgramFolderOf(const QString& executableFolder, const QString& installedData);
    // Whether a file can be created in the folder's QMKData (or in the
    // folder itself while it has none); tried, not judged by permissions.
    static bool CanWrite(const QString& programFolder);

    const QString& ProgramFolder() const { return program_; }
    const QString& DataFolder() const { return data_; }
    bool Separate() const { return program_ != data_; }

    // A file to read: the data folder's when it has one, else the program
    // folder's when that has one, else the data folder's path.
    QString Read(const QString& relative) const;
    // A file to write: always in the data folder.
    QString Write(const QString& relative) const;
    // A shipped file that is rewritten in place (the tree file): copied into
    // the data folder first when only the program folder has it. The path
    // to write; empty when the copy failed, with the reason in `why` when given.
    QString Adopt(const QString& relative, std::string* why = nullptr) const;
    // Makes the data folder's QMKData and Icons; false when it cannot.
    bool Prepare() const;
    // Whether the absolute `path` lies inside the data folder or the program
    // folder once ".." and links are resolved; for a file not yet there,
    // its nearest existing folder decides.
    bool Holds(const QString& path) const;

  private:
    QString program_;
    QString data_;
};

} // namespace qm
