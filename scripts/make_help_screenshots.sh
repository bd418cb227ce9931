#!/usr/bin/env bash
# Makes the screenshots of the help pages from the running program on the
# demo game, under Xvfb, in both languages:
#   QMKData/help/<language>/images/*.png
# Needs a build (./run.sh or ./test.sh) and xvfb, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
for tool in xvfb-run xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "needs $tool (apt-get install xvfb xdotool imagemagick)"; exit 1; }
done

shoot() { # language file, book
  local lang=$1 book=$2 work
  work=$(mktemp -d)
  cp -r build/app/. "$work/"
  rm -f "$work/QMKData/QMK.ini"
  printf '[Strings]\r\nLangFileName=QMKData\\%s\r\n' "$lang" > "$work/QMKData/QMK.ini"
  mkdir -p "QMKData/help/$book/images"
  QUILLMARK_DEMO_GAME="$root/build/demo-game" OUT="$root/QMKData/help/$book/images" \
    xvfb-run -a -s "-screen 0 1024x768x24" bash "$root/scripts/help_shots_session.sh" "$work/quillmark"
  rm -rf "$work"
}

shoot English.qlg English
shoot Russian.qlg Russian
