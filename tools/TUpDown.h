#pragma once
// An up-down control: two arrow buttons stepping a position between a
// minimum and a maximum, without wrapping; it shows no number itself (the
// edit box beside it does).

#include <QWidget>

namespace qm {

class TUpDown : public QWidget {
    Q_OBJECT

  public:
    TUpDown(const char* name, int min, int max, QWidget* parent = nullptr);

    int Position() const { return position_; }
    void SetPosition(int position);

  signals:
    // An arrow was clicked (the position may have stayed at its end).
    void Clicked();

  private:
    void Step(int by);

    int min_;
    int max_;
    int position_;
};

} // namespace qm
