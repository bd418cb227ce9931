#include "tools/ConflictList.h"

#include "config/uCfgManager.h"
#include "editor/TActionTree.h"
#include "editor/TDocumentSet.h"
#include "gamedata/HotkeyConflicts.h"
#include "gamedata/TreeModel.h"
#include "lang/GlobalConst.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

#include <algorithm>

namespace qm {
namespace {

enum TColumn { colKey, colKind, colFirst, colSecond, colCard, kColumns };

// The first card both actions stand on.
int SharedCard(const TTreeModel& model, const std::string& a, const std::string& b) {
    const std::vector<int>& theirs = model.CardsOf(b);
    for (int card : model.CardsOf(a)) {
        if (std::find(theirs.begin(), theirs.end(), card) != theirs.end())
            return card;
    }
    return -1;
}

} // namespace

TConflictList::TConflictList(TActionTree& tree, const TDocumentSet& documents, QLabel& count,
                             QWidget* parent)
    : QDockWidget(parent), tree_(tree), documents_(documents), count_(count) {
    setObjectName("dkConflicts");
    toggleViewAction()->setObjectName("actConflicts");
    ShowTexts();
    connect(&documents_, &TDocumentSet::Changed, this, &TConflictList::Refresh);
    countLater_.setSingleShot(true);
    countLater_.setInterval(0);
    connect(&countLater_, &QTimer::timeout, this, &TConflictList::Count);
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (shown) {
            ShowTexts();
            Refresh();
        }
    });
}

// The list itself is made when the dock is first shown: a start with it
// hidden pays neither for the list nor for the bold font its header
// measures in.
QTreeWidget& TConflictList::List() {
    if (!lvConflicts_) {
        lvConflicts_ = new QTreeWidget(this);
        lvConflicts_->setObjectName("lvConflicts");
        lvConflicts_->setColumnCount(kColumns);
        lvConflicts_->setRootIsDecorated(false);
        lvConflicts_->setAlternatingRowColors(true);
        lvConflicts_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        connect(lvConflicts_, &QTreeWidget::itemDoubleClicked, this,
                [this](QTreeWidgetItem* row) { lvConflictsDblClick(row); });
        setWidget(lvConflicts_);
    }
    return *lvConflicts_;
}

// Texts from the message table: the title, the columns, the count.
void TConflictList::ShowTexts() {
    setWindowTitle(Msg(msgConflictsTitle));
    if (isVisible())
        List().setHeaderLabels(Msg(msgConflictColumns).split(u'|'));
    ShowCount();
}

// No count without a document: nothing has been looked at.
void TConflictList::ShowCount() {
    count_.setText(documents_.CurCfgMngr() ? Msg(msgConflictCount).arg(clashes_) : QString());
}

void TConflictList::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ShowTexts();
        Refresh();
    }
    QDockWidget::changeEvent(event);
}

QString TConflictList::Caption(const std::string& id) const {
    const std::vector<int>& nodes = tree_.Model().NodesOf(id);
    const QString caption =
        nodes.empty() ? QString() : QString::fromUtf8(tree_.Model()[nodes.front()].Caption);
    return caption.isEmpty() ? QString::fromStdString(id)
                             : caption + QStringLiteral(" (") + QString::fromStdString(id) + u')';
}

void TConflictList::Refresh() {
    // Hidden, the list only counts for the status bar: no row is made.
    if (!isVisible()) {
        countLater_.start();
        return;
    }
    countLater_.stop();
    const TCfgManager* working = documents_.CurCfgMngr();
    const std::vector<THotkeyClash> clashes =
        working ? FindHotkeyClashes(tree_.Model(), *working, documents_.DefCfgMngr())
                : std::vector<THotkeyClash>{};
    clashes_ = static_cast<int>(clashes.size());
    ShowCount();
    const QStringList kinds = Msg(msgConflictKinds).split(u'|');
    QTreeWidget& list = List();
    list.clear();
    QList<QTreeWidgetItem*> rows;
    for (const THotkeyClash& clash : clashes) {
        const int kind = clash.Kind == hkHotkey ? 0 : clash.Kind == hkUnhotkey ? 1 : 2;
        const int card = SharedCard(tree_.Model(), clash.ID1, clash.ID2);
        auto* row = new QTreeWidgetItem;
        row->setText(colKey, QString::fromStdString(clash.Key));
        row->setText(colKind, kinds.value(kind));
        row->setText(colFirst, Caption(clash.ID1));
        row->setText(colSecond, Caption(clash.ID2));
        row->setText(colCard,
                     card < 0 ? QString() : QString::fromUtf8(tree_.Model()[card].Caption));
        row->setData(colFirst, Qt::UserRole, QString::fromStdString(clash.ID1));
        rows.append(row);
    }
    list.addTopLevelItems(rows);
}

void TConflictList::Count() {
    const TCfgManager* working = documents_.CurCfgMngr();
    clashes_ = working ? CountHotkeyClashes(tree_.Model(), *working, documents_.DefCfgMngr()) : 0;
    ShowCount();
}

void TConflictList::lvConflictsDblClick(QTreeWidgetItem* row) {
    const std::string id = row->data(colFirst, Qt::UserRole).toString().toStdString();
    const std::vector<int>& nodes = tree_.Model().NodesOf(id);
    if (!nodes.empty())
        emit SelectNode(nodes.front());
}

} // namespace qm
