// The same sheet as sheet.hpp in HyperFormula: build (parse and compute),
// full recalculation, and one changed constant. Prints JSON timings in ms.
//   node hyperformula_sheet.js [FORMULAS]   (100,000 by default)
const { HyperFormula } = require('hyperformula');

const gridRows = 65536, blockColumns = 5, formulasPerBlockRow = 2;
const formulas = Number(process.argv[2] || 100000);
const blocks = Math.ceil(formulas / (gridRows * formulasPerBlockRow));
const rows = Math.floor(formulas / (formulasPerBlockRow * blocks));
const columnName = (c) => (c < 26 ? '' : String.fromCharCode(64 + Math.floor(c / 26))) + String.fromCharCode(65 + (c % 26));
const constant = (row, column) => (row * 7 + column * 13) % 101;
const rowSum = (row, block) => {
  const first = block * blockColumns;
  return `${columnName(first)}${row}:${columnName(first + 2)}${row}`;
};
const data = [];
for (let row = 1; row <= rows; row++) {
  const cells = [];
  for (let block = 0; block < blocks; block++) {
    const first = block * blockColumns;
    for (let column = first; column < first + 3; column++) cells.push(constant(row, column));
    cells.push(`=SUM(${rowSum(row === 1 ? 1 : row - 1, block)})+1`);
    cells.push(`=AVERAGE(${rowSum(row, block)})*2+${columnName(first + 3)}${row}`);
  }
  data.push(cells);
}

const time = (f, repeat) => {
  const start = process.hrtime.bigint();
  for (let i = 0; i < repeat; i++) f();
  return Number(process.hrtime.bigint() - start) / 1e6 / repeat;
};

let hf;
const build = time(() => { hf = HyperFormula.buildFromArray(data, { licenseKey: 'gpl-v3', maxRows: 65536, maxColumns: 256 }); }, 1);
// A large sheet takes HyperFormula a minute a rebuild: one is enough there.
const full = time(() => hf.rebuildAndRecalculate(), formulas > 200000 ? 1 : 3);
let value = 0;
const change = time(() => hf.setCellContents({ sheet: 0, row: Math.floor(rows / 2), col: 1 }, [[++value]]), 200);
console.log(JSON.stringify({ formulas: rows * blocks * formulasPerBlockRow, build_ms: build, full_recalculation_ms: full, one_change_ms: change }));
