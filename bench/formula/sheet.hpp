// The benchmark sheet, shared in shape with hyperformula_sheet.js: blocks of
// five columns side by side, each row of a block three constants and two
// formulas reading their own row and the row above:
//   D = SUM(A:C of the row above)+1 (of its own row in row 1)
//   E = AVERAGE(A:C of its row)*2+D of its row
// One block holds up to 65,536 rows (131,072 formulas); a larger sheet takes
// as many blocks as keep its rows within the grid, so that 1,000,000
// formulas are eight blocks of 62,500 rows.
#pragma once

#include <string>

namespace bench_sheet {

inline constexpr int grid_rows = 65536;
inline constexpr int block_columns = 5;
inline constexpr int formulas_per_block_row = 2;

struct Shape {
  int rows;
  int blocks;
  int columns() const { return rows > 0 ? blocks * block_columns : 0; }
  int formulas() const { return rows * blocks * formulas_per_block_row; }
};

inline Shape shape_for(int formulas) {
  const int per_block = grid_rows * formulas_per_block_row;
  const int blocks = (formulas + per_block - 1) / per_block;
  return Shape{formulas / (formulas_per_block_row * blocks), blocks};
}

// Column is 0-based; "A".."IV".
inline std::string column_name(int column) {
  return column < 26 ? std::string(1, static_cast<char>('A' + column))
                     : std::string(1, static_cast<char>('A' + column / 26 - 1)) + static_cast<char>('A' + column % 26);
}

inline double constant(int row, int column) { return (row * 7 + column * 13) % 101; }

// Row is 1-based as in A1 text; block is 0-based.
inline std::string row_sum(int row, int block) {
  const int first = block * block_columns;
  return column_name(first) + std::to_string(row) + ":" + column_name(first + 2) + std::to_string(row);
}
inline std::string formula_d(int row, int block) { return "=SUM(" + row_sum(row == 1 ? 1 : row - 1, block) + ")+1"; }
inline std::string formula_e(int row, int block) {
  return "=AVERAGE(" + row_sum(row, block) + ")*2+" + column_name(block * block_columns + 3) + std::to_string(row);
}

}  // namespace bench_sheet
