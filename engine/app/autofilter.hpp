// Data, Filter, AutoFilter as macros reach it: Range.AutoFilter (put,
// filter a column, toggle), the sheet's AutoFilterMode, FilterMode and
// ShowAllData, and the AutoFilter, Filters and Filter objects that read the
// filter's state. They hold the sheet, never the filter: each read finds the
// sheet's AutoFilter afresh, and one read after the filter was removed
// raises 424 (raise_detached).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/app/app_object.hpp"
#include "engine/app/worksheet_object.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

// Range.AutoFilter(Field, Criteria1, Operator, Criteria2, VisibleDropDown),
// for the Range class's table.
const GuardedMembers& range_autofilter_members();
// AutoFilterMode, FilterMode, ShowAllData and AutoFilter, for the
// Worksheet class's table.
const GuardedMembers& worksheet_autofilter_members();

class AutoFilterObject final : public AppObject {
 public:
  AutoFilterObject(std::shared_ptr<Application> app, SheetRef sheet);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  SheetRef sheet_;
};

// The list's columns, one Filter each, numbered from 1 as Field counts them.
class Filters final : public AppObject {
 public:
  Filters(std::shared_ptr<Application> app, SheetRef sheet);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  SheetRef sheet_;
};

// One column of the list: whether it filters (On), its criteria and operator.
// Criteria1, Criteria2 and Operator of a column that does not filter raise
// 1004, as Excel's do; so does Criteria2 of a column with one criterion.
class Filter final : public AppObject {
 public:
  Filter(std::shared_ptr<Application> app, SheetRef sheet, int column);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  SheetRef sheet_;
  int column_;
};

}  // namespace engine::app
