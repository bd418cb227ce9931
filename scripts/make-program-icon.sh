#!/usr/bin/env bash
# Redraws lang/Quillmark.png, the program's picture, from make-program-icon.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
c++ -std=c++20 -fPIC scripts/make-program-icon.cpp -o "$tmp/make-program-icon" \
  $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$tmp/make-program-icon" lang/Quillmark.png
