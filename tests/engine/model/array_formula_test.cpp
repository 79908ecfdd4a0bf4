// Array formulas on a sheet: one formula over a range, computed as one and
// recomputed when what it reads changes; no edit may change part of it.
#include <gtest/gtest.h>

#include "engine/model/workbook.hpp"
#include "tests/platform/com/raised.hpp"

namespace engine::model {
namespace {

using formula::CellError;
using formula::Value;
using platform::com::testing_support::raised;

const std::string kPartOfArray = "1004 You cannot change part of an array.";

// "number description" of the error `f` raises; empty when it raises none.
template <class F>
std::string refusal(F&& f) {
  try {
    f();
  } catch (const platform::com::Error& e) {
    return std::to_string(e.number()) + " " + e.description();
  }
  return {};
}

// A1:A3 = 1, 2, 3 and B1:B3 = 10, 20, 30.
class ArraySheet : public ::testing::Test {
 protected:
  ArraySheet() {
    for (int row = 0; row < 3; ++row) {
      sheet.enter(row, 0, std::to_string(row + 1));
      sheet.enter(row, 1, std::to_string((row + 1) * 10));
    }
  }
  Workbook book{"Classeur1"};
  Worksheet& sheet = book.add_sheet("Feuil1");
};

TEST_F(ArraySheet, EachCellShowsItsElementAndTheAnchorHoldsTheFormula) {
  sheet.set_array_formula({0, 2, 2, 2}, "=A1:A3*B1:B3");  // C1:C3
  EXPECT_EQ(sheet.value(0, 2), Value(10.0));
  EXPECT_EQ(sheet.value(1, 2), Value(40.0));
  EXPECT_EQ(sheet.value(2, 2), Value(90.0));
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(sheet.formula_text(row, 2), "=A1:A3*B1:B3");
    EXPECT_EQ(sheet.array_at(row, 2), (CellRange{0, 2, 2, 2}));
  }
  EXPECT_FALSE(sheet.array_at(3, 2).has_value());
  sheet.set_array_formula(CellRange::cell(4, 0), "=SUM(A1:A3*B1:B3)");
  EXPECT_EQ(sheet.value(4, 0), Value(140.0));
  // Beyond a result smaller than the range, #N/A.
  sheet.set_array_formula({0, 4, 3, 4}, "=TRANSPOSE({1,2,3})");
  EXPECT_EQ(sheet.value(3, 4), Value(CellError::NA));
  EXPECT_EQ(sheet.value(2, 4), Value(3.0));
}

TEST_F(ArraySheet, RecomputesWhenAnInputChangesAndFeedsItsReaders) {
  sheet.set_array_formula({0, 2, 2, 2}, "=A1:A3*B1:B3");
  sheet.enter(0, 3, "=C3+1");  // D1 reads the array's last cell
  sheet.enter(4, 0, "=SUM(C1:C3)");
  sheet.enter(2, 0, "5");  // A3
  EXPECT_EQ(sheet.value(2, 2), Value(150.0));
  EXPECT_EQ(sheet.value(0, 3), Value(151.0));
  EXPECT_EQ(sheet.value(4, 0), Value(200.0));
  // Computed once, not once per cell.
  const auto before = book.evaluation_count();
  sheet.enter(0, 1, "11");
  EXPECT_EQ(sheet.value(0, 2), Value(11.0));
  EXPECT_EQ(book.evaluation_count() - before, 3u);  // the array, D1 and A5
}

TEST_F(ArraySheet, PartialEditsAreRefusedAndWholeOnesWork) {
  sheet.set_array_formula({0, 2, 2, 2}, "=A1:A3*2");
  EXPECT_EQ(refusal([&] { sheet.enter(1, 2, "7"); }), kPartOfArray);
  EXPECT_EQ(refusal([&] { sheet.set_value(2, 2, Value(1.0)); }), kPartOfArray);
  EXPECT_EQ(refusal([&] { sheet.set_formula(0, 2, "=1"); }), kPartOfArray);
  EXPECT_EQ(refusal([&] { sheet.clear_contents({1, 2, 5, 2}); }), kPartOfArray);
  EXPECT_EQ(refusal([&] { sheet.set_array_formula({0, 2, 1, 2}, "=1"); }), kPartOfArray);
  EXPECT_EQ(refusal([&] { sheet.delete_rows(1, 1); }), kPartOfArray);
  EXPECT_EQ(refusal([&] { sheet.insert_rows(2, 1); }), kPartOfArray);
  EXPECT_EQ(refusal([&] { sheet.insert_cells({1, 2, 1, 3}, true); }), kPartOfArray);
  EXPECT_EQ(refusal([&] { sheet.delete_cells({0, 1, 0, 1}, false); }), kPartOfArray);  // shifts C1 alone left
  // Nothing changed.
  EXPECT_EQ(sheet.value(1, 2), Value(4.0));
  EXPECT_EQ(sheet.array_at(1, 2), (CellRange{0, 2, 2, 2}));

  // Replacing the whole array by a larger one, then clearing it all.
  sheet.set_array_formula({0, 2, 3, 2}, "=ROW(A1:A4)");
  EXPECT_EQ(sheet.value(3, 2), Value(4.0));
  sheet.clear_contents({0, 2, 3, 2});
  EXPECT_FALSE(sheet.array_at(0, 2).has_value());
  EXPECT_EQ(sheet.find_cell(0, 2), nullptr);
  sheet.enter(1, 2, "7");
  EXPECT_EQ(sheet.value(1, 2), Value(7.0));

  // A single-cell array is edited like any cell.
  sheet.set_array_formula(CellRange::cell(5, 0), "=SUM(A1:A3)");
  sheet.enter(5, 0, "3");
  EXPECT_FALSE(sheet.array_at(5, 0).has_value());
  EXPECT_EQ(sheet.value(5, 0), Value(3.0));
}

TEST_F(ArraySheet, MovesWithInsertedAndDeletedLines) {
  sheet.set_array_formula({0, 2, 2, 2}, "=A1:A3*2");
  sheet.insert_rows(0, 2);
  EXPECT_EQ(sheet.array_at(4, 2), (CellRange{2, 2, 4, 2}));
  EXPECT_EQ(sheet.formula_text(4, 2), "=A3:A5*2");
  sheet.enter(4, 0, "10");
  EXPECT_EQ(sheet.value(4, 2), Value(20.0));
  sheet.insert_columns(0, 1);
  EXPECT_EQ(sheet.array_at(2, 3), (CellRange{2, 3, 4, 3}));
  sheet.delete_rows(2, 3);  // the whole array goes
  EXPECT_TRUE(sheet.arrays().empty());
}

TEST_F(ArraySheet, RefusedRanges) {
  sheet.merge({5, 0, 5, 1});
  EXPECT_EQ(refusal([&] { sheet.set_array_formula({4, 0, 6, 0}, "=1"); }),
            "1004 Array formulas are not valid in merged cells.");
  EXPECT_EQ(refusal([&] { sheet.set_array_formula(CellRange::columns(0, 4), "=1"); }),
            "1004 The array formula covers too many cells");
  EXPECT_EQ(raised([&] { sheet.set_array_formula({0, 4, 1, 4}, "=SUM("); }), 1004);
  EXPECT_TRUE(sheet.arrays().empty());
  sheet.protect();
  EXPECT_EQ(raised([&] { sheet.set_array_formula({0, 4, 1, 4}, "=1"); }), 1004);
}

}  // namespace
}  // namespace engine::model
