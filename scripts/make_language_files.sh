#!/usr/bin/env bash
# Writes the shipped language files from the program itself, so that they
# hold every caption, hint and message row the program has:
#   QMKData/Russian.qlg  the built-in texts, as `quillmark --dump-language` gives them
#   QMKData/English.qlg  the same file with the English of scripts/english_texts.py
# Run after a build (the editor in build/app) whenever a text changes.
set -euo pipefail
cd "$(dirname "$0")/.."
QT_QPA_PLATFORM=offscreen build/app/quillmark --dump-language QMKData/Russian.qlg ru
python3 - <<'PY'
import sys
sys.path.insert(0, "scripts")
from english_texts import ENGLISH
out, missing = [], []
for line in open("QMKData/Russian.qlg", encoding="utf-8", newline="").read().split("\r\n"):
    if "=" in line and not line.startswith("["):
        key, value = line.split("=", 1)
        if value not in ENGLISH:
            missing.append(value)
        line = key + "=" + ENGLISH.get(value, value)
    out.append(line)
if missing:
    sys.exit("no English for:\n  " + "\n  ".join(missing))
open("QMKData/English.qlg", "w", encoding="utf-8", newline="").write("\r\n".join(out))
PY
