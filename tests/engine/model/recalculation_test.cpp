// Computed values: the chapter's table, dependents-only recalculation, cycles.
#include <gtest/gtest.h>

#include "engine/model/workbook.hpp"
#include "tests/platform/com/raised.hpp"

namespace engine::model {
namespace {

using formula::Value;

// Sheet "Trimestre 1" of the chapter, typed cell by cell as a trainee would.
class ChapterTable : public ::testing::Test {
 protected:
  ChapterTable() {
    const char* typed[][4] = {{"", "'01", "'02", "'03"},
                              {"España", " ", "118", "125"},
                              {"France.", "125", "100", "150"},
                              {"UK", "135", "97", "110"},
                              {"Total", "=SUM(B4:B6)", "=SUM(C4:C6)", "=SUM(D4:D6)"}};
    for (int r = 0; r < 5; ++r) {
      for (int c = 0; c < 4; ++c) {
        if (*typed[r][c] != '\0') sheet.enter(r + 2, c, typed[r][c]);
      }
    }
  }
  Workbook book{"Thor International.xls"};
  Worksheet& sheet = book.add_sheet("Trimestre 1");
};

TEST_F(ChapterTable, HoldsTheValuesTheChecksRead) {
  EXPECT_EQ(sheet.value(2, 1), Value("01"));
  EXPECT_EQ(sheet.value(3, 1), Value(" "));
  EXPECT_EQ(sheet.value(6, 1), Value(260.0));
  EXPECT_EQ(sheet.value(6, 2), Value(315.0));
  EXPECT_EQ(sheet.value(6, 3), Value(385.0));
}

TEST_F(ChapterTable, AveragesOfTheChapter) {
  sheet.enter(1, 0, "=AVERAGE(B4:D4,B6:D6)");
  EXPECT_EQ(sheet.value(1, 0), Value(117.0));
  EXPECT_EQ(sheet.formula_text(1, 0), "=AVERAGE(B4:D4,B6:D6)");
  sheet.enter(1, 0, "+AVERAGE(B4:D6)");
  EXPECT_EQ(sheet.formula_text(1, 0), "=+AVERAGE(B4:D6)");
  EXPECT_EQ(sheet.value(1, 0), Value(120.0));
  sheet.enter(1, 0, "=IF(B7>0,AVERAGE(B4:D4,B6:D6),\"\")");
  EXPECT_EQ(sheet.value(1, 0), Value(117.0));
}

TEST_F(ChapterTable, AChangeRecomputesItsDependentsAndNothingElse) {
  sheet.enter(1, 0, "=AVERAGE(B4:D4,B6:D6)");
  sheet.enter(10, 0, "=E20*2");  // unrelated
  const auto before = book.evaluation_count();
  sheet.enter(3, 2, "119");  // C4
  // C7 (the column sum) and A2 (the average) only.
  EXPECT_EQ(book.evaluation_count() - before, 2u);
  EXPECT_EQ(sheet.value(6, 2), Value(316.0));
  EXPECT_NEAR(sheet.value(1, 0).number(), 117.2, 1e-12);

  const auto after = book.evaluation_count();
  sheet.enter(0, 7, "5");  // H1: read by nothing
  EXPECT_EQ(book.evaluation_count(), after);
}

TEST(Recalculation, ChainsUpdateInOrderAndClearingFeedsZero) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  sheet.enter(0, 0, "1");
  sheet.enter(0, 1, "=A1+1");
  sheet.enter(0, 2, "=B1*10");
  sheet.enter(0, 0, "4");
  EXPECT_EQ(sheet.value(0, 2), Value(50.0));
  sheet.clear_contents(CellRange::cell(0, 0));
  EXPECT_EQ(sheet.value(0, 2), Value(10.0));
  // Replacing a formula by a constant stops it from following its old precedents.
  sheet.enter(0, 1, "7");
  sheet.enter(0, 0, "100");
  EXPECT_EQ(sheet.value(0, 1), Value(7.0));
  EXPECT_EQ(sheet.value(0, 2), Value(70.0));
}

TEST(Recalculation, CyclesAreLeftAtZeroWithoutHanging) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  sheet.enter(0, 0, "=B1+1");
  sheet.enter(0, 1, "=A1+1");
  EXPECT_FALSE(book.cyclic_cells().empty());
  EXPECT_TRUE(sheet.value(0, 0).is_number());
  EXPECT_TRUE(sheet.value(0, 1).is_number());
}

TEST(Recalculation, ManyCellsStaySparseAndCurrent) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  constexpr int kRows = 60000;
  for (int row = 0; row < kRows; ++row) sheet.set_value(row, 0, Value(1.0));
  sheet.enter(0, 1, "=SUM(A:A)");
  EXPECT_EQ(sheet.value(0, 1), Value(static_cast<double>(kRows)));
  sheet.set_value(kRows - 1, 0, Value(2.0));
  EXPECT_EQ(sheet.value(0, 1), Value(static_cast<double>(kRows + 1)));
  EXPECT_EQ(sheet.cell_count(), static_cast<std::size_t>(kRows + 1));
}

// A file's cells arrive in any order: formulas before what they read, names
// before the cells they name. The load computes each formula once, at the
// end, and leaves the workbook as live as one typed cell by cell.
TEST(BulkLoad, ComputesEachFormulaOnceAtTheEndAndStaysLive) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  book.begin_bulk_load();
  sheet.set_formula(0, 2, formula::parse("=B1*10"));  // C1 reads B1, which reads A1: both still to come
  sheet.set_formula(0, 1, "=A1+Total");
  book.add_name("Total", "=Feuil1!$A$2");
  sheet.set_value(0, 0, Value(1.0));
  sheet.set_value(1, 0, Value(5.0));
  EXPECT_EQ(book.evaluation_count(), 0u);
  book.end_bulk_load();
  EXPECT_EQ(book.evaluation_count(), 2u);
  EXPECT_EQ(sheet.value(0, 1), Value(6.0));
  EXPECT_EQ(sheet.value(0, 2), Value(60.0));

  sheet.set_value(1, 0, Value(7.0));
  EXPECT_EQ(sheet.value(0, 2), Value(80.0));
  sheet.clear_contents(CellRange::cell(0, 1));
  EXPECT_EQ(sheet.value(0, 2), Value(0.0));
}

TEST(BulkLoad, CyclesEndAtZeroAsTypedOnes) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  book.begin_bulk_load();
  sheet.set_formula(0, 0, formula::parse("=B1+1"));
  sheet.set_formula(0, 1, formula::parse("=A1+1"));
  book.end_bulk_load();
  EXPECT_EQ(book.cyclic_cells().size(), 2u);
  EXPECT_EQ(sheet.value(0, 0), Value(0.0));
}

TEST(ParsedFormula, IsStoredAsTheSameTreeAndRefusedWhenMissing) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  const auto parsed = formula::parse("=SUM( A2:A3 )");
  sheet.set_formula(0, 0, parsed);
  EXPECT_EQ(sheet.find_cell(0, 0)->formula, parsed);
  EXPECT_EQ(sheet.formula_text(0, 0), "=SUM( A2:A3 )");
  EXPECT_EQ(platform::com::testing_support::raised(
                [&] { sheet.set_formula(1, 0, std::shared_ptr<const formula::Formula>()); }),
            platform::com::err::InvalidCall);
  EXPECT_EQ(sheet.find_cell(1, 0), nullptr);
}

}  // namespace
}  // namespace engine::model
