#include "engine/app/application.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "engine/app/more_dispids.hpp"
#include "engine/app/registration.hpp"
#include "platform/com/apartment.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"
#include "platform/excel/constants.hpp"
#include "platform/fs/folders.hpp"
#include "platform/fs/path.hpp"
#include "platform/win32/desktop.hpp"

namespace engine::app {

namespace com = platform::com;
namespace win32 = platform::win32;

namespace {

const char* const kExcelName = "Microsoft Excel";

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string user_data_folder() {
  std::string data = environment("XDG_DATA_HOME");
  if (!data.empty()) return data;
  return environment("HOME") + "/.local/share";
}

std::string without_trailing_separator(std::string folder) {
  while (folder.size() > 1 && platform::fs::is_separator(folder.back())) folder.pop_back();
  return folder;
}

// Windows Excel gives its templates folder with a final "\"; the file calls
// take it, and callers append file or folder names to it.
std::string templates_folder(const std::string& root) {
  std::string base = root.empty() ? user_data_folder() + "/Microsoft" : without_trailing_separator(root);
  return base + "/Templates\\";
}

std::string start_folder(const std::string& configured) {
  if (!configured.empty()) return without_trailing_separator(configured);
  std::string documents = environment("HOME") + "/Documents";
  if (!environment("HOME").empty() && platform::fs::folder_exists(documents)) return documents;
  return std::filesystem::current_path().string();
}

}  // namespace

std::shared_ptr<Application> Application::create(ApplicationOptions options) {
  std::shared_ptr<Application> app(new Application(std::move(options)));
  app->create_main_window();
  return app;
}

Application::Application(ApplicationOptions options)
    : language_(options.language),
      comment_indicator_(platform::excel::xlCommentIndicatorOnly),
      templates_path_(templates_folder(options.templates_root)),
      active_printer_(options.printer.empty() ? texts(options.language).no_printer : options.printer),
      current_folder_(start_folder(options.current_folder)),
      default_file_path_(current_folder_),
      writable_folders_(std::move(options.writable_folders)),
      custom_lists_(options.language) {}

Application::~Application() {
  win32::Desktop& desktop = win32::current_desktop();
  if (main_window_ && desktop.is_window(main_window_)) desktop.destroy(main_window_);
}

// --- Main window and the world ------------------------------------------------

void Application::create_main_window() {
  std::weak_ptr<Application> weak = std::static_pointer_cast<Application>(shared_from_this());
  win32::NewWindow params;
  params.class_name = "XLMAIN";
  params.title = kExcelName;
  params.style = win32::WS_OVERLAPPEDWINDOW;
  params.on_message = [weak](win32::HWND h, win32::UINT message, win32::WPARAM w, win32::LPARAM l) -> win32::LRESULT {
    std::shared_ptr<Application> app = weak.lock();
    if (app && message == win32::WM_CLOSE) {
      app->close_main_window();
      return 0;
    }
    if (app && message == win32::WM_DESTROY && app->main_window_ == h) {
      app->main_window_ = 0;  // destroyed from outside: Excel goes with its window
      app->die();
      return 0;
    }
    return win32::current_desktop().default_procedure(h, message, w, l);
  };
  params.on_keys = [weak](win32::HWND, const win32::Keystroke& key) {
    std::shared_ptr<Application> app = weak.lock();
    if (app && key.key == "ESC" && !key.shift && !key.ctrl && !key.alt) app->edit_cell_.reset();
  };
  main_window_ = win32::current_desktop().create(std::move(params));
}

std::string Application::caption() const { return caption_.value_or(kExcelName); }

void Application::set_caption(std::string caption) {
  caption_ = std::move(caption);
  refresh_main_window_title();
}

// Excel 2003 shows the active workbook's name after its own while the
// workbook's window is maximised, which is how the course's Excel runs.
void Application::refresh_main_window_title() {
  if (!main_window_) return;
  std::string title = caption();
  if (active_workbook_) title += " - " + active_workbook_->window_caption(active_workbook_->active_window());
  win32::current_desktop().set_title(main_window_, std::move(title));
}

bool Application::busy() const {
  if (edit_cell_) return true;
  const win32::Desktop& desktop = win32::current_desktop();
  return std::any_of(dialogs_.begin(), dialogs_.end(), [&](win32::HWND h) { return desktop.is_window(h); });
}

void Application::enter_edit_mode(std::string cell) { edit_cell_ = std::move(cell); }

win32::HWND Application::open_dialog(std::string title, win32::HWND owner) {
  std::erase_if(dialogs_, [](win32::HWND h) { return !win32::current_desktop().is_window(h); });
  win32::NewWindow params;
  params.class_name = "#32770";
  params.title = std::move(title);
  params.style = win32::WS_POPUP | win32::WS_CAPTION | win32::WS_SYSMENU | win32::WS_VISIBLE;
  params.ex_style = win32::WS_EX_DLGMODALFRAME;
  params.owner = owner ? owner : main_window_;
  win32::HWND dialog = win32::current_desktop().create(std::move(params));
  if (dialog) dialogs_.push_back(dialog);
  return dialog;
}

// GCC 12 falsely reports -Wmaybe-uninitialized inside std::string when it
// inlines the copy of a string member here (GCC bug 105329's kin).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
win32::HWND Application::show_balloon(std::string text) {
  win32::Desktop& desktop = win32::current_desktop();
  win32::NewWindow balloon;
  balloon.class_name = "MSOBALLOON";
  balloon.style = win32::WS_POPUP | win32::WS_VISIBLE;
  win32::HWND h = desktop.create(std::move(balloon));
  win32::NewWindow label;
  label.class_name = "Static";
  label.title = std::move(text);
  label.style = win32::WS_CHILD | win32::WS_VISIBLE;
  label.parent = h;
  desktop.create(std::move(label));
  win32::NewWindow button;
  button.class_name = "Button";
  button.title = "OK";
  button.style = win32::WS_CHILD | win32::WS_VISIBLE;
  button.parent = h;
  desktop.create(std::move(button));
  return h;
}
#pragma GCC diagnostic pop

void Application::close_main_window() {
  if (!alive_) return;
  // A busy Excel does not take the close either: the dialog or the cell being
  // edited keeps it.
  if (busy()) return;
  die();
}

void Application::quit() { die(); }

// Excel quits: its workbooks close unsaved (the stand-in never prompts), its
// windows go, and every later call fails as a call to a dead server.
void Application::die() {
  if (!alive_) return;
  alive_ = false;
  edit_cell_.reset();
  workbooks_.clear();
  recent_.clear();
  active_workbook_.reset();
  selected_object_ = nullptr;
  clipboard_.reset();
  register_running(false);
  win32::Desktop& desktop = win32::current_desktop();
  for (win32::HWND dialog : dialogs_) {
    if (desktop.is_window(dialog)) desktop.destroy(dialog);
  }
  dialogs_.clear();
  win32::HWND window = std::exchange(main_window_, 0);
  if (window && desktop.is_window(window)) desktop.destroy(window);
}

// --- Properties ------------------------------------------------------------------

void Application::set_visible(bool visible) {
  visible_ = visible;
  win32::current_desktop().show(main_window_, visible ? win32::SW_SHOW : win32::SW_HIDE);
  register_running(visible);
}

void Application::register_running(bool running) {
  com::Apartment& apartment = com::Apartment::current();
  if (running && !running_cookie_) {
    running_cookie_ = apartment.register_active_object(excel_clsid(), application_ref());
  } else if (!running && running_cookie_) {
    apartment.revoke_active_object(*std::exchange(running_cookie_, std::nullopt));
  }
}

void Application::set_display_comment_indicator(std::int32_t indicator) {
  using namespace platform::excel;
  if (indicator != xlNoIndicator && indicator != xlCommentIndicatorOnly && indicator != xlCommentAndIndicator) {
    raise_method_failed("DisplayCommentIndicator", "_Application");
  }
  comment_indicator_ = indicator;
}

void Application::set_active_printer(std::string printer) {
  if (printer.empty()) raise_method_failed("ActivePrinter", "_Application");
  active_printer_ = std::move(printer);
}

// ChDir inside Excel: the folder must exist, as ChDir requires.
void Application::set_current_folder(std::string folder) {
  if (!platform::fs::folder_exists(folder)) com::raise(com::err::PathNotFound);
  current_folder_ = without_trailing_separator(std::move(folder));
}

void Application::calculate() {
  for (const auto& book : workbooks_) book->recalculate_all();
}

}  // namespace engine::app

namespace engine::app {

// --- Open workbooks ------------------------------------------------------------

std::shared_ptr<model::Workbook> Application::active_workbook() const { return active_workbook_; }

bool Application::is_open(const model::Workbook& book) const {
  return std::any_of(workbooks_.begin(), workbooks_.end(), [&](const auto& b) { return b.get() == &book; });
}

// `book` may be an element of recent_ itself, hence the copy before the
// list changes.
void Application::activate_workbook(const std::shared_ptr<model::Workbook>& book) {
  if (!book || !is_open(*book)) raise_detached();
  const std::shared_ptr<model::Workbook> activated = book;
  if (active_workbook_ != activated) selected_object_ = nullptr;
  active_workbook_ = activated;
  std::erase(recent_, activated);
  recent_.insert(recent_.begin(), activated);
  refresh_main_window_title();
}

namespace {

std::optional<std::size_t> visible_window(const model::Workbook& book) {
  if (book.window(book.active_window()).visible) return book.active_window();
  for (std::size_t i = 0; i < book.window_count(); ++i) {
    if (book.window(i).visible) return i;
  }
  return std::nullopt;
}

}  // namespace

void Application::add_workbook(std::shared_ptr<model::Workbook> book) {
  workbooks_.push_back(book);
  if (visible_window(*book)) {
    activate_workbook(book);
  } else {
    recent_.push_back(book);
  }
}

void Application::remove_workbook(const std::shared_ptr<model::Workbook>& book) {
  auto found = std::find(workbooks_.begin(), workbooks_.end(), book);
  if (found == workbooks_.end()) return;
  workbooks_.erase(found);
  std::erase(recent_, book);
  if (clipboard_ && clipboard_->book == book) clipboard_.reset();
  if (active_workbook_ == book) activate_next_visible_window();
  refresh_main_window_title();
}

void Application::set_window_visible(const std::shared_ptr<model::Workbook>& book, std::size_t index, bool visible) {
  if (!book || !is_open(*book)) raise_detached();
  book->window(index).visible = visible;
  if (visible) {
    book->activate_window(index);
    activate_workbook(book);
  } else if (active_workbook_ == book && book->active_window() == index) {
    activate_next_visible_window();
  }
}

void Application::activate_next_visible_window() {
  for (const auto& book : recent_) {
    if (const auto window = visible_window(*book)) {
      book->activate_window(*window);
      activate_workbook(book);
      return;
    }
  }
  selected_object_ = nullptr;
  active_workbook_ = nullptr;
  refresh_main_window_title();
}

void Application::select_object(SelectionFactory factory) { selected_object_ = std::move(factory); }

std::string Application::next_new_workbook_name() {
  return texts(language_).new_workbook + std::to_string(++new_workbook_count_);
}

std::string Application::next_template_copy_name(const std::string& template_stem) {
  const std::string key = com::lcase(template_stem);
  auto found = std::find_if(template_copy_counts_.begin(), template_copy_counts_.end(),
                            [&](const auto& entry) { return entry.first == key; });
  if (found == template_copy_counts_.end()) {
    template_copy_counts_.emplace_back(key, 0);
    found = template_copy_counts_.end() - 1;
  }
  return template_stem + std::to_string(++found->second);
}

}  // namespace engine::app
