#include "questions/question_0601.hpp"

#include "platform/com/compare.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"

namespace d72506 {

namespace com = platform::com;
using com::Variant;

Question0601::Question0601() : Question({{"07250601.xls", "Thor International.xls", false}}) {}

const com::MemberTable& Question0601::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0601");
  return table;
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// "A" nothing entered, "B" the letter O typed for the zero, "C" the number
// entered as a number (the zero lost), "D" anything else but "09854895".
// An error value cannot be taken as text: its 13 becomes "AA".
void Question0601::AppliqueTests() {
  const Variant feuille = Classeur().Sheets()(Variant(std::int16_t{1}));
  const Variant cellule = com::object_of(feuille).get("Range", {Variant("D1")});
  const Variant valeur = com::object_of(cellule).get("Value");

  if (valeur.is_empty()) {
    msCauseErreur = "A";
  } else if (com::left(com::cstr(valeur), 1) == "O") {
    msCauseErreur = "B";
  } else if (com::equal(com::compare_as_text(valeur, "9854895"))) {
    msCauseErreur = "C";
  } else if (com::differs(com::compare_as_text(valeur, "09854895"))) {
    msCauseErreur = "D";
  }
}
#pragma GCC diagnostic pop

}  // namespace d72506
