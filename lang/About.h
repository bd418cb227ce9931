#pragma once
// The about box: the program's picture, name and version, its author and the
// people it thanks, on a bevelled panel above an OK button.

#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;

namespace qm {

// The program's own 64 x 64 picture, also its window icon.
QPixmap ProgramPicture();

class TAboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* const ProgramIcon;
    QLabel* const ProductName;
    QLabel* const Version;
    QLabel* const lblAuthor;
    QLabel* const Comments;
    QPushButton* const btnOK;

  protected:
    // Centred on the screen, as every time it is shown.
    void showEvent(QShowEvent* event) override;
};

} // namespace qm
