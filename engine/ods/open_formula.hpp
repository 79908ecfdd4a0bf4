// OpenFormula, the formula language of OpenDocument files ("of:=SUM([.B4:.D4])"),
// rewritten as Excel's English A1 text ("=SUM(B4:D4)") for engine/formula to
// parse. Only the notation changes: bracketed references, ";" between
// arguments, "|" between the rows of an inline array, "~" for union and "!"
// for intersection. Function names pass through (a few LibreOffice spells
// differently are renamed), so a function the engine does not know parses
// as a call that computes #NAME?.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace engine::ods {

// The Excel text of a table:formula attribute, starting with "=". Throws
// OpenFormulaError for text this translation cannot carry: another
// namespace than "of:" or "oooc:", a reference into another document, an
// unterminated string or reference.
std::string excel_formula(std::string_view open_formula);

// The Excel text of a reference as table:cell-range-address and
// table:base-cell-address write it ("$'Trimestre 1'.$C$4:.$C$8"), without "=".
std::string excel_reference(std::string_view address);

class OpenFormulaError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace engine::ods
