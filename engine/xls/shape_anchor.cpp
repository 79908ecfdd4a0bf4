#include "engine/xls/shape_anchor.hpp"

#include <algorithm>
#include <cmath>

#include "engine/model/constants.hpp"
#include "engine/model/sheet_geometry.hpp"

namespace engine::xls {

namespace {

constexpr int kColumnUnits = 1024;
constexpr int kRowUnits = 256;

// One axis of the sheet: its line count, the size of a line in points, and
// how many anchor units a line is divided into.
struct Axis {
  const model::Worksheet& sheet;
  bool columns;

  int count() const { return columns ? model::kMaxColumns : model::kMaxRows; }
  int units() const { return columns ? kColumnUnits : kRowUnits; }
  double size(int line) const { return columns ? model::column_points(sheet, line) : model::row_points(sheet, line); }
};

struct Place {
  int line;
  int offset;  // in the axis's units
};

// The line `points` past the start of `first`, and the offset into it.
Place place(const Axis& axis, int first, double points) {
  int line = std::clamp(first, 0, axis.count() - 1);
  while (line < axis.count() - 1 && points >= axis.size(line)) points -= axis.size(line++);
  const double size = axis.size(line);
  const long offset = size > 0 ? std::lround(std::min(points, size) / size * axis.units()) : 0;
  return {line, static_cast<int>(offset)};
}

// Points from the start of `first` to `offset` units into `line`.
double distance(const Axis& axis, int first, int line, int offset) {
  double points = 0;
  for (int i = first; i < line; ++i) points += axis.size(i);
  return points + axis.size(line) * std::clamp(offset, 0, axis.units()) / axis.units();
}

}  // namespace

ArtAnchor shape_anchor(const model::Worksheet& sheet, const model::Shape& shape) {
  const int column = std::clamp(shape.column, 0, model::kMaxColumns - 1);
  const int row = std::clamp(shape.row, 0, model::kMaxRows - 1);
  if (!shape.extent) {
    const bool check_box = shape.kind == model::ShapeKind::CheckBox;
    return {column, row, std::min(column + (check_box ? 2 : 3), model::kMaxColumns - 1),
            std::min(row + (check_box ? 1 : 4), model::kMaxRows - 1)};
  }
  const Axis across{sheet, true}, down{sheet, false};
  const model::ShapeExtent& extent = *shape.extent;
  const Place left = place(across, column, extent.left_offset);
  const Place top = place(down, row, extent.top_offset);
  const Place right = place(across, column, extent.left_offset + extent.width);
  const Place bottom = place(down, row, extent.top_offset + extent.height);
  return {left.line, top.line, right.line, bottom.line, left.offset, top.offset, right.offset, bottom.offset};
}

model::ShapeExtent shape_extent(const model::Worksheet& sheet, const ArtAnchor& anchor) {
  const Axis across{sheet, true}, down{sheet, false};
  const int column = anchor.first_column, row = anchor.first_row;
  model::ShapeExtent extent;
  extent.left_offset = distance(across, column, column, anchor.first_dx);
  extent.top_offset = distance(down, row, row, anchor.first_dy);
  const int last_column = std::clamp(anchor.last_column, column, model::kMaxColumns - 1);
  const int last_row = std::clamp(anchor.last_row, row, model::kMaxRows - 1);
  extent.width = std::max(0.0, distance(across, column, last_column, anchor.last_dx) - extent.left_offset);
  extent.height = std::max(0.0, distance(down, row, last_row, anchor.last_dy) - extent.top_offset);
  return extent;
}

}  // namespace engine::xls
