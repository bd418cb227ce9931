#pragma once
// The colour chooser: a combo-shaped control that shows its colour as a
// square and drops down the shared palette window instead of a list.

#include "tooltips/TipManager.h"

#include <QComboBox>

namespace qm {

class TColorPickCombo : public QComboBox {
    Q_OBJECT

  public:
    explicit TColorPickCombo(QWidget* parent = nullptr);

    TColor ActiveColor() const { return activeColor_; }
    // A different colour is stored, reported by OnChanged and shown; the
    // same colour again does nothing.
    void SetActiveColor(TColor color);
    // The palette window's background; by default the button face.
    TColor DropDnColor() const { return dropDnColor_; }
    void SetDropDnColor(TColor color) { dropDnColor_ = color; }
    // The caption of the palette window's other-colour button.
    QString OtherBtnCaption() const { return otherBtnCaption_; }
    void SetOtherBtnCaption(const QString& caption) { otherBtnCaption_ = caption; }

    // Drops down the palette window.
    void showPopup() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void OnChanged(qm::TColorPickCombo* sender);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    TColor activeColor_ = 0;
    TColor dropDnColor_;
    QString otherBtnCaption_ = QStringLiteral("...");
};

} // namespace qm
