// The workbook as formulas see it (formula::EvalContext), and the upkeep of
// computed values through the dependency graph.
#include <unordered_map>

#include "engine/model/text.hpp"
#include "engine/model/workbook.hpp"

namespace engine::model {

formula::Value Workbook::cell_value(const formula::CellAddress& cell) const {
  const Worksheet* sheet = find_sheet(cell.sheet);
  if (sheet == nullptr) return formula::CellError::Ref;
  const Cell* found = sheet->find_cell(cell.row, cell.column);
  return found ? found->value : formula::Value{};
}

void Workbook::visit_cells(const formula::Area& area, const CellVisitor& visit) const {
  const Worksheet* sheet = find_sheet(area.sheet);
  if (sheet == nullptr) return;
  sheet->for_each_cell({area.first_row, area.first_column, area.last_row, area.last_column},
                       [&visit](int row, int column, const Cell& cell) {
                         if (cell.has_content()) visit(row, column, cell.value);
                       });
}

std::optional<SheetId> Workbook::sheet_by_name(std::string_view name) const {
  const Worksheet* sheet = find_sheet(name);
  if (sheet == nullptr) return std::nullopt;
  return sheet->id();
}

std::vector<SheetId> Workbook::sheets_between(std::string_view first, std::string_view last) const {
  const Worksheet* from = find_sheet(first);
  const Worksheet* to = find_sheet(last);
  if (from == nullptr || to == nullptr) return {};
  auto a = *sheet_index(from->id());
  auto b = *sheet_index(to->id());
  if (a > b) std::swap(a, b);
  std::vector<SheetId> ids;
  for (auto i = a; i <= b; ++i) ids.push_back(sheets_[i]->id());
  return ids;
}

std::shared_ptr<const formula::Formula> Workbook::name_definition(std::string_view name, SheetId sheet) const {
  if (const DefinedName* local = find_name(name, sheet)) return local->refers_to;
  if (const DefinedName* global = find_name(name)) return global->refers_to;
  return nullptr;
}

bool Workbook::row_hidden(SheetId sheet, int row) const {
  const Worksheet* found = find_sheet(sheet);
  return found != nullptr && found->rows().hidden(row);
}

bool Workbook::row_filtered(SheetId sheet, int row) const {
  const Worksheet* found = find_sheet(sheet);
  return found != nullptr && found->rows().filtered(row);
}

bool Workbook::holds_subtotal(const formula::CellAddress& cell) const {
  const Worksheet* sheet = find_sheet(cell.sheet);
  if (sheet == nullptr) return false;
  const Cell* found = sheet->find_cell(cell.row, cell.column);
  return found != nullptr && found->formula != nullptr && formula::calls_subtotal(*found->formula);
}

double Workbook::now() const { return fixed_now_ ? *fixed_now_ : formula::current_serial_time(); }

// --- Upkeep ------------------------------------------------------------------

void Workbook::formula_set(const formula::CellAddress& cell) {
  if (bulk_load_) return;
  Worksheet& sheet = *find_sheet(cell.sheet);
  Cell& found = sheet.cell_for_write(cell.row, cell.column);
  share_typed_formula(sheet, cell.row, cell.column, found);
  graph_.set_precedents(cell, formula::precedent_areas(*found.formula, cell, *this));
  const formula::CellAddress changed[] = {cell};
  run(graph_.after_change(changed));
}

// A formula typed under or beside one that reads alike from its own cell
// (a column filled by typing, =B2*C2 under =B1*C1) takes that cell's tree,
// anchored, as a filled formula loaded from a file does: the column is then
// one tree, which stays in the processor's cache while the column is
// computed, instead of a tree per cell scattered through memory. Array
// formulas are never shared this way: their cells read one tree unmoved.
void Workbook::share_typed_formula(Worksheet& sheet, int row, int column, Cell& cell) {
  if (cell.formula->anchor()) return;
  for (const auto& [r, c] : {std::pair{row - 1, column}, std::pair{row, column - 1}}) {
    if (r < 0 || c < 0) continue;
    const Cell* neighbour = sheet.find_cell(r, c);
    if (neighbour == nullptr || !neighbour->formula) continue;
    if (!sheet.arrays_.empty() && sheet.arrays_.find(r, c)) continue;
    const formula::Anchor anchor = neighbour->formula->anchor().value_or(formula::Anchor{r, c});
    const formula::Offset offset{row - anchor.row, column - anchor.column};
    if (!formula::reads_alike_when_moved(neighbour->formula->root(), offset, cell.formula->root())) continue;
    std::shared_ptr<const formula::Formula> tree = neighbour->formula;
    if (!tree->anchor()) {
      tree = std::make_shared<const formula::Formula>(tree->root(), formula::Anchor{r, c});
      sheet.cell_for_write(r, c).formula = tree;
    }
    cell.formula = std::move(tree);
    return;
  }
}

void Workbook::array_set(SheetId sheet_id, const CellRange& range) {
  if (bulk_load_) return;
  const Worksheet& sheet = *find_sheet(sheet_id);
  std::vector<formula::CellAddress> cells;
  for (int row = range.first_row; row <= range.last_row; ++row) {
    for (int column = range.first_column; column <= range.last_column; ++column) {
      graph_.set_precedents({sheet_id, row, column}, cell_precedents(sheet, row, column, *sheet.find_cell(row, column)));
      cells.push_back({sheet_id, row, column});
    }
  }
  run(graph_.after_change(cells));
}

std::vector<formula::Area> Workbook::cell_precedents(const Worksheet& sheet, int row, int column,
                                                     const Cell& cell) const {
  if (!sheet.arrays_.empty()) {
    if (const auto array = sheet.arrays_.find(row, column);
        array && (array->first_row != row || array->first_column != column)) {
      return {formula::Area{sheet.id(), array->first_row, array->first_column, array->first_row, array->first_column}};
    }
  }
  return formula::precedent_areas(*cell.formula, {sheet.id(), row, column}, *this);
}

// The array is computed once, from its top-left cell, and each cell takes
// its element; the other cells are then left alone when their turn comes.
void Workbook::spread_array(Worksheet& sheet, const CellRange& range, const formula::Formula& formula) {
  const std::vector<formula::Value> values = formula::evaluate_array(
      formula, *this, {sheet.id(), range.first_row, range.first_column}, range.row_count(), range.column_count());
  ++evaluations_;
  for (auto r = sheet.cells_.lower_bound(range.first_row); r != sheet.cells_.end() && r->first <= range.last_row; ++r) {
    for (int column = range.first_column; column <= range.last_column; ++column) {
      const auto cell = r->second.find(column);
      const auto& element = values[(r->first - range.first_row) * range.column_count() + column - range.first_column];
      if (cell != r->second.end()) cell->second.value = element;
    }
  }
}

void Workbook::formula_removed(const formula::CellAddress& cell) { graph_.remove(cell); }

void Workbook::cells_changed(std::span<const formula::CellAddress> changed) {
  if (bulk_load_ || graph_.size() == 0) return;
  run(graph_.after_change(changed));
}

void Workbook::run(const formula::Recalculation& recalculation) {
  // Consecutive cells of an order mostly share a row: the sheet's row
  // index tries the row it found last before searching.
  Worksheet* sheet = nullptr;
  auto cell_at = [&](const formula::CellAddress& address) -> Cell* {
    sheet = find_sheet(address.sheet);
    if (sheet == nullptr) return nullptr;
    const auto row = sheet->cells_.find(address.row);
    if (row == sheet->cells_.end()) return nullptr;
    const auto cell = row->second.find(address.column);
    return cell == row->second.end() ? nullptr : &cell->second;
  };
  for (const auto& address : recalculation.order) {
    Cell* cell = cell_at(address);
    if (cell == nullptr || !cell->formula) continue;
    if (!sheet->arrays_.empty()) {
      if (const auto array = sheet->arrays_.find(address.row, address.column)) {
        if (array->first_row == address.row && array->first_column == address.column)
          spread_array(*sheet, *array, *cell->formula);
        continue;
      }
    }
    cell->value = formula::evaluate(*cell->formula, *this, address);
    ++evaluations_;
  }
  // Excel 2003 leaves the cells of a cycle at their last value, 0 at first.
  for (const auto& address : recalculation.cyclic) {
    if (Cell* cell = cell_at(address); cell != nullptr && cell->value.is_empty()) cell->value = formula::Value(0.0);
  }
  cyclic_ = recalculation.cyclic;
}

void Workbook::recalculate_all() { run(graph_.all()); }

void Workbook::end_bulk_load() {
  bulk_load_ = false;
  rebuild_dependencies();
}

void Workbook::rebuild_dependencies() {
  if (bulk_load_) return;
  graph_ = formula::DependencyGraph{};
  for (const auto& sheet : sheets_) {
    for (const auto& [row, cells] : sheet->cells_) {
      for (const auto& [column, cell] : cells) {
        if (!cell.formula) continue;
        graph_.set_precedents({sheet->id(), row, column}, cell_precedents(*sheet, row, column, cell));
      }
    }
  }
  recalculate_all();
}

void Workbook::rewrite_formulas(
    const std::function<std::shared_ptr<const formula::Formula>(const std::shared_ptr<const formula::Formula>&,
                                                                const std::string& own_sheet)>& rewrite) {
  for (auto& sheet : sheets_) {
    // Cells sharing one formula (an array's) keep sharing its rewritten form.
    // A filled formula is first written for each of its cells: the edit may
    // move the cells apart from its anchor.
    std::unordered_map<const formula::Formula*, std::shared_ptr<const formula::Formula>> rewritten;
    for (auto& [row, cells] : sheet->cells_) {
      for (auto& [column, cell] : cells) {
        if (!cell.formula) continue;
        if (cell.formula->anchor()) {
          cell.formula = rewrite(formula::formula_at(cell.formula, row, column), sheet->name());
          continue;
        }
        auto [known, added] = rewritten.try_emplace(cell.formula.get());
        if (added) known->second = rewrite(cell.formula, sheet->name());
        cell.formula = known->second;
      }
    }
  }
  for (auto& name : names_) name.refers_to = rewrite(name.refers_to, scope_sheet_name(name));
}

}  // namespace engine::model
