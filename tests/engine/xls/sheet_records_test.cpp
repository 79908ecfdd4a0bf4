// The records a saved sheet is made of: which cells are written, the
// sheet's DIMENSIONS and each ROW record's span of columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "engine/model/workbook.hpp"
#include "engine/xls/record_reader.hpp"
#include "engine/xls/record_types.hpp"
#include "engine/xls/workbook_file.hpp"
#include "record_support.hpp"

namespace engine::xls {
namespace {

namespace m = engine::model;
namespace f = engine::formula;

// The records of the first sheet of a saved workbook, BOF to EOF.
std::vector<Record> first_sheet_records(const Bytes& file, Bytes& stream) {
  const std::vector<Record> all = workbook_records(file, stream);
  const auto is_bof = [](const Record& r) { return r.type == rt::Bof; };
  const auto bof = std::find_if(std::find_if(all.begin(), all.end(), is_bof) + 1, all.end(), is_bof);
  const auto eof = std::find_if(bof, all.end(), [](const Record& r) { return r.type == rt::Eof; });
  return {bof, eof == all.end() ? eof : eof + 1};
}

// Content in rows 2 to 6 and columns 1 to 3; formatted blank cells all
// around it, which the used range leaves out, and one inside it, which it
// keeps; row 3 has a height of its own and no cells.
TEST(SheetRecords, TheUsedRangeDecidesTheCellsDimensionsAndRowSpans) {
  m::Workbook book("Plages.xls");
  m::Worksheet& sheet = book.add_sheet("Feuil1");
  sheet.set_value(2, 1, f::Value(1.0));
  sheet.set_value(2, 3, f::Value("trois"));
  sheet.set_value(5, 2, f::Value(2.5));
  sheet.set_formula(6, 1, "=B3*2");
  const auto bold = [](m::CellFormat& format) { format.font.bold = true; };
  for (const auto& [row, column] : {std::pair{0, 0}, {2, 0}, {2, 7}, {9, 1}, {4, 2}})
    sheet.change_format(m::CellRange::cell(row, column), bold);
  sheet.set_row_height(3, 3, 30);

  Bytes stream;
  const auto records = first_sheet_records(save_workbook(book), stream);
  std::map<int, std::pair<int, int>> row_spans;
  std::set<std::pair<int, int>> cells;
  std::optional<Record> dimensions;
  for (const Record& record : records) {
    RecordCursor c(record);
    if (record.type == rt::Dimensions) {
      dimensions = record;
    } else if (record.type == rt::Row) {
      const int row = c.u16();
      const int first = c.u16();
      row_spans[row] = {first, c.u16()};
    } else if (record.type == rt::Rk || record.type == rt::Number || record.type == rt::LabelSst ||
               record.type == rt::Blank || record.type == rt::Formula) {
      const int row = c.u16();
      cells.insert({row, c.u16()});
    }
  }
  EXPECT_EQ(cells, (std::set<std::pair<int, int>>{{2, 1}, {2, 3}, {4, 2}, {5, 2}, {6, 1}}));
  EXPECT_EQ(row_spans, (std::map<int, std::pair<int, int>>{{2, {1, 4}}, {3, {0, 0}}, {4, {2, 3}}, {5, {2, 3}},
                                                           {6, {1, 2}}}));
  ASSERT_TRUE(dimensions);
  RecordCursor d(*dimensions);
  EXPECT_EQ(d.u32(), 2u);  // first row
  EXPECT_EQ(d.u32(), 7u);  // one past the last
  EXPECT_EQ(d.u16(), 0u);
  EXPECT_EQ(d.u16(), 4u);  // one past the last column with content
}

// Many rows of formulas of every depth, rows left out here and there and
// rows of one or many cells: written while the rows ahead are requested
// from memory, every cell reads back as it was.
TEST(SheetRecords, ALongSheetOfFormulasOfEveryDepthReadsBackCellForCell) {
  m::Workbook book("Longue.xls");
  m::Worksheet& sheet = book.add_sheet("Feuil1");
  std::string nested = "A1";
  for (int row = 0; row < 3000; ++row) {
    if (row % 7 == 3) continue;
    sheet.set_value(row, 0, f::Value(row * 0.25));
    if (row % 5 == 0) continue;
    const std::string here = std::to_string(row + 1);
    if (row % 12 == 1) nested = std::string("A").append(here);
    else nested = std::string("(").append(nested).append("+").append(std::to_string(row % 9)).append(")");
    sheet.set_formula(row, 1 + row % 3, std::string("=").append(nested));
    if (row % 11 == 0) sheet.set_formula(row, 20, std::string("=IF(A").append(here).append(">10,SUM(A1:A3),\"petit\")"));
  }
  const auto loaded = load_workbook(save_workbook(book), "Longue.xls");
  const m::Worksheet& back = loaded->sheet(0);
  EXPECT_EQ(back.cell_count(), sheet.cell_count());
  for (int row = 0; row < 3000; ++row) {
    for (int column : {0, 1, 2, 3, 20}) {
      ASSERT_EQ(back.formula_text(row, column), sheet.formula_text(row, column)) << row << "," << column;
      ASSERT_EQ(back.value(row, column), sheet.value(row, column)) << row << "," << column;
    }
  }
}

}  // namespace
}  // namespace engine::xls
