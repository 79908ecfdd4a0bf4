#!/usr/bin/env bash
# Loads the 100,000-cell benchmark workbook of bench/xls (numbers, shared
# strings, formulas) as .xls and as the .xlsx and .ods LibreOffice saves
# from it, each load in its own process, and prints the times and peak memories.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build/bench-xlsx
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DD72506_BENCH=ON >/dev/null
cmake --build "$build" --target xls_bench xlsx_bench -j 2

"$build/bench/xls/xls_bench" write "$build/bench.xls" >/dev/null
for format in xlsx ods; do
  soffice -env:UserInstallation=file://"$PWD/$build/lo-profile" --headless --convert-to "$format" \
    --outdir "$build" "$build/bench.xls" >/dev/null 2>&1
done
echo "xls:  $("$build/bench/xlsx/xlsx_bench" "$build/bench.xls")"
echo "xlsx: $("$build/bench/xlsx/xlsx_bench" "$build/bench.xlsx")"
echo "ods:  $("$build/bench/xlsx/xlsx_bench" "$build/bench.ods")"
