#include "engine/model/sheet_geometry.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/model/constants.hpp"
#include "engine/model/worksheet.hpp"

namespace engine::model {

namespace {

constexpr double kDigitPixels = 7;
constexpr double kMarginPixels = 5;
constexpr double kPointsPerPixel = 0.75;

// One axis of the sheet: its records, the size in points of a line without
// one, and how a record's size becomes points. Lines without a record all
// have the standard size, so walking the records alone places any point.
class Axis {
 public:
  static Axis columns(const Worksheet& sheet) {
    return {sheet.columns(), sheet.standard_width(), column_width_points(sheet.standard_width()), true};
  }
  static Axis rows(const Worksheet& sheet) {
    return {sheet.rows(), sheet.standard_height(), sheet.standard_height(), false};
  }

  int count() const { return lines_.count(); }

  double size(const LineInfo& info) const {
    if (info.is_hidden()) return 0;
    const double size = info.size.value_or(standard_size_);
    return columns_ ? column_width_points(size) : size;
  }

  double size(int line) const { return size(lines_.at(line)); }

  double start(int line) const {
    line = std::clamp(line, 0, count());
    double points = line * standard_points_;
    lines_.for_each(0, line - 1, [&](int, const LineInfo& info) { points += size(info) - standard_points_; });
    return points;
  }

  LinePosition at(double points) const {
    if (!(points > 0)) points = 0;  // NaN as well
    double edge = 0;
    int next = 0;  // the first line past `edge`
    std::optional<LinePosition> found;
    const auto within = [&](int end, double end_edge) {
      if (found || points >= end_edge || standard_points_ <= 0) return;
      const int line = std::clamp(next + static_cast<int>((points - edge) / standard_points_), next, end - 1);
      found = LinePosition{line, std::max(0.0, points - edge - (line - next) * standard_points_)};
    };
    lines_.for_each(0, count() - 1, [&](int index, const LineInfo& info) {
      const double run_end = edge + (index - next) * standard_points_;
      if (index > next) within(index, run_end);
      const double line_end = run_end + size(info);
      if (!found && points < line_end) found = LinePosition{index, points - run_end};
      edge = line_end;
      next = index + 1;
    });
    if (next < count()) within(count(), edge + (count() - next) * standard_points_);
    if (found) return *found;
    // Past the sheet's end: the far edge of its last line.
    return {count() - 1, size(count() - 1)};
  }

 private:
  Axis(const Lines& lines, double standard_size, double standard_points, bool columns)
      : lines_(lines), standard_size_(standard_size), standard_points_(standard_points), columns_(columns) {}

  const Lines& lines_;
  double standard_size_;    // characters for columns, points for rows
  double standard_points_;
  bool columns_;
};

// The points `lines` lines span from the start of `first`, kept on the sheet.
double span(const Axis& axis, int first, int lines) {
  return axis.start(std::min(first + lines, axis.count() - 1)) - axis.start(first);
}

ShapeFrame default_frame(const Worksheet& sheet, const Shape& shape) {
  const Axis across = Axis::columns(sheet), down = Axis::rows(sheet);
  int row = shape.row, column = shape.column, columns = 3, rows = 4;
  switch (shape.kind) {
    case ShapeKind::Comment:
      row = std::max(shape.row - 1, 0);
      column = std::min(shape.column + 1, kMaxColumns - 1);
      columns = 2;
      break;
    case ShapeKind::CheckBox:
      columns = 2;
      rows = 1;
      break;
    case ShapeKind::TextBox: break;
  }
  return {row, column, {0, 0, span(across, column, columns), span(down, row, rows)}};
}

}  // namespace

double column_width_points(double characters) {
  return characters <= 0 ? 0 : (characters * kDigitPixels + kMarginPixels) * kPointsPerPixel;
}

double stored_column_width(double characters) {
  return characters <= 0 ? 0 : (characters * kDigitPixels + kMarginPixels) / kDigitPixels;
}

double shown_column_width(double stored) {
  const double characters = (stored * kDigitPixels - kMarginPixels) / kDigitPixels;
  return characters <= 0 ? 0 : std::round(characters * 100) / 100;
}

double column_points(const Worksheet& sheet, int column) { return Axis::columns(sheet).size(column); }

double row_points(const Worksheet& sheet, int row) { return Axis::rows(sheet).size(row); }

double column_left(const Worksheet& sheet, int column) { return Axis::columns(sheet).start(column); }

double row_top(const Worksheet& sheet, int row) { return Axis::rows(sheet).start(row); }

LinePosition column_at(const Worksheet& sheet, double points) { return Axis::columns(sheet).at(points); }

LinePosition row_at(const Worksheet& sheet, double points) { return Axis::rows(sheet).at(points); }

ShapeFrame shape_frame(const Worksheet& sheet, const Shape& shape) {
  if (!shape.extent) return default_frame(sheet, shape);
  return {shape.row, shape.column, *shape.extent};
}

ShapeBounds shape_bounds(const Worksheet& sheet, const Shape& shape) {
  const ShapeFrame frame = shape_frame(sheet, shape);
  return {column_left(sheet, frame.column) + frame.extent.left_offset,
          row_top(sheet, frame.row) + frame.extent.top_offset, frame.extent.width, frame.extent.height};
}

ShapeFrame frame_at(const Worksheet& sheet, const ShapeBounds& bounds) {
  const double sheet_width = column_left(sheet, kMaxColumns), sheet_height = row_top(sheet, kMaxRows);
  const double left = std::clamp(bounds.left, 0.0, sheet_width), top = std::clamp(bounds.top, 0.0, sheet_height);
  const LinePosition column = column_at(sheet, left), row = row_at(sheet, top);
  return {row.line, column.line,
          {column.offset, row.offset, std::clamp(bounds.width, 0.0, sheet_width - left),
           std::clamp(bounds.height, 0.0, sheet_height - top)}};
}

}  // namespace engine::model
