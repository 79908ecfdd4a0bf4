// Sheets and Worksheets: the sheets of one workbook (the workbook has only
// worksheets, so both collections are one), as sheet objects of
// worksheet_object.hpp.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "engine/app/app_object.hpp"
#include "engine/app/worksheet_object.hpp"
#include "engine/model/workbook.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

class Sheets final : public AppObject {
 public:
  // Every sheet of the workbook, or only `selected` (a window's SelectedSheets).
  Sheets(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book,
         std::optional<model::SheetId> selected = std::nullopt);

  std::int32_t count() const;
  std::shared_ptr<Worksheet> item(const platform::com::Variant& index) const;
  // New sheets ("Feuil4", ...) before `before`, after `after`, or before the
  // active sheet; the last one added becomes active and is returned.
  std::shared_ptr<Worksheet> add(const std::optional<platform::com::Variant>& before,
                                 const std::optional<platform::com::Variant>& after,
                                 std::optional<std::int32_t> count);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  model::Workbook& book() const;
  // The sheets listed, in the workbook's order.
  std::vector<model::SheetId> listed() const;
  std::shared_ptr<model::Workbook> book_;
  std::optional<model::SheetId> selected_;
};

}  // namespace engine::app
