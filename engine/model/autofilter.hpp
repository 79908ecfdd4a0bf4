// A sheet's AutoFilter (Data, Filter, AutoFilter): one list per sheet, its
// header row first, and the criteria of the columns that filter it. The data
// rows whose entry fails a column's criteria are hidden as filtered
// (LineInfo::filtered), apart from the rows hidden by hand.
//
// Criteria are Excel's texts: ">10", "=Paris", "=*abc*" (wildcards * ? ~,
// letter case ignored), "=" (blanks), "<>" (non-blanks); with a top or
// bottom operator, Criteria1 is the count of items or the percent.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/model/cell_range.hpp"

namespace engine::model {

class Worksheet;

// Excel's XlAutoFilterOperator values.
enum class FilterOperator {
  And = 1,
  Or = 2,
  TopItems = 3,
  BottomItems = 4,
  TopPercent = 5,
  BottomPercent = 6,
};

bool is_top_or_bottom(FilterOperator op);

// The criteria of one column of the list.
struct ColumnFilter {
  int column = 0;  // the sheet's column
  std::string criteria1;
  std::optional<std::string> criteria2;
  FilterOperator op = FilterOperator::And;

  friend bool operator==(const ColumnFilter&, const ColumnFilter&) = default;
};

struct AutoFilter {
  // The header row and the data rows below it.
  CellRange range;
  // At most one per column, in column order.
  std::vector<ColumnFilter> columns;

  const ColumnFilter* find(int column) const;
  // Whether some column filters the list (Worksheet.FilterMode).
  bool filtering() const { return !columns.empty(); }
  int first_data_row() const { return range.first_row + 1; }

  friend bool operator==(const AutoFilter&, const AutoFilter&) = default;
};

// Raises 1004 for criteria Excel refuses: over 255 characters, a top or
// bottom count that is not a whole number from 1 to 500 (items) or 100
// (percent), a second criterion with a top or bottom operator, an operator
// outside 1-6.
void check_column_filter(const ColumnFilter& filter);

// For each data row of the list, first to last, whether its entries pass
// every column's criteria.
std::vector<bool> rows_passing(const AutoFilter& filter, const Worksheet& sheet);

}  // namespace engine::model
