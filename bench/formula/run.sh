#!/usr/bin/env bash
# Runs the formula benchmark and HyperFormula on the same sheet and prints
# the ratios. HyperFormula is installed under build/ (never committed).
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build/bench-formula
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DD72506_BENCH=ON >/dev/null
cmake --build "$build" --target formula_bench -j 2

npm_dir=build/hyperformula
if [ ! -d "$npm_dir/node_modules/hyperformula" ]; then
  mkdir -p "$npm_dir"
  npm install --prefix "$npm_dir" --no-save --no-audit --no-fund hyperformula >/dev/null
fi

# FORMULAS (100,000 by default) sets the sheet's size, as in sheet.hpp.
formulas=${FORMULAS:-100000}
ours=$("$build/bench/formula/formula_bench" --benchmark_format=json --benchmark_filter="/$formulas\$")
theirs=$(NODE_PATH="$npm_dir/node_modules" node bench/formula/hyperformula_sheet.js "$formulas")

OURS="$ours" THEIRS="$theirs" FORMULAS="$formulas" node -e '
  const ours = JSON.parse(process.env.OURS).benchmarks;
  const theirs = JSON.parse(process.env.THEIRS);
  const size = "/" + process.env.FORMULAS;
  const ms = (name) => { const b = ours.find((x) => x.name === name + size);
    const scale = { ns: 1e-6, us: 1e-3, ms: 1 }[b.time_unit]; return b.real_time * scale; };
  for (const [label, prefix] of [["formula engine", ""], ["spreadsheet model", "Model"]]) {
    const full = ms(prefix + "FullRecalculation"), change = ms(prefix + "OneCellChange");
    const evals = ours.find((x) => x.name === prefix + "OneCellChange" + size).evaluations_per_change;
    console.log(`${label}: full recalculation ${full.toFixed(2)} ms, HyperFormula ${theirs.full_recalculation_ms.toFixed(2)} ms, ratio ${(theirs.full_recalculation_ms / full).toFixed(2)}x`);
    console.log(`${label}: one change ${change.toFixed(4)} ms (${evals} evaluations), HyperFormula ${theirs.one_change_ms.toFixed(4)} ms, ratio ${(theirs.one_change_ms / change).toFixed(2)}x`);
  }
  const build = ms("ModelBuildAndCalculate");
  console.log(`build from formula text and compute: ours ${build.toFixed(2)} ms, HyperFormula ${theirs.build_ms.toFixed(2)} ms, ratio ${(theirs.build_ms / build).toFixed(2)}x`);
  console.log("(HyperFormula recalculates everything only through rebuildAndRecalculate, which parses again.)");
'
