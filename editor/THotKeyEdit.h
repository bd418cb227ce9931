#pragma once
// A one-line hotkey field. There is no caret editing: a typed character
// replaces the whole text, which is what the panel's key handlers decide;
// this field only reports the keys. A paste is the typing of the pasted
// text's first character; drops and the context menu are off.

#include <QLineEdit>

namespace qm {

class THotKeyEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit THotKeyEdit(const char* name, QWidget* parent = nullptr);

    // Reports the clipboard's first character as typed (Edit > Paste, Ctrl+V).
    void PasteKey();

  signals:
    // A typed character (a letter already as its capital), Enter as '\r'.
    void KeyPress(QChar key);
    // A key without a character of its own that the panel handles (Escape).
    void KeyDown(int key);
    void MouseDown();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace qm
