#include "tools/Find.h"

#include "editor/TActionTree.h"
#include "lang/GlobalConst.h"
#include "platform/TPlatform.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qm {

TdlgFind::TdlgFind(TActionTree& tree, TPlatform& platform, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint), tree_(tree),
      platform_(platform) {
    setObjectName("dlgFind");
    setWindowTitle(QString::fromUtf8("Поиск действия"));
    setFixedSize(305, 72);
    auto* lblName = new QLabel(QString::fromUtf8("Найти:"), this);
    lblName->setObjectName("lblName");
    lblName->setGeometry(8, 12, 48, 16);
    edtFind_ = new QLineEdit(this);
    edtFind_->setObjectName("edtFind");
    edtFind_->setGeometry(60, 8, 237, 24);
    edtFind_->installEventFilter(this);
    btnFind_ = new QPushButton(QString::fromUtf8("Искать с начала"), this);
    btnFind_->setObjectName("btnFind");
    btnFind_->setGeometry(60, 40, 115, 25);
    btnFindNext_ = new QPushButton(QString::fromUtf8("Искать далее..."), this);
    btnFindNext_->setObjectName("btnFindNext");
    btnFindNext_->setGeometry(182, 40, 115, 25);
    // Enter belongs to the edit box, never to a default button.
    for (QPushButton* b : {btnFind_, btnFindNext_})
        b->setAutoDefault(false);
    connect(btnFind_, &QPushButton::clicked, this, &TdlgFind::btnFindClick);
    connect(btnFindNext_, &QPushButton::clicked, this, &TdlgFind::btnFindNextClick);
}

int TdlgFind::Search(int from) {
    const QString text = edtFind_->text();
    const int count = tree_.NodeCount();
    if (count == 0 || text.isEmpty() || from >= count)
        return -1;
    for (int i = std::max(from, 0); i < count; ++i) {
        const QString caption = tree_.ItemAt(i)->text(0);
        if (caption.size() >= text.size() &&
            QStringView(caption).left(text.size()).compare(text, Qt::CaseInsensitive) == 0) {
            SelectFound(i);
            return i;
        }
    }
    platform_.MessageBox(this, QStringLiteral("Quillmark"), Msg(msgWordNotFound),
                         TMsgIcon::Information, TMsgButtons::Ok);
    return -1;
}

void TdlgFind::SelectFound(int index) {
    TTVNode* node = tree_.ItemAt(index);
    QTreeWidget& view = tree_.View();
    for (QTreeWidgetItem* up = node->parent(); up; up = up->parent())
        up->setExpanded(true);
    view.setCurrentItem(node);
    view.scrollToItem(node);
}

void TdlgFind::btnFindClick() {
    Search(0);
}

// With nothing selected the search starts at the first node.
void TdlgFind::btnFindNextClick() {
    const TTVNode* selected = TTVNode::From(tree_.View().currentItem());
    Search(selected ? selected->Index + 1 : 0);
}

bool TdlgFind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edtFind_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnFindNextClick(); // edtFindKeyDown
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Escape closes the tool window as its close box does; Enter never closes it.
void TdlgFind::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}

} // namespace qm
