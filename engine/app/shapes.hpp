// Shapes: what a sheet draws over its cells, as Excel counts it: notes'
// comment shapes, form check boxes and text boxes, in creation order. A
// Shape is held by its id on the sheet, which no rename or deletion of
// another shape changes.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/app/app_object.hpp"
#include "engine/app/worksheet_object.hpp"
#include "engine/model/drawing.hpp"
#include "engine/model/sheet_geometry.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

class Shape;

// The shape of that id; raises 424 once it was deleted.
const model::Shape& shape_with_id(const model::Worksheet& sheet, int id);

// Makes the shape the application's selection (Application.Selection gives
// the check box itself for a check box); the sheet must be the active one.
void select_shape(Application& app, const SheetRef& sheet, int id);

// Removes the shape (a comment shape takes its note with it); refused on a
// sheet whose drawing objects are protected when the shape is locked.
void delete_shape(model::Worksheet& sheet, int id);

// What a shape shows: a text box's text, a check box's caption (its name
// while it has none), a comment's note.
std::string shape_text(const model::Worksheet& sheet, int id);

// What Shape and CheckBox share: the shape they stand for, held by its
// sheet and id, and its Left, Top, Width and Height in points from the
// sheet's top-left corner, which move and size it as in Excel: a new Left
// or Top moves its anchor to the cell under the new corner, keeping its
// size. Comments are placed by their cells and refuse a new place (1004).
class ShapeObject : public AppObject {
 public:
  double left() const;
  double top() const;
  double width() const;
  double height() const;
  // A negative Left or Top is taken as 0 and a size running past the
  // sheet's last column or row is cut at it, as Excel keeps shapes on the
  // sheet; a negative or non-finite size raises 5, a locked shape of a
  // sheet whose drawing objects are protected 1004.
  void set_left(double points);
  void set_top(double points);
  void set_width(double points);
  void set_height(double points);

 protected:
  ShapeObject(std::shared_ptr<Application> app, SheetRef sheet, int id);

  // Left, Top, Width and Height, for the tables of the classes above.
  static const GuardedMembers& placement_members();

  const model::Shape& shape() const;

  SheetRef sheet_;
  int id_;

 private:
  model::ShapeBounds bounds() const;
  // Gives one side of the shape's rectangle its new value, the rest kept.
  void change(double model::ShapeBounds::*side, double points);
};

class Shapes final : public AppObject {
 public:
  Shapes(std::shared_ptr<Application> app, SheetRef sheet);

  std::int32_t count() const;
  // By 1-based position or by name (any letter case); 9 when absent.
  std::shared_ptr<Shape> item(const platform::com::Variant& index) const;
  // xlCheckBox only. Both place the new shape at (left, top) with its size
  // in points; a negative Left or Top raises 1004, a negative size 5.
  std::shared_ptr<Shape> add_form_control(std::int32_t type, double left, double top, double width, double height);
  std::shared_ptr<Shape> add_textbox(std::int32_t orientation, double left, double top, double width, double height);
  std::shared_ptr<Shape> add_shape(std::int32_t type, double left, double top, double width, double height);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  std::shared_ptr<Shape> add_box(const std::string& name, double left, double top, double width, double height);
  SheetRef sheet_;
};

class Shape final : public ShapeObject {
 public:
  Shape(std::shared_ptr<Application> app, SheetRef sheet, int id);

  std::string name() const;
  // Unique on the sheet in any letter case; 1004 otherwise.
  void set_name(const std::string& name);
  // msoAutoShape 1, msoComment 4, msoFormControl 8, msoTextBox 17.
  std::int32_t type() const;
  // msoShapeRectangle 1, msoShapeOval 9...; msoShapeMixed -2 for a check box.
  std::int32_t auto_shape_type() const;
  void select(std::optional<bool> replace);
  void delete_shape();
  bool locked() const;
  void set_locked(bool locked);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  platform::com::Variant control_format();
  platform::com::Variant text_frame();
};

// Shape.TextFrame: the way to the shape's text through Characters.
class TextFrame final : public AppObject {
 public:
  TextFrame(std::shared_ptr<Application> app, SheetRef sheet, int id);

  // Start is 1-based, in the UTF-16 characters Excel counts; the part runs
  // to the end of the text without a Length. 1004 for Start below 1 or a
  // negative Length.
  platform::com::Variant characters(std::optional<std::int32_t> start, std::optional<std::int32_t> length);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  SheetRef sheet_;
  int id_;
};

// A run of a shape's text (the whole text by default). Writing its Text
// replaces that run and keeps the rest.
class Characters final : public AppObject {
 public:
  Characters(std::shared_ptr<Application> app, SheetRef sheet, int id, std::int32_t start,
             std::optional<std::int32_t> length);

  std::string text() const;
  void set_text(const std::string& text);
  std::int32_t count() const;

 protected:
  const GuardedMembers& member_table() const override;

 private:
  SheetRef sheet_;
  int id_;
  std::int32_t start_;
  std::optional<std::int32_t> length_;
};

// Shape.ControlFormat of a check box: its Value.
class ControlFormat final : public AppObject {
 public:
  ControlFormat(std::shared_ptr<Application> app, SheetRef sheet, int id);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  SheetRef sheet_;
  int id_;
};

}  // namespace engine::app
