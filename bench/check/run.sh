#!/usr/bin/env bash
# Builds the release configuration's check bench and runs it: 1,000 answers
# to question 601 per format, judged in one process and one process each.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build/bench-check
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DD72506_BENCH=ON >/dev/null
cmake --build "$build" --target check_bench -j 2
"$build/bench/check/check_bench" "$@"
