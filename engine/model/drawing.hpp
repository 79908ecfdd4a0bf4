// What a sheet draws over its cells: notes (a cell's comment, drawn as a
// comment shape), form check boxes and text boxes. Excel counts all of them
// in Shapes, comment shapes included, in the order they were created.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/model/constants.hpp"

namespace engine::model {

enum class ShapeKind { Comment, CheckBox, TextBox };

// A drawn object's size and where it starts within its top-left cell, in
// points, as Left, Top, Width and Height place it.
struct ShapeExtent {
  double left_offset = 0;  // from the left edge of the shape's column
  double top_offset = 0;   // from the top edge of its row
  double width = 0;
  double height = 0;

  friend bool operator==(const ShapeExtent&, const ShapeExtent&) = default;
};

// The cell a check box is linked to, on a sheet of its workbook: the cell
// holds the box's state (TRUE, FALSE, #N/A) and the box follows the cell.
struct CellLink {
  std::uint32_t sheet = 0;  // the sheet's id
  int row = 0;
  int column = 0;

  friend bool operator==(const CellLink&, const CellLink&) = default;
};

struct Shape {
  int id = 0;  // unique on the sheet, gives default names ("Check Box 3")
  ShapeKind kind = ShapeKind::TextBox;
  std::string name;
  // The cell under the shape's top-left corner; moves with inserted rows.
  int row = 0;
  int column = 0;
  // A check box's caption or a text box's text; unused for comments.
  std::string text;
  int value = xl::Off;  // check boxes: xlOn, xlOff or xlMixed
  // Text boxes: the autoshape the box was drawn as (msoShapeRectangle 1,
  // msoShapeOval 9), 0 for a plain text box.
  int auto_shape_type = 0;
  std::optional<CellLink> link;  // check boxes: the linked cell
  bool shading_3d = false;       // check boxes: Display3DShading
  bool locked = true;
  // Nothing: the default size of its kind, from the corner of its cell.
  std::optional<ShapeExtent> extent;
};

struct Note {
  std::string text;
  std::string author;
  bool visible = false;
  int shape_id = 0;  // its comment shape
};

}  // namespace engine::model
