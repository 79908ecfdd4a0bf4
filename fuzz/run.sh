#!/usr/bin/env bash
# Builds the fuzz targets with clang 16 (clang 14 cannot capture a structured
# binding in a lambda, which engine/formula does): the .xls reader's two
# (fuzz/xls), the .xlsx reader's two (fuzz/xlsx), the .ods reader's
# (fuzz/ods), the statement language's and the formula language's
# (fuzz/languages). Each runs for a seventh of a bounded time (default 60
# seconds in all), from its seeds plus whatever earlier runs found. Exits
# non-zero when a target crashed; the reproducer is left in the crashes/
# folder beside the target's sources.
#   fuzz/run.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
share=$((seconds / 7))
build=build/fuzz
languages=build/fuzz-languages
xlsx=build/fuzz-xlsx
ods=build/fuzz-ods

for project in "fuzz/xls $build" "fuzz/xlsx $xlsx" "fuzz/ods $ods" "fuzz/languages $languages"; do
  set -- $project
  cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-16 >/dev/null
  cmake --build "$2" -j 2
done

"$build/xls_seed_corpus" "$build/seeds/file" "$build/seeds/stream"
"$xlsx/xlsx_seed_corpus" "$xlsx/seeds/file" "$xlsx/seeds/parts"
"$ods/ods_seed_corpus" "$ods/seeds"
mkdir -p fuzz/xls/crashes fuzz/xlsx/crashes fuzz/ods/crashes fuzz/languages/crashes

status=0
# fuzz NAME BINARY CRASHES MAX_LEN SEED_FOLDERS...: one target for its share.
fuzz() {
  local name=$1 binary=$2 crashes=$3 max_len=$4
  shift 4
  local corpus="$(dirname "$binary")/corpus/$name" log="$(dirname "$binary")/$name.log"
  mkdir -p "$corpus"
  echo "$name: $share s, log in $log"
  if ! "$binary" "$corpus" "$@" -max_total_time="$share" -max_len="$max_len" -rss_limit_mb=2048 -timeout=10 \
      -artifact_prefix="$crashes/$name-" -print_final_stats=1 >"$log" 2>&1; then
    echo "$name failed:"
    grep -E '^(==[0-9]+==|SUMMARY|.*Test unit written)' "$log" | head -20 || tail -30 "$log"
    status=1
  else
    grep -E '^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$log" || true
  fi
}

for target in file stream; do
  fuzz "xls_${target}_fuzzer" "$build/xls_${target}_fuzzer" fuzz/xls/crashes 65536 "$build/seeds/$target"
done
for target in file parts; do
  fuzz "xlsx_${target}_fuzzer" "$xlsx/xlsx_${target}_fuzzer" fuzz/xlsx/crashes 262144 "$xlsx/seeds/$target"
done
fuzz ods_content_fuzzer "$ods/ods_content_fuzzer" fuzz/ods/crashes 262144 "$ods/seeds"
# The exercise answers are real scripts: the statement language starts from them.
fuzz script_fuzzer "$languages/script_fuzzer" fuzz/languages/crashes 8192 exercises/answers
fuzz formula_fuzzer "$languages/formula_fuzzer" fuzz/languages/crashes 2048 fuzz/languages/seeds/formula
exit "$status"
