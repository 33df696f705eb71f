#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a while.
#   tests/fuzz/run.sh [seconds per target]     (default 60)
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in $(sed -n 's/^quorvane_add_fuzz_target(\([a-z_]*\) .*/\1/p' tests/fuzz/CMakeLists.txt); do
    corpus=build/fuzz/corpus/$target
    mkdir -p "$corpus"
    echo "== $target ($seconds s)"
    log=build/fuzz/$target.log
    status=0
    "build/fuzz/tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build/fuzz/ "$corpus" >"$log" 2>&1 \
        || status=$?
    grep -E '^stat::number_of_executed_units' "$log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log"
        echo "$target found a failure (exit $status); the input is in build/fuzz" >&2
        exit 1
    fi
done
