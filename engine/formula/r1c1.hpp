// Formula text in R1C1 notation, as the macro recorder writes it
// (ActiveCell.FormulaR1C1 = "=R[-1]C+1"), and back. The parser and the
// printer speak A1 only, so a formula given in R1C1 is turned into A1 text
// relative to the cell it goes into, and read back the other way.
//
// The translation works on the text: string literals and quoted sheet names
// are copied as they are, and only whole words that are references in the
// source notation change, whole rows and columns included: "C1" is "$A:$A",
// "R[1]" the next row, "R2:R4" is "$2:$4", and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace engine::formula {

// "=R[-1]C+R1C1" in the cell (row, column), 0-based, as A1 text; nullopt
// when a reference falls off the grid.
std::optional<std::string> r1c1_to_a1(std::string_view formula, int row, int column);

// "=A1+$A$1" in the cell (row, column) as R1C1 text.
std::string a1_to_r1c1(std::string_view formula, int row, int column);

}  // namespace engine::formula
