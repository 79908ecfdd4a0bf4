// Any text as a formula typed into a cell: parsed, printed as the formula
// bar shows it, parsed again from that print (the print must read back as
// the same formula, or saving and loading a workbook would change it), and
// evaluated in a small workbook with values, a sheet and names that refer
// to each other.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/formula/formula.hpp"
#include "engine/model/workbook.hpp"
#include "platform/com/error.hpp"

namespace {

namespace f = engine::formula;
namespace m = engine::model;

// The same small workbook for every input: evaluation must not change it.
m::Workbook& workbook() {
  static m::Workbook* book = [] {
    auto* b = new m::Workbook("Fuzz.xls");
    m::Worksheet& first = b->add_sheet("Feuil1");
    m::Worksheet& second = b->add_sheet("Deux mots");
    for (int row = 0; row < 8; ++row) {
      first.set_value(row, 0, f::Value(row * 1.5));
      first.set_value(row, 1, f::Value("t" + std::to_string(row)));
      second.set_value(row, 2, f::Value(row % 2 == 0));
    }
    first.set_value(8, 0, f::Value(f::CellError::Div0));
    b->add_name("Zone", "=Feuil1!$A$1:$B$8");
    b->add_name("Taux", "=0.196");
    b->add_name("Double", "=Taux+Taux");
    b->add_name("Boucle", "=Boucle+1");
    return b;
  }();
  return *book;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::shared_ptr<const f::Formula> formula;
  try {
    formula = f::parse(text);
  } catch (const f::ParseError&) {
    return 0;
  }
  const std::string printed = f::print(*formula);
  std::shared_ptr<const f::Formula> again;
  try {
    again = f::parse(printed);
  } catch (const f::ParseError&) {
    std::abort();  // the print of a formula does not read back
  }
  if (f::print(*again) != printed) std::abort();

  m::Worksheet& sheet = *workbook().find_sheet("Feuil1");
  try {
    sheet.set_formula(20, 3, formula);
    sheet.value(20, 3);
    sheet.set_value(20, 3, f::Value());
  } catch (const platform::com::Error&) {
    // A formula a cell refuses (1004), as Excel refuses it.
  }
  return 0;
}
