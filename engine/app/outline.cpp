#include "engine/app/outline.hpp"

#include "engine/app/application.hpp"
#include "engine/model/constants.hpp"
#include "platform/excel/constants.hpp"
#include "platform/excel/dispids.hpp"

namespace engine::app {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;
namespace xl = platform::excel;

namespace {

constexpr com::DispId kShowLevels = 960;
constexpr com::DispId kSummaryRow = 902;
constexpr com::DispId kSummaryColumn = 901;

}  // namespace

Outline::Outline(std::shared_ptr<Application> app, SheetRef sheet)
    : AppObject(std::move(app)), sheet_(std::move(sheet)) {}

void Outline::show_levels(std::optional<std::int32_t> row_levels, std::optional<std::int32_t> column_levels) {
  const auto check = [](std::optional<std::int32_t> level) {
    if (level && (*level < 0 || *level > model::kMaxOutlineLevel)) {
      raise_refused("ShowLevels method of Outline class failed");
    }
    return level.value_or(0);
  };
  sheet_.get(application()).show_levels(check(row_levels), check(column_levels));
}

std::int32_t Outline::summary_row() const {
  const bool below = sheet_.get(application()).summary_row() == model::SummaryPosition::Below;
  return below ? model::xl::SummaryBelow : model::xl::SummaryAbove;
}

void Outline::set_summary_row(std::int32_t position) {
  if (position != model::xl::SummaryBelow && position != model::xl::SummaryAbove) {
    raise_refused("Unable to set the SummaryRow property of the Outline class");
  }
  sheet_.get(application())
      .set_summary_row(position == model::xl::SummaryBelow ? model::SummaryPosition::Below
                                                             : model::SummaryPosition::Above);
}

std::int32_t Outline::summary_column() const {
  const bool right = sheet_.get(application()).summary_column() == model::SummaryPosition::Below;
  return right ? xl::xlRight : xl::xlLeft;
}

void Outline::set_summary_column(std::int32_t position) {
  if (position != xl::xlRight && position != xl::xlLeft) {
    raise_refused("Unable to set the SummaryColumn property of the Outline class");
  }
  sheet_.get(application())
      .set_summary_column(position == xl::xlRight ? model::SummaryPosition::Below : model::SummaryPosition::Above);
}

const GuardedMembers& Outline::member_table() const {
  static const GuardedMembers table =
      AppMembers<Outline>("Outline")
          .method("ShowLevels", kShowLevels, &Outline::show_levels, {"RowLevels", "ColumnLevels"})
          .get("SummaryRow", kSummaryRow, &Outline::summary_row)
          .put("SummaryRow", kSummaryRow, &Outline::set_summary_row)
          .get("SummaryColumn", kSummaryColumn, &Outline::summary_column)
          .put("SummaryColumn", kSummaryColumn, &Outline::set_summary_column)
          .get("Parent", dispid::Parent,
               [](Outline& o) { return make_worksheet(o.application_ref(), o.sheet_.book, o.sheet_.id); })
          .get("Application", dispid::Application, [](Outline& o) { return o.application_ref(); });
  return table;
}

}  // namespace engine::app
