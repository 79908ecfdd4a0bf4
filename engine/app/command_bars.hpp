// CommandBars and CommandBar: the automation objects over the application's
// command bars (command_bar_set.hpp), by 1-based index or by name
// case-insensitively ("Task pane" finds "Task Pane").
#pragma once

#include <memory>

#include "engine/app/app_object.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

class CommandBar final : public AppObject {
 public:
  CommandBar(std::shared_ptr<Application> app, int index);

  std::string name() const;
  std::int32_t index() const { return index_; }
  std::int32_t type() const;
  bool enabled() const;
  void set_enabled(bool enabled);
  bool visible() const;
  void set_visible(bool visible);
  std::int32_t position() const;
  void set_position(std::int32_t position);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  int index_;
};

class CommandBars final : public AppObject {
 public:
  explicit CommandBars(std::shared_ptr<Application> app);

  std::int32_t count() const;
  std::shared_ptr<CommandBar> item(const platform::com::Variant& index) const;

 protected:
  const GuardedMembers& member_table() const override;
};

}  // namespace engine::app
