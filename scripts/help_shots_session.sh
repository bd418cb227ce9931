#!/usr/bin/env bash
# One session of make_help_screenshots.sh inside Xvfb: starts the editor,
# walks it with xdotool and takes the pictures into $OUT.
set -euo pipefail
"$1" & pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
for _ in $(seq 60); do
  win=$(xdotool search --onlyvisible --name '^Quillmark:' 2>/dev/null | head -1) && [ -n "$win" ] && break
  sleep 0.5
done
sleep 1
eval "$(xdotool getwindowgeometry --shell "$win")" # X, Y of the main window
at() { xdotool mousemove $((X + $1)) $((Y + $2)); }
pause() { sleep 0.8; }
# The main window and whatever stands over it, cut from the screen.
snap() { import -window root "$OUT/$1.full.png"; convert "$OUT/$1.full.png" -crop "$2" +repage "$OUT/$1.png"; rm "$OUT/$1.full.png"; }
window="677x430+$X+$Y"
# Selects a node through the find dialog, typing into its edit box.
find_node() {
  at 620 180; xdotool click 1 # the keys go to the main window
  xdotool key ctrl+f; pause
  local dlg; dlg=$(xdotool search --onlyvisible --name 'Find action|Поиск действия' | head -1)
  local DX DY; eval "$(xdotool getwindowgeometry --shell "$dlg" | sed 's/^X=/DX=/; s/^Y=/DY=/')"
  xdotool mousemove $((DX + 150)) $((DY + 20)) click --repeat 3 1
  xdotool type "$1"; xdotool key Return; pause
  xdotool key Escape; pause
}

at 100 100; xdotool click 1; pause
find_node "Town Hall"
snap card "$window"
find_node "Peasant"
snap main "$window"
xdotool type b; pause                          # Backpack has B: the question
snap conflict "$window"
xdotool key Escape; pause
at 620 180; xdotool click 1
find_node "Summon Water"
snap tooltip "$window"
at 305 412; xdotool click 1; pause            # the colour template button
snap template "$window"
xdotool key Escape; pause
at 620 180; xdotool click 1
at 236 34; xdotool click 1; pause             # the multi-editor
dlg=$(xdotool search --onlyvisible --name 'Multi|Мульти' | head -1)
eval "$(xdotool getwindowgeometry --shell "$dlg")"
for cell in "24 24 q" "56 24 w" "88 24 e" "120 24 r" "24 56 a" "56 56 s" "88 56 d" "120 56 f"; do
  set -- $cell
  xdotool mousemove $((X + $1)) $((Y + $2)) click 1 type "$3"
done
pause
snap multiedit "${WIDTH}x${HEIGHT}+$X+$Y"
