#pragma once
// A picture control: shows its picture stretched over the whole control,
// always in full colour, also while the control is disabled.

#include <QPixmap>
#include <QWidget>

namespace qm {

class TImage : public QWidget {
    Q_OBJECT

  public:
    explicit TImage(const QString& name, QWidget* parent = nullptr);

    const QPixmap& Picture() const { return picture_; }
    void SetPicture(const QPixmap& picture);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
};

} // namespace qm
