#pragma once
// The tree's picture list: a built-in default picture at index 0, icons
// appended as they are loaded and never removed.

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <vector>

namespace qm {

class TImageList {
  public:
    explicit TImageList(QSize size = QSize(32, 32));

    int Count() const { return static_cast<int>(pictures_.size()); }
    QSize Size() const { return size_; }
    // Appends a picture, fitted to the list's size; returns its index.
    int Add(const QImage& picture);
    // The picture at an index; the default picture for an index outside.
    const QPixmap& Pixmap(int index) const;
    const QIcon& Icon(int index) const;

  private:
    static QPixmap DefaultPicture(QSize size);

    QSize size_;
    std::vector<QPixmap> pictures_;
    std::vector<QIcon> icons_;
};

} // namespace qm
