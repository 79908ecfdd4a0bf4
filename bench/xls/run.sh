#!/usr/bin/env bash
# Reads and writes a workbook of 100,000 cells (numbers, shared strings,
# formulas) with our engine and with SheetJS, each operation in its own
# process, and prints times, peak memory and the ratios. Both read the file
# our writer produced. SheetJS is installed under build/ (never committed).
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build/bench-xls
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DD72506_BENCH=ON >/dev/null
cmake --build "$build" --target xls_bench -j 2

npm_dir=build/sheetjs
if [ ! -d "$npm_dir/node_modules/xlsx" ]; then
  mkdir -p "$npm_dir"
  npm install --prefix "$npm_dir" --no-save --no-audit --no-fund xlsx >/dev/null
fi

ours() { "$build/bench/xls/xls_bench" "$@"; }
theirs() { NODE_PATH="$npm_dir/node_modules" node bench/xls/sheetjs_workbook.js "$@"; }

file="$build/bench.xls"
OURS_WRITE=$(ours write "$file") \
THEIRS_WRITE=$(theirs write "$build/sheetjs.xls") \
OURS_READ=$(ours read "$file") \
THEIRS_READ=$(theirs read "$file") \
OURS_READ_THEIRS=$(ours read "$build/sheetjs.xls") \
node -e '
  const r = (name) => JSON.parse(process.env[name]);
  for (const op of ["WRITE", "READ"]) {
    const ours = r("OURS_" + op), theirs = r("THEIRS_" + op);
    console.log(`${op.toLowerCase()} ${ours.cells} cells: ours ${ours.ms.toFixed(1)} ms, ${ours.peak_rss_mb} MB peak;` +
      ` SheetJS ${theirs.ms.toFixed(1)} ms, ${theirs.peak_rss_mb} MB peak;` +
      ` time ratio ${(theirs.ms / ours.ms).toFixed(2)}x, memory ratio ${(theirs.peak_rss_mb / ours.peak_rss_mb).toFixed(2)}x`);
  }
  const check = r("OURS_READ_THEIRS");
  console.log(`(our reader on the file SheetJS wrote: ${check.cells} cells in ${check.ms.toFixed(1)} ms)`);
'
