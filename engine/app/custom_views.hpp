// CustomViews and CustomView: a workbook's custom views, by name
// case-insensitively. Show restores what the view recorded.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/app/app_object.hpp"
#include "engine/model/workbook.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

class CustomView final : public AppObject {
 public:
  CustomView(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book, std::string name);

  std::string name() const;
  bool print_settings() const;
  bool row_col_settings() const;
  void show();
  void remove();

 protected:
  const GuardedMembers& member_table() const override;

 private:
  // The model's view; raises 424 once it was deleted or its workbook closed.
  const model::CustomView& view() const;
  std::shared_ptr<model::Workbook> book_;
  std::string name_;
};

class CustomViews final : public AppObject {
 public:
  CustomViews(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book);

  std::int32_t count() const;
  std::shared_ptr<CustomView> item(const platform::com::Variant& index) const;
  // Records the current settings; both kinds of settings by default.
  std::shared_ptr<CustomView> add(const std::string& name, std::optional<bool> print_settings,
                                  std::optional<bool> row_col_settings);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  model::Workbook& book() const;
  std::shared_ptr<model::Workbook> book_;
};

}  // namespace engine::app
