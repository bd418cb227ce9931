#include "editor/TCardCell.h"

#include "editor/TCommandCard.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace qm {

const char* const TCardCell::kMimeType = "application/x-quillmark-card-cell";

TCardCell::TCardCell(const QString& name, TCommandCard& card, QWidget* parent)
    : TImage(name, parent), card_(card) {
    setAcceptDrops(true);
    resize(32, 32);
}

void TCardCell::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        card_.imgBtn00MouseDown(*this, event->globalPosition().toPoint());
}

void TCardCell::mouseMoveEvent(QMouseEvent* event) {
    card_.imgBtn00MouseMove(*this, event->globalPosition().toPoint());
}

void TCardCell::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        card_.imgBtn00MouseUp(*this);
}

void TCardCell::mouseDoubleClickEvent(QMouseEvent*) {
    card_.imgBtn00DblClick(*this);
}

TCardCell* TCardCell::Source(const QMimeData* data) const {
    if (!data || !data->hasFormat(kMimeType))
        return nullptr;
    return parentWidget()->findChild<TCardCell*>(QString::fromUtf8(data->data(kMimeType)),
                                                 Qt::FindDirectChildrenOnly);
}

void TCardCell::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void TCardCell::dragMoveEvent(QDragMoveEvent* event) {
    TCardCell* source = Source(event->mimeData());
    event->setAccepted(source && card_.imgBtn02DragOver(*source));
}

void TCardCell::dropEvent(QDropEvent* event) {
    TCardCell* source = Source(event->mimeData());
    if (!source || !card_.imgBtn02DragOver(*source))
        return;
    event->acceptProposedAction();
    card_.imgBtn00DragDrop(*source, *this);
}

} // namespace qm
