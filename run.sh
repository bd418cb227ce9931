#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor. On a machine
# without Warcraft III the editor opens the demo game the build makes.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build --parallel "$(nproc)"
export QUILLMARK_DEMO_GAME="$PWD/build/demo-game"
exec build/app/quillmark "$@"
