#include "editor/THotKeyEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace qm {

THotKeyEdit::THotKeyEdit(const char* name, QWidget* parent) : QLineEdit(parent) {
    setObjectName(name);
    // Read-only keeps the line edit's own editing out; setText still works.
    setReadOnly(true);
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAlignment(Qt::AlignLeft);
}

void THotKeyEdit::PasteKey() {
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        emit KeyPress(text[0].toUpper());
}

void THotKeyEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        PasteKey();
        return;
    }
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        emit KeyPress(QChar(u'\r'));
        return;
    }
    if (key == Qt::Key_Escape) {
        emit KeyDown(key);
        return;
    }
    const QString text = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (text.size() == 1 && text[0].isPrint() && !command) {
        emit KeyPress(text[0].toUpper());
        return;
    }
    // Tab, arrows and shortcuts keep their usual meaning.
    QLineEdit::keyPressEvent(event);
}

void THotKeyEdit::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    emit MouseDown();
}

} // namespace qm
