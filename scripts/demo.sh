#!/usr/bin/env bash
# The main job on a fresh Debian 12 machine, as root: installs what is
# missing, builds the release configuration's d72506 command, then plays
# every question, 601 to 615, with each of its bundled answers, the right one
# first, and prints each verdict beside the code the answer expects.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target d72506 -j "$(nproc)"

d72506="$build/cli/d72506"
for question in $(seq 601 615); do
  for answer in exercises/answers/0"$question"_right*.bas exercises/answers/0"$question"_wrong_*.bas; do
    expected=$(sed -n "s/^' expect: //p" "$answer" | head -n 1)
    echo "== $(basename "$answer") (expects $expected)"
    "$d72506" play "$question" --trainee "$answer"
  done
done
