#include "engine/model/subtotal.hpp"

#include <string>

#include "engine/formula/reference.hpp"
#include "engine/model/text.hpp"
#include "platform/com/error.hpp"

namespace engine::model {

namespace {

[[noreturn]] void refuse(const char* description) {
  platform::com::raise(platform::com::err::ApplicationDefined, "Range", description);
}

CellRange list_of(const Worksheet& sheet, const CellRange& given) {
  check_range(given);
  if (given.row_count() == 1 && given.column_count() == 1) {
    return sheet.current_region(given.first_row, given.first_column);
  }
  return given;
}

bool row_holds_subtotal(const Worksheet& sheet, int row, const CellRange& list) {
  bool found = false;
  sheet.for_each_cell({row, list.first_column, row, list.last_column}, [&](int, int, const Cell& cell) {
    found = found || (cell.formula && formula::calls_subtotal(*cell.formula));
  });
  return found;
}

std::string group_key(const formula::Value& value) {
  if (value.is_error()) return std::string(formula::error_text(value.error()));
  return lower(formula::value_to_text(value));
}

std::string label_of(const formula::Value& value) {
  if (value.is_error()) return std::string(formula::error_text(value.error()));
  return formula::value_to_text(value);
}

// "=SUBTOTAL(9,C4:C6)" over rows [first, last] of a column.
std::string subtotal_formula(int function_number, int column, int first, int last) {
  const std::string name = formula::column_name(column);
  return "=SUBTOTAL(" + std::to_string(function_number) + "," + name + std::to_string(first + 1) + ":" + name +
         std::to_string(last + 1) + ")";
}

struct Group {
  int first;
  int last;
  formula::Value value;
};

std::vector<Group> groups_of(const Worksheet& sheet, const CellRange& list, int column) {
  std::vector<Group> groups;
  for (int row = list.first_row + 1; row <= list.last_row; ++row) {
    const formula::Value value = sheet.value(row, column);
    if (groups.empty() || group_key(groups.back().value) != group_key(value)) {
      groups.push_back(Group{row, row, value});
    } else {
      groups.back().last = row;
    }
  }
  return groups;
}

void write_total_row(Worksheet& sheet, int row, int label_column, const std::string& label, int function_number,
                     const std::vector<int>& columns, int first, int last) {
  sheet.set_value(row, label_column, formula::Value(label));
  for (int column : columns) sheet.set_formula(row, column, subtotal_formula(function_number, column, first, last));
}

}  // namespace

int subtotal_function_number(int function) {
  switch (function) {
    case xl::Average: return 1;
    case xl::CountNums: return 2;
    case xl::Count: return 3;
    case xl::Max: return 4;
    case xl::Min: return 5;
    case xl::Product: return 6;
    case xl::StDev: return 7;
    case xl::StDevP: return 8;
    case xl::Sum: return 9;
    case xl::Var: return 10;
    case xl::VarP: return 11;
    default: refuse("Unknown subtotal function");
  }
}

CellRange remove_subtotal(Worksheet& sheet, const CellRange& given) {
  CellRange list = list_of(sheet, given);
  for (int row = list.last_row; row > list.first_row; --row) {
    if (!row_holds_subtotal(sheet, row, list)) continue;
    sheet.delete_rows(row, 1);
    --list.last_row;
  }
  sheet.clear_row_outline(list.first_row, list.last_row);
  return list;
}

CellRange subtotal(Worksheet& sheet, const CellRange& given, const SubtotalOptions& options) {
  const int function_number = subtotal_function_number(options.function);
  CellRange list = list_of(sheet, given);
  const auto field_ok = [&](int field) { return field >= 1 && field <= list.column_count(); };
  if (!field_ok(options.group_by) || options.total_list.empty()) refuse("Invalid subtotal fields");
  std::vector<int> columns;
  for (int field : options.total_list) {
    if (!field_ok(field)) refuse("Invalid subtotal fields");
    columns.push_back(list.first_column + field - 1);
  }
  if (options.replace) list = remove_subtotal(sheet, list);
  if (list.row_count() < 2) refuse("The list has no data rows");
  const int label_column = list.first_column + options.group_by - 1;

  const std::vector<Group> groups = groups_of(sheet, list, label_column);
  const int data_first = list.first_row + 1;
  // Checked before the first insertion, so a list too near the bottom of the
  // sheet is refused whole rather than left half subtotalled.
  if (list.last_row + static_cast<int>(groups.size()) + 1 >= kMaxRows) refuse("The list is too close to the last row");
  // From the bottom up, so the rows above keep their numbers.
  for (auto group = groups.rbegin(); group != groups.rend(); ++group) sheet.insert_rows(group->last + 1, 1);
  int row = data_first;
  std::vector<std::pair<int, int>> detail;
  for (const auto& group : groups) {
    const int first = row;
    const int last = row + (group.last - group.first);
    write_total_row(sheet, last + 1, label_column, kSubtotalPrefix + label_of(group.value), function_number, columns,
                    first, last);
    detail.emplace_back(first, last);
    row = last + 2;
  }
  const int grand = row;
  sheet.insert_rows(grand, 1);
  write_total_row(sheet, grand, label_column, kGrandTotalLabel, function_number, columns, data_first, grand - 1);

  sheet.set_summary_row(SummaryPosition::Below);
  sheet.group_rows(data_first, grand - 1);
  for (const auto& [first, last] : detail) sheet.group_rows(first, last);
  list.last_row = grand;
  return list;
}

}  // namespace engine::model
