#pragma once
// The one palette window every colour combo drops down: 56 colours, a custom
// square and a button for the system colour dialog. It closes when a square
// is picked, on Escape, and when it loses activation (but not to that
// dialog).

#include "tooltips/TipManager.h"

#include <QPointer>
#include <QWidget>

#include <array>

class QToolButton;

namespace qm {

class TColBtn;
class TColorPickCombo;
class TPlatform;

class TColorPickerForm : public QWidget {
    Q_OBJECT

  public:
    // Made on first use; lives as long as the program.
    static TColorPickerForm& Shared();
    // Whose colour dialog the other-colour button opens; nullptr (the
    // start) for the system's own.
    static void SetPlatform(TPlatform* platform) { platform_ = platform; }

    // Shows the window under (or above) the combo, marking its colour; a
    // picked colour goes to that combo.
    void DropDown(TColorPickCombo& combo);

  protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TColorPickerForm();
    TColBtn* AddSquare(int left, int top, TColor color);
    void MarkColor(TColor color);
    void PickSquare(TColBtn* square);
    void OtherColor();
    void CloseUp(bool backToCombo);
    QWidget* Neighbour(const QWidget* from, int key) const;
    TPlatform& Platform();

    std::array<TColBtn*, 57> squares_{}; // 0 the custom square, 1-56 the palette
    QToolButton* btnOther_ = nullptr;
    QPointer<TColorPickCombo> combo_;
    TColor current_ = 0;
    TColor dialogColor_ = 0; // the system dialog opens on its last choice
    bool dialogOpen_ = false;
    static inline TPlatform* platform_ = nullptr;
};

} // namespace qm
