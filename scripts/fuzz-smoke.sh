#!/usr/bin/env bash
# Builds the fuzz targets with clang (address and undefined-behaviour
# sanitizers) and runs each on its seeds for a while, 20 seconds unless
# given, as many at once as there are cores. A finding fails the run; its
# input stays in build-fuzz/findings/.
#   scripts/fuzz-smoke.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
build=build-fuzz

scripts/install-deps.sh clang libclang-rt-14-dev
cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DQUILLMARK_FUZZ=ON -DQUILLMARK_BUILD_TESTS=OFF -DQUILLMARK_BUILD_BENCH=OFF -DQUILLMARK_WERROR=ON
cmake --build "$build" --target quillmark_fuzzers --parallel "$(nproc)"

# The targets write their inputs to files: in memory where there is room.
base=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && base=/dev/shm
scratch=$(mktemp -d "$base/quillmark-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

seeds=$build/seeds
rm -rf "$seeds"
"$build/fuzz/make_fuzz_seeds" "$seeds" ../shared/real-data
mkdir -p "$build/findings"

export LSAN_OPTIONS="suppressions=$PWD/tests/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# One target: its verdict goes to NAME.result, its output to NAME.log.
run_one() {
  local fuzzer=$1 name=${1##*/fuzz_}
  local log=$scratch/$name.log
  mkdir -p "$scratch/corpus/$name" "$scratch/tmp/$name"
  if TMPDIR=$scratch/tmp/$name "$fuzzer" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
      -print_final_stats=1 -artifact_prefix="$build/findings/$name-" \
      "$scratch/corpus/$name" "$seeds/$name" >"$log" 2>&1; then
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$name: ${runs:-?} runs in ${seconds} s, no finding" >"$scratch/$name.result"
  else
    echo "FINDING" >"$scratch/$name.result"
  fi
}

# As many targets at once as there are cores.
for fuzzer in "$build"/fuzz/fuzz_*; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  run_one "$fuzzer" &
done
wait

passed=0
failed=0
for fuzzer in "$build"/fuzz/fuzz_*; do
  name=${fuzzer##*/fuzz_}
  if [ "$(cat "$scratch/$name.result")" = FINDING ]; then
    echo "fuzz_$name: FINDING"
    tail -n 60 "$scratch/$name.log"
    failed=$((failed + 1))
  else
    cat "$scratch/$name.result"
    passed=$((passed + 1))
  fi
done
echo "fuzzing: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
