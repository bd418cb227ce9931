#include "editor/THotKeyConflicts.h"

#include "editor/GlobalConst.h"
#include "editor/TActionTree.h"
#include "editor/TDocumentSet.h"
#include "gamedata/HotkeyConflicts.h"
#include "platform/TPlatform.h"

namespace qm {

THotKeyConflicts::THotKeyConflicts(TActionTree& tree, TDocumentSet& documents, TPlatform& platform,
                                   QWidget& owner)
    : tree_(tree), documents_(documents), platform_(platform), owner_(owner) {}

bool THotKeyConflicts::AskToSwap(const QString& caption) {
    const QString text =
        Msg(msgHotkeyInUse) + caption + u'"' + QStringLiteral("\n\r") + Msg(msgSwapButtons);
    return platform_.MessageBox(&owner_, Msg(msgQuestion), text, TMsgIcon::Information,
                                TMsgButtons::YesNo) == TMsgAnswer::Yes;
}

int THotKeyConflicts::CheckUpEqualHotKey(QTreeWidgetItem* item,
                                         const std::array<QString, 3>& shown) {
    TCfgManager* working = documents_.CurCfgMngr();
    TTVNode* node = TTVNode::From(item);
    if (!node || !working || tree_.AssignNodeData(node, *working) != 0)
        return -1;
    const std::array<std::string, 3> bytes = {shown[0].toStdString(), shown[1].toStdString(),
                                              shown[2].toStdString()};
    const std::array<std::string_view, 3> values = {bytes[0], bytes[1], bytes[2]};
    const TTreeModel& model = tree_.Model();
    for (int card : model.CardsOf(node->Data.ID)) {
        for (int index : model.Children(card)) {
            TTVNode* sibling = tree_.ItemAt(index);
            if (sibling->Data.ID == node->Data.ID || tree_.AssignNodeData(sibling, *working) != 0)
                continue;
            TBindRec& theirs = *sibling->Data.Record;
            const int flags = ClashFlags(values, theirs);
            if (flags == 0)
                continue;
            if (!AskToSwap(sibling->text(0)))
                return index;
            for (int kind : kHotkeyKinds) {
                if (flags & kind)
                    documents_.SetField(theirs, HotkeyField(kind),
                                        GetField(*node->Data.Record, HotkeyField(kind)));
            }
            return -1;
        }
    }
    return -1;
}

} // namespace qm
