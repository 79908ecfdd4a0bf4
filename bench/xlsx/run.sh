#!/usr/bin/env bash
# Loads the 100,000-cell benchmark workbook of bench/xls (numbers, shared
# strings, formulas) as .xls and as the .xlsx LibreOffice saves from it,
# each load in its own process, and prints both times and peak memories.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build/bench-xlsx
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DD72506_BENCH=ON >/dev/null
cmake --build "$build" --target xls_bench xlsx_bench -j 2

"$build/bench/xls/xls_bench" write "$build/bench.xls" >/dev/null
soffice -env:UserInstallation=file://"$PWD/$build/lo-profile" --headless --convert-to xlsx \
  --outdir "$build" "$build/bench.xls" >/dev/null 2>&1
echo "xls:  $("$build/bench/xlsx/xlsx_bench" "$build/bench.xls")"
echo "xlsx: $("$build/bench/xlsx/xlsx_bench" "$build/bench.xlsx")"
