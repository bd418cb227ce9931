#include "editor/TImportSteps.h"

#include "editor/PathText.h"
#include "editor/TProjectSettings.h"
#include "gamedata/PreLoad.h"
#include "gamedata/TreeRewrite.h"
#include "lang/GlobalConst.h"

namespace qm {

namespace fs = std::filesystem;

TImportSteps::TImportSteps(TProjectSettings& settings, TReports reports)
    : settings_(settings), reports_(std::move(reports)) {}

void TImportSteps::Run() {
    settings_.LoadInitialisation();
    if (!settings_.DefCfgLoaded)
        BuildDefaults();
    if (!settings_.TVLoaded)
        FillTree();
    if (!settings_.IconsLoaded)
        ExtractIcons();
    reports_.Status(msgStatusStarting);
}

// Where the import writes the default configuration and later steps read it.
fs::path TImportSteps::DefaultsPath() const {
    return ToPath(settings_.WritePath(settings_.DefaultConfigName));
}

void TImportSteps::BuildDefaults() {
    reports_.Status(msgStatusDefaults);
    const fs::path fix = ToPath(settings_.Resolve(QStringLiteral("QMKData\\Fix.wrk")));
    const TDefaultKeys built = BuildDefaultConfiguration(
        ToPath(settings_.GameFolder()), DefaultsPath(), fs::exists(fix) ? fix : fs::path());
    if (built.Written) {
        settings_.Language = QString::fromStdString(built.Language);
        settings_.TVName = TProjectSettings::TreeFileFor(settings_.Language);
        ReportSettingsWrite(settings_.WriteDefCfgLoaded());
    }
    if (!built.Failure.empty())
        ReportUnreadable(built.Failure);
}

void TImportSteps::FillTree() {
    reports_.Status(msgStatusTree);
    ReportSettingsWrite(settings_.WriteTVName());
    const fs::path treeFile = ToPath(settings_.Folders().Adopt(settings_.TVName));
    if (settings_.TVClearBeforeLoad)
        ClearTVNames(treeFile);
    if (FillTVFromDefaults(treeFile, DefaultsPath()))
        ReportSettingsWrite(settings_.WriteTVLoaded());
}

// Icons already in the folder are kept, so a run that wrote none has still
// done its step; one whose archive reading crashed has not.
void TImportSteps::ExtractIcons() {
    reports_.Status(msgStatusGraphics);
    const TIconsExtracted icons =
        qm::ExtractIcons(ToPath(settings_.GameFolder()), DefaultsPath(),
                         ToPath(settings_.IconsFolder()), reports_.Progress);
    if (icons.Failure.empty())
        ReportSettingsWrite(settings_.WriteIconsLoaded());
    else
        ReportUnreadable(icons.Failure);
}

void TImportSteps::ReportSettingsWrite(bool written) {
    if (!written)
        reports_.Error(settings_.WriteFailureText());
}

void TImportSteps::ReportUnreadable(const std::string& why) {
    reports_.Error(WithReason(Msg(msgArchivesUnreadable), settings_.GameFolder(), why));
}

} // namespace qm
