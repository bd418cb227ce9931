#pragma once
// One 32 x 32 cell control of the command card: the picture last drawn into
// it and the absolute tree index of that button's node (the tag, which
// outlives the picture). Mouse input goes to the card, which owns the drag
// and drop rules.

#include "editor/TImage.h"

class QMimeData;

namespace qm {

class TCommandCard;

class TCardCell : public TImage {
    Q_OBJECT

  public:
    TCardCell(const QString& name, TCommandCard& card, QWidget* parent);

    bool HoldsButton() const { return !Picture().isNull(); }
    int Tag = -1;

    // The MIME type a dragged cell travels as.
    static const char* const kMimeType;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    TCardCell* Source(const QMimeData* data) const;

    TCommandCard& card_;
};

} // namespace qm
