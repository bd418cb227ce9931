#include "editor/TActionTreeView.h"

#include "platform/PlainText.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>

namespace qm {

TActionTreeView::TActionTreeView(QSize iconSize, QWidget* parent) : QTreeWidget(parent) {
    setObjectName("tvMain");
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(19);
    setIconSize(iconSize);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette colours = palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);
}

void TActionTreeView::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.size() == 1 && text[0].isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        emit KeyPress(text[0].toUpper());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

bool TActionTreeView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QTreeWidget::viewportEvent(event);
    const auto& help = static_cast<QHelpEvent&>(*event);
    QTreeWidgetItem* item = itemAt(help.pos());
    const int room = item ? visualItemRect(item).width() - iconSize().width() - 8 : 0;
    if (item && fontMetrics().horizontalAdvance(item->text(0)) > room)
        QToolTip::showText(help.globalPos(), PlainToolTip(item->text(0)), this);
    else
        QToolTip::hideText();
    return true;
}

} // namespace qm
