#include "editor/TProjectSettings.h"

#include "config/uIniFile.h"
#include "editor/PathText.h"
#include "lang/GlobalConst.h"
#include "lang/MultiLang.h"
#include "platform/TPlatform.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <cstdlib>

namespace qm {
namespace {

constexpr const char* kInit = "Initialisation";
constexpr const char* kStrings = "Strings";
constexpr const char* kInterface = "Interface";
constexpr const char* kRecent = "RecentFiles";
constexpr const char* kGeometry[] = {"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight"};
const char* const kDefaultConfigName = "QMKData\\DefaultKeys.wrk";
const char* const kBuiltinDefaults = "QMKData\\Builtin\\DefaultKeys.wrk";
const char* const kBuiltinTree = "QMKData\\Builtin\\TV_foreign.wrk";
const char* const kBuiltinIcons = "QMKData\\Builtin\\Icons";

// Every key the settings file holds beside Language, each written once: its
// section, its key and the variable it fills. The defaults are the
// variables' initial values; the file is read and written in this order.
template <typename T> struct TKey {
    const char* Section;
    const char* Key;
    T TProjectSettings::*Field;
};
using S = TProjectSettings;

constexpr TKey<bool> kFlags[] = {
    {kInterface, "cbTogEdit", &S::cbTogEdit},
    {kInterface, "cbAutoChangeTip", &S::cbAutoChangeTip},
    {kInterface, "mnuAutoAdd", &S::mnuAutoAdd},
    {kInterface, "mnuAlphasShow", &S::mnuAlphasShow},
};
constexpr TKey<int> kColours[] = {
    {kInterface, "cpTip", &S::cpTip},
    {kInterface, "cpHK", &S::cpHK},
    {kInterface, "cpBrackets", &S::cpBrackets},
};
constexpr TKey<QString> kPaths[] = {
    {kStrings, "DefaultConfigName", &S::DefaultConfigName},
    {kStrings, "TVName", &S::TVName},
    {kStrings, "War3Folder", &S::War3Folder},
    {kStrings, "LangFileName", &S::LangFileName},
};
// Written by the import of the default configuration, never by a save.
constexpr TKey<QString> kLanguage = {kInit, "Language", &S::Language};
constexpr TKey<bool> kImportMarks[] = {
    {kInit, "DefCfgLoaded", &S::DefCfgLoaded},
    {kInit, "TVLoaded", &S::TVLoaded},
    {kInit, "TVClearBeforeLoad", &S::TVClearBeforeLoad},
    {kInit, "IconsLoaded", &S::IconsLoaded},
};

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

QString ReadText(const TIniFile& ini, const char* section, const char* key,
                 const QString& fallback) {
    return QString::fromStdString(ini.ReadString(section, key, Utf8(fallback)));
}

void Read(const TIniFile& ini, S& s, const TKey<bool>& k) {
    s.*k.Field = ini.ReadBool(k.Section, k.Key, s.*k.Field);
}
void Read(const TIniFile& ini, S& s, const TKey<int>& k) {
    s.*k.Field = ini.ReadInteger(k.Section, k.Key, s.*k.Field);
}
void Read(const TIniFile& ini, S& s, const TKey<QString>& k) {
    s.*k.Field = ReadText(ini, k.Section, k.Key, s.*k.Field);
}

// The row of a variable in its table.
template <typename T, size_t N> const TKey<T>& KeyOf(const TKey<T> (&table)[N], T S::*field) {
    for (const auto& k : table) {
        if (k.Field == field)
            return k;
    }
    std::abort(); // every variable has its row
}

} // namespace

TProjectSettings::TProjectSettings(const QString& programFolder)
    : LangFileName(LangFileForLocale(QLocale::system())),
      folders_(TDataFolder::For(programFolder)) {}

TProjectSettings::TProjectSettings(TDataFolder folders) : folders_(std::move(folders)) {}

QString TProjectSettings::Resolve(const QString& folder, const QString& path) {
    // Only a path absolute on this system stays as it is; on Linux that
    // excludes "\QMKData\..." and "D:\...", which land under the program folder.
    const QString native = QDir::fromNativeSeparators(path);
    if (QDir::isAbsolutePath(native))
        return QDir::cleanPath(native);
    QString relative = path;
    relative.replace(u'\\', u'/');
    while (relative.startsWith(u'/'))
        relative.remove(0, 1);
    return QDir::cleanPath(QDir::fromNativeSeparators(folder) + u'/' + relative);
}

QString TProjectSettings::TreeFileFor(const QString& language) {
    return language == QStringLiteral("foreign") ? QStringLiteral("QMKData\\TV_foreign.wrk")
                                                 : QStringLiteral("QMKData\\TV_rus.wrk");
}

// Read from one folder and written to the other, the file stays in both.
QString TProjectSettings::Usable(const QString& name, const QString& fallback) const {
    return folders_.Holds(Resolve(name)) && folders_.Holds(WritePath(name)) ? name : fallback;
}

QString TProjectSettings::DefaultConfigFile() const {
    if (Builtin)
        return QString::fromLatin1(kBuiltinDefaults);
    return Usable(DefaultConfigName, QString::fromLatin1(kDefaultConfigName));
}

QString TProjectSettings::TreeFile() const {
    if (Builtin)
        return QString::fromLatin1(kBuiltinTree);
    return Usable(TVName, TreeFileFor(Language));
}

QString TProjectSettings::IconsFolder() const {
    return Builtin ? Resolve(QString::fromLatin1(kBuiltinIcons))
                   : folders_.Write(QStringLiteral("Icons"));
}

bool TProjectSettings::HasBuiltin() const {
    return QFileInfo(Resolve(QString::fromLatin1(kBuiltinDefaults))).isFile() &&
           QFileInfo(Resolve(QString::fromLatin1(kBuiltinTree))).isFile();
}

QString TProjectSettings::LangFile() const {
    return Usable(LangFileName, LangFileForLocale(QLocale::system()));
}

QString TProjectSettings::IniPath() const {
    return WritePath(QStringLiteral("QMKData\\QMK.ini"));
}

QString TProjectSettings::WriteFailureText() const {
    return Msg(msgCannotWriteTo) + QDir::toNativeSeparators(IniPath()) + QStringLiteral("\r\n") +
           FailureReason(writeWhy_);
}

TIniFile TProjectSettings::Open() const {
    return TIniFile(ToPath(IniPath()));
}

void TProjectSettings::LoadStrings() {
    const TIniFile ini = Open();
    Read(ini, *this, kLanguage);
    TVName = TreeFileFor(Language);
    for (QString S::*path : {&S::DefaultConfigName, &S::TVName, &S::LangFileName})
        Read(ini, *this, KeyOf(kPaths, path));
}

void TProjectSettings::LoadInterface() {
    const TIniFile ini = Open();
    for (const auto& k : kFlags)
        Read(ini, *this, k);
    for (const auto& k : kColours)
        Read(ini, *this, k);
    Read(ini, *this, KeyOf(kPaths, &S::War3Folder));
    int box[4];
    for (int i = 0; i < 4; ++i)
        box[i] = ini.ReadInteger(kInterface, kGeometry[i], 0);
    WindowGeometry = box[2] > 0 && box[3] > 0 ? QRect(box[0], box[1], box[2], box[3]) : QRect();
    WindowMaximized = ini.ReadBool(kInterface, "WindowMaximized", false);
    RecentFiles.clear();
    for (int i = 1; i <= kRecentFiles; ++i) {
        const QString file = ReadText(ini, kRecent, ("File" + std::to_string(i)).c_str(), {});
        if (!file.isEmpty())
            RecentFiles.append(file);
    }
}

// The bundled demo game, named by ./run.sh on machines without the game;
// empty unless that folder really holds a war3.mpq.
QString TProjectSettings::DemoGameFolder() {
    const QString folder = qEnvironmentVariable("QUILLMARK_DEMO_GAME");
    if (folder.isEmpty() || !QFileInfo(QDir(folder).filePath(QStringLiteral("war3.mpq"))).isFile())
        return {};
    return QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath());
}

bool TProjectSettings::LocateGameFolder(TPlatform& platform) {
    demoFolder_ = DemoGameFolder();
    // Earlier versions stored the demo game: an installed game comes first.
    if (!demoFolder_.isEmpty() && War3Folder == demoFolder_)
        War3Folder.clear();
    if (War3Folder.isEmpty())
        War3Folder = platform.RegistryGameFolder();
    if (!GameFolder().isEmpty())
        return true;
    if (platform.MessageBox(nullptr, Msg(msgError), Msg(msgNoGameFolder), TMsgIcon::Question,
                            TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return false;
    War3Folder = PickGameFolder(platform, nullptr);
    return !War3Folder.isEmpty();
}

QString TProjectSettings::PickGameFolder(TPlatform& platform, QWidget* owner) {
    const QFileInfo picked(platform.OpenFileName(
        owner, QString(), QStringLiteral("war3.mpq, .build.info|war3.mpq;.build.info")));
    const QString name = picked.fileName().toLower();
    if (name != QStringLiteral("war3.mpq") && name != QStringLiteral(".build.info"))
        return {};
    return QDir::toNativeSeparators(picked.absolutePath());
}

void TProjectSettings::LoadInitialisation() {
    const TIniFile ini = Open();
    for (const auto& k : kImportMarks) {
        this->*k.Field = false;
        Read(ini, *this, k);
    }
}

bool TProjectSettings::SaveProjectSettings() const {
    TIniFile ini = Open();
    for (const auto& k : kFlags)
        ini.WriteBool(k.Section, k.Key, this->*k.Field);
    for (const auto& k : kColours)
        ini.WriteInteger(k.Section, k.Key, this->*k.Field);
    for (const auto& k : kPaths)
        ini.WriteString(k.Section, k.Key, Utf8(this->*k.Field));
    if (WindowGeometry.isValid()) {
        const int box[4] = {WindowGeometry.x(), WindowGeometry.y(), WindowGeometry.width(),
                            WindowGeometry.height()};
        for (int i = 0; i < 4; ++i)
            ini.WriteInteger(kInterface, kGeometry[i], box[i]);
        ini.WriteBool(kInterface, "WindowMaximized", WindowMaximized);
    }
    // Slots the list no longer fills are emptied where the file has them.
    for (int i = 1; i <= kRecentFiles; ++i) {
        const std::string key = "File" + std::to_string(i);
        if (i <= RecentFiles.size())
            ini.WriteString(kRecent, key, Utf8(RecentFiles[i - 1]));
        else if (ini.ValueExists(kRecent, key))
            ini.WriteString(kRecent, key, {});
    }
    return ini.Save(&writeWhy_);
}

bool TProjectSettings::WriteDefCfgLoaded() const {
    const auto& mark = KeyOf(kImportMarks, &S::DefCfgLoaded);
    TIniFile ini = Open();
    ini.WriteBool(mark.Section, mark.Key, true);
    ini.WriteString(kLanguage.Section, kLanguage.Key, Utf8(Language));
    return ini.Save(&writeWhy_);
}

bool TProjectSettings::WriteTVName() const {
    TIniFile ini = Open();
    const auto& k = KeyOf(kPaths, &S::TVName);
    ini.WriteString(k.Section, k.Key, Utf8(TVName));
    return ini.Save(&writeWhy_);
}

bool TProjectSettings::WriteFlag(bool TProjectSettings::*field) const {
    const auto& k = KeyOf(kImportMarks, field);
    TIniFile ini = Open();
    ini.WriteBool(k.Section, k.Key, true);
    return ini.Save(&writeWhy_);
}

bool TProjectSettings::WriteTVLoaded() const {
    return WriteFlag(&S::TVLoaded);
}

bool TProjectSettings::WriteIconsLoaded() const {
    return WriteFlag(&S::IconsLoaded);
}

bool TProjectSettings::ForgetImport() const {
    TIniFile ini = Open();
    for (bool S::*mark : {&S::DefCfgLoaded, &S::TVLoaded, &S::IconsLoaded}) {
        const auto& k = KeyOf(kImportMarks, mark);
        ini.WriteBool(k.Section, k.Key, false);
    }
    return ini.Save(&writeWhy_);
}

} // namespace qm
