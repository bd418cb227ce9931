#!/usr/bin/env python3
"""Writes the unit data tables of the demo game (demo/war3, demo/war3x and
demo/war3patch, each holding the tables at their archive paths) for every
identifier of the action trees.

    scripts/make_demo_tables.py [TABLES]

Names, hotkeys, button positions, art paths and the lists of trained and sold
units are the game's facts, taken from the English tables in TABLES (default
as for make_trees.py). Every tooltip is our own short wording. The output is
deterministic.
"""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import make_trees  # noqa: E402

REPO = make_trees.REPO
DEMO = REPO / "demo"

# The expansion archive holds the neutral and item tables; the base archive
# the rest. Both are needed for a complete default configuration.
EXPANSION_GROUPS = {"ItemAbility", "Item", "NeutralAbility", "NeutralUnit"}

FUNC_KEYS = ["Art", "Buttonpos", "Unbuttonpos", "Researchbuttonpos", "Trains", "Researches",
             "Upgrade", "Builds", "Sellunits", "Sellitems", "Makeitems"]
LIST_KEYS = {"trains", "researches", "upgrade", "builds", "sellunits", "sellitems", "makeitems"}
HOTKEY_KEYS = ["Hotkey", "Unhotkey", "Researchhotkey"]

# Where a button comes from, by the key of the card that lists it.
RELATION_TEXT = {
    "trains": "Trained at the",
    "researches": "Researched at the",
    "upgrade": "Upgrades the",
    "builds": "Built by the",
    "sellunits": "Hired at the",
    "sellitems": "Sold at the",
    "makeitems": "Sold at the",
}

# A few values the patch archive changes, so that the demo shows merging:
# identifier -> (table, key, value of the patch, value of the base archive).
PATCHED = {
    "hfoo": ("HumanUnitStrings", "Ubertip", "Sturdy infantry; the patch made it cheaper.",
             "Sturdy infantry of the Alliance."),
    "ogru": ("OrcUnitStrings", "Ubertip", "Heavy infantry; the patch made it faster.",
             "Heavy infantry of the Horde."),
    "ntav": ("NeutralUnitStrings", "Ubertip", "Hire a hero here; the patch added more of them.",
             "Hire a hero here."),
}


def plain(value):
    """A table value without the quotes the game puts around texts with commas."""
    value = value.strip()
    return value[1:-1] if len(value) >= 2 and value[0] == value[-1] == '"' else value


def quoted(text):
    return f'"{text}"' if "," in text else text


def coloured_hotkey(key):
    return f"(|cffffcc00{key}|r)" if key else ""


class DemoTables:
    def __init__(self, data, trees):
        self.data = data
        self.parents = {}  # identifier -> [(relation key, parent identifier)]
        self.ids = []
        for ident, parent in trees:
            if ident not in self.ids:
                self.ids.append(ident)
            if parent:
                relation = next((k for k in LIST_KEYS if ident in data.ids(parent, k)), "ability")
                entry = (relation, parent)
                if entry not in self.parents.setdefault(ident, []):
                    self.parents[ident].append(entry)

    def name(self, ident):
        name = plain(self.data.value(ident, "name")) or self.data.name(ident)
        return name.split(",")[0] if self.data.source.get(ident, "").endswith("Upgrade") else name

    def verb(self, ident):
        relations = {r for r, _ in self.parents.get(ident, [])}
        if ident.startswith("Cmd"):
            return ""
        if "builds" in relations:
            return "Build "
        if "researches" in relations:
            return "Research "
        if "upgrade" in relations:
            return "Upgrade to "
        if relations & {"sellunits", "trains"}:
            return "Hire " if "sellunits" in relations else "Train "
        if relations & {"sellitems", "makeitems"}:
            return "Buy "
        return ""

    def description(self, ident):
        """One sentence of our own saying where the button shows up."""
        if ident.startswith("Cmd"):
            return "A command many units share."
        by_relation = {}
        for relation, parent in self.parents.get(ident, []):
            by_relation.setdefault(relation, []).append(self.name(parent).replace(",", ""))
        parts = []
        for relation, names in sorted(by_relation.items()):
            unique = sorted(set(names))[:3]
            shown = " and ".join([", ".join(unique[:-1]), unique[-1]] if len(unique) > 1 else unique)
            lead = RELATION_TEXT.get(relation, "Used by the")
            parts.append(f"{lead} {shown}.")
        return " ".join(parts) or "Demo action."

    def func_section(self, ident):
        lines = [f"[{ident}]"]
        for key in FUNC_KEYS:
            if key.lower() in LIST_KEYS:
                values = self.data.ids(ident, key.lower())
                value = ",".join(values)
            else:
                value = self.data.value(ident, key.lower())
            if value:
                lines.append(f"{key}={value}")
        return lines

    def strings_section(self, ident, patched_base=None):
        d = self.data
        name = self.name(ident)
        lines = [f"[{ident}]"]
        if d.value(ident, "name"):
            lines.append(f"Name={d.value(ident, 'name')}")
        hotkeys = {k: d.value(ident, k.lower()) for k in HOTKEY_KEYS}
        for key, value in hotkeys.items():
            if value:
                lines.append(f"{key}={value}")
        hotkey = hotkeys["Hotkey"].split(",")[0]
        # Without a hotkey the button does nothing when pressed: a passive ability.
        suffix = coloured_hotkey(hotkey) if hotkey else "(passive)"
        if self.data.source.get(ident, "").endswith("Upgrade"):
            # One tooltip per level, as the game gives them.
            levels = [plain(n) for n in plain(d.value(ident, "name")).split(",")]
            lines.append("Tip=" + ",".join(f"{self.verb(ident)}{n} {suffix}" for n in levels))
        else:
            lines.append("Tip=" + quoted(f"{self.verb(ident)}{name} {suffix}"))
        if hotkeys["Unhotkey"]:
            lines.append("Untip=" + quoted(
                f"Stop {name} {coloured_hotkey(hotkeys['Unhotkey'].split(',')[0])}"))
        if hotkeys["Researchhotkey"]:
            lines.append("Researchtip=" + quoted(
                f"Learn {name} {coloured_hotkey(hotkeys['Researchhotkey'].split(',')[0])}"))
        if d.is_hero(ident):
            lines.append("Revivetip=" + quoted(f"Revive {name} {coloured_hotkey(hotkey)}"))
            lines.append("Awakentip=" + quoted(f"Awaken {name} {coloured_hotkey(hotkey)}"))
        lines.append("Ubertip=" + quoted(patched_base or self.description(ident)))
        return lines


def read_tree(path):
    """(identifier, identifier of the nearest action above it) per action line."""
    pairs, stack = [], []
    for raw in path.read_text(encoding="utf-8").splitlines():
        if not raw.strip():
            continue
        level = len(raw) - len(raw.lstrip("\t"))
        fields = raw.strip().split("|")
        stack = stack[:level]
        # A group gathers nodes but is no card; a build menu stands for its worker.
        parent = stack[-1] if stack and stack[-1] != "?" else None
        if parent and parent.startswith("CmdBuild") and len(stack) > 1:
            parent = stack[-2]
        if fields[1] != "?":
            pairs.append((fields[1], parent))
        stack.append(fields[1])
    return pairs


def write_table(path, sections):
    path.parent.mkdir(parents=True, exist_ok=True)
    text = "\r\n".join(line for section in sections for line in section + [""])
    path.write_bytes(text.encode("utf-8"))


def main():
    tables = Path(sys.argv[1]) if len(sys.argv) > 1 else make_trees.DEFAULT_TABLES
    data = make_trees.GameData(tables, corrections=False)
    demo = DemoTables(data, read_tree(REPO / "QMKData" / "TV_foreign.wrk"))
    for archive in ("war3", "war3x", "war3patch"):
        for old in sorted((DEMO / archive / "Units").glob("*.txt")):
            old.unlink()
    patched_tables = {table for table, *_ in PATCHED.values()}
    for group in make_trees.GROUPS:
        members = [i for i in demo.ids if data.source.get(i) == group]
        archive = "war3x" if group in EXPANSION_GROUPS else "war3"
        folder = DEMO / archive / "Units"
        write_table(folder / f"{group}Func.txt", [demo.func_section(i) for i in members])
        strings = []
        for i in members:
            base = PATCHED[i][3] if i in PATCHED else None
            strings.append(demo.strings_section(i, base))
        write_table(folder / f"{group}Strings.txt", strings)
        if f"{group}Strings" in patched_tables:
            write_table(DEMO / "war3patch" / "Units" / f"{group}Strings.txt",
                        [[f"[{i}]", f"{key}={value}"] for i, (table, key, value, _) in
                         sorted(PATCHED.items()) if table == f"{group}Strings"])
    print(f"demo tables for {len(demo.ids)} identifiers")


if __name__ == "__main__":
    main()
