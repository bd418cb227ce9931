#pragma once
// The rules behind one user edit, without a window: the format of a hotkey,
// the clash check on the action's command cards with the swap (the question
// is asked through a callback), edit-together and automatic tooltips; the
// tooltips, Default and Reset, and moves on the card. Each call is one
// transaction of the document set, named after what it did.
//
// The hotkey rules run as the editing panel's three fields would: setting a
// field's text runs its change handling, setting the text it has runs
// nothing, and each handling first compares the text with the stored value.
// The fields live here as texts for the length of one user action, so the
// chains end as they always have (edit-together sets each field once).

#include "config/uBindRec.h"
#include "tooltips/TipManager.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

class TDocumentSet;
class TTreeModel;

// What the panel's check boxes and the colour template say.
struct TEditRules {
    bool EditTogether = true;
    bool AutoTips = true;
    TColor TipColor = kWhite;
    TColor HotkeyColor = 52479; // red 255, green 204, blue 0
    TColor BracketsColor = kWhite;
};

class TRecordEditor {
  public:
    // Asks whether the edited action and the one at this tree node may
    // exchange their clashing hotkeys; true lets them.
    using TAskSwap = std::function<bool(int otherNode)>;

    TRecordEditor(TDocumentSet& documents, const TTreeModel& tree);
    void SetAskSwap(TAskSwap ask) { ask_ = std::move(ask); }

    // Text put into a hotkey field of the action (kind 0 hotkey, 1 un-hotkey,
    // 2 research hotkey), as typed. True when anything was stored.
    bool TypeHotkey(const std::string& id, int kind, const std::string& text,
                    const TEditRules& rules);
    // The three fields set, in order, to the default record's values, or the
    // snapshot's: what the fields' handling accepts is stored.
    bool DefaultHotkeys(const std::string& id, const TEditRules& rules);
    bool ResetHotkeys(const std::string& id, const TEditRules& rules);

    // A tooltip as the player edited it (markup); consecutive edits of one
    // tooltip are one step of the undo history.
    bool SetTip(const std::string& id, int page, const std::string& markup);
    // The default record's tooltip, or the snapshot's, as stored there.
    bool DefaultTip(const std::string& id, int page);
    bool ResetTip(const std::string& id, int page);
    // Rewrites a page's tooltip to name the hotkey, in the template's colours.
    bool ApplyAutoTip(const std::string& id, int page, const std::string& hotkey,
                      const TEditRules& rules);

    // A button dropped into a cell: its new Buttonpos, and the button that
    // stood there, when one did, takes the cell the first one left.
    bool MoveButton(const std::string& id, const std::string& position,
                    const std::string& displacedId, const std::string& displacedPosition);
    // The action's default record added to the working copy (Add).
    bool AddRecord(const std::string& id);

    // One letter per level: the first capital A-Z of the text, repeated
    // (limit div 2) + 1 times for a limit above 1, comma-separated; "512"
    // and key codes stay; empty when no capital letter is left.
    static std::string CorrectHotKeyFormat(std::string_view text, int levelLimit);
    // The levels of the action's hotkey: the characters of its default
    // Hotkey; 1 for "512", a key code, or an action without defaults.
    int LevelLimit(const std::string& id) const;
    // The first node of the action in the tree, and its caption.
    QString Caption(const std::string& id) const;

  private:
    struct TFields {
        std::string ID;
        TEditRules Rules;
        int LevelLimit = 1;
        std::array<std::string, 3> Texts;
        std::array<bool, 3> Enabled{};
    };

    void Load(const std::string& id, const TEditRules& rules);
    bool SetHotkeys(const std::string& id, const TBindRec* source, const TEditRules& rules,
                    const QString& name);
    void SetText(int kind, const std::string& text);
    void HotKeyChange();
    void OtherHotKeyChange(int kind);
    void MakeEqualTxts(int source);
    int CheckUpEqualHotKey();
    void Swap(const std::string& other, int flags);
    void AutoTips(const std::string& id, int page, const std::string& value,
                  const TEditRules& rules);
    void RebuildTip(const std::string& id, int page, const std::string& key,
                    const TEditRules& rules);
    std::string Stored(int kind) const;
    bool Store(const std::string& id, int field, std::string_view bytes);
    bool SetTipBytes(const std::string& id, int page, const std::string& bytes);

    TDocumentSet& documents_;
    const TTreeModel& tree_;
    TAskSwap ask_;
    std::optional<TFields> fields_; // during one user action
};

} // namespace qm
