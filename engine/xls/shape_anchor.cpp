#include "engine/xls/shape_anchor.hpp"

#include <algorithm>
#include <cmath>

#include "engine/model/constants.hpp"
#include "engine/model/sheet_geometry.hpp"

namespace engine::xls {

namespace {

// An anchor's offsets count 1/1024 of a column's width and 1/256 of a
// row's height.
constexpr int kColumnUnits = 1024;
constexpr int kRowUnits = 256;

struct Corner {
  int line;
  int offset;  // in the axis's units
};

// The line and offset of a point `position` gives, in `units` of `size`
// (the line's size in points). An offset that rounds to the line's far edge
// is the next line's start: readers take offsets up to units - 1 only.
Corner corner(model::LinePosition position, double size, int units, int count) {
  long offset = size > 0 ? std::lround(std::min(position.offset, size) / size * units) : 0;
  if (offset >= units) {
    if (position.line + 1 < count) return {position.line + 1, 0};
    offset = units - 1;
  }
  return {position.line, static_cast<int>(offset)};
}

Corner column_corner(const model::Worksheet& sheet, double points) {
  const model::LinePosition at = model::column_at(sheet, points);
  return corner(at, model::column_points(sheet, at.line), kColumnUnits, model::kMaxColumns);
}

Corner row_corner(const model::Worksheet& sheet, double points) {
  const model::LinePosition at = model::row_at(sheet, points);
  return corner(at, model::row_points(sheet, at.line), kRowUnits, model::kMaxRows);
}

// Points `offset` units into a column or a row.
double column_offset(const model::Worksheet& sheet, int column, int offset) {
  return model::column_points(sheet, column) * std::clamp(offset, 0, kColumnUnits) / kColumnUnits;
}

double row_offset(const model::Worksheet& sheet, int row, int offset) {
  return model::row_points(sheet, row) * std::clamp(offset, 0, kRowUnits) / kRowUnits;
}

}  // namespace

ArtAnchor shape_anchor(const model::Worksheet& sheet, const model::Shape& shape) {
  const model::ShapeBounds bounds = model::shape_bounds(sheet, shape);
  const Corner left = column_corner(sheet, bounds.left);
  const Corner top = row_corner(sheet, bounds.top);
  const Corner right = column_corner(sheet, bounds.left + bounds.width);
  const Corner bottom = row_corner(sheet, bounds.top + bounds.height);
  return {left.line, top.line, right.line, bottom.line, left.offset, top.offset, right.offset, bottom.offset};
}

model::ShapeExtent shape_extent(const model::Worksheet& sheet, const ArtAnchor& anchor) {
  const int column = std::clamp(anchor.first_column, 0, model::kMaxColumns - 1);
  const int row = std::clamp(anchor.first_row, 0, model::kMaxRows - 1);
  const int last_column = std::clamp(anchor.last_column, column, model::kMaxColumns - 1);
  const int last_row = std::clamp(anchor.last_row, row, model::kMaxRows - 1);
  model::ShapeExtent extent;
  extent.left_offset = column_offset(sheet, column, anchor.first_dx);
  extent.top_offset = row_offset(sheet, row, anchor.first_dy);
  const double right = model::column_left(sheet, last_column) + column_offset(sheet, last_column, anchor.last_dx);
  const double bottom = model::row_top(sheet, last_row) + row_offset(sheet, last_row, anchor.last_dy);
  extent.width = std::max(0.0, right - model::column_left(sheet, column) - extent.left_offset);
  extent.height = std::max(0.0, bottom - model::row_top(sheet, row) - extent.top_offset);
  return extent;
}

}  // namespace engine::xls
