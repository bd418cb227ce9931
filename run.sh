#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build --parallel "$(nproc)"
exec build/app/quillmark "$@"
