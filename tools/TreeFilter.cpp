#include "tools/TreeFilter.h"

#include "config/uCfgManager.h"
#include "editor/TActionTree.h"
#include "editor/TDocumentSet.h"
#include "editor/ToolIcons.h"
#include "lang/GlobalConst.h"
#include "tools/Find.h"

#include <QAction>
#include <QEvent>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qm {

TTreeFilter::TTreeFilter(TActionTree& tree, const TDocumentSet& documents, QWidget* parent)
    : QWidget(parent), tree_(tree), documents_(documents) {
    setObjectName("pnlTreeFilter");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    edTreeFilter_ = new QLineEdit(this);
    edTreeFilter_->setObjectName("edTreeFilter");
    AddClearButton();
    layout->addWidget(edTreeFilter_);
    ShowPlaceholder();
    actTreeFilter_ = new QAction(QString::fromUtf8("Фильтр дерева"), this);
    actTreeFilter_->setObjectName("actTreeFilter");
    actTreeFilter_->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    actOnlyChanged_ = new QAction(QString::fromUtf8("Только изменённые действия"), this);
    actOnlyChanged_->setObjectName("actOnlyChanged");
    actOnlyChanged_->setCheckable(true);
    connect(actTreeFilter_, &QAction::triggered, this, [this] {
        edTreeFilter_->setFocus();
        edTreeFilter_->selectAll();
    });
    connect(actOnlyChanged_, &QAction::toggled, this, &TTreeFilter::Refresh);
    connect(edTreeFilter_, &QLineEdit::textChanged, this, &TTreeFilter::Refresh);
    connect(&documents_, &TDocumentSet::Changed, this, &TTreeFilter::Refresh);
}

// Qt's own clear button asks the style, which searches the system's icon
// theme at every start; ours is drawn, or the desktop theme's where it has one.
void TTreeFilter::AddClearButton() {
    QAction* clear = edTreeFilter_->addAction(ToolIcon("edit-clear"), QLineEdit::TrailingPosition);
    clear->setVisible(false);
    connect(clear, &QAction::triggered, edTreeFilter_, &QLineEdit::clear);
    connect(edTreeFilter_, &QLineEdit::textChanged, clear,
            [clear](const QString& text) { clear->setVisible(!text.isEmpty()); });
}

void TTreeFilter::ShowPlaceholder() {
    edTreeFilter_->setPlaceholderText(Msg(msgTreeFilter));
}

void TTreeFilter::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        ShowPlaceholder();
    QWidget::changeEvent(event);
}

bool TTreeFilter::IsChanged(const std::string& id) const {
    const TCfgManager* working = documents_.CurCfgMngr();
    const TCfgManager* defaults = documents_.DefCfgMngr();
    const TBindRec* own = id.empty() || !working ? nullptr : working->FindRecord(id);
    if (!own || !defaults)
        return false;
    // An empty value shows the default's: only a value of its own can differ.
    const TBindRec* original = defaults->FindRecord(id);
    for (int field = fiHotkey; field <= fiResearchbuttonpos; ++field) {
        const std::string& value = (*own)[field];
        if (!value.empty() && (!original || value != (*original)[field]))
            return true;
    }
    return false;
}

void TTreeFilter::Refresh() {
    const QString text = edTreeFilter_->text().trimmed();
    std::vector<bool> matches(static_cast<size_t>(tree_.NodeCount()), text.isEmpty());
    if (!text.isEmpty()) {
        for (int index : MatchingNodes(tree_, documents_, text))
            matches[static_cast<size_t>(index)] = true;
    }
    // The marks as shown, by node: the tree is rebuilt, never reordered.
    bold_.resize(matches.size(), false);
    narrowed_ = !text.isEmpty() || actOnlyChanged_->isChecked();
    QTreeWidget& view = tree_.View();
    for (int i = 0; i < view.topLevelItemCount(); ++i)
        Apply(*view.topLevelItem(i), matches);
}

bool TTreeFilter::Apply(QTreeWidgetItem& item, const std::vector<bool>& matches) {
    auto& node = static_cast<TTVNode&>(item);
    const bool changed = IsChanged(node.Data.ID);
    if (bold_[static_cast<size_t>(node.Index)] != changed) {
        bold_[static_cast<size_t>(node.Index)] = changed;
        QFont font = item.font(0);
        font.setBold(changed);
        item.setFont(0, font);
    }
    bool shown =
        matches[static_cast<size_t>(node.Index)] && (changed || !actOnlyChanged_->isChecked());
    bool below = false;
    for (int i = 0; i < item.childCount(); ++i)
        below = Apply(*item.child(i), matches) || below;
    shown = shown || below;
    if (item.isHidden() == shown)
        item.setHidden(!shown);
    // What the filter found inside a branch is shown opened.
    if (below && narrowed_ && !item.isExpanded())
        item.setExpanded(true);
    return shown;
}

} // namespace qm
