#include "editor/THotKeyConflicts.h"

#include "editor/TActionTree.h"
#include "lang/GlobalConst.h"
#include "platform/TPlatform.h"

namespace qm {

THotKeyConflicts::THotKeyConflicts(const TActionTree& tree, TPlatform& platform, QWidget& owner)
    : tree_(tree), platform_(platform), owner_(owner) {}

// Where several actions share the caption ("Build Structure"), the question
// adds the identifier, so the player knows which one is meant.
bool THotKeyConflicts::AskToSwap(int otherNode) {
    const TTVNode* other = tree_.ItemAt(otherNode);
    QString caption = other ? other->text(0) : QString();
    if (other && tree_.Model().CaptionRepeats(tree_.Model()[otherNode].Caption))
        caption += QStringLiteral(" (") + QString::fromStdString(other->Data.ID) + u')';
    const QString text =
        Msg(msgHotkeyInUse) + caption + u'"' + QStringLiteral("\n\r") + Msg(msgSwapButtons);
    return platform_.MessageBox(&owner_, Msg(msgQuestion), text, TMsgIcon::Information,
                                TMsgButtons::YesNo) == TMsgAnswer::Yes;
}

} // namespace qm
