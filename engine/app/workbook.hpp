// Workbook: one open workbook as automation sees it, and the way to its
// sheets, windows, names, styles and custom views.
//
// The object holds the model's workbook; once the workbook is closed every
// member raises 424 (raise_detached), as a closed Excel workbook's object
// no longer answers.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/app/app_object.hpp"
#include "engine/model/workbook.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

class Workbook final : public AppObject {
 public:
  Workbook(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book);

  const std::shared_ptr<model::Workbook>& model_ref() const { return book_; }
  // The model's workbook; raises 424 once it is closed.
  model::Workbook& book() const;
  const std::shared_ptr<model::Workbook>& open_book() const;

  std::string name() const;
  std::string full_name() const;
  std::string path() const;
  bool saved() const;
  void set_saved(bool saved);
  void activate();
  // SaveChanges False discards, True saves (to Filename when given); omitted,
  // the stand-in discards, as Excel does with its alerts turned off.
  void close(std::optional<bool> save_changes, const std::optional<std::string>& filename);
  // A workbook never saved goes to Excel's current folder under its name plus ".xls".
  void save();
  // xlTemplate (17) or a ".xlt" name saves a template; a name without
  // extension takes ".xls" or ".xlt". The workbook takes the file's name.
  void save_as(const std::string& filename, std::optional<std::int32_t> file_format);
  void protect(const std::optional<std::string>& password, std::optional<bool> structure,
               std::optional<bool> windows);
  void unprotect(const std::optional<std::string>& password);

  platform::com::Variant sheets();
  platform::com::Variant active_sheet();
  platform::com::Variant windows();
  platform::com::Variant names();
  platform::com::Variant styles();
  platform::com::Variant custom_views();

 protected:
  const GuardedMembers& member_table() const override;

 private:
  std::shared_ptr<model::Workbook> book_;
};

std::shared_ptr<Workbook> make_workbook(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book);

}  // namespace engine::app
