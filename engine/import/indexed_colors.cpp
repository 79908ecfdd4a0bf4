#include "engine/import/indexed_colors.hpp"

#include "engine/model/palette.hpp"

namespace engine::import {

int palette_index_of_indexed(long long index, int automatic) {
  if (index >= 8 && index < 8 + model::kPaletteSize) return static_cast<int>(index - 7);
  if (index >= 0 && index < 8) return index == 0 ? 1 : static_cast<int>(index + 1);
  return automatic;
}

}  // namespace engine::import
