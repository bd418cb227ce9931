#pragma once
// The first start's import from the game's archives, behind the loading
// window: the default configuration, the action tree's names, the button
// icons. Each step runs while its flag in [Initialisation] is 0 and sets it
// once done, so a step that failed runs again at the next start.

#include <QString>

#include <filesystem>
#include <functional>

namespace qm {

class TProjectSettings;

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
    void ReportSettingsWrite(bool written);
    void ReportUnreadable(const std::string& why);

    TProjectSettings& settings_;
    TReports reports_;
};

} // namespace qm
