#include "editor/TProjectSettings.h"

#include "config/uIniFile.h"
#include "editor/GlobalConst.h"
#include "platform/TPlatform.h"

#include <QDir>
#include <QFileInfo>

namespace qm {
namespace {

constexpr const char* kInit = "Initialisation";
constexpr const char* kStrings = "Strings";
constexpr const char* kInterface = "Interface";

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

QString ReadText(const TIniFile& ini, const char* section, const char* key,
                 const QString& fallback) {
    return QString::fromStdString(ini.ReadString(section, key, Utf8(fallback)));
}

} // namespace

TProjectSettings::TProjectSettings(QString programFolder)
    : programFolder_(std::move(programFolder)) {}

QString TProjectSettings::Resolve(const QString& programFolder, const QString& path) {
    // Only a path absolute on this system stays as it is; on Linux that
    // excludes "\QMKData\..." and "D:\...", which land under the program folder.
    const QString native = QDir::fromNativeSeparators(path);
    if (QDir::isAbsolutePath(native))
        return QDir::cleanPath(native);
    QString relative = path;
    relative.replace(u'\\', u'/');
    while (relative.startsWith(u'/'))
        relative.remove(0, 1);
    return QDir::cleanPath(QDir::fromNativeSeparators(programFolder) + u'/' + relative);
}

QString TProjectSettings::TreeFileFor(const QString& language) {
    return language == QStringLiteral("foreign") ? QStringLiteral("QMKData\\TV_foreign.wrk")
                                                 : QStringLiteral("QMKData\\TV_rus.wrk");
}

QString TProjectSettings::IniPath() const {
    return Resolve(QStringLiteral("QMKData\\QMK.ini"));
}

QString TProjectSettings::WriteFailureText() const {
    return QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(IniPath()));
}

TIniFile TProjectSettings::Open() const {
    return TIniFile(IniPath().toStdU16String());
}

void TProjectSettings::LoadStrings() {
    const TIniFile ini = Open();
    Language = ReadText(ini, kInit, "Language", Language);
    TVName = TreeFileFor(Language);
    DefaultConfigName = ReadText(ini, kStrings, "DefaultConfigName", DefaultConfigName);
    TVName = ReadText(ini, kStrings, "TVName", TVName);
    LangFileName = ReadText(ini, kStrings, "LangFileName", LangFileName);
}

void TProjectSettings::LoadInterface() {
    const TIniFile ini = Open();
    cbTogEdit = ini.ReadBool(kInterface, "cbTogEdit", true);
    cbAutoChangeTip = ini.ReadBool(kInterface, "cbAutoChangeTip", true);
    mnuAutoAdd = ini.ReadBool(kInterface, "mnuAutoAdd", true);
    mnuAlphasShow = ini.ReadBool(kInterface, "mnuAlphasShow", true);
    cpTip = ini.ReadInteger(kInterface, "cpTip", 16777215);
    cpHK = ini.ReadInteger(kInterface, "cpHK", 52479);
    cpBrackets = ini.ReadInteger(kInterface, "cpBrackets", 16777215);
    War3Folder = ReadText(ini, kStrings, "War3Folder", QString());
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
    if (War3Folder.isEmpty())
        War3Folder = platform.RegistryGameFolder();
    if (War3Folder.isEmpty())
        War3Folder = DemoGameFolder();
    if (!War3Folder.isEmpty())
        return true;
    if (platform.MessageBox(nullptr, Msg(msgError), Msg(msgNoGameFolder), TMsgIcon::Question,
                            TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return false;
    const QFileInfo picked(
        platform.OpenFileName(nullptr, QString(), QStringLiteral("war3.mpq|war3.mpq")));
    if (picked.fileName().toLower() != QStringLiteral("war3.mpq"))
        return false;
    War3Folder = QDir::toNativeSeparators(picked.absolutePath());
    return true;
}

void TProjectSettings::LoadInitialisation() {
    const TIniFile ini = Open();
    DefCfgLoaded = ini.ReadBool(kInit, "DefCfgLoaded", false);
    TVLoaded = ini.ReadBool(kInit, "TVLoaded", false);
    TVClearBeforeLoad = ini.ReadBool(kInit, "TVClearBeforeLoad", false);
    IconsLoaded = ini.ReadBool(kInit, "IconsLoaded", false);
}

bool TProjectSettings::SaveProjectSettings() const {
    TIniFile ini = Open();
    ini.WriteBool(kInterface, "cbTogEdit", cbTogEdit);
    ini.WriteBool(kInterface, "cbAutoChangeTip", cbAutoChangeTip);
    ini.WriteBool(kInterface, "mnuAutoAdd", mnuAutoAdd);
    ini.WriteBool(kInterface, "mnuAlphasShow", mnuAlphasShow);
    ini.WriteInteger(kInterface, "cpTip", cpTip);
    ini.WriteInteger(kInterface, "cpHK", cpHK);
    ini.WriteInteger(kInterface, "cpBrackets", cpBrackets);
    ini.WriteString(kStrings, "DefaultConfigName", Utf8(DefaultConfigName));
    ini.WriteString(kStrings, "TVName", Utf8(TVName));
    ini.WriteString(kStrings, "War3Folder", Utf8(War3Folder));
    ini.WriteString(kStrings, "LangFileName", Utf8(LangFileName));
    return ini.Save();
}

bool TProjectSettings::WriteDefCfgLoaded() const {
    TIniFile ini = Open();
    ini.WriteBool(kInit, "DefCfgLoaded", true);
    ini.WriteString(kInit, "Language", Utf8(Language));
    return ini.Save();
}

bool TProjectSettings::WriteTVName() const {
    TIniFile ini = Open();
    ini.WriteString(kStrings, "TVName", Utf8(TVName));
    return ini.Save();
}

bool TProjectSettings::WriteFlag(const char* key) const {
    TIniFile ini = Open();
    ini.WriteBool(kInit, key, true);
    return ini.Save();
}

bool TProjectSettings::WriteTVLoaded() const {
    return WriteFlag("TVLoaded");
}

bool TProjectSettings::WriteIconsLoaded() const {
    return WriteFlag("IconsLoaded");
}

} // namespace qm
