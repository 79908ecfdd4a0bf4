// The benchmark sheet, shared in shape with hyperformula_sheet.js: rows
// 1..50,000 hold three constants in A:C; D and E hold 100,000 formulas
// reading their own row and the row above.
#pragma once

#include <string>

namespace bench_sheet {

inline constexpr int rows = 50000;

inline double constant(int row, int column) { return (row * 7 + column * 13) % 101; }

// Row is 1-based as in A1 text.
inline std::string formula_d(int row) {
  return row == 1 ? "=SUM(A1:C1)+1" : "=SUM(A" + std::to_string(row - 1) + ":C" + std::to_string(row - 1) + ")+1";
}
inline std::string formula_e(int row) {
  const std::string r = std::to_string(row);
  return "=AVERAGE(A" + r + ":C" + r + ")*2+D" + r;
}

}  // namespace bench_sheet
