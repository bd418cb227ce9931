#pragma once
// The widgets the tree loader fills need an application object: one for the
// whole run, on the offscreen platform so that no display is needed.

#include <QApplication>

#include <cstdlib>

namespace qm::fuzz {

inline void StartApplication() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "quillmark-fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

} // namespace qm::fuzz
