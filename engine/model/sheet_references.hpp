// Formula rewrites that follow a sheet being renamed or deleted: the
// formula engine moves references for inserted rows, the workbook also needs
// its references to follow its sheets.
#pragma once

#include <memory>
#include <string_view>

#include "engine/formula/formula.hpp"
#include "engine/model/cell_range.hpp"

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

// For cells inserted (count > 0) or deleted (count < 0) at row `at` of
// the columns `band` alone (or at column `at` of the rows `band`, when not
// by_rows): references on `edited_sheet` that lie within the band move as
// whole-row edits move them, and those into deleted cells become #REF!;
// references reaching outside the band keep their cells, as Excel leaves
// them. `formula_sheet` is the sheet the formula lives on.
std::shared_ptr<const formula::Formula> shift_band_references(const std::shared_ptr<const formula::Formula>& f,
                                                              std::string_view formula_sheet,
                                                              std::string_view edited_sheet, Span band, int at,
                                                              int count, bool by_rows);

}  // namespace engine::model
