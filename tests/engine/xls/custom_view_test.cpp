// Custom views through a save and a load: showing a view of the loaded
// workbook restores what showing it before the save restored.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/model/constants.hpp"
#include "engine/xls/workbook_file.hpp"

namespace engine::xls {
namespace {

namespace m = engine::model;
namespace f = engine::formula;

// Sheet "détail" first, "Trimestre 1" active, as the course's workbooks are.
std::unique_ptr<m::Workbook> course_book() {
  auto book = std::make_unique<m::Workbook>("Thor International.xls");
  book->add_sheet("détail");
  auto& sheet = book->add_sheet("Trimestre 1");
  for (int row = 0; row < 12; ++row) sheet.set_value(row, 0, f::Value(static_cast<double>(row)));
  book->activate_sheet(sheet.id());
  return book;
}

void scramble(m::Workbook& book) {
  m::Worksheet& sheet = *book.find_sheet("Trimestre 1");
  book.window(book.active_window()).zoom = 100;
  sheet.set_rows_hidden(3, 4, true);
  sheet.set_rows_hidden(8, 9, false);
  m::PageSetup setup = sheet.page_setup();
  setup.orientation = m::xl::Landscape;
  setup.center_horizontally = false;
  sheet.set_page_setup(setup);
}

TEST(CustomViews, ShowingAViewAfterALoadRestoresZoomRowsAndPrintSettings) {
  auto book = course_book();
  m::Worksheet& sheet = *book->find_sheet("Trimestre 1");
  book->window(book->active_window()).zoom = 110;
  sheet.set_rows_hidden(8, 9, true);
  sheet.set_columns_hidden(2, 3, true);
  m::PageSetup setup = sheet.page_setup();
  setup.center_horizontally = true;
  setup.top_margin = 90;
  setup.center_header = "Trimestre";
  sheet.set_page_setup(setup);
  sheet.select(m::CellRange{1, 1, 4, 2}, 2, 1);
  book->add_custom_view("123");
  book->add_custom_view("Vue sans impression", false, true);
  book->add_custom_view("Vue sans lignes", true, false);

  const auto back = load_workbook(save_workbook(*book), book->name());
  ASSERT_EQ(back->custom_views().size(), 3u);
  EXPECT_TRUE(back->names().empty());  // the views' own names stay hidden
  scramble(*back);
  back->show_custom_view("123");
  const m::Worksheet& s = *back->find_sheet("Trimestre 1");
  EXPECT_EQ(back->window(back->active_window()).zoom, 110);
  EXPECT_EQ(back->active_sheet().id(), s.id());
  EXPECT_FALSE(s.rows().hidden(3));
  EXPECT_FALSE(s.rows().hidden(4));
  EXPECT_TRUE(s.rows().hidden(8));
  EXPECT_TRUE(s.rows().hidden(9));
  EXPECT_FALSE(s.rows().hidden(10));
  EXPECT_TRUE(s.columns().hidden(2));
  EXPECT_TRUE(s.columns().hidden(3));
  EXPECT_FALSE(s.columns().hidden(4));
  EXPECT_EQ(s.page_setup().orientation, m::xl::Portrait);
  EXPECT_TRUE(s.page_setup().center_horizontally);
  EXPECT_EQ(s.page_setup().top_margin, 90);
  EXPECT_EQ(s.page_setup().center_header, "Trimestre");
  EXPECT_EQ(s.selection(), (m::CellRange{1, 1, 4, 2}));
  EXPECT_EQ(s.active_cell(), (std::pair{2, 1}));
}

TEST(CustomViews, WhatAViewLeftOutIsLeftAloneAfterALoad) {
  auto book = course_book();
  book->window(book->active_window()).zoom = 110;
  book->find_sheet("Trimestre 1")->set_rows_hidden(8, 8, true);
  book->add_custom_view("Sans impression", false, true);
  book->add_custom_view("Sans lignes", true, false);
  const auto back = load_workbook(save_workbook(*book), book->name());

  scramble(*back);
  back->show_custom_view("sans impression");  // names match in any letter case
  const m::Worksheet& s = *back->find_sheet("Trimestre 1");
  EXPECT_EQ(s.page_setup().orientation, m::xl::Landscape);
  EXPECT_FALSE(s.rows().hidden(3));
  EXPECT_TRUE(s.rows().hidden(8));
  EXPECT_EQ(back->window(back->active_window()).zoom, 110);

  scramble(*back);
  back->show_custom_view("Sans lignes");
  EXPECT_EQ(s.page_setup().orientation, m::xl::Portrait);
  EXPECT_TRUE(s.rows().hidden(3));
  EXPECT_FALSE(back->find_custom_view("Sans lignes")->row_column_settings);
  EXPECT_FALSE(back->find_custom_view("Sans impression")->print_settings);
}

TEST(CustomViews, ManySeparateHiddenRowsAndAccentedNamesSurvive) {
  auto book = course_book();
  m::Worksheet& sheet = *book->find_sheet("Trimestre 1");
  for (int row = 0; row < 4000; row += 2) sheet.set_rows_hidden(row, row, true);
  book->add_custom_view("Été 2003 — vue complète");
  const auto back = load_workbook(save_workbook(*book), book->name());
  const m::CustomView* view = back->find_custom_view("été 2003 — vue complète");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->name, "Été 2003 — vue complète");
  const auto& sheets = view->sheets;
  const auto it = std::find_if(sheets.begin(), sheets.end(), [&](const m::SheetView& v) {
    return v.sheet == back->find_sheet("Trimestre 1")->id();
  });
  ASSERT_NE(it, sheets.end());
  EXPECT_EQ(it->hidden_rows.size(), 2000u);
  EXPECT_EQ(it->hidden_rows.back(), 3998);
}

}  // namespace
}  // namespace engine::xls
