#!/usr/bin/env bash
# Sets everything up, builds the release and the sanitizer configurations and
# runs every test in both. Exit status is non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc)
build() { # name, extra cmake arguments...
  local dir="build/$1"; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

build release -DCMAKE_BUILD_TYPE=Release
build asan -DCMAKE_BUILD_TYPE=Debug -DD72506_SANITIZE=ON -DD72506_BENCH=OFF

status=0
for config in release asan; do
  echo "== tests: $config"
  ctest --test-dir "build/$config" -j "$jobs" --output-on-failure || status=1
done

# The .xls reader under libFuzzer, for a bounded time.
echo "== fuzz"
bash fuzz/run.sh 60 || status=1
exit $status
