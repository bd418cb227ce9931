#pragma once
// The pictures of the main window's commands: the desktop's icon theme
// where it has one by its freedesktop name, else a small picture of ours.

#include <QIcon>

namespace qm {

// "document-new", "document-open", "document-save", "edit-find",
// "edit-cut", "edit-copy", "edit-paste", "edit-undo", or "view-grid" (the
// multi-editor).
QIcon ToolIcon(const char* name);

} // namespace qm
