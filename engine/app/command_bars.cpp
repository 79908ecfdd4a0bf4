#include "engine/app/command_bars.hpp"

#include "engine/app/application.hpp"
#include "engine/app/item_index.hpp"
#include "engine/app/more_dispids.hpp"

namespace engine::app {

namespace com = platform::com;

CommandBar::CommandBar(std::shared_ptr<Application> app, int index) : AppObject(std::move(app)), index_(index) {}

std::string CommandBar::name() const { return application().command_bars().at(index_).name; }
std::int32_t CommandBar::type() const { return static_cast<std::int32_t>(application().command_bars().at(index_).type); }
bool CommandBar::enabled() const { return application().command_bars().at(index_).enabled; }
void CommandBar::set_enabled(bool enabled) { application().command_bars().set_enabled(index_, enabled); }
bool CommandBar::visible() const { return application().command_bars().at(index_).visible; }
void CommandBar::set_visible(bool visible) { application().command_bars().set_visible(index_, visible); }
std::int32_t CommandBar::position() const { return application().command_bars().at(index_).position; }
void CommandBar::set_position(std::int32_t position) { application().command_bars().set_position(index_, position); }

const GuardedMembers& CommandBar::member_table() const {
  static const GuardedMembers table = AppMembers<CommandBar>("CommandBar")
                                          .get("Name", dispid::Name, &CommandBar::name)
                                          .get("Index", dispid::Index, &CommandBar::index)
                                          .get("Type", dispid::Type, &CommandBar::type)
                                          .get("Enabled", dispid::Enabled, &CommandBar::enabled)
                                          .put("Enabled", dispid::Enabled, &CommandBar::set_enabled)
                                          .get("Visible", dispid::Visible, &CommandBar::visible)
                                          .put("Visible", dispid::Visible, &CommandBar::set_visible)
                                          .get("Position", dispid::Position, &CommandBar::position)
                                          .put("Position", dispid::Position, &CommandBar::set_position)
                                          .get("Application", dispid::Application, &CommandBar::application_ref);
  return table;
}

CommandBars::CommandBars(std::shared_ptr<Application> app) : AppObject(std::move(app)) {}

std::int32_t CommandBars::count() const { return application().command_bars().count(); }

std::shared_ptr<CommandBar> CommandBars::item(const com::Variant& index) const {
  const CommandBarSet& bars = application().command_bars();
  const std::size_t found = find_item(index, static_cast<std::size_t>(bars.count()),
                                      [&](std::size_t i) { return bars.at(static_cast<int>(i) + 1).name; });
  return std::make_shared<CommandBar>(application_ref(), static_cast<int>(found) + 1);
}

const GuardedMembers& CommandBars::member_table() const {
  static const GuardedMembers table = AppMembers<CommandBars>("CommandBars")
                                          .get("Count", dispid::Count, &CommandBars::count)
                                          .get("Item", dispid::Item, &CommandBars::item, {"Index"})
                                          .get("_Default", dispid::Default, &CommandBars::item, {"Index"})
                                          .get("Application", dispid::Application, &CommandBars::application_ref);
  return table;
}

}  // namespace engine::app
