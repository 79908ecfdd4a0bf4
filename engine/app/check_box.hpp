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

class CheckBoxes final : public AppObject {
 public:
  CheckBoxes(std::shared_ptr<Application> app, SheetRef sheet);

  std::int32_t count() const;
  // By 1-based position among the check boxes or by name; 9 when absent.
  std::shared_ptr<CheckBox> item(const platform::com::Variant& index) const;

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

 protected:
  const GuardedMembers& member_table() const override;
};

}  // namespace engine::app
