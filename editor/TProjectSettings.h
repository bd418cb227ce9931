#pragma once
// The program's settings, held for the whole run, and their file
// QMKData\QMK.ini in the data folder. Paths are kept relative and in Windows
// form, as the file holds them, so that the file stays interchangeable
// between systems; Resolve and WritePath turn them into real paths in the
// data folder or, for a shipped file read, the program folder (TDataFolder).
// The main window maps the Interface fields to its controls.
//
// Every writer opens the file afresh, changes its keys and saves the whole
// file atomically; false means the file could not be written and the caller
// shows WriteFailureText().

#include "editor/TDataFolder.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <string>

class QWidget;

namespace qm {

class TIniFile;
class TPlatform;

class TProjectSettings {
  public:
    // The data folder is found for the program folder (TDataFolder::For).
    explicit TProjectSettings(const QString& programFolder);
    explicit TProjectSettings(TDataFolder folders);

    // folder + relative, with "\" or "/" as separators; a relative path
    // always lands under the folder, an absolute one is kept.
    static QString Resolve(const QString& folder, const QString& path);
    // A file to read, and a file to write (TDataFolder::Read, Write).
    QString Resolve(const QString& path) const { return folders_.Read(path); }
    QString WritePath(const QString& path) const { return folders_.Write(path); }
    QString IconsFolder() const;
    const TDataFolder& Folders() const { return folders_; }

    // The tree file for a language: exactly "foreign" gives the foreign one.
    static QString TreeFileFor(const QString& language);

    // The Strings paths as the program uses them: the setting, unless it
    // leads outside the data and program folders (by "..", an absolute path
    // or a link), where the default name stands in. The settings file keeps
    // the player's value all the same.
    // Without a game, the built-in defaults shipped in QMKData\Builtin
    // stand in for the imported ones, for this run: their defaults, tree
    // and icons. Nothing is imported then, and no import mark written.
    bool Builtin = false;
    bool HasBuiltin() const;
    QString DefaultConfigFile() const;
    QString TreeFile() const;
    QString LangFile() const;

    const QString& ProgramFolder() const { return folders_.ProgramFolder(); }
    QString IniPath() const;
    // The message with the settings file's path and the reason, for a writer
    // that returned false.
    QString WriteFailureText() const;

    // Loading-window creation: Language, then the Strings paths with the
    // tree file defaulting by Language.
    void LoadStrings();
    // LoadProjectSettings: the Interface section and the game folder.
    void LoadInterface();
    // The game folder when War3Folder is empty: the registry (or the Wine
    // prefix), else the demo game named by QUILLMARK_DEMO_GAME, else the
    // user is asked and picks the game's file (PickGameFolder). False when
    // the user declines, cancels or picks another file. What is found stays
    // in memory until SaveProjectSettings; the demo game stands in for this
    // run only and never becomes War3Folder.
    bool LocateGameFolder(TPlatform& platform);
    static QString DemoGameFolder();
    // The folder of the game file the user picks: war3.mpq (the older game)
    // or .build.info (the game from patch 1.30 on), in any case of letters;
    // empty when the user cancels or picks another file.
    static QString PickGameFolder(TPlatform& platform, QWidget* owner);
    // The game this run works on: War3Folder, or the demo game.
    QString GameFolder() const { return War3Folder.isEmpty() ? demoFolder_ : War3Folder; }
    // PreLoad: the Initialisation flags.
    void LoadInitialisation();

    // Interface, then Strings; Initialisation is left alone.
    bool SaveProjectSettings() const;
    // The import steps' marks, each written once its step has returned.
    bool WriteDefCfgLoaded() const; // DefCfgLoaded and Language
    bool WriteTVName() const;       // Strings/TVName, before the tree is built
    bool WriteTVLoaded() const;
    bool WriteIconsLoaded() const;
    // The three marks back at 0, so that the next start imports the game.
    bool ForgetImport() const;

    // Strings
    QString Language = QStringLiteral("foreign");
    QString DefaultConfigName = QStringLiteral("QMKData\\DefaultKeys.wrk");
    QString TVName = TreeFileFor(Language);
    // Until the settings name one: Russian for a Russian locale, else English.
    QString LangFileName;
    QString War3Folder;

    // Interface
    bool cbTogEdit = true;
    bool cbAutoChangeTip = true;
    bool mnuAutoAdd = true;
    bool mnuAlphasShow = true;
    int cpTip = 16777215;
    int cpHK = 52479;
    int cpBrackets = 16777215;
    // The main window: its last normal geometry (empty: the default size,
    // centred) and whether it was maximized.
    QRect WindowGeometry;
    bool WindowMaximized = false;

    // RecentFiles: the last files opened or saved, the newest first.
    static constexpr int kRecentFiles = 10;
    QStringList RecentFiles;

    // Initialisation
    bool DefCfgLoaded = false;
    bool TVLoaded = false;
    bool TVClearBeforeLoad = false;
    bool IconsLoaded = false;

  private:
    QString Usable(const QString& name, const QString& fallback) const;
    bool WriteFlag(bool TProjectSettings::*field) const;
    TIniFile Open() const;

    TDataFolder folders_;
    QString demoFolder_;
    mutable std::string writeWhy_; // why the last write failed
};

} // namespace qm
