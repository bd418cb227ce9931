#include "editor/TImportSteps.h"

#include "config/uCfgManager.h"
#include "editor/PathText.h"
#include "editor/TProjectSettings.h"
#include "gamedata/PreLoad.h"
#include "gamedata/StorageTables.h"
#include "gamedata/TreeRewrite.h"
#include "lang/GlobalConst.h"

#include <QDir>

namespace qm {

namespace fs = std::filesystem;

TImportSteps::TImportSteps(TProjectSettings& settings, TReports reports)
    : settings_(settings), reports_(std::move(reports)) {}

void TImportSteps::Run() {
    settings_.LoadInitialisation();
    const bool readsArchives = !settings_.DefCfgLoaded || !settings_.IconsLoaded;
    if (readsArchives && !HoldsGame(ToPath(settings_.GameFolder()))) {
        reports_.Error(Msg(msgNoGameArchives) + QStringLiteral("\r\n") +
                       QDir::toNativeSeparators(settings_.GameFolder()));
    } else {
        if (!settings_.DefCfgLoaded)
            BuildDefaults();
        const bool fromDefaults = !settings_.TVLoaded || !settings_.IconsLoaded;
        if (settings_.DefCfgLoaded && fromDefaults && DefaultsReadable()) {
            if (!settings_.TVLoaded)
                FillTree();
            if (!settings_.IconsLoaded)
                ExtractIcons();
        }
    }
    reports_.Status(msgStatusStarting);
}

// Where the import writes the default configuration and later steps read it.
fs::path TImportSteps::DefaultsPath() const {
    return ToPath(settings_.WritePath(settings_.DefaultConfigFile()));
}

// Whether the game is the newer one, whose data is a CASC storage.
bool TImportSteps::FromStorage() const {
    return HoldsCascStorage(ToPath(settings_.GameFolder()));
}

// Without it the start ends with its own message, after the import.
bool TImportSteps::DefaultsReadable() const {
    return !TCfgManager::CreateFromFile(DefaultsPath())->FileName().empty();
}

void TImportSteps::BuildDefaults() {
    reports_.Status(FromStorage() ? msgStatusDefaultsCasc : msgStatusDefaults);
    const fs::path fix = ToPath(settings_.Resolve(QStringLiteral("QMKData\\Fix.wrk")));
    const TDefaultKeys built = BuildDefaultConfiguration(
        ToPath(settings_.GameFolder()), DefaultsPath(), fs::exists(fix) ? fix : fs::path());
    if (!built.Failure.empty()) {
        ReportUnreadable(built.Failure);
    } else if (!built.Written) {
        ReportProblem(built.Problem);
    } else {
        settings_.Language = QString::fromStdString(built.Language);
        settings_.TVName = TProjectSettings::TreeFileFor(settings_.Language);
        settings_.DefCfgLoaded = true;
        ReportSettingsWrite(settings_.WriteDefCfgLoaded());
    }
}

void TImportSteps::FillTree() {
    reports_.Status(msgStatusTree);
    ReportSettingsWrite(settings_.WriteTVName());
    std::string why;
    const QString treeFile = settings_.Folders().Adopt(settings_.TreeFile(), &why);
    const fs::path tree = ToPath(treeFile);
    const bool filled = !treeFile.isEmpty() &&
                        (!settings_.TVClearBeforeLoad || ClearTVNames(tree, &why)) &&
                        FillTVFromDefaults(tree, DefaultsPath(), &why);
    if (!filled) {
        const QString target =
            treeFile.isEmpty() ? settings_.WritePath(settings_.TreeFile()) : treeFile;
        ReportProblem({TImportProblem::Unwritten, ToPath(target), why});
        return;
    }
    settings_.TVLoaded = true;
    ReportSettingsWrite(settings_.WriteTVLoaded());
}

// Icons already in the folder are kept, so a run that wrote none has still
// done its step; one whose archive reading crashed, or that could not use a
// file, has not.
void TImportSteps::ExtractIcons() {
    reports_.Status(FromStorage() ? msgStatusGraphicsCasc : msgStatusGraphics);
    const TIconsExtracted icons =
        qm::ExtractIcons(ToPath(settings_.GameFolder()), DefaultsPath(),
                         ToPath(settings_.IconsFolder()), reports_.Progress);
    if (!icons.Failure.empty()) {
        ReportUnreadable(icons.Failure);
    } else if (icons.Problem.Kind != TImportProblem::None) {
        ReportProblem(icons.Problem);
    } else {
        settings_.IconsLoaded = true;
        ReportSettingsWrite(settings_.WriteIconsLoaded());
    }
}

void TImportSteps::ReportSettingsWrite(bool written) {
    if (!written)
        reports_.Error(settings_.WriteFailureText());
}

void TImportSteps::ReportUnreadable(const std::string& why) {
    reports_.Error(WithReason(Msg(msgArchivesUnreadable), settings_.GameFolder(), why));
}

void TImportSteps::ReportProblem(const TImportProblem& problem) {
    reports_.Error(WithReason(Msg(msgImportStepFailed), FromPath(problem.File), problem.Why));
}

} // namespace qm
