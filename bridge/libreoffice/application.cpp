// Application over a LibreOffice process: its documents as Excel's
// workbooks, its main window as "XLMAIN" in the thread's window manager,
// and the settings the module saves and restores.
#include <algorithm>

#include <com/sun/star/awt/XTopWindow2.hpp>
#include <com/sun/star/awt/XWindow2.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XLayoutManager.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/thePathSettings.hpp>

#include "bridge/libreoffice/objects.hpp"
#include "bridge/libreoffice/registration.hpp"
#include "platform/com/apartment.hpp"
#include "platform/com/members.hpp"
#include "platform/com/text.hpp"
#include "platform/excel/constants.hpp"
#include "platform/excel/dispids.hpp"
#include "platform/fs/folders.hpp"
#include "platform/fs/path.hpp"
#include "platform/win32/desktop.hpp"

namespace bridge::libreoffice {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;
namespace win32 = platform::win32;
namespace stdfs = std::filesystem;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

// Excel 2003's bars the module arranges, each with LibreOffice's own. The
// task pane is LibreOffice's sidebar, which no layout manager shows: its
// state is kept here only.
std::vector<CommandBarState> excel_command_bars() {
  return {{"Worksheet Menu Bar", "private:resource/menubar/menubar", true, true, 1},
          {"Standard", "private:resource/toolbar/standardbar", true, true, 1},
          {"Formatting", "private:resource/toolbar/formatobjectbar", true, true, 1},
          {"Drawing", "private:resource/toolbar/drawbar", true, false, 3},
          {"Task Pane", "", true, true, 2}};
}

std::string without_trailing_separator(std::string folder) {
  while (folder.size() > 1 && platform::fs::is_separator(folder.back())) folder.pop_back();
  return folder;
}

Reference<css::frame::XFrame> frame_of(const Document& document) {
  const Reference<css::frame::XModel> model(document, UNO_QUERY_THROW);
  const Reference<css::frame::XController> controller = model->getCurrentController();
  return controller.is() ? controller->getFrame() : Reference<css::frame::XFrame>();
}

Reference<css::awt::XTopWindow2> top_window_of(const Document& document) {
  const Reference<css::frame::XFrame> frame = frame_of(document);
  if (!frame.is()) return {};
  return Reference<css::awt::XTopWindow2>(frame->getContainerWindow(), UNO_QUERY);
}

}  // namespace

// --- Life -------------------------------------------------------------------------

Application::Application(BridgeOptions options) : options_(std::move(options)), bars_(excel_command_bars()) {}

std::shared_ptr<Application> Application::create(BridgeOptions options) {
  std::shared_ptr<Application> app(new Application(std::move(options)));
  app->office_ = Office::start(app->options_.office);
  app->current_folder_ = app->office_->call([&] {
    const auto paths = css::util::thePathSettings::get(app->office_->context());
    return path_of_url(paths->getWork()).string();
  });
  app->create_main_window();
  app->watch_office();
  return app;
}

Application::~Application() {
  win32::Desktop& desktop = win32::current_desktop();
  if (main_window_ && desktop.is_window(main_window_)) desktop.destroy(main_window_);
}

std::shared_ptr<Application> Application::self_ref() {
  return std::static_pointer_cast<Application>(shared_from_this());
}

void Application::create_main_window() {
  std::weak_ptr<Application> weak = self_ref();
  win32::NewWindow params;
  params.class_name = "XLMAIN";
  params.title = "LibreOffice Calc";
  params.style = win32::WS_OVERLAPPEDWINDOW;
  params.on_message = [weak](win32::HWND h, win32::UINT message, win32::WPARAM w, win32::LPARAM l) -> win32::LRESULT {
    std::shared_ptr<Application> app = weak.lock();
    if (app && message == win32::WM_CLOSE) {
      app->quit();
      return 0;
    }
    if (app && message == win32::WM_DESTROY && app->main_window_ == h) {
      app->main_window_ = 0;
      app->quit();
      return 0;
    }
    return win32::current_desktop().default_procedure(h, message, w, l);
  };
  main_window_ = win32::current_desktop().create(std::move(params));
}

// A LibreOffice that crashed or was closed takes its window with it, as
// Excel's goes: the check runs each time the thread's message loop turns.
void Application::watch_office() {
  std::weak_ptr<Application> weak = self_ref();
  com::Apartment::current().post([weak] {
    std::shared_ptr<Application> app = weak.lock();
    if (!app || app->quit_) return;
    if (app->office_->gone()) {
      app->office_gone();
    } else {
      app->watch_office();
    }
  });
}

void Application::office_gone() {
  quit_ = true;
  register_running(false);
  win32::HWND window = std::exchange(main_window_, 0);
  if (window && win32::current_desktop().is_window(window)) win32::current_desktop().destroy(window);
}

void Application::require_answering() {
  if (!quit_ && office_->gone()) office_gone();
  if (quit_) raise_dead_server();
}

// Excel quits: its workbooks close unsaved, its window goes, and every later
// call fails as a call to a dead server.
void Application::quit() {
  if (quit_) return;
  for (const Document& document : documents_) {
    try {
      office_->call([&] { Reference<css::util::XCloseable>(document, UNO_QUERY_THROW)->close(true); });
    } catch (const com::Error&) {
      // LibreOffice ends below with whatever it still holds.
    }
  }
  documents_.clear();
  activated_.clear();
  office_->quit();
  office_gone();
}

void Application::register_running(bool running) {
  com::Apartment& apartment = com::Apartment::current();
  if (running && !running_cookie_) {
    running_cookie_ = apartment.register_active_object(excel_clsid(), self_ref());
  } else if (!running && running_cookie_) {
    apartment.revoke_active_object(*std::exchange(running_cookie_, std::nullopt));
  }
}

// --- Visibility -------------------------------------------------------------------

void Application::set_visible(bool visible) {
  require_answering();
  if (options_.office.with_window) {
    for (const Document& document : documents()) {
      office_->call([&] {
        if (const auto frame = frame_of(document); frame.is()) frame->getContainerWindow()->setVisible(visible);
      });
    }
  }
  visible_ = visible;
  win32::current_desktop().show(main_window_, visible ? win32::SW_SHOW : win32::SW_HIDE);
  register_running(visible);
}

bool Application::visible() const { return visible_; }

// --- Documents --------------------------------------------------------------------

const std::vector<Document>& Application::documents() {
  require_answering();
  office_->call([&] {
    std::vector<Document> open;
    const auto components = office_->desktop()->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
      Document document(components->nextElement(), UNO_QUERY);
      if (document.is()) open.push_back(document);
    }
    std::erase_if(documents_, [&](const Document& d) { return std::find(open.begin(), open.end(), d) == open.end(); });
    for (const Document& d : open) {
      if (std::find(documents_.begin(), documents_.end(), d) == documents_.end()) documents_.push_back(d);
    }
  });
  return documents_;
}

// The workbook activated last that is still open, as Excel goes back to the
// one active before when the active one closes; else the one opened last.
Document Application::active_document() {
  const std::vector<Document>& open = documents();
  for (auto d = activated_.rbegin(); d != activated_.rend(); ++d) {
    if (std::find(open.begin(), open.end(), *d) != open.end()) return *d;
  }
  return open.empty() ? Document() : open.back();
}

Document Application::document_at(const Variant& index) {
  const std::vector<Document> open = documents();
  std::vector<std::string> names;
  for (const Document& d : open) names.push_back(name_of(d));
  return open[item_position(index, names)];
}

void Application::activate(const Document& document) {
  std::erase(activated_, document);
  activated_.push_back(document);
  if (!options_.office.with_window) return;
  office_->call([&] {
    if (const auto window = top_window_of(document); window.is()) window->toFront();
  });
}

void Application::forget(const Document& document) {
  std::erase(documents_, document);
  std::erase_if(window_states_, [&](const auto& entry) { return entry.first == document; });
  std::erase(activated_, document);
}

Document Application::open(const std::string& filename) {
  require_answering();
  const stdfs::path path = platform::fs::host_path(filename);
  std::error_code error;
  if (!stdfs::is_regular_file(path, error)) {
    com::raise(com::err::ApplicationDefined, "Microsoft Excel",
               "'" + filename + "' could not be found. Check the spelling of the file name, and verify that the "
               "file location is correct.");
  }
  const rtl::OUString url = file_url(stdfs::weakly_canonical(path));
  for (const Document& document : documents()) {
    const bool same = office_->call([&] { return Reference<css::frame::XModel>(document, UNO_QUERY_THROW)->getURL() == url; });
    if (same) {
      activate(document);
      return document;
    }
  }
  const Document document = office_->call([&] {
    const auto arguments = properties({
        property("Hidden", css::uno::Any(!options_.office.with_window)),
        property("MacroExecutionMode", css::uno::Any(css::document::MacroExecMode::NEVER_EXECUTE))});
    const Reference<css::frame::XComponentLoader> loader(office_->desktop(), UNO_QUERY_THROW);
    const auto component = loader->loadComponentFromURL(url, to_uno("_blank"), 0, arguments);
    Document opened(component, UNO_QUERY);
    if (!opened.is() && component.is()) Reference<css::util::XCloseable>(component, UNO_QUERY_THROW)->close(true);
    return opened;
  });
  if (!document.is()) {
    com::raise(com::err::ApplicationDefined, "Microsoft Excel", "'" + filename + "' is not a workbook.");
  }
  documents_.push_back(document);
  activate(document);
  return document;
}

Document Application::add(const std::optional<Variant>& template_name) {
  require_answering();
  const bool from_template = template_name && !template_name->is_missing();
  const rtl::OUString url = from_template ? file_url(platform::fs::host_path(com::cstr(*template_name)))
                                          : to_uno("private:factory/scalc");
  const Document document = office_->call([&] {
    const auto arguments = properties({
        property("Hidden", css::uno::Any(!options_.office.with_window)),
        property("AsTemplate", css::uno::Any(from_template)),
        property("MacroExecutionMode", css::uno::Any(css::document::MacroExecMode::NEVER_EXECUTE))});
    const Reference<css::frame::XComponentLoader> loader(office_->desktop(), UNO_QUERY_THROW);
    return Document(loader->loadComponentFromURL(url, to_uno("_blank"), 0, arguments), UNO_QUERY_THROW);
  });
  documents_.push_back(document);
  activate(document);
  return document;
}

// A saved workbook is named after its file, as Excel names it; a new one
// after LibreOffice's title for it.
std::string Application::name_of(const Document& document) {
  return office_->call([&] {
    const rtl::OUString url = Reference<css::frame::XModel>(document, UNO_QUERY_THROW)->getURL();
    if (!url.isEmpty()) return path_of_url(url).filename().string();
    return from_uno(Reference<css::frame::XTitle>(document, UNO_QUERY_THROW)->getTitle());
  });
}

Sheet Application::active_sheet_of(const Document& document) {
  return office_->call([&] {
    const Reference<css::frame::XModel> model(document, UNO_QUERY_THROW);
    const Reference<css::sheet::XSpreadsheetView> view(model->getCurrentController(), UNO_QUERY);
    if (view.is()) return view->getActiveSheet();
    const Reference<css::container::XIndexAccess> sheets(document->getSheets(), UNO_QUERY_THROW);
    return Sheet(sheets->getByIndex(0), UNO_QUERY_THROW);
  });
}

void Application::require_writable(const stdfs::path& file) {
  std::error_code error;
  const stdfs::path absolute = stdfs::absolute(file, error);
  if (!error && platform::fs::lies_within_any(absolute.parent_path(), options_.writable_folders)) return;
  com::raise(com::err::ApplicationDefined, "Microsoft Excel",
             "Microsoft Excel cannot access the file '" + file.string() + "'. The folder is not one it may write to.");
}

// --- Windows and bars -------------------------------------------------------------

// A workbook's window a person hid (Window, Hide) is hidden; without a
// display every window counts as shown, as nobody could have hidden it.
bool Application::window_visible(const Document& document) {
  if (!options_.office.with_window) return true;
  return office_->call([&] {
    const auto frame = frame_of(document);
    const Reference<css::awt::XWindow2> window(frame.is() ? frame->getContainerWindow() : nullptr, UNO_QUERY);
    return window.is() && window->isVisible();
  });
}

std::int32_t Application::window_state(const Document& document) {
  using namespace platform::excel;
  if (options_.office.with_window) {
    return office_->call([&] {
      const auto window = top_window_of(document);
      if (!window.is() || window->getIsMaximized()) return xlMaximized;
      return window->getIsMinimized() ? xlMinimized : xlNormal;
    });
  }
  for (const auto& [d, state] : window_states_) {
    if (d == document) return state;
  }
  return xlNormal;
}

void Application::set_window_state(const Document& document, std::int32_t state) {
  using namespace platform::excel;
  if (state != xlMaximized && state != xlMinimized && state != xlNormal) {
    com::raise(com::err::ApplicationDefined, "Microsoft Excel", "Unable to set the WindowState property of the Window class");
  }
  if (options_.office.with_window) {
    office_->call([&] {
      if (const auto window = top_window_of(document); window.is()) {
        window->setIsMinimized(state == xlMinimized);
        window->setIsMaximized(state == xlMaximized);
      }
    });
    return;
  }
  std::erase_if(window_states_, [&](const auto& entry) { return entry.first == document; });
  window_states_.emplace_back(document, state);
}

// A bar with a LibreOffice toolbar behind it is shown or hidden there too,
// in every document's frame, when LibreOffice has a window to show it in.
void Application::apply(const CommandBarState& bar) {
  require_answering();
  if (!options_.office.with_window || bar.resource.empty()) return;
  for (const Document& document : documents()) {
    office_->call([&] {
      const auto frame = frame_of(document);
      if (!frame.is()) return;
      const Reference<css::beans::XPropertySet> frame_properties(frame, UNO_QUERY_THROW);
      Reference<css::frame::XLayoutManager> layout(frame_properties->getPropertyValue(to_uno("LayoutManager")), UNO_QUERY);
      if (!layout.is()) return;
      const rtl::OUString resource = to_uno(bar.resource);
      if (bar.enabled && bar.visible) {
        layout->showElement(resource);
      } else {
        layout->hideElement(resource);
      }
    });
  }
}

std::string Application::templates_path() {
  require_answering();
  if (!options_.templates_root.empty()) return without_trailing_separator(options_.templates_root) + "/Templates\\";
  const std::string own = office_->call([&] {
    const Reference<css::beans::XPropertySet> paths(css::util::thePathSettings::get(office_->context()), UNO_QUERY_THROW);
    rtl::OUString url;
    paths->getPropertyValue(to_uno("Template_writable")) >>= url;
    return path_of_url(url).string();
  });
  return own + "/";
}

// Excel's current folder is LibreOffice's work folder, where its file
// dialogs start.
void Application::set_current_folder(const std::string& folder) {
  require_answering();
  if (!platform::fs::folder_exists(folder)) com::raise(com::err::PathNotFound);
  const rtl::OUString url = file_url(platform::fs::host_path(folder));
  office_->call([&] { css::util::thePathSettings::get(office_->context())->setWork(url); });
  current_folder_ = without_trailing_separator(folder);
}

}  // namespace bridge::libreoffice
