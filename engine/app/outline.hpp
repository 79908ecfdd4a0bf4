// Outline: a sheet's outline settings (Worksheet.Outline): which levels show
// and where summary rows and columns stand.
#pragma once

#include <memory>
#include <optional>

#include "engine/app/app_object.hpp"
#include "engine/app/worksheet_object.hpp"

namespace engine::app {

class Outline final : public AppObject {
 public:
  Outline(std::shared_ptr<Application> app, SheetRef sheet);

  // An omitted level leaves that axis as it is.
  void show_levels(std::optional<std::int32_t> row_levels, std::optional<std::int32_t> column_levels);
  // xlSummaryAbove 0 / xlSummaryBelow 1.
  std::int32_t summary_row() const;
  void set_summary_row(std::int32_t position);
  // xlSummaryOnLeft -4131 / xlSummaryOnRight -4152.
  std::int32_t summary_column() const;
  void set_summary_column(std::int32_t position);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  SheetRef sheet_;
};

}  // namespace engine::app
