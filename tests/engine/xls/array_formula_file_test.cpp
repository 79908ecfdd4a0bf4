// Array formulas in .xls files: each cell of the array a FORMULA record
// pointing at the top-left cell, the formula itself in the ARRAY record that
// follows it. They come back as array formulas, and a damaged ARRAY record
// costs the array alone.
#include <gtest/gtest.h>

#include "engine/model/workbook.hpp"
#include "engine/xls/compound_file.hpp"
#include "engine/xls/record_types.hpp"
#include "engine/xls/workbook_file.hpp"

namespace engine::xls {
namespace {

namespace f = engine::formula;
namespace m = engine::model;

// A1:A3 = 1, 2, 3; C1:C3 {=A1:A3*{10;20;30}}; E1:G1 {=TRANSPOSE(A1:A3)};
// A5 {=SUM(IF(A1:A3>1,A1:A3))}; B5 = C3+1 reads the array.
std::unique_ptr<m::Workbook> book_with_arrays() {
  auto book = std::make_unique<m::Workbook>("Matrices.xls");
  auto& sheet = book->add_sheet("Feuil1");
  for (int row = 0; row < 3; ++row) sheet.set_value(row, 0, f::Value(row + 1.0));
  sheet.set_array_formula({0, 2, 2, 2}, "=A1:A3*{10;20;30}");
  sheet.set_array_formula({0, 4, 0, 6}, "=TRANSPOSE(A1:A3)");
  sheet.set_array_formula(m::CellRange::cell(4, 0), "=SUM(IF(A1:A3>1,A1:A3))");
  sheet.set_array_formula({6, 0, 7, 1}, "=IF({1;0},\"oui\",\"non\")");
  sheet.set_formula(4, 1, "=C3+1");
  return book;
}

TEST(ArrayFormulaFiles, RoundTripKeepsEachArrayWithItsValues) {
  const auto original = book_with_arrays();
  const auto book = load_workbook(save_workbook(*original), "Matrices.xls");
  const auto& before = original->sheet(0);
  const auto& after = book->sheet(0);
  EXPECT_EQ(after.arrays().all(), before.arrays().all());
  before.for_each_cell(*before.used_range(), [&](int row, int column, const m::Cell&) {
    EXPECT_EQ(after.value(row, column), before.value(row, column)) << row << "," << column;
    EXPECT_EQ(after.formula_text(row, column), before.formula_text(row, column)) << row << "," << column;
  });
  EXPECT_EQ(after.value(2, 2), f::Value(90.0));
  EXPECT_EQ(after.value(7, 1), f::Value("non"));
  // Still live: a change recomputes each array once and what reads it.
  book->sheet(0).set_value(2, 0, f::Value(4.0));
  EXPECT_EQ(after.value(2, 2), f::Value(120.0));
  EXPECT_EQ(after.value(0, 6), f::Value(4.0));
  EXPECT_EQ(after.value(4, 0), f::Value(6.0));
  EXPECT_EQ(after.value(4, 1), f::Value(121.0));
}

// The Workbook stream of `file` with the range of its first ARRAY record
// given another last row.
Bytes with_array_last_row(const Bytes& file, std::uint16_t last_row) {
  CompoundFileReader reader(file);
  std::vector<Stream> streams;
  for (const auto& name : reader.stream_names()) streams.push_back({name, *reader.read_stream(name)});
  for (auto& stream : streams) {
    if (stream.name != "Workbook") continue;
    Bytes& data = stream.data;
    for (std::size_t at = 0; at + 4 <= data.size();) {
      const unsigned type = data[at] | data[at + 1] << 8;
      const std::size_t size = data[at + 2] | data[at + 3] << 8;
      if (type == rt::Array) {
        data[at + 6] = static_cast<std::uint8_t>(last_row & 0xFF);
        data[at + 7] = static_cast<std::uint8_t>(last_row >> 8);
        return write_compound_file(streams);
      }
      at += 4 + size;
    }
  }
  ADD_FAILURE() << "no ARRAY record";
  return file;
}

TEST(ArrayFormulaFiles, ARangeThatDoesNotMatchItsCellsLeavesTheCachedValues) {
  const Bytes file = save_workbook(*book_with_arrays());
  // C1:C3 claims to reach row 60000, whose cells are not in the file, or to
  // end at C2, which leaves C3 pointing at an array that does not hold it.
  for (const std::uint16_t last_row : {std::uint16_t{59999}, std::uint16_t{1}}) {
    import::LoadReport report;
    const auto book = load_workbook(with_array_last_row(file, last_row), "Abime.xls", &report);
    const auto& sheet = book->sheet(0);
    EXPECT_FALSE(sheet.array_at(0, 2).has_value());
    EXPECT_EQ(sheet.value(1, 2), f::Value(40.0));
    EXPECT_EQ(sheet.cell_count(), book_with_arrays()->sheet(0).cell_count());
    ASSERT_FALSE(report.notes().empty());
    EXPECT_EQ(report.notes().front().what, "array formula");
    // The other arrays are whole.
    EXPECT_EQ(sheet.array_at(0, 5), (m::CellRange{0, 4, 0, 6}));
  }
}

}  // namespace
}  // namespace engine::xls
