// The same workbook and the same two operations as xls_bench.cpp, in
// SheetJS, in its own process. Prints the same JSON.
//   node sheetjs_workbook.js write OUT.xls [CELLS] | read IN.xls
const fs = require('fs');
const XLSX = require('xlsx');

const block = 4;
const maxRows = 65536;
const repeat = 5;

function benchmarkWorkbook(cells) {
  const blocks = Math.ceil(cells / (block * maxRows));
  const rows = Math.floor(cells / (block * blocks));
  const data = [];
  for (let row = 0; row < rows; row++) {
    const line = [];
    for (let b = 0; b < blocks; b++) {
      const a = (row * 7 + b) % 101, c = row * 0.5;
      const first = XLSX.utils.encode_col(b * block), third = XLSX.utils.encode_col(b * block + 2);
      line.push(a, `Article ${(row + b) % 1000}`, c, { t: 'n', f: `${first}${row + 1}*2+${third}${row + 1}`, v: a * 2 + c });
    }
    data.push(line);
  }
  const book = XLSX.utils.book_new();
  XLSX.utils.book_append_sheet(book, XLSX.utils.aoa_to_sheet(data), 'Données');
  return book;
}

function medianMs(operation) {
  const times = [];
  for (let i = 0; i < repeat; i++) {
    const start = process.hrtime.bigint();
    operation();
    times.push(Number(process.hrtime.bigint() - start) / 1e6);
  }
  times.sort((a, b) => a - b);
  return times[Math.floor(times.length / 2)];
}

function cellCount(book) {
  const sheet = book.Sheets[book.SheetNames[0]];
  return Object.keys(sheet).filter((key) => key[0] !== '!').length;
}

function report(ms, cells) {
  const peak = process.resourceUsage().maxRSS / 1024;
  console.log(JSON.stringify({ ms: Number(ms.toFixed(3)), peak_rss_mb: Number(peak.toFixed(1)), cells }));
}

const [mode, file, cells] = process.argv.slice(2);
if (mode === 'write') {
  const book = benchmarkWorkbook(Number(cells || 100000));
  let bytes;
  const ms = medianMs(() => { bytes = XLSX.write(book, { type: 'buffer', bookType: 'biff8' }); });
  fs.writeFileSync(file, bytes);
  report(ms, cellCount(book));
} else if (mode === 'read') {
  const bytes = fs.readFileSync(file);
  let cells = 0;
  const ms = medianMs(() => { cells = cellCount(XLSX.read(bytes, { type: 'buffer' })); });
  report(ms, cells);
} else {
  console.error('usage: node sheetjs_workbook.js write FILE.xls [CELLS] | read FILE.xls');
  process.exit(2);
}
