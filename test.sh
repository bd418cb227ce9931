#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, runs every test.
#   ./test.sh              the normal build, in build/
#   ./test.sh --sanitize   address and undefined-behaviour sanitizers, in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")"

build=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  flags+=(-DQUILLMARK_SANITIZE=ON -DQUILLMARK_BUILD_BENCH=OFF)
fi

scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DQUILLMARK_WERROR=ON "${flags[@]}"
cmake --build "$build" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
