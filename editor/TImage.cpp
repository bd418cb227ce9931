#include "editor/TImage.h"

#include <QPainter>

namespace qm {

TImage::TImage(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
}

void TImage::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    if (!picture_.isNull())
        QPainter(this).drawPixmap(rect(), picture_);
}

} // namespace qm
