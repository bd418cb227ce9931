#pragma once
// The first start's import from the game's archives, behind the loading
// window: the default configuration, the action tree's names, the button
// icons. Each step runs while its flag in [Initialisation] is 0 and sets it
// only once it has done its work, so a step that failed runs again at the
// next start. The tree and the icons come from the default configuration:
// they wait for it. A game folder without the game's archives is said so
// before anything is tried.

#include <QString>

#include <filesystem>
#include <functional>

namespace qm {

class TProjectSettings;
struct TImportProblem;

class TImportSteps {
  public:
    struct TReports {
        std::function<void(int message)> Status;           // a row of the message table
        std::function<void(int done, int total)> Progress; // icons, records done of all
        std::function<void(const QString& text)> Error;    // shown to the user
    };

    TImportSteps(TProjectSettings& settings, TReports reports);
    void Run();

  private:
    void BuildDefaults();
    void FillTree();
    void ExtractIcons();
    std::filesystem::path DefaultsPath() const;
    bool DefaultsReadable() const;
    bool FromStorage() const;
    void ReportSettingsWrite(bool written);
    void ReportUnreadable(const std::string& why);
    void ReportProblem(const TImportProblem& problem);

    TProjectSettings& settings_;
    TReports reports_;
};

} // namespace qm
