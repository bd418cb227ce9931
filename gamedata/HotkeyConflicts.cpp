#include "gamedata/HotkeyConflicts.h"

#include "config/uCfgManager.h"
#include "config/uKeyCodes.h"
#include "gamedata/TreeModel.h"
#include "text/TextCodec.h"

#include <algorithm>
#include <optional>
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
    // Only the hotkeys are copied: a clash is about nothing else, and the
    // tooltips would make each look-up a copy of kilobytes.
    std::optional<TBindRec> Build(const std::string& id) const {
        const TBindRec* own = config_.FindRecord(id);
        const TBindRec* fallback = defaults_ ? defaults_->FindRecord(id) : nullptr;
        if (!own && !fallback)
            return std::nullopt;
        TBindRec record;
        record.ID = id;
        for (int kind : kHotkeyKinds) {
            const int field = HotkeyField(kind);
            const std::string& value = own ? (*own)[field] : std::string();
            record[field] = !value.empty() || !fallback ? value : (*fallback)[field];
        }
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

namespace {

// Calls `clash(kind, id, other, own)` once for every pair of card mates and
// kind of hotkey that clash, `id` before `other` in byte order.
template <class TOnClash>
void ForEachClash(const TTreeModel& tree, const TCfgManager& config, const TCfgManager* defaults,
                  TOnClash&& clash) {
    TRecordView records(config, defaults);
    std::unordered_set<std::string_view> done;
    for (const TTreeNode& node : tree.Nodes()) {
        const TBindRec* own = node.ID.empty() ? nullptr : records.Find(node.ID);
        if (!own || !done.insert(node.ID).second)
            continue;
        const std::array<std::string_view, 3> values = {own->Hotkey, own->Unhotkey,
                                                        own->Researchhotkey};
        for (int mate : tree.CardMatesOf(node.ID)) {
            // Cards are shared both ways: the pair is taken from its first action.
            const std::string& other = tree[mate].ID;
            const TBindRec* theirs = other > node.ID ? records.Find(other) : nullptr;
            if (!theirs)
                continue;
            const int flags = ClashFlags(values, *theirs);
            for (int kind : kHotkeyKinds) {
                if (flags & kind)
                    clash(kind, node.ID, other, *own);
            }
        }
    }
}

} // namespace

std::vector<THotkeyClash> FindHotkeyClashes(const TTreeModel& tree, const TCfgManager& config,
                                            const TCfgManager* defaults) {
    std::vector<THotkeyClash> clashes;
    ForEachClash(
        tree, config, defaults,
        [&](int kind, const std::string& id, const std::string& other, const TBindRec& own) {
            clashes.push_back({kind, id, other, HotkeyKey(GetField(own, HotkeyField(kind)))});
        });
    std::sort(clashes.begin(), clashes.end());
    return clashes;
}

int CountHotkeyClashes(const TTreeModel& tree, const TCfgManager& config,
                       const TCfgManager* defaults) {
    int count = 0;
    ForEachClash(tree, config, defaults,
                 [&](int, const std::string&, const std::string&, const TBindRec&) { ++count; });
    return count;
}

} // namespace qm
