// VLOOKUP, HLOOKUP, LOOKUP, MATCH, INDEX, CHOOSE, OFFSET, INDIRECT, ROW,
// COLUMN, ROWS, COLUMNS.
#include <cmath>

#include "engine/formula/evaluator.hpp"
#include "engine/formula/functions.hpp"
#include "engine/formula/r1c1.hpp"
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
  const bool approximate = args.size() < 4 || args.boolean(3);
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
  return AreaList{cell};
}

// The lookup vector's values: its only row or column, or for a table the
// first column when it is at least as tall as wide, else the first row.
bool searches_a_row(const Table& table) { return table.columns() > table.rows(); }

// The vector form LOOKUP(value, vector, results) and the array form
// LOOKUP(value, table): the last value not above the one wanted, and what
// stands at its place in the results (the table's last row or column).
Operand lookup(Arguments& args) {
  const Value wanted = lookup_value(args);
  const Table table = table_argument(args, 1);
  const bool by_row = searches_a_row(table);
  const auto position = find(line(args.context(), table, by_row, 0), wanted, 1);
  if (!position) return Value(CellError::NA);
  if (args.size() < 3) {
    return by_row ? table_value(args.context(), table, table.rows() - 1, *position)
                  : table_value(args.context(), table, *position, table.columns() - 1);
  }
  const Table results = table_argument(args, 2);
  const bool along_row = results.rows() == 1;
  if (results.array && *position >= (along_row ? results.columns() : results.rows())) return Value(CellError::NA);
  if (!results.array && (along_row ? results.area->first_column : results.area->first_row) + *position >=
                            (along_row ? max_columns : max_rows))
    return Value(CellError::Ref);
  // A results range shorter than the lookup vector reads on past its end.
  return along_row ? table_value(args.context(), results, 0, *position)
                   : table_value(args.context(), results, *position, 0);
}

// The argument chosen by the index (1 for the first after it), evaluated
// alone, and kept a reference when it is one.
Operand choose(Arguments& args) {
  const double index = std::trunc(args.number(0));
  if (index < 1 || index >= static_cast<double>(args.size())) return Value(CellError::Value);
  return args.operand(static_cast<std::size_t>(index));
}

// The area moved by rows and columns, of the given height and width (the
// reference's own when left out); anything off the grid is #REF!.
Operand offset(Arguments& args) {
  const auto areas = args.reference(0);
  if (areas.size() != 1) return Value(CellError::Value);
  const Area& a = areas.front();
  const int rows = to_index(std::trunc(args.number(1))), columns = to_index(std::trunc(args.number(2)));
  const int height = args.present(3) ? to_index(std::trunc(args.number(3))) : a.last_row - a.first_row + 1;
  const int width = args.present(4) ? to_index(std::trunc(args.number(4))) : a.last_column - a.first_column + 1;
  if (height < 1 || width < 1) return Value(CellError::Ref);
  const long first_row = static_cast<long>(a.first_row) + rows, first_column = static_cast<long>(a.first_column) + columns;
  const long last_row = first_row + height - 1, last_column = first_column + width - 1;
  if (first_row < 0 || first_column < 0 || last_row >= max_rows || last_column >= max_columns)
    return Value(CellError::Ref);
  return AreaList{Area{a.sheet, static_cast<int>(first_row), static_cast<int>(first_column),
                                static_cast<int>(last_row), static_cast<int>(last_column)}};
}

// The reference a text names: "B2", "Sheet2!A1:B3", "'Trimestre 1'!C4", a
// defined name, or with FALSE as second argument "R2C3"; #REF! otherwise.
Operand indirect(Arguments& args) {
  std::string text = args.text(0);
  if (args.size() > 1 && !args.boolean(1)) {
    const auto a1 = r1c1_to_a1(text, args.origin().row, args.origin().column);
    if (!a1) return Value(CellError::Ref);
    text = *a1;
  }
  std::shared_ptr<const Formula> parsed;
  try {
    parsed = parse(text);
  } catch (const ParseError&) {
    return Value(CellError::Ref);
  }
  const Node& root = parsed->root();
  const bool names_cells = root.kind == NodeKind::Reference || root.kind == NodeKind::Name ||
                           (root.kind == NodeKind::Binary && root.op == Operator::Range);
  if (!names_cells) return Value(CellError::Ref);
  Operand result = args.evaluate(root);
  if (!result.is_reference()) return Value(CellError::Ref);
  return result;
}

// The size of a reference (one area), an array or a single value.
Operand size_of(Arguments& args, bool rows) {
  const Operand operand = args.operand(0);
  if (operand.is_value()) return operand.value().is_error() ? operand.value() : Value(1.0);
  if (operand.is_array()) return Value(rows ? operand.array().rows : operand.array().columns);
  if (operand.areas().size() != 1) return Value(CellError::Ref);
  const Area& a = operand.areas().front();
  return Value(rows ? a.last_row - a.first_row + 1 : a.last_column - a.first_column + 1);
}
Operand rows(Arguments& args) { return size_of(args, true); }
Operand columns(Arguments& args) { return size_of(args, false); }

// The 1-based row or column of a reference's first cell, or of the
// formula's own cell without one; inside an array argument, every row (as
// a column of numbers) or every column (as a row of numbers) of the area.
Operand position_of(Arguments& args, bool row) {
  if (!args.present(0)) return Value((row ? args.origin().row : args.origin().column) + 1.0);
  const auto areas = args.reference(0);
  const Area& a = areas.front();
  const int first = row ? a.first_row : a.first_column, last = row ? a.last_row : a.last_column;
  if (!args.in_array_argument() || first == last) return Value(first + 1.0);
  Array positions{row ? last - first + 1 : 1, row ? 1 : last - first + 1, {}};
  for (int k = first; k <= last; ++k) positions.cells.emplace_back(k + 1.0);
  return positions;
}
Operand row(Arguments& args) { return position_of(args, true); }
Operand column(Arguments& args) { return position_of(args, false); }

// The array turned over: rows become columns. Its argument is read as an
// array wherever the call stands, as Excel reads TRANSPOSE's.
Operand transpose(Arguments& args) {
  const Array array = operand_array(args.context(), args.array_operand(0));
  Array out{array.columns, array.rows, {}};
  out.cells.reserve(array.cells.size());
  for (int r = 0; r < out.rows; ++r)
    for (int c = 0; c < out.columns; ++c) out.cells.push_back(array.at(c, r));
  return out;
}

constexpr FunctionSpec table[] = {
    {"VLOOKUP", 3, 4, 102, false, vlookup},
    {"HLOOKUP", 3, 4, 101, false, hlookup},
    {"MATCH", 2, 3, 64, false, match},
    {"INDEX", 2, 4, 29, false, index},
    {"LOOKUP", 2, 3, 28, false, lookup},
    {"CHOOSE", 2, 30, 100, false, choose},
    {"OFFSET", 3, 5, 78, true, offset},
    {"INDIRECT", 1, 2, 148, true, indirect},
    {"ROWS", 1, 1, 76, false, rows},
    {"COLUMNS", 1, 1, 77, false, columns},
    {"ROW", 0, 1, 8, false, row},
    {"COLUMN", 0, 1, 9, false, column},
    {"TRANSPOSE", 1, 1, 83, false, transpose},
};

}  // namespace

std::span<const FunctionSpec> lookup_functions() { return table; }

}  // namespace engine::formula
