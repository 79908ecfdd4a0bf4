#!/usr/bin/env bash
# Runs every benchmark and prints one table: ours against the peer measured in
# the same run (SheetJS for .xls files, HyperFormula for formulas), the ratio
# and the ratio aimed at. The .xls rows come at three sizes, so that the cost
# per cell can be seen to stay flat. The peers are installed under build/ by
# npm when missing (never committed). Each .xls figure is the median of five
# operations in one process; the formula figures are Google Benchmark's.
#   bench/run.sh                  everything
#   SIZES="100000" bench/run.sh   the .xls rows at one size only
#   QUICK=1 bench/run.sh          skip the soak and the check benchmarks
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/bench
sizes=${SIZES:-"10000 100000 1000000"}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DD72506_BENCH=ON "${launcher[@]}" >/dev/null
targets=(xls_bench xlsx_bench formula_bench module_bench)
[ -z "${QUICK:-}" ] && targets+=(check_bench module_soak)
cmake --build "$build" --target "${targets[@]}" -j 2 >/dev/null

install_peer() {  # npm package, folder under build/
  if [ ! -d "build/$2/node_modules/$1" ]; then
    mkdir -p "build/$2"
    npm install --prefix "build/$2" --no-save --no-audit --no-fund "$1" >/dev/null
  fi
}
install_peer xlsx sheetjs
install_peer hyperformula hyperformula

ours() { "$build/bench/xls/xls_bench" "$@"; }
# SheetJS keeps a million cells as JavaScript objects: give it the heap it needs.
sheetjs() { NODE_PATH=build/sheetjs/node_modules node --max-old-space-size=8192 bench/xls/sheetjs_workbook.js "$@"; }

# One JSON file per measure, named NAME-SIZE.json, read back for the table.
results="$build/results"
rm -rf "$results" && mkdir -p "$results"
record() { printf '%s\n' "$3" >"$results/$1-$2.json"; }

for cells in $sizes; do
  file="$build/bench-$cells.xls"
  record ours_write "$cells" "$(ours write "$file" "$cells")"
  record sheetjs_write "$cells" "$(sheetjs write "$build/sheetjs-$cells.xls" "$cells")"
  record ours_read "$cells" "$(ours read "$file")"
  record sheetjs_read "$cells" "$(sheetjs read "$file")"
done

# The other formats, read by our engine from files LibreOffice converted.
xls100k="$build/bench-100000.xls"
[ -f "$xls100k" ] || ours write "$xls100k" 100000 >/dev/null
for format in xlsx ods; do
  soffice -env:UserInstallation=file://"$PWD/$build/lo-profile" --headless --convert-to "$format" \
    --outdir "$build" "$xls100k" >/dev/null 2>&1 || true
  converted="$build/bench-100000.$format"
  [ -f "$converted" ] && record "ours_read_$format" 100000 "$("$build/bench/xlsx/xlsx_bench" "$converted")"
done

# The formula rows at the same sizes, counted in formulas.
for formulas in $sizes; do
  record formula "$formulas" \
    "$("$build/bench/formula/formula_bench" --benchmark_format=json --benchmark_filter="^Model.*/$formulas\$")"
  record hyperformula "$formulas" \
    "$(NODE_PATH=build/hyperformula/node_modules node bench/formula/hyperformula_sheet.js "$formulas")"
done
record module 0 "$("$build/bench/module/module_bench" --benchmark_format=json 2>/dev/null)"

RESULTS="$results" node -e '
  const fs = require("fs"), dir = process.env.RESULTS;
  const lines = fs.readdirSync(dir).map((file) => {
    const [, name, size] = file.match(/^(.*)-(\d+)\.json$/);
    return { name, size: Number(size), result: JSON.parse(fs.readFileSync(`${dir}/${file}`, "utf8")) };
  });
  const find = (name, size) => lines.find((l) => l.name === name && (size === undefined || l.size === size));
  const rows = [];
  const row = (measure, size, ours, peer, ratio, target) => rows.push([measure, size, ours, peer, ratio, target]);
  const ms = (x) => x.toFixed(x < 10 ? 2 : 1) + " ms";
  const mb = (x) => x.toFixed(1) + " MB";
  const per = (total, cells, unit) => unit === "ns" ? (total * 1e6 / cells).toFixed(0) + " ns/cell"
                                                    : (total * 1048576 / cells).toFixed(0) + " B/cell";
  const sizes = [...new Set(lines.filter((l) => l.name === "ours_read").map((l) => l.size))].sort((a, b) => a - b);
  for (const size of sizes) {
    const label = size.toLocaleString("en");
    for (const op of ["read", "write"]) {
      const o = find("ours_" + op, size).result, t = find("sheetjs_" + op, size).result;
      row(`.xls ${op} time`, label, `${ms(o.ms)} (${per(o.ms, o.cells, "ns")})`, `SheetJS ${ms(t.ms)}`,
          (t.ms / o.ms).toFixed(1) + "x", op === "read" ? ">= 20x" : ">= 15x");
    }
    const o = find("ours_read", size).result, t = find("sheetjs_read", size).result;
    row(".xls read peak memory", label, `${mb(o.peak_rss_mb)} (${per(o.peak_rss_mb, o.cells, "B")})`,
        `SheetJS ${mb(t.peak_rss_mb)}`, (t.peak_rss_mb / o.peak_rss_mb).toFixed(1) + "x",
        size === 100000 ? "<= 40 MB" : "-");
    row(".xls loaded workbook, heap", label, `${mb(o.model_mb)} (${per(o.model_mb, o.cells, "B")})`, "-", "-",
        "<= 100 B/cell");
  }
  for (const format of ["xlsx", "ods"]) {
    const r = find("ours_read_" + format);
    if (r) row(`.${format} read (ours only)`, "100,000", `${ms(r.result.ms)}, ${mb(r.result.peak_rss_mb)}`, "-", "-", "-");
  }
  for (const size of sizes.filter((n) => find("formula", n))) {
    const label = size.toLocaleString("en") + " formulas";
    const gb = find("formula", size).result.benchmarks;
    const gms = (name) => { const b = gb.find((x) => x.name === `${name}/${size}`);
      return b.real_time * { ns: 1e-6, us: 1e-3, ms: 1 }[b.time_unit]; };
    const hf = find("hyperformula", size).result;
    row("build from formula text and compute", label, `${ms(gms("ModelBuildAndCalculate"))} (${per(gms("ModelBuildAndCalculate"), size, "ns")})`,
        `HyperFormula ${ms(hf.build_ms)}`, (hf.build_ms / gms("ModelBuildAndCalculate")).toFixed(1) + "x", ">= 5x");
    row("full recalculation (model)", label, `${ms(gms("ModelFullRecalculation"))} (${per(gms("ModelFullRecalculation"), size, "ns")})`,
        `HyperFormula rebuildAndRecalculate ${ms(hf.full_recalculation_ms)}`,
        (hf.full_recalculation_ms / gms("ModelFullRecalculation")).toFixed(1) + "x", ">= 30x");
    row("one changed constant (model)", label, (gms("ModelOneCellChange") * 1000).toFixed(2) + " us",
        `HyperFormula ${(hf.one_change_ms * 1000).toFixed(2)} us`,
        (hf.one_change_ms / gms("ModelOneCellChange")).toFixed(1) + "x", "-");
  }
  const cycle = find("module").result.benchmarks.find((b) => b.name === "QuestionCycle_median");
  if (cycle) row("question 601 cycle (median)", "-", cycle.real_time.toFixed(0) + " us", "-", "-", "-");
  const head = ["measure", "size", "ours", "peer, same run", "ratio", "target"];
  const width = head.map((h, i) => Math.max(h.length, ...rows.map((r) => r[i].length)));
  const line = (r) => "| " + r.map((c, i) => c.padEnd(width[i])).join(" | ") + " |";
  console.log(line(head));
  console.log("|" + width.map((w) => "-".repeat(w + 2)).join("|") + "|");
  for (const r of rows) console.log(line(r));
'

if [ -z "${QUICK:-}" ]; then
  echo
  echo "check (a class of saved answers, ours only):"
  "$build/bench/check/check_bench" 200
  echo "soak (question cycles, ours only):"
  "$build/bench/soak/module_soak" 1000
fi
