#!/usr/bin/env bash
# Redraws the program's pictures: lang/Quillmark.png from make-program-icon.cpp
# and the loading window's editor/Splash.ppm from make-splash.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
c++ -std=c++20 -fPIC scripts/make-program-icon.cpp -o "$tmp/make-program-icon" \
  $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$tmp/make-program-icon" lang/Quillmark.png
c++ -std=c++20 -fPIC scripts/make-splash.cpp -o "$tmp/make-splash" \
  $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$tmp/make-splash" editor/Splash.ppm
