#!/usr/bin/env python3
"""Builds the action tree files QMKData/TV_foreign.wrk and QMKData/TV_rus.wrk
from the English unit data tables of the game, and lists what the trees leave
out (scripts/tree_exclusions.txt) with the reason for each. A card's line names
the common commands that stand on it in a fourth field, by the rules written
beside MOVER_COMMANDS.

    scripts/make_trees.py [TABLES]

TABLES is the folder holding Units/ and Units-slk/ (default:
../shared/real-data/tables/enUS-1.24.4 beside the checkout). The output is
deterministic: running it twice on the same tables gives the same bytes.
"""

import csv
import re
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
DEFAULT_TABLES = REPO.parent / "shared" / "real-data" / "tables" / "enUS-1.24.4"

GROUPS = ["Command", "CommonAbility", "HumanAbility", "HumanUnit", "HumanUpgrade",
          "ItemAbility", "Item", "NeutralAbility", "NeutralUnit", "NightElfAbility",
          "NightElfUnit", "NightElfUpgrade", "OrcAbility", "OrcUnit", "OrcUpgrade",
          "UndeadAbility", "UndeadUnit", "UndeadUpgrade"]

# Races as the tree shows them: the town hall and worker a player starts with
# are the roots from which everything the race can own is reached.
RACES = [
    ("human", "Human", ["htow", "hpea"]),
    ("orc", "Orc", ["ogre", "opeo"]),
    ("undead", "Undead", ["unpl", "uaco"]),
    ("nightelf", "Night Elf", ["etol", "ewsp"]),
]

# The worker's build menu command of each race.
BUILD_MENUS = {"human": "CmdBuildHuman", "orc": "CmdBuildOrc", "undead": "CmdBuildUndead",
               "nightelf": "CmdBuildNightElf"}

# Commands every unit shares, in the order of the group.
COMMON_COMMANDS = ["CmdMove", "CmdStop", "CmdHoldPos", "CmdAttack", "CmdAttackGround",
                   "CmdPatrol", "CmdRally", "CmdCancel", "CmdCancelBuild", "CmdCancelTrain",
                   "CmdCancelRevive", "CmdBuild", "CmdBuildHuman", "CmdBuildOrc",
                   "CmdBuildUndead", "CmdBuildNightElf", "CmdSelectSkill", "CmdPurchase"]

# Abilities that carry a button position in the tables but never show a
# button a player can press, with the reason.
DUMMY_ABILITIES = {
    "Aall": "shop sharing with allies: works without a button of its own",
    "Aneu": "shop selection marker: its cell 0,0 is the first sold good's, so no card shows it",
    "Ane2": "shop selection marker: its cell 0,0 is the first sold good's, so no card shows it",
    "Aetl": "ethereal: a state of the unit, no button",
}

# Actions with a button position that no card shows for a reason the data
# cannot tell, with that reason.
KNOWN_REASONS = {
    "AHbu": "build ability: the worker's build button is the command CmdBuildHuman",
    "AObu": "build ability: the worker's build button is the command CmdBuildOrc",
    "AUbu": "build ability: the worker's build button is the command CmdBuildUndead",
    "AEbu": "build ability: the worker's build button is the command CmdBuildNightElf",
    "ANbu": "build ability of neutral workers, which no player owns",
    "AGbu": "build ability of neutral workers, which no player owns",
}

GROUP_CAPTIONS = {
    "common": ("Common commands", "Общие команды"),
    "Human": ("Human", "Альянс"),
    "Orc": ("Orc", "Орда"),
    "Undead": ("Undead", "Нежить"),
    "Night Elf": ("Night Elf", "Ночные эльфы"),
    "Neutral": ("Neutral", "Нейтральные"),
    "buildings": ("Buildings", "Здания"),
    "units": ("Units", "Войска"),
    "heroes": ("Heroes", "Герои"),
    "summons": ("Summoned and transformed units", "Призванные и превращённые войска"),
    "taverns": ("Taverns", "Таверны"),
    "shops": ("Shops", "Магазины"),
    "camps": ("Mercenary camps", "Лагеря наёмников"),
    "mercs": ("Mercenaries and hired units", "Наёмники"),
    "other": ("Other buildings", "Прочие здания"),
}


def read_ini(path, into):
    """Sections [ID] of key=value lines; keys in lower case, each holding
    every value given for it, in file order (a few sections repeat a key,
    Researches of the Temple of the Damned for one)."""
    current = None
    for raw in path.read_text(encoding="utf-8", errors="replace").splitlines():
        line = raw.strip()
        if line.startswith("//") or not line:
            continue
        if line.startswith("[") and "]" in line:
            current = into.setdefault(line[1:line.index("]")], {})
            continue
        if current is not None and "=" in line:
            key, value = line.split("=", 1)
            current.setdefault(key.strip().lower(), []).append(value.strip())


def read_slk(path):
    """The rows of a SYLK sheet as {first column: {header: value}}."""
    rows, y = {}, None
    for line in path.read_text(encoding="latin-1").splitlines():
        if not line.startswith("C;"):
            continue
        x = value = None
        for part in line.split(";")[1:]:
            if part.startswith("X"):
                x = int(part[1:])
            elif part.startswith("Y"):
                y = int(part[1:])
            elif part.startswith("K"):
                value = part[1:]
        if value is None or x is None:
            continue
        if len(value) >= 2 and value[0] == value[-1] == '"':
            value = value[1:-1]
        rows.setdefault(y, {})[x] = value
    header = rows.pop(1, {})
    return {r[1]: {header[k]: v for k, v in r.items() if k in header}
            for _, r in sorted(rows.items()) if 1 in r}


class GameData:
    def __init__(self, tables, corrections=True):
        units = tables / "Units"
        self.funcs, self.strings, self.source = {}, {}, {}
        for group in GROUPS:
            before = set(self.funcs)
            read_ini(units / f"{group}Func.txt", self.funcs)
            for ident in set(self.funcs) - before:
                self.source[ident] = group
            read_ini(units / f"{group}Strings.txt", self.strings)
        self.strings_folded = {i.lower() for i in self.strings}
        fix = REPO / "QMKData" / "Fix.wrk"
        if corrections and fix.exists():
            corrections = {}
            read_ini(fix, corrections)
            for ident, values in corrections.items():
                if ident in self.funcs:
                    self.funcs[ident].update(values)
        slk = tables / "Units-slk"
        self.abilities = read_slk(slk / "UnitAbilities.slk")
        self.unitdata = read_slk(slk / "UnitData.slk")
        self.balance = read_slk(slk / "UnitBalance.slk")
        self.ui = read_slk(slk / "UnitUI.slk")

    def exists(self, ident):
        """Whether the strings tables name the action, found as the game finds
        sections: the exact spelling, else in any case ([AChV] of the functions
        is the strings' [AChv])."""
        return ident in self.strings or ident.lower() in self.strings_folded

    def values(self, ident, key):
        return self.funcs.get(ident, {}).get(key) or self.strings.get(ident, {}).get(key) or [""]

    def value(self, ident, key):
        return self.values(ident, key)[0]

    def ids(self, ident, key):
        found = []
        for v in self.values(ident, key):
            found += [x.strip() for x in v.split(",") if x.strip() and x.strip() != "_"]
        return found

    def slk_list(self, ident, key):
        return [x for x in self.abilities.get(ident, {}).get(key, "").split(",")
                if x and x != "_"]

    def flag(self, ident, key):
        return self.ui.get(ident, {}).get(key) == "1"

    def race(self, ident):
        return self.unitdata.get(ident, {}).get("race", "")

    def is_building(self, ident):
        return self.balance.get(ident, {}).get("isbldg") == "1"

    def is_hero(self, ident):
        return ident[:1].isupper() and bool(self.slk_list(ident, "heroAbilList"))

    def moves(self, ident):
        movement = self.unitdata.get(ident, {}).get("movetp", "_")
        speed = self.balance.get(ident, {}).get("spd", "-")
        return (not self.is_building(ident) and movement not in ("", "_", "-")
                and re.fullmatch(r"\d+(\.\d*)?", speed) is not None and float(speed) > 0)

    def attacks(self, ident):
        sounds = [self.ui.get(ident, {}).get(k, "_") for k in ("weap1", "weap2")]
        return (any(s not in ("", "_", "-") for s in sounds) or bool(self.value(ident, "missileart"))
                or self.is_hero(ident) or ident in ATTACKS_WITHOUT_WEAPON_DATA)

    def position(self, ident):
        pos = self.value(ident, "buttonpos")
        m = re.match(r"\s*(\d+)\s*,\s*(\d+)", pos)
        return (int(m.group(2)), int(m.group(1))) if m else None

    def has_button(self, ident):
        return self.position(ident) is not None or bool(self.value(ident, "researchbuttonpos"))

    def name(self, ident):
        # Upgrades name each level; the first is the button players meet.
        name = self.value(ident, "name")
        if self.source.get(ident, "").endswith("Upgrade"):
            name = name.split(",")[0]
        if not name:
            tip = self.value(ident, "tip").split(",")[0]
            name = re.sub(r"\|c[0-9a-fA-F]{8}|\|r", "", tip)
            name = name.split("(")[0].split(" - [")[0]
        return name.strip()

    def icon(self, ident):
        art = self.value(ident, "art").split(",")[-1].strip()
        if not art:
            return "?"
        file = art.split("\\")[-1]
        if "." not in file:
            return "?"
        return file[:file.rindex(".")] + ".jpg"


# Which common commands stand on a card beside its own buttons
# (TreeBuilder.common_commands). The game gives them to a unit by what it can
# do, not by a list, so they are derived from the tables; each card that
# carries any names them in a fourth field of its tree line, in the order of
# COMMON_COMMANDS. The rules:
#  - a unit that moves (no building, a movement type in UnitData, a speed in
#    UnitBalance) has Move, Hold Position and Patrol;
#  - a unit or building that attacks has Attack: the tables here hold no
#    weapons sheet, so it is one with a weapon sound (UnitUI weap1/weap2) or a
#    missile (Missileart), every hero, and the few attackers of
#    ATTACKS_WITHOUT_WEAPON_DATA;
#  - whatever moves or has Attack has Stop;
#  - a unit that neither moves nor is a building (a ward, an egg, a burrowed
#    or stone form) has none: its card is its form's, which the tables do not
#    tell;
#  - a hero has Hero Abilities;
#  - a building that trains has Set Rally Point;
#  - a building that trains, researches or upgrades has the Cancel of its
#    queue (CmdCancelTrain);
#  - a worker's build menu has the Cancel that leaves it (CmdCancelBuild);
#  - a command is left off a card where one of the card's own buttons stands
#    in its cell or has its hotkey: the game shows one button per cell and
#    gives no two buttons of a card one hotkey, so the command belongs to
#    another state of the card (the Town Hall researches Backpack where an
#    attacker has Attack; a rooted Ancient trains where Stop would be, and
#    the Ancient of War trains Archers on Attack's A).
# Attack Ground (artillery, which the missing weapons sheet would tell), the
# other Cancels (of a target, of a revival) and Sell Items stay on the
# commands' own card only.
MOVER_COMMANDS = ["CmdMove", "CmdHoldPos", "CmdPatrol"]
ATTACKS_WITHOUT_WEAPON_DATA = {
    "emtg": "Mountain Giant: a melee attack without a weapon sound",
    "nnwa": "Nerubian Warrior: a melee attack without a weapon sound",
    "nlsn": "Makrura Snapper: a melee attack without a weapon sound",
}


class Node:
    def __init__(self, key, ident="?", children=None):
        self.key, self.ident, self.children = key, ident, children or []
        self.commands = []  # the common commands on its card


class TreeBuilder:
    def __init__(self, data):
        self.data = data
        self.on_card = set()  # every identifier the trees place on a card

    def action(self, ident, children=None):
        self.on_card.add(ident)
        return Node(None, ident, children)

    def card_abilities(self, unit):
        return [a for a in self.data.slk_list(unit, "abilList")
                if self.data.exists(a) and self.data.has_button(a) and a not in DUMMY_ABILITIES]

    def card(self, unit, race=None):
        """The buttons of one unit's command card, in card order."""
        d = self.data
        buttons = []
        for key in ("trains", "researches", "upgrade", "sellunits", "sellitems", "makeitems"):
            buttons += [x for x in d.ids(unit, key) if d.exists(x)]
        buttons += self.card_abilities(unit)
        buttons += [a for a in d.slk_list(unit, "heroAbilList") if d.exists(a)]
        seen, ordered = set(), []
        for b in buttons:
            if b not in seen:
                seen.add(b)
                ordered.append(b)
        ordered.sort(key=lambda b: d.position(b) or (9, 9))
        nodes = [self.action(b) for b in ordered]
        builds = [b for b in d.ids(unit, "builds") if d.exists(b)]
        if builds and race in BUILD_MENUS:
            menu = [self.action(b) for b in sorted(builds, key=lambda b: d.position(b) or (9, 9))]
            node = self.action(BUILD_MENUS[race], menu)
            node.commands = self.room_for(menu, ["CmdCancelBuild"])
            nodes.insert(0, node)
        return nodes

    def room_for(self, buttons, commands):
        """The commands whose cells and hotkeys none of the card's own
        buttons takes."""
        d = self.data
        cells = {d.position(b.ident) for b in buttons}
        keys = {d.value(b.ident, "hotkey")[:1].upper() for b in buttons} - {""}
        return [c for c in commands if d.exists(c) and d.position(c) not in cells
                and d.value(c, "hotkey")[:1].upper() not in keys]

    def common_commands(self, unit, buttons):
        """The common commands on a unit's card, by the rules above."""
        d, wanted = self.data, set()
        moves, building = d.moves(unit), d.is_building(unit)
        if not moves and not building:
            return []
        # Attack first: where the card leaves it no room, the card is not an
        # attacker's, and Stop goes with it.
        attacks = d.attacks(unit) and bool(self.room_for(buttons, ["CmdAttack"]))
        if moves:
            wanted |= set(MOVER_COMMANDS)
        if attacks:
            wanted.add("CmdAttack")
        if moves or attacks:
            wanted.add("CmdStop")
        if d.is_hero(unit):
            wanted.add("CmdSelectSkill")
        if building and d.ids(unit, "trains"):
            wanted.add("CmdRally")
        if building and any(d.ids(unit, k) for k in ("trains", "researches", "upgrade")):
            wanted.add("CmdCancelTrain")
        return self.room_for(buttons, [c for c in COMMON_COMMANDS if c in wanted])

    def reach(self, roots):
        """Everything a player reaches from the roots by building, training,
        upgrading, reviving and hiring, in discovery order."""
        d, seen, queue = self.data, [], list(roots)
        while queue:
            ident = queue.pop(0)
            if ident in seen or not d.exists(ident) or d.flag(ident, "campaign"):
                continue
            seen.append(ident)
            for key in ("builds", "trains", "upgrade", "sellunits"):
                queue += d.ids(ident, key)
        return seen

    def unit_node(self, unit, race=None):
        node = self.action(unit, self.card(unit, race))
        node.commands = self.common_commands(unit, node.children)
        return node

    def race_tree(self, race, label, roots):
        d = self.data
        owned = self.reach(roots)
        # What a worker builds is a building even where the sheet says otherwise
        # (the Reinforced Orc Burrow).
        built = {x for u in owned for x in d.ids(u, "builds")}
        buildings = [u for u in owned if d.is_building(u) or u in built]
        heroes = [u for u in owned if not d.is_building(u) and d.is_hero(u)]
        units = [u for u in owned if u not in buildings and u not in heroes]
        # Summoned units and the forms units take: never trained, but with a card.
        summons = sorted(u for u in d.unitdata
                         if d.race(u) == race and u not in owned and d.exists(u)
                         and not d.flag(u, "campaign") and not d.is_building(u)
                         and self.card(u, race))
        groups = [Node("buildings", "?", [self.unit_node(u, race) for u in buildings]),
                  Node("units", "?", [self.unit_node(u, race) for u in units]),
                  Node("heroes", "?", [self.unit_node(u, race) for u in heroes])]
        if summons:
            groups.append(Node("summons", "?", [self.unit_node(u, race) for u in summons]))
        return Node(label, "?", groups)

    def neutral_tree(self, player_owned):
        d = self.data
        candidates = sorted(u for u in d.unitdata
                            if d.is_building(u) and d.exists(u) and u not in player_owned
                            and d.race(u) in ("other", "commoner")
                            and not d.flag(u, "campaign") and not d.flag(u, "special"))
        taverns, shops, camps, other = [], [], [], []
        for b in candidates:
            sold_units = d.ids(b, "sellunits")
            if not self.card(b):
                continue
            if any(d.is_hero(u) for u in sold_units):
                taverns.append(b)
            elif b.startswith("nmr") or (sold_units and all(not d.is_building(u) for u in sold_units)
                                         and d.value(b, "art").endswith("MercenaryCamp.blp")):
                camps.append(b)
            elif sold_units or d.ids(b, "sellitems"):
                shops.append(b)
            else:
                other.append(b)
        hired = []
        for b in taverns + camps + shops:
            for u in d.ids(b, "sellunits"):
                if u not in hired and d.exists(u) and u not in player_owned:
                    hired.append(u)
        heroes = [u for u in hired if d.is_hero(u)]
        mercs = [u for u in hired if not d.is_hero(u)]
        groups = [Node("taverns", "?", [self.unit_node(b) for b in taverns]),
                  Node("heroes", "?", [self.unit_node(u) for u in heroes]),
                  Node("shops", "?", [self.unit_node(b) for b in shops]),
                  Node("camps", "?", [self.unit_node(b) for b in camps]),
                  Node("mercs", "?", [self.unit_node(u) for u in mercs]),
                  Node("other", "?", [self.unit_node(b) for b in other])]
        return Node("Neutral", "?", [g for g in groups if g.children])

    def build(self):
        common = Node("common", "?", [self.action(c) for c in COMMON_COMMANDS
                                       if self.data.exists(c)])
        trees, owned = [common], set()
        for race, label, roots in RACES:
            trees.append(self.race_tree(race, label, roots))
            owned |= set(self.reach(roots))
        trees.append(self.neutral_tree(owned))
        return trees


def clean_caption(text):
    # The tree format splits at "|" and double quotes; an unpaired apostrophe
    # would make the first-start rewriting skip the line, so use the typographic one.
    return text.replace("|", "/").replace('"', "").replace("'", "\u2019").strip() or "?"


def load_russian():
    names = {}
    path = REPO / "scripts" / "names_ru.tsv"
    with path.open(encoding="utf-8", newline="") as f:
        for row in csv.reader(f, delimiter="\t"):
            if len(row) >= 2 and not row[0].startswith("#"):
                names[row[0]] = row[1]
    return names


def write_tree(path, roots, data, caption_of):
    lines = []

    def walk(node, level):
        if node.key is not None:
            caption = caption_of(node.key, None)
            lines.append("\t" * level + clean_caption(caption) + "|?|?")
        else:
            caption = caption_of(None, node.ident)
            line = f"{clean_caption(caption)}|{node.ident}|{data.icon(node.ident)}"
            if node.commands:
                line += "|" + ",".join(node.commands)
            lines.append("\t" * level + line)
        for child in node.children:
            walk(child, level + 1)

    for root in roots:
        walk(root, 0)
    path.write_bytes(("\r\n".join(lines) + "\r\n").encode("utf-8"))


def exclusion_reason(data, ident, units_on_cards):
    """Why an action with a button position is on no card of the trees."""
    if ident in DUMMY_ABILITIES:
        return DUMMY_ABILITIES[ident]
    if ident in KNOWN_REASONS:
        return KNOWN_REASONS[ident]
    group = data.source.get(ident, "")
    if ident in data.unitdata:
        if data.flag(ident, "campaign"):
            return "campaign-only unit"
        if data.race(ident) in ("creeps", "critters", "demon", "naga"):
            return "creep or critter: no player owns it in a normal game"
        if data.flag(ident, "special"):
            return "special unit with no button of its own on any card"
        return "unit no player can build, train or hire"
    if group == "ItemAbility":
        return "item ability: used from an inventory slot, not from a card"
    if group == "Item":
        return "item no shop sells: found only as loot or in campaigns"
    if group.endswith("Upgrade"):
        return "upgrade no building of a player researches"
    def carries(row):
        lists = row.get("abilList", "").split(",") + row.get("heroAbilList", "").split(",")
        return ident.lower() in (a.lower() for a in lists)
    users = [u for u, row in data.abilities.items() if carries(row)]
    if not users:
        return "ability no unit carries: dummy or campaign ability"
    if not any(u in units_on_cards for u in users):
        return "ability only creeps or campaign units carry"
    return "ability whose button never shows on the card"


def main():
    tables = Path(sys.argv[1]) if len(sys.argv) > 1 else DEFAULT_TABLES
    data = GameData(tables)
    builder = TreeBuilder(data)
    roots = builder.build()
    qmk = REPO / "QMKData"
    qmk.mkdir(exist_ok=True)

    def english(key, ident):
        return GROUP_CAPTIONS[key][0] if key else data.name(ident)

    russian_names = load_russian()

    def russian(key, ident):
        return GROUP_CAPTIONS[key][1] if key else russian_names.get(ident, data.name(ident))

    write_tree(qmk / "TV_foreign.wrk", roots, data, english)
    write_tree(qmk / "TV_rus.wrk", roots, data, russian)

    # Coverage counts the game's own positions, before our corrections.
    game = GameData(tables, corrections=False)
    with_position = sorted(i for i in game.funcs if game.position(i) and game.exists(i))
    covered = [i for i in with_position if i in builder.on_card]
    left_out = [i for i in with_position if i not in builder.on_card]
    lines = ["# Actions with a button position that the trees leave out, with the reason.",
             "# Generated by scripts/make_trees.py; do not edit by hand."]
    lines += [f"{i}\t{exclusion_reason(data, i, builder.on_card)}" for i in left_out]
    (REPO / "scripts" / "tree_exclusions.txt").write_text("\n".join(lines) + "\n", encoding="utf-8")
    missing_ru = sorted(i for i in builder.on_card if i not in russian_names)
    print(f"{len(covered)} of {len(with_position)} actions with a button position are on the trees; "
          f"{len(left_out)} left out; {len(builder.on_card - set(with_position))} placed without one; {len(missing_ru)} without a Russian name")


if __name__ == "__main__":
    main()
