// A custom view (CustomViews.Add): the window settings of a workbook, and,
// when recorded with them, each sheet's hidden rows and columns and its print
// settings. Showing it restores what it recorded and nothing else.
#pragma once

#include <string>
#include <vector>

#include "engine/formula/context.hpp"
#include "engine/model/cell_range.hpp"
#include "engine/model/page_setup.hpp"

namespace engine::model {

struct SheetView {
  formula::SheetId sheet = 0;
  CellRange selection;
  std::pair<int, int> active_cell{0, 0};
  std::vector<int> hidden_rows;     // with row/column settings
  std::vector<int> hidden_columns;  // with row/column settings
  PageSetup page_setup;             // with print settings
};

struct CustomView {
  std::string name;
  bool print_settings = true;
  bool row_column_settings = true;
  int zoom = 100;
  int window_state = 0;
  formula::SheetId active_sheet = 0;
  std::vector<SheetView> sheets;
};

}  // namespace engine::model
