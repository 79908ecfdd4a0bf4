// Formula rewrites that follow a sheet being renamed or deleted: the
// formula engine moves references for inserted rows, the workbook also needs
// its references to follow its sheets.
#pragma once

#include <memory>
#include <string_view>

#include "engine/formula/formula.hpp"

namespace engine::model {

// References and names qualified by `old_name` (letter case ignored) are
// qualified by `new_name`. Returns the same pointer when nothing changed.
std::shared_ptr<const formula::Formula> rename_sheet_references(const std::shared_ptr<const formula::Formula>& f,
                                                                std::string_view old_name,
                                                                std::string_view new_name);

// References into the sheet `name` become #REF!, as Excel leaves them when
// the sheet is deleted. Returns the same pointer when nothing changed.
std::shared_ptr<const formula::Formula> delete_sheet_references(const std::shared_ptr<const formula::Formula>& f,
                                                                std::string_view name);

}  // namespace engine::model
