// Formula text as SpreadsheetML stores it: Excel's English A1 notation
// without the leading "=", parsed by engine/formula. A function Excel 2003
// lacks ("_xlfn.IFS", "CONCAT") parses as a call the engine does not know
// and computes #NAME?, as Excel 2003 shows it; text the parser cannot take
// (a reference into another workbook, a table reference) is reported, and
// the cell keeps the result the file saved.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/formula/formula.hpp"

namespace engine::xlsx {

struct ParsedFormula {
  std::shared_ptr<const formula::Formula> formula;  // null when it cannot be used
  std::string problem;                              // why, when it cannot
};

ParsedFormula parse_formula_text(std::string_view text);

}  // namespace engine::xlsx
