#!/usr/bin/env bash
# Soaks every question: CYCLES player cycles each (default 10000) in one
# process, printing memory and descriptor growth; fails when either grew.
#   bench/soak/run.sh [CYCLES]
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build/bench-soak
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DD72506_BENCH=ON >/dev/null
cmake --build "$build" --target module_soak -j 2
"$build/bench/soak/module_soak" "${1:-10000}"
