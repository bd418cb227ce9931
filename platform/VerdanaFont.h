#pragma once
// Verdana, the face the palette, the template's sample and the multi-editor's
// keys are drawn in, where the system has it (Windows). Elsewhere the
// interface's own font: asking for a face the system lacks makes the font
// database search every family for a substitute, at a cost the start can
// feel.

#include <QApplication>
#include <QFont>

namespace qm {

inline QFont VerdanaFont() {
#ifdef Q_OS_WIN
    return QFont(QStringLiteral("Verdana"));
#else
    return QApplication::font();
#endif
}

} // namespace qm
