// The same sheet as sheet.hpp in HyperFormula: build (parse and compute),
// full recalculation, and one changed constant. Prints JSON timings in ms.
const { HyperFormula } = require('hyperformula');

const rows = 50000;
const constant = (row, column) => (row * 7 + column * 13) % 101;
const data = [];
for (let row = 1; row <= rows; row++) {
  const d = row === 1 ? '=SUM(A1:C1)+1' : `=SUM(A${row - 1}:C${row - 1})+1`;
  data.push([constant(row, 0), constant(row, 1), constant(row, 2), d, `=AVERAGE(A${row}:C${row})*2+D${row}`]);
}

const time = (f, repeat) => {
  const start = process.hrtime.bigint();
  for (let i = 0; i < repeat; i++) f();
  return Number(process.hrtime.bigint() - start) / 1e6 / repeat;
};

let hf;
const build = time(() => { hf = HyperFormula.buildFromArray(data, { licenseKey: 'gpl-v3', maxRows: 65536, maxColumns: 256 }); }, 1);
const full = time(() => hf.rebuildAndRecalculate(), 3);
let value = 0;
const change = time(() => hf.setCellContents({ sheet: 0, row: 25000, col: 1 }, [[++value]]), 200);
console.log(JSON.stringify({ build_ms: build, full_recalculation_ms: full, one_change_ms: change }));
