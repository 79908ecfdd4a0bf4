#include "cli/spreadsheet_choice.hpp"

#include <cstdlib>
#include <system_error>

#include "bridge/libreoffice/registration.hpp"
#include "module/registration.hpp"
#include "player/player.hpp"

namespace d72506::cli {

namespace stdfs = std::filesystem;

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// A person at a screen sees LibreOffice's window; anywhere else it runs
// headless. A display named but not there (a local X display without its
// socket, a Wayland one without its own) is no screen: LibreOffice would
// end as soon as it tried to show a window.
bool display_present() {
  const std::string wayland = environment("WAYLAND_DISPLAY");
  if (!wayland.empty()) {
    std::error_code error;
    if (stdfs::exists(stdfs::path(environment("XDG_RUNTIME_DIR")) / wayland, error)) return true;
  }
  const std::string x = environment("DISPLAY");
  if (x.empty()) return false;
  if (x.front() != ':') return true;  // a display on another host
  const std::string number = x.substr(1, x.find('.') - 1);
  std::error_code error;
  return stdfs::exists("/tmp/.X11-unix/X" + number, error);
}

}  // namespace

void register_spreadsheet(const stdfs::path& templates_root, const std::string& printer,
                          const stdfs::path& working_folder, player::Spreadsheet spreadsheet) {
  if (spreadsheet == player::Spreadsheet::StandIn) {
    player::register_classes(templates_root, printer, working_folder);
    return;
  }
  bridge::libreoffice::BridgeOptions options;
  options.office.with_window = display_present();
  options.templates_root = templates_root.string();
  options.printer = printer;
  options.writable_folders = player::writable_folders(templates_root, working_folder);
  bridge::libreoffice::register_libreoffice(std::move(options));
  register_module();
}

}  // namespace d72506::cli
