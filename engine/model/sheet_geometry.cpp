#include "engine/model/sheet_geometry.hpp"

#include "engine/model/worksheet.hpp"

namespace engine::model {

namespace {

constexpr double kDigitPixels = 7;
constexpr double kMarginPixels = 5;
constexpr double kPointsPerPixel = 0.75;

}  // namespace

double column_width_points(double characters) {
  return characters <= 0 ? 0 : (characters * kDigitPixels + kMarginPixels) * kPointsPerPixel;
}

double column_points(const Worksheet& sheet, int column) {
  const LineInfo& info = sheet.columns().at(column);
  return info.hidden ? 0 : column_width_points(info.size.value_or(sheet.standard_width()));
}

double row_points(const Worksheet& sheet, int row) {
  const LineInfo& info = sheet.rows().at(row);
  return info.hidden ? 0 : info.size.value_or(sheet.standard_height());
}

}  // namespace engine::model
