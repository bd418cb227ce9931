#pragma once
// A square of the colour picker: a flat checkable button showing its colour
// as a 14 x 14 square in a grey frame.

#include "tooltips/TipManager.h"

#include <QToolButton>

namespace qm {

class TColBtn : public QToolButton {
    Q_OBJECT

  public:
    explicit TColBtn(QWidget* parent = nullptr);

    TColor SqareColor() const { return color_; }
    void SetSqareColor(TColor color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TColor color_ = 0;
};

} // namespace qm
