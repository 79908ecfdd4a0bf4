// Which formula cells read which cells, so that a change recomputes only
// what depends on it, each cell once, precedents first. Areas are kept as
// areas: a formula over A1:A60000 costs one entry, not 60,000.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "engine/formula/context.hpp"

namespace engine::formula {

// The formula cells to recompute, in an order where every cell comes after
// the cells it reads. Cells on a cycle are not in `order`: Excel 2003 warns
// and leaves them at their last value (0 when they never had one); they are
// listed in `cyclic`. Cells that merely read a cycle are in `order`.
struct Recalculation {
  std::vector<CellAddress> order;
  std::vector<CellAddress> cyclic;
};

class DependencyIndex;

class DependencyGraph {
 public:
  DependencyGraph();
  ~DependencyGraph();
  DependencyGraph(DependencyGraph&&) noexcept;
  DependencyGraph& operator=(DependencyGraph&&) noexcept;

  // Registers (or replaces) what the formula in `cell` reads.
  void set_precedents(const CellAddress& cell, std::vector<Area> areas);

  // Forgets the formula in `cell` (the cell now holds a constant or nothing).
  void remove(const CellAddress& cell);

  // Forgets every formula on a sheet (the sheet was deleted).
  void remove_sheet(SheetId sheet);

  bool is_formula(const CellAddress& cell) const;
  std::size_t size() const;

  // The formula cells that depend, directly or not, on the changed cells.
  // A changed cell that holds a formula is itself recomputed.
  Recalculation after_change(std::span<const CellAddress> changed) const;

  // Every formula cell, for a full recalculation. The order is kept, as
  // Excel keeps its calculation chain, until a formula is set or removed:
  // a workbook recalculated again and again orders its formulas once.
  const Recalculation& all() const;

 private:
  std::unique_ptr<DependencyIndex> index_;
  mutable std::optional<Recalculation> full_order_;  // the kept order; empty once stale
};

}  // namespace engine::formula
