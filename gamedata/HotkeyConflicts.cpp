#include "gamedata/HotkeyConflicts.h"

#include "config/uCfgManager.h"
#include "config/uKeyCodes.h"
#include "gamedata/TreeModel.h"
#include "text/TextCodec.h"

#include <algorithm>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace qm {
namespace {

// The records as a run over the tree sees them, looked up once per action.
class TRecordView {
  public:
    TRecordView(const TCfgManager& config, const TCfgManager* defaults)
        : config_(config), defaults_(defaults) {}

    const TBindRec* Find(const std::string& id) {
        auto [it, added] = seen_.try_emplace(id);
        if (added)
            it->second = Build(id);
        return it->second ? &*it->second : nullptr;
    }

  private:
    std::optional<TBindRec> Build(const std::string& id) const {
        const TBindRec* own = config_.FindRecord(id);
        const TBindRec* fallback = defaults_ ? defaults_->FindRecord(id) : nullptr;
        if (!own && !fallback)
            return std::nullopt;
        TBindRec record = own ? *own : *fallback;
        if (own && defaults_)
            defaults_->FillEmptyFields(record);
        return record;
    }

    const TCfgManager& config_;
    const TCfgManager* defaults_;
    std::unordered_map<std::string, std::optional<TBindRec>> seen_;
};

} // namespace

int HotkeyField(int kind) {
    return kind == hkHotkey ? fiHotkey : kind == hkUnhotkey ? fiUnhotkey : fiResearchhotkey;
}

const char* HotkeyKindName(int kind) {
    return kind == hkHotkey ? "hotkey" : kind == hkUnhotkey ? "unhotkey" : "researchhotkey";
}

std::string HotkeyKey(std::string_view value) {
    if (IsKeyCode(value))
        return KeyCodeKey(value);
    return std::string(FirstCharacter(value));
}

int ClashFlags(const std::array<std::string_view, 3>& values, const TBindRec& sibling) {
    int flags = 0;
    for (size_t i = 0; i < kHotkeyKinds.size(); ++i) {
        const std::string key = HotkeyKey(values[i]);
        if (!key.empty() && key == HotkeyKey(GetField(sibling, HotkeyField(kHotkeyKinds[i]))))
            flags |= kHotkeyKinds[i];
    }
    return flags;
}

std::vector<THotkeyClash> FindHotkeyClashes(const TTreeModel& tree, const TCfgManager& config,
                                            const TCfgManager* defaults) {
    TRecordView records(config, defaults);
    std::set<THotkeyClash> clashes;
    std::unordered_set<std::string_view> done;
    for (const TTreeNode& node : tree.Nodes()) {
        const TBindRec* own = node.ID.empty() ? nullptr : records.Find(node.ID);
        if (!own || !done.insert(node.ID).second)
            continue;
        const std::array<std::string_view, 3> values = {own->Hotkey, own->Unhotkey,
                                                        own->Researchhotkey};
        for (int mate : tree.CardMatesOf(node.ID)) {
            const std::string& other = tree[mate].ID;
            const TBindRec* theirs = records.Find(other);
            if (!theirs)
                continue;
            const int flags = ClashFlags(values, *theirs);
            for (int kind : kHotkeyKinds) {
                if (flags & kind)
                    clashes.insert({kind, std::min(node.ID, other), std::max(node.ID, other),
                                    HotkeyKey(GetField(*own, HotkeyField(kind)))});
            }
        }
    }
    return {clashes.begin(), clashes.end()};
}

} // namespace qm
