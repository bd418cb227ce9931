#pragma once
// The loading window: shown while the program starts and, on the first
// start, while the game data are imported. The import keeps the thread busy,
// so every change repaints at once instead of waiting for the event loop.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace qm {

class TProjectSettings;

class TfrmLoading : public QWidget {
    Q_OBJECT

  public:
    // Created hidden, centred on the screen, with the "preparing" status.
    explicit TfrmLoading(QWidget* parent = nullptr);
    // The same, reading the settings it needs first, as the start-up does.
    explicit TfrmLoading(TProjectSettings& settings, QWidget* parent = nullptr);

    // Shows a step's status and repaints the window now.
    void SetStatus(const QString& text);
    // Shows progress of the current step; a total of zero or less hides the bar.
    void SetProgress(int done, int total);

    // The splash picture, drawn at start.
    static QPixmap SplashPicture();

    QLabel* const imgLoading;
    QLabel* const lblLoading;
    QLabel* const lblLoadingStatus;
    QProgressBar* const pbLoading;

  private:
    void RepaintNow();
};

} // namespace qm
