// Grouping, ShowDetail in both summary directions, ShowLevels, CurrentRegion.
#include <gtest/gtest.h>

#include "engine/model/workbook.hpp"
#include "platform/com/error.hpp"

namespace engine::model {
namespace {

class OutlineTest : public ::testing::Test {
 protected:
  Workbook book{"Thor International.xls"};
  Worksheet& sheet = book.add_sheet("Trimestre 1");

  // 0-based rows: Excel's row n is n - 1.
  int level(int excel_row) const { return sheet.rows().level(excel_row - 1); }
  bool hidden(int excel_row) const { return sheet.rows().hidden(excel_row - 1); }
};

TEST_F(OutlineTest, CollapsingASummaryBelowHidesItsDetailOnly) {
  sheet.group_rows(3, 5);  // Excel rows 4 to 6
  EXPECT_EQ(level(3), 1);
  EXPECT_EQ(level(4), 2);
  EXPECT_EQ(level(6), 2);
  EXPECT_EQ(level(7), 1);
  EXPECT_TRUE(sheet.row_show_detail(6));  // row 7 summarises rows 4-6

  sheet.set_row_show_detail(6, false);
  EXPECT_FALSE(sheet.row_show_detail(6));
  EXPECT_TRUE(hidden(4) && hidden(5) && hidden(6));
  EXPECT_FALSE(hidden(3) || hidden(7));
  EXPECT_TRUE(sheet.rows().at(6).collapsed);

  sheet.set_row_show_detail(6, true);
  EXPECT_FALSE(hidden(4) || hidden(5) || hidden(6));
  EXPECT_FALSE(sheet.rows().at(6).collapsed);
}

TEST_F(OutlineTest, SummaryAboveLooksBelowTheSummaryRow) {
  sheet.set_summary_row(SummaryPosition::Above);
  sheet.group_rows(3, 5);
  EXPECT_TRUE(sheet.row_show_detail(2));  // row 3 now summarises rows 4-6
  sheet.set_row_show_detail(2, false);
  EXPECT_TRUE(hidden(4) && hidden(6));
  EXPECT_FALSE(hidden(7));
  // Row 7 is no summary row in this direction.
  EXPECT_THROW(sheet.row_show_detail(6), platform::com::Error);
}

TEST_F(OutlineTest, ShowDetailOfARowOutsideAnyGroupIsRefused) {
  sheet.group_rows(3, 5);
  try {
    sheet.row_show_detail(1);
    FAIL();
  } catch (const platform::com::Error& e) {
    EXPECT_EQ(e.number(), platform::com::err::ApplicationDefined);
  }
}

TEST_F(OutlineTest, ExpandingKeepsCollapsedNestedGroupsFolded) {
  sheet.group_rows(1, 8);  // rows 2-9, summary row 10
  sheet.group_rows(2, 4);  // rows 3-5, summary row 6
  EXPECT_EQ(level(3), 3);
  sheet.set_row_show_detail(5, false);  // fold rows 3-5
  sheet.set_row_show_detail(9, false);  // fold everything
  EXPECT_TRUE(hidden(2) && hidden(6) && hidden(9));
  sheet.set_row_show_detail(9, true);
  EXPECT_FALSE(hidden(2) || hidden(6) || hidden(9));
  EXPECT_TRUE(hidden(3) && hidden(5));
}

TEST_F(OutlineTest, ShowLevelsHidesDeeperLevelsAndMarksCollapsedSummaries) {
  sheet.group_rows(1, 8);
  sheet.group_rows(2, 4);
  sheet.show_levels(2, 0);
  EXPECT_FALSE(hidden(2) || hidden(6));
  EXPECT_TRUE(hidden(3) && hidden(4) && hidden(5));
  EXPECT_TRUE(sheet.rows().at(5).collapsed);
  EXPECT_FALSE(sheet.rows().at(9).collapsed);
  sheet.show_levels(1, 0);
  EXPECT_TRUE(hidden(2) && hidden(9));
  EXPECT_FALSE(hidden(10));
  sheet.show_levels(3, 0);
  EXPECT_FALSE(hidden(3) || hidden(9));
}

TEST_F(OutlineTest, GroupingStopsAtEightLevelsWithoutChangingAnything) {
  for (int i = 0; i < 7; ++i) sheet.group_rows(3, 5);
  EXPECT_EQ(level(4), 8);
  EXPECT_THROW(sheet.group_rows(2, 5), platform::com::Error);
  EXPECT_EQ(level(3), 1);
  sheet.ungroup_rows(3, 5);
  EXPECT_EQ(level(4), 7);
  sheet.clear_outline();
  EXPECT_EQ(level(4), 1);
  EXPECT_THROW(sheet.ungroup_rows(3, 5), platform::com::Error);
}

TEST_F(OutlineTest, CurrentRegionIsBoundedByEmptyRowsAndColumns) {
  // A3:D7 table, a lone cell F1 touching nothing, a note-only cell ignored.
  for (int row = 2; row <= 6; ++row) {
    for (int column = 0; column <= 3; ++column) {
      if (row == 2 && column == 0) continue;  // A3 empty: B3 reaches it diagonally
      sheet.enter(row, column, "1");
    }
  }
  sheet.enter(0, 5, "x");
  EXPECT_EQ(sheet.current_region(3, 0), (CellRange{2, 0, 6, 3}));
  EXPECT_EQ(sheet.current_region(2, 0), (CellRange{2, 0, 6, 3}));
  EXPECT_EQ(sheet.current_region(0, 5), CellRange::cell(0, 5));
  EXPECT_EQ(sheet.current_region(20, 20), CellRange::cell(20, 20));
  // A cell diagonally touching the corner joins the region.
  sheet.enter(7, 4, "y");
  EXPECT_EQ(sheet.current_region(3, 0), (CellRange{2, 0, 7, 4}));
}

}  // namespace
}  // namespace engine::model
