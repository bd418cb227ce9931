#include "editor/TRecordEditor.h"

#include "config/uCfgManager.h"
#include "config/uKeyCodes.h"
#include "editor/TDocumentSet.h"
#include "gamedata/HotkeyConflicts.h"
#include "gamedata/TreeModel.h"
#include "lang/GlobalConst.h"
#include "text/TextCodec.h"
#include "tooltips/TipRichEdit.h"

namespace qm {
namespace {

constexpr int kHeroPages[] = {4, 3}; // awaken, then revive

int HotkeyFieldOf(int kind) {
    return fiHotkey + kind;
}

int TipField(int page) {
    return fiTip + page;
}

// Characters, not bytes: a field of one character takes part in
// edit-together whatever its script.
size_t Characters(std::string_view text) {
    size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

bool SamePlace(const TButtonPos& a, const TButtonPos& b) {
    return a.Ok && b.Ok && a.Col >= 0 && a.Col == b.Col && a.Row == b.Row;
}

} // namespace

TRecordEditor::TRecordEditor(TDocumentSet& documents, const TTreeModel& tree)
    : documents_(documents), tree_(tree) {}

QString TRecordEditor::Caption(const std::string& id) const {
    const std::vector<int>& nodes = tree_.NodesOf(id);
    return QString::fromUtf8(nodes.empty() ? id : tree_[nodes.front()].Caption);
}

int TRecordEditor::LevelLimit(const std::string& id) const {
    const TCfgManager* defaults = documents_.DefCfgMngr();
    const TBindRec* own = defaults ? defaults->FindRecord(id) : nullptr;
    // A key code is one key, however many digits it has.
    if (!own || own->Hotkey == "512" || IsKeyCode(own->Hotkey))
        return 1;
    return static_cast<int>(Characters(own->Hotkey));
}

std::string TRecordEditor::CorrectHotKeyFormat(std::string_view text, int levelLimit) {
    if (text == "512" || IsKeyCode(text))
        return std::string(text);
    for (const char c : text) {
        if (c >= 'A' && c <= 'Z') {
            const int count = levelLimit > 1 ? levelLimit / 2 + 1 : 1;
            std::string letters(1, c);
            for (int i = 1; i < count; ++i)
                letters.append(1, ',').append(1, c);
            return letters;
        }
    }
    return {};
}

// ---- the hotkey fields ----

// The fields as the panel shows the action; a field without a value is
// disabled and takes nothing from edit-together.
void TRecordEditor::Load(const std::string& id, const TEditRules& rules) {
    const TBindRec shown = documents_.Shown(id);
    TFields fields{id, rules, LevelLimit(id), {}, {}};
    for (int kind = 0; kind < 3; ++kind) {
        fields.Texts[kind] = shown[HotkeyFieldOf(kind)];
        fields.Enabled[kind] = !fields.Texts[kind].empty();
    }
    fields_ = std::move(fields);
}

bool TRecordEditor::TypeHotkey(const std::string& id, int kind, const std::string& text,
                               const TEditRules& rules) {
    TDocumentSet::TEdit edit(documents_, Msg(msgEditHotkey).arg(Caption(id)));
    Load(id, rules);
    SetText(kind, text);
    fields_.reset();
    return edit.Changed();
}

bool TRecordEditor::SetHotkeys(const std::string& id, const TBindRec* source,
                               const TEditRules& rules, const QString& name) {
    if (!source)
        return false;
    TDocumentSet::TEdit edit(documents_, name);
    Load(id, rules);
    for (int kind = 0; kind < 3; ++kind)
        SetText(kind, (*source)[HotkeyFieldOf(kind)]);
    fields_.reset();
    return edit.Changed();
}

bool TRecordEditor::DefaultHotkeys(const std::string& id, const TEditRules& rules) {
    const TCfgManager* defaults = documents_.DefCfgMngr();
    return SetHotkeys(id, defaults ? defaults->FindRecord(id) : nullptr, rules,
                      Msg(msgEditDefault).arg(Caption(id)));
}

bool TRecordEditor::ResetHotkeys(const std::string& id, const TEditRules& rules) {
    const TCfgManager* saved = documents_.SavedCfgMngr();
    return SetHotkeys(id, saved ? saved->FindRecord(id) : nullptr, rules,
                      Msg(msgEditReset).arg(Caption(id)));
}

std::string TRecordEditor::Stored(int kind) const {
    return documents_.Shown(fields_->ID)[HotkeyFieldOf(kind)];
}

// A field given the text it holds stays quiet, as a line edit does.
void TRecordEditor::SetText(int kind, const std::string& text) {
    if (fields_->Texts[kind] == text)
        return;
    fields_->Texts[kind] = text;
    if (kind == 0)
        HotKeyChange();
    else
        OtherHotKeyChange(kind);
}

void TRecordEditor::HotKeyChange() {
    std::array<std::string, 3>& texts = fields_->Texts;
    if (texts[0] == Stored(0))
        return;
    // A corrected text runs the whole handling itself; this run then finds
    // the stored value, or the value put back.
    SetText(0, CorrectHotKeyFormat(texts[0], fields_->LevelLimit));
    if (texts[0] == Stored(0))
        return;
    if (texts[0].empty() || CheckUpEqualHotKey() >= 0) {
        SetText(0, Stored(0));
        return;
    }
    AutoTips(fields_->ID, 0, texts[0], fields_->Rules);
    MakeEqualTxts(0);
    Store(fields_->ID, fiHotkey, texts[0]);
}

void TRecordEditor::OtherHotKeyChange(int kind) {
    const std::string stored = Stored(kind);
    const std::string text = fields_->Texts[kind];
    if (text == stored)
        return;
    if (text.empty() || CheckUpEqualHotKey() >= 0) {
        SetText(kind, stored);
        return;
    }
    Store(fields_->ID, HotkeyFieldOf(kind), text);
    MakeEqualTxts(kind);
    AutoTips(fields_->ID, kind, text, fields_->Rules);
}

// A single letter goes into the other fields the action has, each through
// its own handling; a value of several levels is never propagated.
void TRecordEditor::MakeEqualTxts(int source) {
    const std::string text = fields_->Texts[source];
    if (!fields_->Rules.EditTogether || Characters(text) > 1)
        return;
    for (int kind = 0; kind < 3; ++kind) {
        if (kind != source && fields_->Enabled[kind])
            SetText(kind, text);
    }
}

// Visits the actions that share a card with this one (the common commands
// the card carries among them) and asks about the first one whose values,
// as shown, clash with the fields. -1 when nothing clashes or the player
// lets the two exchange (the other action takes this one's stored values of
// the clashing kinds); otherwise the other action's node, the player having
// refused.
int TRecordEditor::CheckUpEqualHotKey() {
    const std::array<std::string_view, 3> values = {fields_->Texts[0], fields_->Texts[1],
                                                    fields_->Texts[2]};
    for (int index : tree_.CardMatesOf(fields_->ID)) {
        const std::string& other = tree_[index].ID;
        const int flags = ClashFlags(values, documents_.Shown(other));
        if (flags == 0)
            continue;
        if (!ask_ || !ask_(index))
            return index;
        Swap(other, flags);
        return -1;
    }
    return -1;
}

// The other action takes this one's stored values of the clashing kinds,
// and its tooltips and, with edit-together, its other hotkeys follow as they
// would for its own edit: the letter it takes is free on the card.
void TRecordEditor::Swap(const std::string& other, int flags) {
    const TBindRec own = documents_.Shown(fields_->ID);
    const TBindRec before = documents_.Shown(other);
    const TEditRules& rules = fields_->Rules;
    for (int kind = 0; kind < 3; ++kind) {
        if (!(flags & kHotkeyKinds[kind]))
            continue;
        const std::string& value = own[HotkeyFieldOf(kind)];
        Store(other, HotkeyFieldOf(kind), value);
        AutoTips(other, kind, value, rules);
        if (!rules.EditTogether || Characters(value) > 1)
            continue;
        for (int follower = 0; follower < 3; ++follower) {
            const int field = HotkeyFieldOf(follower);
            if (!(flags & kHotkeyKinds[follower]) && !before[field].empty() &&
                Store(other, field, value))
                AutoTips(other, follower, value, rules);
        }
    }
}

// ---- tooltips ----

// With automatic tooltips on, a hotkey's tooltip names its new key; a hero's
// awaken and revive tooltips follow the main one when they exist.
void TRecordEditor::AutoTips(const std::string& id, int page, const std::string& value,
                             const TEditRules& rules) {
    if (!rules.AutoTips)
        return;
    const std::string key = TipHotkeyName(value);
    RebuildTip(id, page, key, rules);
    if (page != 0)
        return;
    for (int heroPage : kHeroPages) {
        if (!documents_.Shown(id)[TipField(heroPage)].empty())
            RebuildTip(id, heroPage, key, rules);
    }
}

// A tooltip that is valid UTF-8 is stored in the form the tooltip editors
// store; any other is rebuilt as text and stored in its code page again
// (a GBK character's second byte may be a letter or a '|'). An action
// without the tooltip gets none: a tooltip of nothing but the key would
// only hide the game's own text.
void TRecordEditor::RebuildTip(const std::string& id, int page, const std::string& key,
                               const TEditRules& rules) {
    const std::string tip = documents_.Shown(id)[TipField(page)];
    if (tip.empty())
        return;
    auto rebuild = [&](const std::string& text) {
        return MakeAutoTip(text, key, rules.TipColor, rules.HotkeyColor, rules.BracketsColor);
    };
    if (IsValidUtf8(tip)) {
        Store(id, TipField(page), NormalTipForm(rebuild(tip)));
        return;
    }
    // Bytes the code page does not read back as they were are rebuilt as
    // they stand rather than lost.
    const std::string text = documents_.ShownUtf8(tip);
    const bool readsBack = documents_.TypedBytes(text, tip) == tip;
    const std::optional<std::string> stored =
        readsBack ? documents_.TypedBytes(rebuild(text), tip) : std::nullopt;
    Store(id, TipField(page), stored ? *stored : rebuild(tip));
}

bool TRecordEditor::SetTip(const std::string& id, int page, const std::string& markup) {
    TDocumentSet::TEdit edit(documents_, Msg(msgEditTip).arg(Caption(id)), true);
    return SetTipBytes(id, page, markup);
}

bool TRecordEditor::SetTipBytes(const std::string& id, int page, const std::string& bytes) {
    return bytes != documents_.Shown(id)[TipField(page)] && Store(id, TipField(page), bytes);
}

bool TRecordEditor::DefaultTip(const std::string& id, int page) {
    const TCfgManager* defaults = documents_.DefCfgMngr();
    const TBindRec* source = defaults ? defaults->FindRecord(id) : nullptr;
    TDocumentSet::TEdit edit(documents_, Msg(msgEditDefault).arg(Caption(id)));
    return source && SetTipBytes(id, page, (*source)[TipField(page)]);
}

bool TRecordEditor::ResetTip(const std::string& id, int page) {
    const TCfgManager* saved = documents_.SavedCfgMngr();
    const TBindRec* source = saved ? saved->FindRecord(id) : nullptr;
    TDocumentSet::TEdit edit(documents_, Msg(msgEditReset).arg(Caption(id)));
    return source && SetTipBytes(id, page, (*source)[TipField(page)]);
}

bool TRecordEditor::ApplyAutoTip(const std::string& id, int page, const std::string& hotkey,
                                 const TEditRules& rules) {
    TDocumentSet::TEdit edit(documents_, Msg(msgEditTip).arg(Caption(id)));
    RebuildTip(id, page, TipHotkeyName(hotkey), rules);
    return edit.Changed();
}

// ---- records and positions ----

// An edit of an action the working copy lacks adds its default record
// first, as auto-add always has.
bool TRecordEditor::Store(const std::string& id, int field, std::string_view bytes) {
    documents_.AddDefaultRecord(id);
    return documents_.SetField(id, field, bytes);
}

bool TRecordEditor::MoveButton(const std::string& id, const std::string& position,
                               const std::string& displacedId,
                               const std::string& displacedPosition) {
    TDocumentSet::TEdit edit(documents_, Msg(msgEditPosition).arg(Caption(id)));
    // An "off" button standing in the same cell moves along, or the game
    // would make it jump back when toggled.
    const auto moveTo = [this](const std::string& action, const std::string& to) {
        const TBindRec shown = documents_.Shown(action);
        if (SamePlace(ParseButtonPos(shown.Buttonpos), ParseButtonPos(shown.Unbuttonpos)))
            Store(action, fiUnbuttonpos, to);
        Store(action, fiButtonpos, to);
    };
    if (!displacedId.empty())
        moveTo(displacedId, displacedPosition);
    moveTo(id, position);
    return edit.Changed();
}

bool TRecordEditor::AddRecord(const std::string& id) {
    TDocumentSet::TEdit edit(documents_, Msg(msgEditAdd).arg(Caption(id)));
    return documents_.AddDefaultRecord(id);
}

} // namespace qm
