#include "engine/app/workbook_files.hpp"

#include <filesystem>
#include <system_error>

#include "engine/app/application.hpp"
#include "engine/formats/workbook_formats.hpp"
#include "engine/import/file_error.hpp"
#include "engine/xls/workbook_file.hpp"
#include "platform/com/text.hpp"
#include "platform/fs/attributes.hpp"
#include "platform/fs/path.hpp"

namespace engine::app {

namespace {

bool is_absolute(const std::string& name) {
  if (!name.empty() && platform::fs::is_separator(name.front())) return true;
  return name.size() >= 2 && name[1] == ':';  // a drive letter, as Windows callers write
}

std::string extension(const std::string& name) {
  const std::string file = file_part(name);
  const auto dot = file.rfind('.');
  return dot == std::string::npos ? "" : platform::com::lcase(file.substr(dot));
}

// A pipe, a device, a socket or a folder of that name is nothing a workbook
// can be saved into, and opening a pipe to write would wait for a reader for ever.
bool names_other_than_a_file(const std::filesystem::path& host) {
  std::error_code ec;
  const auto type = std::filesystem::status(host, ec).type();
  return type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular &&
         type != std::filesystem::file_type::none;
}

[[noreturn]] void raise_cannot_access(const std::string& full_name) {
  raise_refused("'" + full_name + "' cannot be accessed. The file may be read-only, or you may be trying to "
                "access a read-only location. Or, the server the document is stored on may not be responding.");
}

}  // namespace

std::string full_file_name(const Application& app, const std::string& filename) {
  if (is_absolute(filename)) return filename;
  return app.current_folder() + "/" + filename;
}

std::string file_part(const std::string& full_name) { return platform::fs::split_last(full_name).name; }

std::string folder_part(const std::string& full_name) {
  std::string folder = platform::fs::split_last(full_name).folder;
  if (folder.size() > 1) folder.pop_back();
  return folder;
}

std::string stem(const std::string& name) {
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

bool has_template_extension(const std::string& name) { return extension(name) == ".xlt"; }

std::shared_ptr<model::Workbook> read_workbook(const std::string& full_name) {
  const std::filesystem::path host = platform::fs::host_path(full_name);
  std::error_code ec;
  if (file_part(full_name).empty() || !std::filesystem::is_regular_file(host, ec)) {
    raise_refused("'" + full_name +
                  "' could not be found. Check the spelling of the file name, and verify that the file location "
                  "is correct.");
  }
  // Any format Excel's readers take, recognised by content; the message of a
  // file that cannot be read names it as it is on disk.
  const std::string on_disk = host.filename().string();
  std::shared_ptr<model::Workbook> book;
  try {
    book = formats::read_workbook_file(host.string());
  } catch (const import::FileError& e) {
    throw e.for_file(on_disk);
  }
  book->set_name(on_disk);
  book->set_path(platform::fs::split_last(full_name).folder + on_disk);
  book->set_saved(true);
  return book;
}

void write_workbook(const Application& app, model::Workbook& book, const std::string& full_name) {
  const std::filesystem::path host = platform::fs::host_path(full_name);
  std::error_code ec;
  if (!platform::fs::lies_within_any(host.parent_path(), app.writable_folders())) raise_cannot_access(full_name);
  // Excel never writes over a read-only file (the module's own macro
  // workbook is kept so), nor, here, through a link to a file elsewhere.
  const auto attributes = platform::fs::host_attributes(host);
  if (attributes && (*attributes & platform::fs::attr::ReadOnly) != 0) {
    raise_refused("Cannot access read-only document '" + file_part(full_name) + "'.");
  }
  if (!std::filesystem::is_directory(host.parent_path(), ec) || std::filesystem::is_symlink(host, ec) ||
      names_other_than_a_file(host)) {
    raise_cannot_access(full_name);
  }
  xls::write_workbook_file(book, host.string());
  book.set_path(full_name);
  book.set_name(file_part(full_name));
  book.set_template(has_template_extension(full_name));
  book.set_saved(true);
}

}  // namespace engine::app
