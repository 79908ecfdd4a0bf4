// One cell: a constant or a formula with its cached result, and the index of
// its format in the workbook's pool.
#pragma once

#include <memory>

#include "engine/formula/formula.hpp"
#include "engine/formula/value.hpp"
#include "engine/model/cell_format.hpp"

namespace engine::model {

struct Cell {
  // The constant, or the last computed value of the formula.
  formula::Value value;
  std::shared_ptr<const formula::Formula> formula;
  FormatIndex format = kDefaultFormat;

  bool has_content() const { return formula != nullptr || !value.is_empty(); }
};

}  // namespace engine::model
