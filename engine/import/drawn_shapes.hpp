// Notes, check boxes and text boxes as a reader decoded them, put on a sheet
// by the same rules whatever the format: a name the sheet already uses (or
// none) gives way to Excel's default name, one note per cell, and the state
// and lock applied after the shape exists (before the sheet's protection,
// which the reader restores last).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "engine/import/load_report.hpp"
#include "engine/model/drawing.hpp"
#include "engine/model/worksheet.hpp"

namespace engine::import {

// The notes and drawn objects one sheet may bring. The model checks each new
// shape's name against every other, so a file with tens of thousands of them
// would take minutes to open; no workbook a trainee makes comes near this.
inline constexpr std::size_t kMaxDrawnObjects = 2000;

struct DrawnShape {
  model::ShapeKind kind = model::ShapeKind::TextBox;  // CheckBox or TextBox
  int row = 0;
  int column = 0;
  std::string name;
  std::string text;  // a check box's caption, a text box's text
  int value = model::xl::Off;
  bool locked = true;
  int auto_shape_type = 0;  // a text box drawn as an autoshape (Shape::auto_shape_type)
  std::optional<model::ShapeExtent> extent{};
};

// Adds the shape; one the sheet cannot take (outside the grid, a name
// clash) is left out and reported. Throws FileError past kMaxDrawnObjects.
void add_drawn_shape(model::Worksheet& sheet, DrawnShape shape, LoadReport* report);

// Adds a cell's note unless the cell has one already. Throws FileError past
// kMaxDrawnObjects.
void add_note(model::Worksheet& sheet, int row, int column, std::string text, std::string author, bool visible);

}  // namespace engine::import
