#pragma once
// A tool bar button that shows a command and keeps the hint a language file
// gave it: Qt copies the command's texts onto the button whenever the
// command changes (Undo's name changes with every edit).

#include <QToolButton>

namespace qm {

class TToolButton : public QToolButton {
    Q_OBJECT

  public:
    TToolButton(QAction& action, const char* name, QWidget* parent = nullptr);

  protected:
    void actionEvent(QActionEvent* event) override;
};

} // namespace qm
