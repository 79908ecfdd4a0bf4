// Automatic subtotals of a list (Range.Subtotal and RemoveSubtotal): a total
// row under each group of equal values, a grand total, and the outline that
// folds them, with the labels of the French user interface the course's
// trainees see ("Total España", "Total général").
#pragma once

#include <vector>

#include "engine/model/cell_range.hpp"
#include "engine/model/constants.hpp"
#include "engine/model/worksheet.hpp"

namespace engine::model {

inline constexpr const char* kSubtotalPrefix = "Total ";
inline constexpr const char* kGrandTotalLabel = "Total général";

struct SubtotalOptions {
  int group_by = 1;  // 1-based field of the list, as Range.Subtotal counts
  int function = xl::Sum;
  std::vector<int> total_list;  // 1-based fields to total
  bool replace = true;          // remove earlier subtotals first
};

// `list` is the list with its header row, or one cell of it (its current
// region is taken). Returns the list as it stands afterwards. Raises 1004 for
// a list without data rows, fields outside it or an unknown function.
CellRange subtotal(Worksheet& sheet, const CellRange& list, const SubtotalOptions& options);

// Deletes the rows holding SUBTOTAL formulas and the list's row outline.
// Returns the list as it stands afterwards.
CellRange remove_subtotal(Worksheet& sheet, const CellRange& list);

// SUBTOTAL's function number for a Range.Subtotal function constant.
int subtotal_function_number(int function);

}  // namespace engine::model
