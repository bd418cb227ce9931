#include "editor/TTipTabs.h"

#include <QEvent>
#include <QHash>
#include <QPainter>
#include <QStyleOptionTab>
#include <QTabBar>

namespace qm {
namespace {

// The tab bar paints each tab's shape in the style, then leaves the caption
// to the page control.
class TTipTabBar : public QTabBar {
  public:
    explicit TTipTabBar(const TTipTabs& owner) : owner_(owner) {
        setObjectName("pcTipsTabs");
        setExpanding(false);
        setUsesScrollButtons(false);
        QFont small = font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        setFont(small);
    }

  protected:
    // Tabs as wide as their captions, so that all five fit the page control.
    // Asked again for every tab whenever one is added or chosen; measured
    // once per caption and font.
    QSize tabSizeHint(int index) const override {
        const QString caption = tabText(index);
        if (const auto known = hints_.constFind(caption); known != hints_.cend())
            return *known;
        const QSize styled = QTabBar::tabSizeHint(index);
        const QSize hint(fontMetrics().horizontalAdvance(caption) + 8, styled.height());
        hints_.insert(caption, hint);
        return hint;
    }

    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            hints_.clear();
        QTabBar::changeEvent(event);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (int i = 0; i < count(); ++i) {
            QStyleOptionTab option;
            initStyleOption(&option, i);
            option.text.clear();
            style()->drawControl(QStyle::CE_TabBarTabShape, &option, &painter, this);
            owner_.pcTipsDrawTab(painter, i, tabRect(i).adjusted(3, 3, -3, -1));
        }
    }

  private:
    const TTipTabs& owner_;
    mutable QHash<QString, QSize> hints_; // by caption
};

} // namespace

TTipTabs::TTipTabs(QWidget* parent) : QTabWidget(parent) {
    setObjectName("pcTips");
    setTabBar(new TTipTabBar(*this));
}

void TTipTabs::SetPageEnabled(int index, bool enabled) {
    const int active = currentIndex();
    setTabEnabled(index, enabled);
    // Qt moves away from a page it disables; the active page stays here.
    setCurrentIndex(active);
}

void TTipTabs::pcTipsDrawTab(QPainter& painter, int index, const QRect& rect) const {
    painter.fillRect(rect, palette().color(QPalette::Button));
    const QRect text = rect.adjusted(0, 2, 0, 0);
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic;
    if (isTabEnabled(index)) {
        painter.setPen(Qt::black);
        painter.drawText(text, flags, tabText(index));
        return;
    }
    painter.setPen(Qt::white);
    painter.drawText(text.adjusted(2, 1, 0, 1), flags, tabText(index));
    painter.setPen(QColor(128, 128, 128));
    painter.drawText(text, flags, tabText(index));
}

} // namespace qm
