#pragma once
// The page control of the tooltip editors (pcTips). Only enabled pages can
// be chosen, by mouse or keyboard (Ctrl+Tab and the arrows skip disabled
// ones); the program may still show a disabled page, as every selection
// does with the first one. Tabs are drawn by pcTipsDrawTab: enabled
// captions in black, disabled ones embossed.

#include <QTabWidget>

namespace qm {

class TTipTabs : public QTabWidget {
    Q_OBJECT

  public:
    explicit TTipTabs(QWidget* parent = nullptr);

    // Enables or disables a page without moving away from the active one.
    void SetPageEnabled(int index, bool enabled);
    void pcTipsDrawTab(QPainter& painter, int index, const QRect& rect) const;
};

} // namespace qm
