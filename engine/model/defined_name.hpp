// A defined name (NAME record): workbook-level or local to one sheet, with
// what it refers to kept as a parsed formula ("='Trimestre 1'!$C$4:$C$8").
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/formula/context.hpp"
#include "engine/formula/formula.hpp"

namespace engine::model {

struct DefinedName {
  std::string name;
  std::optional<formula::SheetId> sheet;  // nothing: workbook-level
  std::shared_ptr<const formula::Formula> refers_to;
  bool visible = true;

  // The RefersTo text, starting with "=".
  std::string refers_to_text() const { return formula::print(*refers_to); }
};

// Excel's rules for a name: 1 to 255 characters, starting with a letter, "_"
// or "\", then letters, digits, ".", "_", "?" or "\"; neither a cell
// reference ("A1", "IV65536") nor an R1C1 one ("R", "C", "R1C1").
bool is_valid_name(std::string_view name);

}  // namespace engine::model
