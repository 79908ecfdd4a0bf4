// Recalculation of a sheet of 100,000 formulas: a full recalculation, and
// the recalculation one changed constant triggers (its dependents only).
// It runs twice: over a minimal dense EvalContext of its own, so that the
// numbers measure the formula engine and its dependency graph alone, and
// over the spreadsheet model itself, as the application recalculates.
#include <benchmark/benchmark.h>

#include "bench/formula/sheet.hpp"
#include "engine/formula/dependency_graph.hpp"
#include "engine/formula/formula.hpp"
#include "engine/model/workbook.hpp"

namespace {

using namespace engine::formula;

constexpr int columns = 5;

class DenseGrid : public EvalContext {
 public:
  DenseGrid() : values_(static_cast<std::size_t>(bench_sheet::rows * columns)), formulas_(values_.size()) {
    for (int row = 1; row <= bench_sheet::rows; ++row) {
      for (int column = 0; column < 3; ++column) at(row - 1, column) = Value(bench_sheet::constant(row, column));
      set_formula(row - 1, 3, bench_sheet::formula_d(row));
      set_formula(row - 1, 4, bench_sheet::formula_e(row));
    }
  }

  void recalculate(const Recalculation& recalculation) {
    for (const CellAddress& cell : recalculation.order) {
      at(cell.row, cell.column) = evaluate(*formula(cell.row, cell.column), *this, cell);
      ++evaluations;
    }
  }

  void recalculate_all() { recalculate(graph_.all()); }
  Recalculation full_order() const { return graph_.all(); }

  void set_constant(int row, int column, double value) {
    at(row, column) = Value(value);
    const CellAddress changed[] = {{0, row, column}};
    recalculate(graph_.after_change(changed));
  }

  Value cell_value(const CellAddress& cell) const override {
    if (cell.row >= bench_sheet::rows || cell.column >= columns) return Value();
    return values_[index(cell.row, cell.column)];
  }
  void visit_cells(const Area& area, const CellVisitor& visit) const override {
    for (int row = area.first_row; row <= std::min(area.last_row, bench_sheet::rows - 1); ++row)
      for (int column = area.first_column; column <= std::min(area.last_column, columns - 1); ++column)
        if (const Value& v = values_[index(row, column)]; !v.is_empty()) visit(row, column, v);
  }
  std::optional<SheetId> sheet_by_name(std::string_view) const override { return std::nullopt; }
  std::vector<SheetId> sheets_between(std::string_view, std::string_view) const override { return {}; }
  std::shared_ptr<const Formula> name_definition(std::string_view, SheetId) const override { return nullptr; }
  bool row_hidden(SheetId, int) const override { return false; }
  bool holds_subtotal(const CellAddress&) const override { return false; }
  double now() const override { return 37775; }

  std::size_t evaluations = 0;

 private:
  static std::size_t index(int row, int column) { return static_cast<std::size_t>(row * columns + column); }
  Value& at(int row, int column) { return values_[index(row, column)]; }
  const std::shared_ptr<const Formula>& formula(int row, int column) const { return formulas_[index(row, column)]; }

  void set_formula(int row, int column, const std::string& text) {
    formulas_[index(row, column)] = parse(text);
    graph_.set_precedents({0, row, column}, precedent_areas(*formulas_[index(row, column)], {0, row, column}, *this));
  }

  std::vector<Value> values_;
  std::vector<std::shared_ptr<const Formula>> formulas_;
  DependencyGraph graph_;
};

void FullRecalculation(benchmark::State& state) {
  DenseGrid grid;
  for (auto _ : state) grid.recalculate_all();
  state.counters["formulas"] = 2.0 * bench_sheet::rows;
}
BENCHMARK(FullRecalculation)->Unit(benchmark::kMillisecond);

// The dependency graph's share of a full recalculation: ordering every
// formula, precedents first.
void FullRecalculationOrder(benchmark::State& state) {
  DenseGrid grid;
  for (auto _ : state) benchmark::DoNotOptimize(grid.full_order());
  state.counters["formulas"] = 2.0 * bench_sheet::rows;
}
BENCHMARK(FullRecalculationOrder)->Unit(benchmark::kMillisecond);

void OneCellChange(benchmark::State& state) {
  DenseGrid grid;
  double value = 0;
  for (auto _ : state) grid.set_constant(25000, 1, ++value);
  state.counters["evaluations_per_change"] =
      static_cast<double>(grid.evaluations) / static_cast<double>(state.iterations());
}
BENCHMARK(OneCellChange)->Unit(benchmark::kMicrosecond);

// The same sheet in a model workbook, built without recalculating on each
// entry so that the set-up does not dominate.
std::unique_ptr<engine::model::Workbook> model_sheet() {
  auto book = std::make_unique<engine::model::Workbook>("bench");
  engine::model::Worksheet& sheet = book->add_sheet("Feuil1");
  for (int row = 1; row <= bench_sheet::rows; ++row) {
    for (int column = 0; column < 3; ++column) sheet.set_value(row - 1, column, Value(bench_sheet::constant(row, column)));
    sheet.set_formula(row - 1, 3, bench_sheet::formula_d(row));
    sheet.set_formula(row - 1, 4, bench_sheet::formula_e(row));
  }
  return book;
}

void ModelFullRecalculation(benchmark::State& state) {
  auto book = model_sheet();
  for (auto _ : state) book->recalculate_all();
  state.counters["formulas"] = 2.0 * bench_sheet::rows;
}
BENCHMARK(ModelFullRecalculation)->Unit(benchmark::kMillisecond);

// Entering the sheet from formula text and computing it: what HyperFormula's
// own full recalculation (a rebuild) also does, so the fairest comparison.
void ModelBuildAndCalculate(benchmark::State& state) {
  for (auto _ : state) {
    auto book = model_sheet();
    book->recalculate_all();
    benchmark::DoNotOptimize(book);
  }
}
BENCHMARK(ModelBuildAndCalculate)->Unit(benchmark::kMillisecond);

void ModelOneCellChange(benchmark::State& state) {
  auto book = model_sheet();
  engine::model::Worksheet& sheet = book->sheet(0);
  const std::size_t before = book->evaluation_count();
  double value = 0;
  for (auto _ : state) sheet.set_value(25000, 1, Value(++value));
  state.counters["evaluations_per_change"] =
      static_cast<double>(book->evaluation_count() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(ModelOneCellChange)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
