// Form check boxes of a sheet (Worksheet.CheckBoxes) and one check box, the
// object Application.Selection gives after its shape's Select, placed and
// sized as its shape is. Values are
// xlOn 1, xlOff -4146 and xlMixed 2; on a protected sheet only an unlocked
// box changes.
#pragma once

#include <memory>
#include <string>

#include "engine/app/app_object.hpp"
#include "engine/app/shapes.hpp"
#include "engine/app/worksheet_object.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

class CheckBox;

// The state a Value assignment asks for: True and False stand for xlOn and
// xlOff, as Excel takes them.
std::int32_t check_box_state(const platform::com::Variant& value);

// A LinkedCell text ("$B$3", "Feuil2!$B$3") as a link from a box on
// `sheet`; nothing for "" (no link). 1004 for anything but one cell of a
// sheet of the workbook.
std::optional<model::CellLink> parse_cell_link(const model::Worksheet& sheet, const std::string& text);
// The LinkedCell a box on `sheet` shows: absolute, with the sheet's name
// when it is another sheet; "" without a link.
std::string cell_link_text(const model::Worksheet& sheet, const model::Shape& shape);

class CheckBoxes final : public AppObject {
 public:
  CheckBoxes(std::shared_ptr<Application> app, SheetRef sheet);

  std::int32_t count() const;
  // By 1-based position among the check boxes or by name; 9 when absent.
  std::shared_ptr<CheckBox> item(const platform::com::Variant& index) const;
  // CheckBoxes.Add as the recorder writes a box drawn from the Forms
  // toolbar; placed and refused as Shapes.AddFormControl is.
  std::shared_ptr<CheckBox> add(double left, double top, double width, double height);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  SheetRef sheet_;
};

class CheckBox final : public ShapeObject {
 public:
  CheckBox(std::shared_ptr<Application> app, SheetRef sheet, int id);

  std::int32_t value() const;
  void set_value(const platform::com::Variant& value);
  std::string name() const;
  // Unique on the sheet in any letter case; 1004 otherwise.
  void set_name(const std::string& name);
  // A box without a caption of its own shows its name.
  std::string caption() const;
  // Refused (1004) for a locked box on a sheet whose drawing objects are
  // protected.
  void set_caption(const std::string& caption);
  bool locked() const;
  void set_locked(bool locked);
  // The linked cell follows the box and the box its cell: the cell holds
  // TRUE, FALSE or #N/A (mixed). "" unlinks. Refused as Caption is.
  std::string linked_cell() const;
  void set_linked_cell(const std::string& cell);
  bool display_3d_shading() const;
  void set_display_3d_shading(bool shading);

 protected:
  const GuardedMembers& member_table() const override;
};

}  // namespace engine::app
