// Excel.Application: the stand-in Excel 2003 instance, its application-level
// state (options, command bars, custom lists, current folder, selection,
// clipboard), its main window in the desktop of platform/win32, and the
// world around it that scripts and tests act out (a cell left in edit mode,
// a modal dialog, the assistant balloon, the main window closed).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/app/app_object.hpp"
#include "engine/app/command_bar_set.hpp"
#include "engine/app/custom_list_set.hpp"
#include "engine/app/language.hpp"
#include "engine/model/cell_range.hpp"
#include "engine/model/workbook.hpp"
#include "platform/com/variant.hpp"
#include "platform/win32/types.hpp"

namespace engine::app {

// What an instance is created with; empty texts take the defaults.
struct ApplicationOptions {
  // The folder under which Excel keeps its templates folder. Default: the
  // user's data folder ($XDG_DATA_HOME, else ~/.local/share).
  std::string templates_root;
  // The default printer's name; empty when no printer is configured.
  std::string printer;
  // Excel's current folder at start. Default: the user's documents folder
  // when it exists, else the process's working folder.
  std::string current_folder;
  // The language of the texts Excel itself writes (new workbook and sheet
  // names, built-in custom lists).
  Language language = Language::French;
  // The only folders (and their subfolders) a workbook may be saved into, so
  // that statements run on Excel change no file elsewhere. Empty: anywhere.
  std::vector<std::string> writable_folders;
};

// What Excel copied last (Range.Copy without a destination), read again at
// paste time as Excel's live clipboard is.
struct CopiedCells {
  std::shared_ptr<model::Workbook> book;
  model::SheetId sheet = 0;
  model::CellRange area;
};

class Application final : public AppObject {
 public:
  // A new, hidden instance with its main window; it has no workbook yet.
  static std::shared_ptr<Application> create(ApplicationOptions options = {});
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
  ~Application() override;

  // --- Availability ----------------------------------------------------------
  // False once Excel has quit (Quit, or its main window was closed).
  bool alive() const { return alive_; }
  // True while a cell is in edit mode or a modal dialog is open.
  bool busy() const;

  // --- The world around Excel -------------------------------------------------
  platform::win32::HWND main_window() const { return main_window_; }
  // A cell left in edit mode (typing, F2); ESC reaching the main window ends it.
  void enter_edit_mode(std::string cell);
  bool in_edit_mode() const { return edit_cell_.has_value(); }
  // A modal dialog titled `title`, owned by `owner` (by default the main
  // window) and above it; WM_CLOSE closes it.
  platform::win32::HWND open_dialog(std::string title, platform::win32::HWND owner = 0);
  // The assistant's balloon (a top-level "MSOBALLOON" window with children).
  platform::win32::HWND show_balloon(std::string text);
  // The user closes Excel's main window: workbooks close unsaved and Excel quits.
  void close_main_window();

  // --- Application members ------------------------------------------------------
  bool visible() const { return visible_; }
  void set_visible(bool visible);
  void quit();
  std::string caption() const;
  void set_caption(std::string caption);
  bool display_full_screen() const { return display_full_screen_; }
  void set_display_full_screen(bool on) { display_full_screen_ = on; }
  bool show_tool_tips() const { return show_tool_tips_; }
  void set_show_tool_tips(bool on) { show_tool_tips_ = on; }
  bool show_startup_dialog() const { return show_startup_dialog_; }
  void set_show_startup_dialog(bool on) { show_startup_dialog_ = on; }
  std::int32_t display_comment_indicator() const { return comment_indicator_; }
  void set_display_comment_indicator(std::int32_t indicator);
  bool screen_updating() const { return screen_updating_; }
  void set_screen_updating(bool on) { screen_updating_ = on; }
  bool display_alerts() const { return display_alerts_; }
  void set_display_alerts(bool on) { display_alerts_ = on; }
  // Ends with "\" as Windows Excel gives it.
  const std::string& templates_path() const { return templates_path_; }
  const std::string& active_printer() const { return active_printer_; }
  void set_active_printer(std::string printer);
  // Excel's own current folder (ChDir inside Excel), not the process's.
  const std::string& current_folder() const { return current_folder_; }
  void set_current_folder(std::string folder);
  const std::string& default_file_path() const { return default_file_path_; }
  void set_default_file_path(std::string folder) { default_file_path_ = std::move(folder); }
  // Where saves may go (empty: anywhere); a caller that learns of a run's
  // folder after Excel started adds it.
  const std::vector<std::string>& writable_folders() const { return writable_folders_; }
  void allow_writes_in(std::string folder) { writable_folders_.push_back(std::move(folder)); }
  Language language() const { return language_; }
  void calculate();

  CommandBarSet& command_bars() { return command_bars_; }
  CustomListSet& custom_lists() { return custom_lists_; }

  // --- State the automation objects share -----------------------------------------
  // Open workbooks in opening order.
  const std::vector<std::shared_ptr<model::Workbook>>& open_workbooks() const { return workbooks_; }
  // Open workbooks in the order their windows were last active, the most
  // recent first: the order Excel's window list and its choice of the next
  // active window follow.
  const std::vector<std::shared_ptr<model::Workbook>>& workbooks_by_recent_use() const { return recent_; }
  // Null when no workbook is open, or when none has a visible window.
  std::shared_ptr<model::Workbook> active_workbook() const;
  // Makes the workbook the active one (it must be open).
  void activate_workbook(const std::shared_ptr<model::Workbook>& book);
  // Adds an opened or created workbook and activates it, unless all its
  // windows were saved hidden: Excel then leaves the active workbook as it is.
  void add_workbook(std::shared_ptr<model::Workbook> book);
  // Closes it without saving; its automation objects become detached.
  void remove_workbook(const std::shared_ptr<model::Workbook>& book);
  // Shows or hides one window of an open workbook. Hiding the active window
  // activates the most recent visible one, or leaves no active workbook;
  // showing a window activates it.
  void set_window_visible(const std::shared_ptr<model::Workbook>& book, std::size_t index, bool visible);
  bool is_open(const model::Workbook& book) const;
  // The main window's title follows the active workbook's window caption.
  void refresh_main_window_title();

  // What Selection returns when an object other than cells was selected
  // (a shape's Select). The factory makes the object when asked; it must not
  // capture the Application (pass what it needs from the model), so the
  // Application holds no automation object. Selecting cells again (or
  // activating another sheet or workbook) clears it.
  using SelectionFactory = std::function<std::shared_ptr<platform::com::Dispatch>(Application&)>;
  void select_object(SelectionFactory factory);
  void clear_selected_object() { selected_object_ = nullptr; }

  const std::optional<CopiedCells>& clipboard() const { return clipboard_; }
  void set_clipboard(std::optional<CopiedCells> copied) { clipboard_ = std::move(copied); }

  // The name Excel gives its next new workbook ("Classeur2") and counts it.
  std::string next_new_workbook_name();
  // The name of a new workbook made from a template "Thor.xlt": "Thor1", "Thor2", ...
  std::string next_template_copy_name(const std::string& template_stem);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  explicit Application(ApplicationOptions options);
  void create_main_window();
  void register_running(bool running);
  void die();
  // Activates the visible window that was active most recently, or leaves
  // no active workbook when every window is hidden.
  void activate_next_visible_window();

  // Members that hand out automation objects.
  platform::com::Variant workbooks();
  platform::com::Variant active_workbook_object();
  platform::com::Variant active_sheet();
  platform::com::Variant active_window();
  platform::com::Variant active_cell();
  platform::com::Variant sheets();
  platform::com::Variant names();
  platform::com::Variant windows();
  platform::com::Variant selection();
  platform::com::Variant command_bars_object();
  // Range, Cells, Rows and Columns of the active sheet, given as they came.
  platform::com::Variant on_active_sheet(platform::com::DispId id, std::span<platform::com::Variant> args);
  platform::com::Variant run(std::span<platform::com::Variant> args);

  bool alive_ = true;
  bool visible_ = false;
  Language language_;
  std::optional<std::string> caption_;
  bool display_full_screen_ = false;
  bool show_tool_tips_ = true;
  bool show_startup_dialog_ = true;
  std::int32_t comment_indicator_;
  bool screen_updating_ = true;
  bool display_alerts_ = true;
  std::string templates_path_;
  std::string active_printer_;
  std::string current_folder_;
  std::string default_file_path_;
  std::vector<std::string> writable_folders_;
  CommandBarSet command_bars_;
  CustomListSet custom_lists_;

  std::vector<std::shared_ptr<model::Workbook>> workbooks_;
  std::vector<std::shared_ptr<model::Workbook>> recent_;
  std::shared_ptr<model::Workbook> active_workbook_;
  int new_workbook_count_ = 0;
  std::vector<std::pair<std::string, int>> template_copy_counts_;
  SelectionFactory selected_object_;
  std::optional<CopiedCells> clipboard_;

  platform::win32::HWND main_window_ = 0;
  std::optional<std::string> edit_cell_;
  std::vector<platform::win32::HWND> dialogs_;
  std::optional<std::uint32_t> running_cookie_;
};

}  // namespace engine::app
