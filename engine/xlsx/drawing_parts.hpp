// The parts that draw over a sheet: the comments part (the notes' text and
// authors), the legacy VML drawing (where notes are shown or hidden and
// where every writer describes form check boxes), the DrawingML drawing
// (text boxes, and the order and names of all drawn objects) and the form
// controls' ctrlProps parts. Each function reads one part into plain
// records; sheet_drawings.cpp puts them together on the sheet.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/model/drawing.hpp"
#include "engine/package/xml_part.hpp"

namespace engine::xlsx {

// xl/commentsN.xml: <comment ref="E3" authorId="0"><text>...</text></comment>.
struct CommentRecord {
  int row = 0;
  int column = 0;
  std::string text;
  std::string author;
};
std::vector<CommentRecord> read_comments_part(const package::XmlPart& part);

// One v:shape of xl/drawings/vmlDrawingN.vml whose x:ClientData says what it is.
struct VmlShape {
  enum class Kind { Note, CheckBox, Other };
  Kind kind = Kind::Other;
  std::optional<long long> shape_id;  // from id="_x0000_s1025" (Excel)
  std::string name;                   // LibreOffice's ID="Case à cocher 1"
  std::string text;                   // the v:textbox's text
  int row = 0;                        // x:Row/x:Column of a note, x:Anchor's corner otherwise
  int column = 0;
  bool visible = false;               // notes: x:Visible
  std::optional<int> checked;         // check boxes: x:Checked 0, 1, 2
  std::optional<bool> locked;         // x:Locked
  std::optional<model::ShapeExtent> extent;
};
std::vector<VmlShape> read_vml_drawing_part(const package::XmlPart& part);

// One anchored object of xl/drawings/drawingN.xml, in drawing order.
struct DrawingShape {
  long long id = 0;                  // cNvPr id
  std::string name;                  // cNvPr name
  bool form_control = false;         // inside mc:AlternateContent: a control's DrawingML copy
  bool text_box = false;             // a shape with text
  bool other = false;                // a picture, chart, connector or group: no place in the model
  std::string text;                  // a text box's text, a form control's caption
  int row = 0;
  int column = 0;
  std::optional<model::ShapeExtent> extent;  // offsets and size in points, when the anchor gives a size
};
std::vector<DrawingShape> read_drawing_part(const package::XmlPart& part);

// xl/ctrlProps/ctrlPropsN.xml: <formControlPr objectType="CheckBox" checked="Checked"/>.
struct ControlProperties {
  std::string object_type;
  std::optional<int> value;  // xlOn, xlOff, xlMixed
};
ControlProperties read_control_properties_part(const package::XmlPart& part);

}  // namespace engine::xlsx
