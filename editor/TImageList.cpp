#include "editor/TImageList.h"

#include <QPainter>

namespace qm {

TImageList::TImageList(QSize size) : size_(size) {
    pictures_.push_back(DefaultPicture(size));
    icons_.emplace_back(pictures_.back());
}

int TImageList::Add(const QImage& picture) {
    QImage fitted = picture.size() == size_
                        ? picture
                        : picture.scaled(size_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    pictures_.push_back(QPixmap::fromImage(fitted));
    icons_.emplace_back(pictures_.back());
    return Count() - 1;
}

const QPixmap& TImageList::Pixmap(int index) const {
    return index > 0 && index < Count() ? pictures_[index] : pictures_.front();
}

const QIcon& TImageList::Icon(int index) const {
    return index > 0 && index < Count() ? icons_[index] : icons_.front();
}

// A dark bevelled button face: what a node shows until its icon is loaded.
QPixmap TImageList::DefaultPicture(QSize size) {
    QPixmap picture(size);
    picture.fill(QColor(24, 28, 36));
    QPainter painter(&picture);
    const QRect face = picture.rect().adjusted(0, 0, -1, -1);
    painter.setPen(QColor(110, 118, 132));
    painter.drawLine(face.topLeft(), face.topRight());
    painter.drawLine(face.topLeft(), face.bottomLeft());
    painter.setPen(QColor(8, 10, 14));
    painter.drawLine(face.bottomLeft(), face.bottomRight());
    painter.drawLine(face.topRight(), face.bottomRight());
    painter.setPen(QPen(QColor(160, 140, 60), 2));
    painter.drawEllipse(face.adjusted(9, 9, -9, -9));
    return picture;
}

} // namespace qm
