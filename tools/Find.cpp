#include "tools/Find.h"

#include "editor/TActionTree.h"
#include "editor/TDocumentSet.h"
#include "gamedata/HotkeyConflicts.h"
#include "lang/GlobalConst.h"
#include "platform/TPlatform.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace qm {
namespace {

const QString kKeyPrefix = QStringLiteral("key:");

// Whether one of the action's hotkeys, as shown, is the key.
bool HasHotkey(const TBindRec& shown, const std::string& key) {
    for (int kind : kHotkeyKinds) {
        if (HotkeyKey(shown[HotkeyField(kind)]) == key)
            return true;
    }
    return false;
}

} // namespace

TdlgFind::TdlgFind(TActionTree& tree, const TDocumentSet& documents, TPlatform& platform,
                   QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint), tree_(tree),
      documents_(documents), platform_(platform) {
    setObjectName("dlgFind");
    setWindowTitle(QString::fromUtf8("Поиск действия"));
    setFixedSize(305, 92);
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
    lblFindNote_ = new QLabel(this);
    lblFindNote_->setObjectName("lblFindNote");
    lblFindNote_->setGeometry(8, 70, 289, 16);
    // Enter belongs to the edit box, never to a default button.
    for (QPushButton* b : {btnFind_, btnFindNext_})
        b->setAutoDefault(false);
    connect(btnFind_, &QPushButton::clicked, this, &TdlgFind::btnFindClick);
    connect(btnFindNext_, &QPushButton::clicked, this, &TdlgFind::btnFindNextClick);
    connect(edtFind_, &QLineEdit::textChanged, lblFindNote_, &QLabel::clear);
}

std::vector<int> TdlgFind::Matches(const QString& text) const {
    return MatchingNodes(tree_, documents_, text);
}

std::vector<int> MatchingNodes(const TActionTree& tree, const TDocumentSet& documents,
                               const QString& text) {
    std::vector<int> strong;
    std::vector<int> weak;
    const bool byKey = text.startsWith(kKeyPrefix, Qt::CaseInsensitive);
    const std::string key =
        HotkeyKey(text.mid(kKeyPrefix.size()).trimmed().toUpper().toStdString());
    tree.ForEachNode([&](const TTVNode& node) {
        const QString caption = node.text(0);
        const QString id = QString::fromStdString(node.Data.ID);
        if (byKey) {
            if (!key.empty() && !id.isEmpty() && HasHotkey(documents.Shown(node.Data.ID), key))
                strong.push_back(node.Index);
        } else if (caption.startsWith(text, Qt::CaseInsensitive) ||
                   id.compare(text, Qt::CaseInsensitive) == 0) {
            strong.push_back(node.Index);
        } else if (caption.contains(text, Qt::CaseInsensitive)) {
            weak.push_back(node.Index);
        }
    });
    strong.insert(strong.end(), weak.begin(), weak.end());
    return strong;
}

// After the strong matches come the weak ones, so "the first match at or
// after a node" is looked for in that order before going round.
int TdlgFind::Search(int from) {
    const QString text = edtFind_->text().trimmed();
    lblFindNote_->clear();
    if (tree_.NodeCount() == 0 || text.isEmpty())
        return -1;
    const std::vector<int> matches = Matches(text);
    if (matches.empty()) {
        platform_.MessageBox(this, QStringLiteral("Quillmark"), Msg(msgWordNotFound),
                             TMsgIcon::Information, TMsgButtons::Ok);
        return -1;
    }
    const auto next =
        std::find_if(matches.begin(), matches.end(), [from](int index) { return index >= from; });
    if (next == matches.end())
        lblFindNote_->setText(Msg(msgFindWrapped));
    const int found = next == matches.end() ? matches.front() : *next;
    SelectFound(found);
    return found;
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

// After the selected node in the order of the matches: a weak match is
// followed by the weak ones after it, not by a strong one further down.
void TdlgFind::btnFindNextClick() {
    const TTVNode* selected = TTVNode::From(tree_.View().currentItem());
    if (!selected) {
        Search(0);
        return;
    }
    const QString text = edtFind_->text().trimmed();
    const std::vector<int> matches = text.isEmpty() ? std::vector<int>() : Matches(text);
    const auto at = std::find(matches.begin(), matches.end(), selected->Index);
    if (at == matches.end()) {
        Search(selected->Index + 1);
        return;
    }
    const bool round = at + 1 == matches.end();
    lblFindNote_->setText(round ? Msg(msgFindWrapped) : QString());
    SelectFound(round ? matches.front() : *(at + 1));
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
