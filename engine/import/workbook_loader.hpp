// The model rules of a load at the workbook level, shared by every reader:
// user styles, defined names, and the final state a freshly opened workbook
// has whatever its format.
//
// Thread rule: as sheet_loader.hpp.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "engine/import/load_report.hpp"
#include "engine/model/cell_format.hpp"
#include "engine/model/page_setup.hpp"
#include "engine/model/workbook.hpp"

namespace engine::import {

// Adds a user style with the format its file record gives, or updates the
// style of that name the table already holds. The style's own format derives
// from Normal, as Excel keeps it.
void add_user_style(model::Workbook& book, const std::string& name, model::CellFormat format);

// Defines a name from its Excel A1 text (without or with "="), global or
// local to the sheet at `sheet_index`. A definition the model refuses is left
// out and reported, never fatal: a workbook with one odd name still opens.
void define_name(model::Workbook& book, std::string_view name, std::string_view refers_to,
                 std::optional<std::size_t> sheet_index, LoadReport* report);

// Print settings as a file recorded them (a custom view's), or the defaults
// when Excel would not accept them.
model::PageSetup accepted_page_setup(const model::PageSetup& setup);

}  // namespace engine::import
