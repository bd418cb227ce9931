#!/usr/bin/env bash
# Installs what is missing, builds, and shows what the command-line companion does.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build --parallel "$(nproc)"
build/app/quillmark-cli "$@" || true
