// Recalculation of a sheet of 10,000, 100,000 and 1,000,000 formulas (the
// benchmark's argument): a full recalculation, and the recalculation one
// changed constant triggers (its dependents only). It runs twice: over a
// minimal dense EvalContext of its own, so that the numbers measure the
// formula engine and its dependency graph alone, and over the spreadsheet
// model itself, as the application recalculates.
#include <benchmark/benchmark.h>

#include "bench/formula/sheet.hpp"
#include "engine/formula/dependency_graph.hpp"
#include "engine/formula/formula.hpp"
#include "engine/model/workbook.hpp"

namespace {

using namespace engine::formula;

using bench_sheet::block_columns;
using bench_sheet::Shape;

// Fills a sheet of `shape` through the three callbacks, row by row, each
// row's blocks left to right.
template <typename Constant, typename Formula>
void fill_sheet(const Shape& shape, Constant set_constant, Formula set_formula) {
  for (int row = 1; row <= shape.rows; ++row) {
    for (int block = 0; block < shape.blocks; ++block) {
      const int first = block * block_columns;
      for (int column = first; column < first + 3; ++column) set_constant(row - 1, column, bench_sheet::constant(row, column));
      set_formula(row - 1, first + 3, bench_sheet::formula_d(row, block));
      set_formula(row - 1, first + 4, bench_sheet::formula_e(row, block));
    }
  }
}

// The constant the change benchmarks change: in the middle of the sheet.
CellAddress changed_constant(const Shape& shape) { return {0, shape.rows / 2, 1}; }

class DenseGrid : public EvalContext {
 public:
  explicit DenseGrid(const Shape& shape)
      : shape_(shape),
        values_(static_cast<std::size_t>(shape.rows) * static_cast<std::size_t>(shape.columns())),
        formulas_(values_.size()) {
    fill_sheet(
        shape, [this](int row, int column, double value) { at(row, column) = Value(value); },
        [this](int row, int column, const std::string& text) { set_formula(row, column, text); });
  }

  void recalculate(const Recalculation& recalculation) {
    for (const CellAddress& cell : recalculation.order) {
      at(cell.row, cell.column) = evaluate(*formula(cell.row, cell.column), *this, cell);
      ++evaluations;
    }
  }

  void recalculate_all() { recalculate(graph_.all()); }
  // The full order once a formula was entered again: the kept order is
  // stale and every formula is ordered anew.
  std::size_t reorder_after_entry() {
    set_formula(0, 3, bench_sheet::formula_d(1, 0));
    return graph_.all().order.size();
  }

  void set_constant(int row, int column, double value) {
    at(row, column) = Value(value);
    const CellAddress changed[] = {{0, row, column}};
    recalculate(graph_.after_change(changed));
  }

  Value cell_value(const CellAddress& cell) const override {
    if (cell.row >= shape_.rows || cell.column >= shape_.columns()) return Value();
    return values_[index(cell.row, cell.column)];
  }
  void visit_cells(const Area& area, const CellVisitor& visit) const override {
    for (int row = area.first_row; row <= std::min(area.last_row, shape_.rows - 1); ++row)
      for (int column = area.first_column; column <= std::min(area.last_column, shape_.columns() - 1); ++column)
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
  std::size_t index(int row, int column) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(shape_.columns()) + static_cast<std::size_t>(column);
  }
  Value& at(int row, int column) { return values_[index(row, column)]; }
  const std::shared_ptr<const Formula>& formula(int row, int column) const { return formulas_[index(row, column)]; }

  void set_formula(int row, int column, const std::string& text) {
    formulas_[index(row, column)] = parse(text);
    graph_.set_precedents({0, row, column}, precedent_areas(*formulas_[index(row, column)], {0, row, column}, *this));
  }

  Shape shape_;
  std::vector<Value> values_;
  std::vector<std::shared_ptr<const Formula>> formulas_;
  DependencyGraph graph_;
};

Shape shape_of(const benchmark::State& state) { return bench_sheet::shape_for(static_cast<int>(state.range(0))); }

void FullRecalculation(benchmark::State& state) {
  DenseGrid grid(shape_of(state));
  for (auto _ : state) grid.recalculate_all();
  state.counters["formulas"] = shape_of(state).formulas();
}
BENCHMARK(FullRecalculation)->Unit(benchmark::kMillisecond)->Arg(10000)->Arg(100000)->Arg(1000000);

// The dependency graph's share of a full recalculation that follows an
// entry: ordering every formula, precedents first (repeated full
// recalculations of an unchanged sheet reuse the order).
void FullRecalculationOrder(benchmark::State& state) {
  DenseGrid grid(shape_of(state));
  for (auto _ : state) benchmark::DoNotOptimize(grid.reorder_after_entry());
  state.counters["formulas"] = shape_of(state).formulas();
}
BENCHMARK(FullRecalculationOrder)->Unit(benchmark::kMillisecond)->Arg(10000)->Arg(100000)->Arg(1000000);

void OneCellChange(benchmark::State& state) {
  DenseGrid grid(shape_of(state));
  const CellAddress changed = changed_constant(shape_of(state));
  double value = 0;
  for (auto _ : state) grid.set_constant(changed.row, changed.column, ++value);
  state.counters["evaluations_per_change"] =
      static_cast<double>(grid.evaluations) / static_cast<double>(state.iterations());
}
BENCHMARK(OneCellChange)->Unit(benchmark::kMicrosecond)->Arg(10000)->Arg(100000)->Arg(1000000);

// The same sheet in a model workbook, each entry computed as it is entered.
std::unique_ptr<engine::model::Workbook> model_sheet(const Shape& shape) {
  auto book = std::make_unique<engine::model::Workbook>("bench");
  engine::model::Worksheet& sheet = book->add_sheet("Feuil1");
  fill_sheet(
      shape, [&sheet](int row, int column, double value) { sheet.set_value(row, column, Value(value)); },
      [&sheet](int row, int column, const std::string& text) { sheet.set_formula(row, column, text); });
  return book;
}

void ModelFullRecalculation(benchmark::State& state) {
  auto book = model_sheet(shape_of(state));
  for (auto _ : state) book->recalculate_all();
  state.counters["formulas"] = shape_of(state).formulas();
}
BENCHMARK(ModelFullRecalculation)->Unit(benchmark::kMillisecond)->Arg(10000)->Arg(100000)->Arg(1000000);

// Entering the sheet from formula text and computing it: what HyperFormula's
// own full recalculation (a rebuild) also does, so the fairest comparison.
void ModelBuildAndCalculate(benchmark::State& state) {
  for (auto _ : state) {
    auto book = model_sheet(shape_of(state));
    book->recalculate_all();
    benchmark::DoNotOptimize(book);
  }
  state.counters["formulas"] = shape_of(state).formulas();
}
BENCHMARK(ModelBuildAndCalculate)->Unit(benchmark::kMillisecond)->Arg(10000)->Arg(100000)->Arg(1000000);

void ModelOneCellChange(benchmark::State& state) {
  auto book = model_sheet(shape_of(state));
  engine::model::Worksheet& sheet = book->sheet(0);
  const CellAddress changed = changed_constant(shape_of(state));
  const std::size_t before = book->evaluation_count();
  double value = 0;
  for (auto _ : state) sheet.set_value(changed.row, changed.column, Value(++value));
  state.counters["evaluations_per_change"] =
      static_cast<double>(book->evaluation_count() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(ModelOneCellChange)->Unit(benchmark::kMicrosecond)->Arg(10000)->Arg(100000)->Arg(1000000);

}  // namespace

BENCHMARK_MAIN();
