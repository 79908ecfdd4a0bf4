// Where rows and columns fall in points, as Excel 2003 draws a sheet with
// its default font: what drawn objects are placed and sized by. A shape is
// held as the cell under its top-left corner and its extent from that
// cell's corner; Left, Top, Width and Height see it in points from the
// sheet's top-left corner. The functions here go between the two.
#pragma once

#include "engine/model/drawing.hpp"

namespace engine::model {

class Worksheet;

// A column `characters` wide: 7-pixel digits and 5 pixels of margin at 96
// pixels to the inch; nothing for a width of 0.
double column_width_points(double characters);

// A column's width as files store it (a COLINFO record in 1/256 of it, a
// .xlsx col's width): characters that take in the column's margin, so that
// the 8.43 characters Excel shows are stored as 9.14. Readers that count
// the margin (Excel, Gnumeric) see the column as wide as it is shown here.
double stored_column_width(double characters);
// The width shown for a stored one, to the hundredth as Excel gives it.
double shown_column_width(double stored);

// The width of a column and the height of a row as shown: 0 when hidden.
double column_points(const Worksheet& sheet, int column);
double row_points(const Worksheet& sheet, int row);

// Points from the sheet's left (top) edge to the left (top) edge of a
// column (row); the last column plus one (row plus one) gives the whole
// sheet's width (height). Counted from the row and column records, so a
// shape far down the sheet costs no more than one near the top.
double column_left(const Worksheet& sheet, int column);
double row_top(const Worksheet& sheet, int row);

// The line under a distance from the sheet's edge and the distance into
// it. A line's edge belongs to the line that starts there; hidden lines
// are never under a distance. A distance below 0 gives the first line, one
// past the sheet's end the last line, with the offset kept within it.
struct LinePosition {
  int line = 0;
  double offset = 0;
};
LinePosition column_at(const Worksheet& sheet, double points);
LinePosition row_at(const Worksheet& sheet, double points);

// A shape's place as its cell and its extent from that cell's corner.
// Shapes placed from a file or by a script have an extent of their own;
// one never placed takes its kind's default: a text box 3 columns by 4
// rows and a check box 2 columns by 1 row from its cell's corner, a note's
// box 2 columns by 4 rows from the cell to the right of the note's, a row
// above it.
struct ShapeFrame {
  int row = 0;
  int column = 0;
  ShapeExtent extent;
};
ShapeFrame shape_frame(const Worksheet& sheet, const Shape& shape);

// A shape's rectangle in points from the sheet's top-left corner, as
// Left, Top, Width and Height give it.
struct ShapeBounds {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};
ShapeBounds shape_bounds(const Worksheet& sheet, const Shape& shape);

// The cell and extent that put a shape at `bounds`, kept on the sheet: a
// negative Left or Top is taken as 0, and a rectangle running past the
// sheet's last column or row is cut at it. Width and height must be 0 or
// more.
ShapeFrame frame_at(const Worksheet& sheet, const ShapeBounds& bounds);

}  // namespace engine::model
