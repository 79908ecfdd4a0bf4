#include "engine/app/autofilter.hpp"

#include "engine/app/application.hpp"
#include "engine/app/more_dispids.hpp"
#include "engine/app/range.hpp"
#include "engine/model/autofilter.hpp"
#include "platform/com/convert.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

constexpr com::DispId kAutoFilterMode = 792;
constexpr com::DispId kAutoFilter = 793;
constexpr com::DispId kShowAllData = 794;
constexpr com::DispId kCriteria1 = 796;
constexpr com::DispId kOperator = 797;
constexpr com::DispId kCriteria2 = 798;
constexpr com::DispId kFilterMode = 800;
constexpr com::DispId kOn = 1066;
constexpr com::DispId kFilters = 1617;

// What Excel's Top 10 dialog starts from when no count is given.
constexpr const char* kDefaultTopCount = "10";

const model::AutoFilter& filter_of(const model::Worksheet& sheet) {
  if (!sheet.autofilter()) raise_detached();
  return *sheet.autofilter();
}

// The list a new AutoFilter covers: the region around a single cell or a
// single row (the header the trainee clicked), else the cells given.
model::CellRange list_range(const model::Worksheet& sheet, const model::CellRange& area) {
  if (area.row_count() > 1 && !area.whole_columns()) return area;
  return sheet.current_region(area.first_row, area.first_column);
}

std::string criteria_text(const com::Variant& criteria) {
  const com::Variant v = com::value_of(criteria);
  return v.type() == com::VarType::String ? v.string_value() : com::cstr(v);
}

bool given(const std::optional<com::Variant>& v) { return v && !v->is_missing(); }

// The AutoFilter method: with no argument it puts an AutoFilter on the
// list or takes the sheet's away; with a field it filters that column of
// the sheet's list (the list the range lies in, or a new one on the range),
// or shows that column whole when no criterion comes with it.
const auto autofilter = [](Range& range, const std::optional<com::Variant>& field,
                           const std::optional<com::Variant>& criteria1, std::optional<std::int32_t> op,
                           const std::optional<com::Variant>& criteria2, std::optional<bool>) {
  model::Worksheet& sheet = range.sheet();
  if (!given(field) && !given(criteria1) && !op && !given(criteria2)) {
    if (sheet.autofilter()) sheet.remove_autofilter();
    else sheet.set_autofilter(list_range(sheet, range.area()));
    return com::Variant(true);
  }
  if (!given(field)) raise_method_failed("AutoFilter", "Range");
  // A refused field leaves the sheet as it was, a new list included.
  const bool in_list = sheet.autofilter() && sheet.autofilter()->range.intersects(range.area());
  const model::CellRange list = in_list ? sheet.autofilter()->range : list_range(sheet, range.area());
  const std::int32_t number = com::clng(*field);
  if (number < 1 || number > list.column_count()) raise_method_failed("AutoFilter", "Range");
  if (!in_list) sheet.set_autofilter(list);
  const int column = list.first_column + number - 1;
  const auto kind = static_cast<model::FilterOperator>(op.value_or(static_cast<std::int32_t>(model::FilterOperator::And)));
  if (!given(criteria1) && !model::is_top_or_bottom(kind)) {
    sheet.clear_column_filter(column);
    return com::Variant(true);
  }
  model::ColumnFilter filter{column, given(criteria1) ? criteria_text(*criteria1) : kDefaultTopCount, std::nullopt, kind};
  if (given(criteria2)) filter.criteria2 = criteria_text(*criteria2);
  sheet.filter_column(filter);
  return com::Variant(true);
};

}  // namespace

const GuardedMembers& range_autofilter_members() {
  static const GuardedMembers table = AppMembers<Range>("Range").method(
      "AutoFilter", kAutoFilter, autofilter, {"Field", "Criteria1", "Operator", "Criteria2", "VisibleDropDown"});
  return table;
}

const GuardedMembers& worksheet_autofilter_members() {
  static const GuardedMembers table =
      AppMembers<Worksheet>("Worksheet")
          .get("AutoFilterMode", kAutoFilterMode, [](Worksheet& w) { return w.sheet().autofilter().has_value(); })
          // Excel takes False only: arrows come back through AutoFilter.
          .put("AutoFilterMode", kAutoFilterMode,
               [](Worksheet& w, bool on) {
                 model::Worksheet& sheet = w.sheet();
                 if (on && !sheet.autofilter()) raise_refused("Unable to set the AutoFilterMode property of the Worksheet class");
                 if (!on) sheet.remove_autofilter();
               })
          .get("FilterMode", kFilterMode,
               [](Worksheet& w) {
                 const auto& filter = w.sheet().autofilter();
                 return filter && filter->filtering();
               })
          .method("ShowAllData", kShowAllData, [](Worksheet& w) { w.sheet().show_all_filtered(); })
          .get("AutoFilter", kAutoFilter, [](Worksheet& w) -> com::Variant {
            if (!w.sheet().autofilter()) return com::Variant::nothing();
            return std::make_shared<AutoFilterObject>(w.application_ref(), w.ref());
          });
  return table;
}

// --- AutoFilter -----------------------------------------------------------------------

AutoFilterObject::AutoFilterObject(std::shared_ptr<Application> app, SheetRef sheet)
    : AppObject(std::move(app)), sheet_(std::move(sheet)) {}

const GuardedMembers& AutoFilterObject::member_table() const {
  static const GuardedMembers table =
      AppMembers<AutoFilterObject>("AutoFilter")
          .get("Range", dispid::Range,
               [](AutoFilterObject& a) {
                 const model::CellRange list = filter_of(a.sheet_.get(a.application())).range;
                 return make_range(a.application_ref(), a.sheet_, list);
               })
          .get("Filters", kFilters,
               [](AutoFilterObject& a) {
                 filter_of(a.sheet_.get(a.application()));
                 return std::make_shared<Filters>(a.application_ref(), a.sheet_);
               })
          .get("Parent", dispid::Parent,
               [](AutoFilterObject& a) { return make_worksheet(a.application_ref(), a.sheet_.book, a.sheet_.id); })
          .get("Application", dispid::Application, [](AutoFilterObject& a) { return a.application_ref(); });
  return table;
}

// --- Filters --------------------------------------------------------------------------

Filters::Filters(std::shared_ptr<Application> app, SheetRef sheet) : AppObject(std::move(app)), sheet_(std::move(sheet)) {}

const GuardedMembers& Filters::member_table() const {
  static const GuardedMembers table =
      AppMembers<Filters>("Filters")
          .get("Count", dispid::Count,
               [](Filters& f) { return std::int32_t{filter_of(f.sheet_.get(f.application())).range.column_count()}; })
          .get("Item", com::DISPID_VALUE,
               [](Filters& f, std::int32_t index) {
                 const model::CellRange list = filter_of(f.sheet_.get(f.application())).range;
                 if (index < 1 || index > list.column_count()) com::raise(com::err::SubscriptOutOfRange);
                 return std::make_shared<Filter>(f.application_ref(), f.sheet_, list.first_column + index - 1);
               },
               {"Index"})
          .get("Application", dispid::Application, [](Filters& f) { return f.application_ref(); });
  return table;
}

// --- Filter ---------------------------------------------------------------------------

Filter::Filter(std::shared_ptr<Application> app, SheetRef sheet, int column)
    : AppObject(std::move(app)), sheet_(std::move(sheet)), column_(column) {}

namespace {

const model::ColumnFilter& column_filter(const model::Worksheet& sheet, int column) {
  const model::ColumnFilter* found = filter_of(sheet).find(column);
  if (found == nullptr) raise_refused("Application-defined or object-defined error");
  return *found;
}

}  // namespace

const GuardedMembers& Filter::member_table() const {
  static const GuardedMembers table =
      AppMembers<Filter>("Filter")
          .get("On", kOn, [](Filter& f) { return filter_of(f.sheet_.get(f.application())).find(f.column_) != nullptr; })
          .get("Criteria1", kCriteria1,
               [](Filter& f) { return column_filter(f.sheet_.get(f.application()), f.column_).criteria1; })
          .get("Criteria2", kCriteria2,
               [](Filter& f) {
                 const auto& second = column_filter(f.sheet_.get(f.application()), f.column_).criteria2;
                 if (!second) raise_refused("Application-defined or object-defined error");
                 return *second;
               })
          .get("Operator", kOperator,
               [](Filter& f) {
                 return static_cast<std::int32_t>(column_filter(f.sheet_.get(f.application()), f.column_).op);
               })
          .get("Application", dispid::Application, [](Filter& f) { return f.application_ref(); });
  return table;
}

}  // namespace engine::app
