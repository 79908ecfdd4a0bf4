// Styles and Style: a workbook's cell styles, by name case-insensitively.
// A Style's Font and Interior are the same classes as a range's, reading and
// writing the style's format.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/app/app_object.hpp"
#include "engine/model/workbook.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

class Style final : public AppObject {
 public:
  Style(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book, std::string name);

  std::string name() const;
  bool builtin() const;
  std::string number_format() const;
  void set_number_format(const std::string& format);
  std::int32_t horizontal_alignment() const;
  void set_horizontal_alignment(std::int32_t alignment);
  std::int32_t vertical_alignment() const;
  void set_vertical_alignment(std::int32_t alignment);
  bool wrap_text() const;
  void set_wrap_text(bool wrap);
  platform::com::Variant font();
  platform::com::Variant interior();
  void remove();

  // The model's style; raises 424 once it was deleted or its workbook closed.
  const model::Style& style() const;
  model::Workbook& book() const;
  // Changes the style's format (the parts it includes stay as they are).
  void change(const std::function<void(model::CellFormat&)>& edit);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  std::shared_ptr<model::Workbook> book_;
  std::string name_;
};

class Styles final : public AppObject {
 public:
  Styles(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book);

  std::int32_t count() const;
  std::shared_ptr<Style> item(const platform::com::Variant& index) const;
  // A user style with Normal's format, or with that of the style of BasedOn's
  // first cell (BasedOn is a Range).
  std::shared_ptr<Style> add(const std::string& name, const std::optional<platform::com::Variant>& based_on);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  model::Workbook& book() const;
  std::shared_ptr<model::Workbook> book_;
};

}  // namespace engine::app
