#include "engine/import/workbook_loader.hpp"

#include "platform/com/error.hpp"

namespace engine::import {

void add_user_style(model::Workbook& book, const std::string& name, model::CellFormat format) {
  format.style = "Normal";
  if (!book.styles().find(name)) book.styles().add(name, format);
  format.style = name;
  book.styles().update(name, format, model::StyleIncludes{});
}

void define_name(model::Workbook& book, std::string_view name, std::string_view refers_to,
                 std::optional<std::size_t> sheet_index, LoadReport* report) {
  std::optional<model::SheetId> scope;
  if (sheet_index) {
    if (*sheet_index >= book.sheet_count()) {
      report_loss(report, "defined name", std::string(name), "it belongs to a sheet the workbook does not have");
      return;
    }
    scope = book.sheet(*sheet_index).id();
  }
  try {
    book.add_name(name, refers_to, scope);
  } catch (const platform::com::Error& error) {
    report_loss(report, "defined name", std::string(name), error.description());
  }
}

model::PageSetup accepted_page_setup(const model::PageSetup& setup) {
  try {
    model::validate(setup);
    return setup;
  } catch (const platform::com::Error&) {
    return {};
  }
}

}  // namespace engine::import
