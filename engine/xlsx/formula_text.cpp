#include "engine/xlsx/formula_text.hpp"

namespace engine::xlsx {

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
ParsedFormula parse_formula_text(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\n')) text.remove_prefix(1);
  if (text.empty()) return {nullptr, "the formula is empty"};
  if (text.size() > formula::max_formula_length)
    return {nullptr, "the formula is longer than Excel 2003's 1,024 characters"};
  try {
    return {formula::parse(text.front() == '=' ? text : "=" + std::string(text)), {}};
  } catch (const formula::ParseError& error) {
    return {nullptr, "the formula '" + std::string(text) + "' cannot be read: " + error.what()};
  }
}
#pragma GCC diagnostic pop

}  // namespace engine::xlsx
