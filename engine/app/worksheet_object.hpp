// Worksheet: the automation object of one sheet of an open workbook, the
// way into its cells (Range, Cells, Rows, Columns), its drawing (Shapes,
// CheckBoxes), its print settings, protection and outline.
//
// Workbook and collection objects get sheet objects from make_worksheet();
// ranges from make_range() (range.hpp).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/app/app_object.hpp"
#include "engine/model/workbook.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

class Range;

// A sheet as automation objects hold it: the workbook and the sheet's id,
// never a pointer into the model that could dangle.
struct SheetRef {
  std::shared_ptr<model::Workbook> book;
  model::SheetId id = 0;

  // The sheet; raises 424 (raise_detached) once its workbook was closed or
  // the sheet deleted.
  model::Worksheet& get(const Application& app) const;
};

class Worksheet final : public AppObject {
 public:
  Worksheet(std::shared_ptr<Application> app, SheetRef sheet);

  const SheetRef& ref() const { return sheet_; }
  model::Worksheet& sheet() const { return sheet_.get(application()); }

  std::string name() const;
  // Excel's sheet-name rules; 1004 for an invalid or taken name.
  void set_name(const std::string& name);
  std::int32_t index() const;
  // Makes the sheet the active one of its workbook, which must be active.
  // Both refused (1004) for a hidden sheet.
  void select(std::optional<bool> replace);
  // Makes the sheet and its workbook active.
  void activate();
  // xlSheetVisible -1, xlSheetHidden 0, xlSheetVeryHidden 2 (True and False
  // read as the first two); 1004 for another value or for hiding the last
  // visible sheet.
  std::int32_t visible() const;
  void set_visible(const platform::com::Variant& visible);
  void delete_sheet();
  // Within the workbook only; the other forms of Excel's Move raise 1004.
  void move(const std::optional<platform::com::Variant>& before, const std::optional<platform::com::Variant>& after);
  // A copy named "Name (2)" before or after a sheet, or alone in a new workbook.
  void copy(const std::optional<platform::com::Variant>& before, const std::optional<platform::com::Variant>& after);

  // Range("A9:E12"), Range("4:5"), Range("Zone"), Range(cell1, cell2).
  std::shared_ptr<Range> range(const platform::com::Variant& cell1,
                               const std::optional<platform::com::Variant>& cell2) const;
  std::shared_ptr<Range> cells() const;
  std::shared_ptr<Range> rows() const;
  std::shared_ptr<Range> columns() const;
  std::shared_ptr<Range> used_range() const;

  void protect(const std::optional<std::string>& password, std::optional<bool> drawing_objects,
               std::optional<bool> contents, std::optional<bool> scenarios);
  void unprotect(const std::optional<std::string>& password);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  platform::com::Variant shapes();
  platform::com::Variant check_boxes(const std::optional<platform::com::Variant>& index);
  platform::com::Variant page_setup();
  platform::com::Variant outline();

  SheetRef sheet_;
};

std::shared_ptr<Worksheet> make_worksheet(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book,
                                          model::SheetId sheet);

}  // namespace engine::app
