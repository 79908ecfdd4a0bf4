// What a sheet draws over its cells: notes (a cell's comment, drawn as a
// comment shape), form check boxes and text boxes. Excel counts all of them
// in Shapes, comment shapes included, in the order they were created.
#pragma once

#include <string>

#include "engine/model/constants.hpp"

namespace engine::model {

enum class ShapeKind { Comment, CheckBox, TextBox };

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
  bool locked = true;
};

struct Note {
  std::string text;
  std::string author;
  bool visible = false;
  int shape_id = 0;  // its comment shape
};

}  // namespace engine::model
