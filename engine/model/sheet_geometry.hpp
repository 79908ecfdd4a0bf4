// Where rows and columns fall in points, as Excel 2003 draws a sheet with
// its default font: what drawn objects are placed and sized by.
#pragma once

namespace engine::model {

class Worksheet;

// A column `characters` wide: 7-pixel digits and 5 pixels of margin at 96
// pixels to the inch; nothing for a width of 0.
double column_width_points(double characters);

// The width of a column and the height of a row as shown: 0 when hidden.
double column_points(const Worksheet& sheet, int column);
double row_points(const Worksheet& sheet, int row);

}  // namespace engine::model
