// Workbooks: the open workbooks of the application, in opening order.
#pragma once

#include <memory>
#include <optional>

#include "engine/app/app_object.hpp"
#include "engine/app/workbook.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

class Workbooks final : public AppObject {
 public:
  explicit Workbooks(std::shared_ptr<Application> app);

  std::int32_t count() const;
  // By position or by name, case-insensitively ("thor international.XLS").
  std::shared_ptr<Workbook> item(const platform::com::Variant& index) const;
  // Opens the file, or activates it when it is open already. A template
  // opens as a new workbook made from it, as Excel's Open does by default.
  // Another file of the same name open already raises 1004, as in Excel.
  // Editable opens a template itself, to change it, as Excel's Editable:=True.
  std::shared_ptr<Workbook> open(const std::string& filename, bool editable = false);
  // A new workbook with Excel's three sheets ("Classeur1"), or a new unsaved
  // one made from the template file ("Thor1", "Thor2", ... no extension).
  std::shared_ptr<Workbook> add(const std::optional<platform::com::Variant>& template_file);
  // Closes every workbook without saving.
  void close();

 protected:
  const GuardedMembers& member_table() const override;

 private:
  std::shared_ptr<Workbook> from_template(const std::string& filename);
};

}  // namespace engine::app
