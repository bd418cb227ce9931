#!/usr/bin/env bash
# Whole-process start of the editor against an empty Qt window of the same
# build, both closing themselves as soon as they are shown; alternating runs,
# medians and their ratio, offscreen and under Xvfb (when xvfb-run is there).
#   bench/start-bench.sh [BUILD] [PAIRS]
# The editor runs warm: from a copy of the program folder whose first start
# (the import from the demo game) is done beforehand.
set -euo pipefail

# Run by the script itself, once per display: "editor_us empty_us" per pair.
if [ "${1:-}" = "--pairs" ]; then
    work=$2 empty=$3 pairs=$4
    "$work/quillmark" >/dev/null 2>&1 # the first start imports
    for ((i = 0; i < pairs; i++)); do
        t0=$(date +%s%N)
        "$work/quillmark" >/dev/null 2>&1
        t1=$(date +%s%N)
        "$empty" >/dev/null 2>&1
        t2=$(date +%s%N)
        echo "$(((t1 - t0) / 1000)) $(((t2 - t1) / 1000))"
    done
    exit 0
fi

build=${1:-build}
pairs=${2:-30}
editor=$(realpath "$build/app/quillmark")
empty=$(realpath "$build/bench/bench_empty_window")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fresh() { # the program folder as built, before any start
    rm -rf "$work/QMKData" "$work/Icons"
    cp -r "$(dirname "$editor")/QMKData" "$work/QMKData"
    rm -f "$work/QMKData/QMK.ini" "$work/QMKData/DefaultKeys.wrk"
}
cp "$editor" "$work/quillmark"
fresh
export QUILLMARK_CLOSE_WHEN_SHOWN=1 QUILLMARK_DEMO_GAME
QUILLMARK_DEMO_GAME=$(realpath "$build/demo-game")
self=$(realpath "$0")

report() { # the median of each column, in ms, and their ratio
    python3 -c '
import statistics, sys
rows = [tuple(map(int, l.split())) for l in sys.stdin if l.strip()]
ed = statistics.median(r[0] for r in rows) / 1000
em = statistics.median(r[1] for r in rows) / 1000
print(f"{sys.argv[1]}: editor {ed:.1f} ms, empty window {em:.1f} ms, ratio {ed / em:.2f} ({len(rows)} pairs)")
' "$1"
}

QT_QPA_PLATFORM=offscreen "$self" --pairs "$work" "$empty" "$pairs" | report offscreen
if command -v xvfb-run >/dev/null; then
    fresh
    env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x1024x24" \
        "$self" --pairs "$work" "$empty" "$pairs" | report xvfb
fi
