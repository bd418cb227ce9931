#include "tools/TUpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qm {

TUpDown::TUpDown(const char* name, int min, int max, QWidget* parent)
    : QWidget(parent), min_(min), max_(max), position_(max) {
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (auto [arrow, by] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        layout->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, by = by] { Step(by); });
    }
}

void TUpDown::SetPosition(int position) {
    position_ = std::clamp(position, min_, max_);
}

void TUpDown::Step(int by) {
    SetPosition(position_ + by);
    emit Clicked();
}

} // namespace qm
