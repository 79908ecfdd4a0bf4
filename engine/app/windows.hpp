// Windows and Window: the workbook windows of the application (every
// workbook's, the active one first, as Excel lists them) or of one
// workbook; a window by position or by caption, case-insensitively.
// Hiding a window keeps its workbook open.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "engine/app/app_object.hpp"
#include "engine/model/workbook.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

struct WindowRef {
  std::shared_ptr<model::Workbook> book;
  std::size_t index = 0;  // in the workbook's windows
};

class Window final : public AppObject {
 public:
  Window(std::shared_ptr<Application> app, WindowRef ref);

  std::string caption() const;
  void set_caption(const std::string& caption);
  bool visible() const;
  void set_visible(bool visible);
  std::int32_t zoom() const;
  // 10 to 400 percent; anything else raises 1004 as Excel does.
  void set_zoom(const platform::com::Variant& zoom);
  std::int32_t window_state() const;
  void set_window_state(std::int32_t state);
  std::int32_t index() const;
  // Makes the window and its workbook active.
  void activate();
  platform::com::Variant active_sheet();
  platform::com::Variant active_cell();
  platform::com::Variant selected_sheets();

 protected:
  const GuardedMembers& member_table() const override;

 private:
  // The model's window; raises 424 once the workbook is closed.
  model::Window& window() const;
  model::Workbook& book() const;
  WindowRef ref_;
};

// The windows Application.Windows lists: the active workbook's first.
std::vector<WindowRef> application_windows(const Application& app);

class Windows final : public AppObject {
 public:
  // Every workbook's windows, or those of `book` alone.
  Windows(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book = nullptr);

  std::int32_t count() const;
  std::shared_ptr<Window> item(const platform::com::Variant& index) const;

 protected:
  const GuardedMembers& member_table() const override;

 private:
  std::vector<WindowRef> listed() const;
  std::shared_ptr<model::Workbook> book_;
};

}  // namespace engine::app
