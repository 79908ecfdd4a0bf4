// Inserting and deleting rows, Subtotal and RemoveSubtotal.
#include <gtest/gtest.h>

#include "engine/model/subtotal.hpp"
#include "engine/model/workbook.hpp"
#include "platform/com/error.hpp"

namespace engine::model {
namespace {

using formula::Value;

class StructureTest : public ::testing::Test {
 protected:
  Workbook book{"Classeur1"};
  Worksheet& sheet = book.add_sheet("Feuil1");
  Worksheet& other = book.add_sheet("Feuil2");
};

TEST_F(StructureTest, InsertingRowsMovesEverythingThatPointsBelow) {
  for (int row = 0; row < 4; ++row) sheet.enter(row, 0, std::to_string(row + 1));  // A1:A4 = 1..4
  sheet.enter(5, 0, "=SUM(A1:A4)");
  other.enter(0, 0, "=Feuil1!A4");
  book.add_name("Zone", "=Feuil1!$A$2:$A$4");
  sheet.set_note(3, 1, "note");
  sheet.merge({3, 2, 3, 3});
  sheet.group_rows(1, 3);

  sheet.insert_rows(2, 2);  // two rows before row 3

  EXPECT_EQ(sheet.value(5, 0), Value(4.0));
  EXPECT_EQ(sheet.formula_text(7, 0), "=SUM(A1:A6)");
  EXPECT_EQ(sheet.value(7, 0), Value(10.0));
  EXPECT_EQ(other.formula_text(0, 0), "=Feuil1!A6");
  EXPECT_EQ(book.find_name("Zone")->refers_to_text(), "=Feuil1!$A$2:$A$6");
  EXPECT_NE(sheet.note(5, 1), nullptr);
  EXPECT_EQ(sheet.note(3, 1), nullptr);
  EXPECT_EQ(sheet.merged_ranges().front(), (CellRange{5, 2, 5, 3}));
  EXPECT_EQ(sheet.rows().level(1), 2);
  EXPECT_EQ(sheet.rows().level(5), 2);
  EXPECT_EQ(sheet.rows().level(6), 1);

  // The new cells feed the moved formula.
  sheet.enter(2, 0, "100");
  EXPECT_EQ(sheet.value(7, 0), Value(110.0));
}

TEST_F(StructureTest, DeletingRowsShrinksOrBreaksWhatPointedIntoThem) {
  for (int row = 0; row < 4; ++row) sheet.enter(row, 0, std::to_string(row + 1));
  sheet.enter(5, 0, "=SUM(A1:A4)");
  sheet.enter(5, 1, "=A3*2");
  sheet.set_note(2, 1, "deleted with its row");
  sheet.set_note(4, 1, "moves up");
  sheet.merge({2, 2, 3, 2});

  sheet.delete_rows(2, 1);

  EXPECT_EQ(sheet.formula_text(4, 0), "=SUM(A1:A3)");
  EXPECT_EQ(sheet.value(4, 0), Value(7.0));
  EXPECT_EQ(sheet.value(4, 1), Value(formula::CellError::Ref));
  ASSERT_NE(sheet.note(3, 1), nullptr);
  EXPECT_EQ(sheet.note(3, 1)->text, "moves up");
  EXPECT_EQ(sheet.notes().size(), 1u);
  EXPECT_EQ(sheet.shapes().size(), 1u);
  EXPECT_TRUE(sheet.merged_ranges().empty());  // one cell is left of it
}

TEST_F(StructureTest, InsertingNeverPushesCellsOffTheSheet) {
  sheet.enter(kMaxRows - 1, 0, "last");
  sheet.enter(0, 0, "first");
  EXPECT_THROW(sheet.insert_rows(0, 1), platform::com::Error);
  EXPECT_EQ(sheet.value(0, 0), Value("first"));
  EXPECT_EQ(sheet.value(kMaxRows - 1, 0), Value("last"));
}

TEST_F(StructureTest, ColumnsMoveLikeRows) {
  sheet.enter(0, 0, "1");
  sheet.enter(0, 1, "2");
  sheet.enter(0, 3, "=A1+B1");
  sheet.insert_columns(1, 1);
  EXPECT_EQ(sheet.formula_text(0, 4), "=A1+C1");
  EXPECT_EQ(sheet.value(0, 4), Value(3.0));
  sheet.delete_columns(0, 1);
  EXPECT_EQ(sheet.value(0, 3), Value(formula::CellError::Ref));
}

// The list of question 608: countries with figures, subtotalled per country.
class SubtotalTest : public ::testing::Test {
 protected:
  SubtotalTest() {
    const char* rows[][3] = {{"Pays", "Mois", "Ventes"}, {"España", "01", "10"}, {"España", "02", "20"},
                             {"France", "01", "5"},      {"France", "02", "7"},  {"France", "03", "9"},
                             {"UK", "01", "1"}};
    for (int r = 0; r < 7; ++r) {
      for (int c = 0; c < 3; ++c) sheet.enter(r + 2, c, rows[r][c]);  // from row 3
    }
  }

  std::vector<std::string> column_a() const {
    std::vector<std::string> texts;
    for (int row = 0; row < 16; ++row) texts.push_back(formula::value_to_text(sheet.value(row, 0)));
    return texts;
  }

  Workbook book{"Thor International.xls"};
  Worksheet& sheet = book.add_sheet("Trimestre 1");
};

TEST_F(SubtotalTest, InsertsTotalsPerGroupAGrandTotalAndTheOutline) {
  const auto list = subtotal(sheet, CellRange::cell(2, 0), {1, xl::Sum, {3}, true});
  EXPECT_EQ(list, (CellRange{2, 0, 12, 2}));
  EXPECT_EQ(sheet.value(5, 0), Value("Total España"));
  EXPECT_EQ(sheet.formula_text(5, 2), "=SUBTOTAL(9,C4:C5)");
  EXPECT_EQ(sheet.value(5, 2), Value(30.0));
  EXPECT_EQ(sheet.value(9, 0), Value("Total France"));
  EXPECT_EQ(sheet.value(9, 2), Value(21.0));
  EXPECT_EQ(sheet.value(11, 0), Value("Total UK"));
  EXPECT_EQ(sheet.value(12, 0), Value("Total général"));
  EXPECT_EQ(sheet.value(12, 2), Value(52.0));  // nested SUBTOTALs are not counted twice

  EXPECT_EQ(sheet.rows().level(2), 1);   // header
  EXPECT_EQ(sheet.rows().level(3), 3);   // data
  EXPECT_EQ(sheet.rows().level(5), 2);   // group total
  EXPECT_EQ(sheet.rows().level(12), 1);  // grand total
  sheet.show_levels(2, 0);
  EXPECT_TRUE(sheet.rows().hidden(3));
  EXPECT_FALSE(sheet.rows().hidden(5));
}

TEST_F(SubtotalTest, RemoveSubtotalRestoresTheList) {
  const auto before = column_a();
  subtotal(sheet, CellRange::cell(4, 1), {1, xl::Sum, {3}, true});
  sheet.show_levels(1, 0);
  const auto list = remove_subtotal(sheet, CellRange::cell(2, 0));
  EXPECT_EQ(list, (CellRange{2, 0, 8, 2}));
  EXPECT_EQ(column_a(), before);
  EXPECT_EQ(sheet.value(8, 2), Value(1.0));
  for (int row = 0; row < 20; ++row) {
    EXPECT_EQ(sheet.rows().level(row), 1) << row;
    EXPECT_FALSE(sheet.rows().hidden(row)) << row;
  }
}

TEST_F(SubtotalTest, ReplacingSubtotalsDoesNotStackThem) {
  subtotal(sheet, CellRange::cell(2, 0), {1, xl::Sum, {3}, true});
  subtotal(sheet, CellRange::cell(2, 0), {1, xl::Max, {3}, true});
  EXPECT_EQ(sheet.formula_text(5, 2), "=SUBTOTAL(4,C4:C5)");
  EXPECT_EQ(sheet.value(12, 0), Value("Total général"));
  EXPECT_TRUE(sheet.value(13, 0).is_empty());
  EXPECT_EQ(sheet.rows().level(3), 3);
}

TEST_F(SubtotalTest, RefusesFieldsOutsideTheList) {
  EXPECT_THROW(subtotal(sheet, CellRange::cell(2, 0), {4, xl::Sum, {3}, true}), platform::com::Error);
  EXPECT_THROW(subtotal(sheet, CellRange::cell(2, 0), {1, 12345, {3}, true}), platform::com::Error);
  EXPECT_EQ(sheet.value(5, 0), Value("France"));
}

}  // namespace
}  // namespace engine::model

namespace engine::model {
namespace {

TEST(StructureEdits, MergedRangesStretchWhenRowsAreInsertedInside) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  sheet.merge({2, 0, 4, 1});
  sheet.insert_rows(3, 2);
  EXPECT_EQ(sheet.merged_ranges().front(), (CellRange{2, 0, 6, 1}));
  sheet.delete_rows(0, 3);  // its first row goes: it shrinks from the top
  EXPECT_EQ(sheet.merged_ranges().front(), (CellRange{0, 0, 3, 1}));
  EXPECT_THROW(sheet.merge({3, 1, 5, 2}), platform::com::Error);
}

TEST(StructureEdits, HiddenRowsRecordedInViewsFollowInsertedRows) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  sheet.set_rows_hidden(5, 5, true);
  book.add_custom_view("Vue", false, true);
  sheet.insert_rows(0, 2);
  sheet.set_rows_hidden(7, 7, false);
  book.show_custom_view("Vue");
  EXPECT_TRUE(sheet.rows().hidden(7));
  EXPECT_FALSE(sheet.rows().hidden(5));
}

TEST(StructureEdits, ProtectionRefusesStructureChangesAndKeepsEverything) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  sheet.enter(3, 0, "x");
  sheet.protect();
  EXPECT_THROW(sheet.insert_rows(0, 1), platform::com::Error);
  EXPECT_THROW(sheet.delete_rows(3, 1), platform::com::Error);
  EXPECT_EQ(sheet.value(3, 0), formula::Value("x"));
  sheet.unprotect();

  book.protect("pw");
  EXPECT_THROW(book.add_sheet("Feuil2"), platform::com::Error);
  EXPECT_THROW(book.rename_sheet(sheet.id(), "Autre"), platform::com::Error);
  EXPECT_EQ(book.sheet_count(), 1u);
  EXPECT_THROW(book.unprotect("PW"), platform::com::Error);
  book.unprotect("pw");
  book.add_sheet("Feuil2");
}

TEST(StructureEdits, ColumnOutlinesFoldLikeRowOutlines) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  sheet.group_columns(1, 3);  // B:D, summary column E
  sheet.set_column_show_detail(4, false);
  EXPECT_TRUE(sheet.columns().hidden(1) && sheet.columns().hidden(3));
  EXPECT_FALSE(sheet.column_show_detail(4));
  sheet.delete_columns(2, 1);  // the group shrinks to B:C, its summary moves to D
  EXPECT_EQ(sheet.columns().level(2), 2);
  EXPECT_EQ(sheet.columns().level(3), 1);
  EXPECT_FALSE(sheet.column_show_detail(3));
  sheet.set_column_show_detail(3, true);
  EXPECT_FALSE(sheet.columns().hidden(1) || sheet.columns().hidden(2));
}

}  // namespace
}  // namespace engine::model
