#pragma once
// The program's push button: drawn with the dark outer frame of the default
// button only while it has the focus itself, never merely for being the
// default button. Enter still presses the default button.

#include <QPushButton>

namespace qm {

class TUFBitBtn : public QPushButton {
    Q_OBJECT

  public:
    using QPushButton::QPushButton;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qm
