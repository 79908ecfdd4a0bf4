// VLOOKUP, HLOOKUP, MATCH, INDEX.
#include "engine/formula/evaluator.hpp"
#include "engine/formula/functions.hpp"
#include "engine/formula/text.hpp"

namespace engine::formula {
namespace {

// The values of one row or column of a table, or of an array: only the
// non-empty ones with their 0-based position, in order, so that a lookup
// over A:A costs the cells that exist.
struct Entry {
  int position;
  Value value;
};

struct Table {
  std::optional<Area> area;  // a reference...
  std::optional<Array> array;  // ...or an array
  int rows() const { return area ? area->last_row - area->first_row + 1 : array->rows; }
  int columns() const { return area ? area->last_column - area->first_column + 1 : array->columns; }
};

Table table_argument(Arguments& args, std::size_t i) {
  Operand operand = args.operand(i);
  if (operand.is_array()) return Table{std::nullopt, operand.array()};
  if (operand.is_value() && operand.value().is_error()) fail_with(operand.value().error());
  if (!operand.is_reference() || operand.areas().size() != 1) fail_with(CellError::Value);
  return Table{operand.areas().front(), std::nullopt};
}

std::vector<Entry> line(const EvalContext& context, const Table& table, bool is_row, int index) {
  std::vector<Entry> entries;
  if (table.area) {
    const Area& a = *table.area;
    const Area part = is_row ? Area{a.sheet, a.first_row + index, a.first_column, a.first_row + index, a.last_column}
                             : Area{a.sheet, a.first_row, a.first_column + index, a.last_row, a.first_column + index};
    context.visit_cells(part, [&](int row, int column, const Value& v) {
      entries.push_back({is_row ? column - a.first_column : row - a.first_row, v});
    });
  } else {
    const int count = is_row ? table.columns() : table.rows();
    for (int k = 0; k < count; ++k) {
      const Value& v = is_row ? table.array->at(index, k) : table.array->at(k, index);
      if (!v.is_empty()) entries.push_back({k, v});
    }
  }
  return entries;
}

Value table_value(const EvalContext& context, const Table& table, int row, int column) {
  if (table.array) return table.array->at(row, column);
  return context.cell_value({table.area->sheet, table.area->first_row + row, table.area->first_column + column});
}

bool same_kind(const Value& a, const Value& b) {
  return (a.is_number() && b.is_number()) || (a.is_text() && b.is_text()) || (a.is_boolean() && b.is_boolean());
}

bool matches_exactly(const Value& wanted, const Value& candidate) {
  if (!same_kind(wanted, candidate)) return false;
  if (wanted.is_text() && has_wildcards(wanted.text())) return wildcard_match(wanted.text(), candidate.text());
  return compare_values(wanted, candidate) == 0;
}

// The position found, or nullopt. `order` 0 is an exact match; 1 the last
// value not above the one wanted in an ascending list; -1 the last value
// not below it in a descending list. Values of another kind are skipped.
std::optional<int> find(const std::vector<Entry>& entries, const Value& wanted, int order) {
  std::optional<int> found;
  for (const Entry& entry : entries) {
    if (order == 0) {
      if (matches_exactly(wanted, entry.value)) return entry.position;
      continue;
    }
    if (!same_kind(wanted, entry.value)) continue;
    const int c = compare_values(entry.value, wanted) * order;
    if (c > 0) break;
    found = entry.position;
    if (c == 0 && order < 0) break;
  }
  return found;
}

Value lookup_value(Arguments& args) {
  const Value wanted = args.scalar(0);
  if (wanted.is_error()) fail_with(wanted.error());
  if (wanted.is_empty()) fail_with(CellError::NA);
  return wanted;
}

Operand table_lookup(Arguments& args, bool vertical) {
  const Value wanted = lookup_value(args);
  const Table table = table_argument(args, 1);
  const int index = to_index(args.number(2));
  const bool approximate = !args.present(3) || args.boolean(3);
  if (index < 1) return Value(CellError::Value);
  if (index > (vertical ? table.columns() : table.rows())) return Value(CellError::Ref);
  const auto position = find(line(args.context(), table, !vertical, 0), wanted, approximate ? 1 : 0);
  if (!position) return Value(CellError::NA);
  return vertical ? table_value(args.context(), table, *position, index - 1)
                  : table_value(args.context(), table, index - 1, *position);
}

Operand vlookup(Arguments& args) { return table_lookup(args, true); }
Operand hlookup(Arguments& args) { return table_lookup(args, false); }

Operand match(Arguments& args) {
  const Value wanted = lookup_value(args);
  const Table table = table_argument(args, 1);
  const double type = args.number_or(2, 1);
  const int order = type > 0 ? 1 : type < 0 ? -1 : 0;
  if (table.rows() != 1 && table.columns() != 1) return Value(CellError::NA);
  const auto position = find(line(args.context(), table, table.rows() == 1, 0), wanted, order);
  if (!position) return Value(CellError::NA);
  return Value(*position + 1.0);
}

// A cell, or with 0 as row or column a whole column or row of the area;
// the result is a reference, so INDEX can stand where a range is expected.
Operand index(Arguments& args) {
  Operand source = args.operand(0);
  if (source.is_value() && source.value().is_error()) return source;
  int row = to_index(args.number_or(1, 0));
  int column = to_index(args.number_or(2, 0));
  const int area_number = to_index(args.number_or(3, 1));
  if (row < 0 || column < 0) return Value(CellError::Value);
  if (source.is_array()) {
    const Array& array = source.array();
    if (array.rows == 1 && !args.present(2)) std::swap(row, column);
    if (row > array.rows || column > array.columns || (row == 0 && column == 0)) return Value(CellError::Ref);
    if (row == 0 || column == 0) return Value(CellError::Value);
    return array.at(row - 1, column - 1);
  }
  if (!source.is_reference()) return Value(CellError::Value);
  const auto& areas = source.areas();
  if (area_number < 1 || area_number > static_cast<int>(areas.size())) return Value(CellError::Ref);
  const Area& a = areas[static_cast<std::size_t>(area_number - 1)];
  // A single row takes a lone index as its column.
  if (a.first_row == a.last_row && !args.present(2) && args.size() < 3) std::swap(row, column);
  if (row > a.last_row - a.first_row + 1 || column > a.last_column - a.first_column + 1) return Value(CellError::Ref);
  Area cell = a;
  if (row > 0) cell.first_row = cell.last_row = a.first_row + row - 1;
  if (column > 0) cell.first_column = cell.last_column = a.first_column + column - 1;
  return std::vector<Area>{cell};
}

constexpr FunctionSpec table[] = {
    {"VLOOKUP", 3, 4, 102, false, vlookup},
    {"HLOOKUP", 3, 4, 101, false, hlookup},
    {"MATCH", 2, 3, 64, false, match},
    {"INDEX", 2, 4, 29, false, index},
};

}  // namespace

std::span<const FunctionSpec> lookup_functions() { return table; }

}  // namespace engine::formula
