#include "questions/question_0608.hpp"

#include <cstdint>

#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"

namespace d72506 {

namespace com = platform::com;
using com::Variant;

Question0608::Question0608() : Question({{"07250608.xls", "Thor International.xls", false}}) {}

const com::MemberTable& Question0608::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0608");
  return table;
}

// The active workbook's, not the working copy by name: the pre-check has
// already made sure the working copy is the active one.
Variant Question0608::PremiereFeuille() const { return moApplication.Sheets()(Variant(std::int16_t{1})); }

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// One code for both faults: an outline left over the list, or a total row
// left in it. The rows where the subtotals stood must hold list data again;
// only the first five letters count, so "Total France" and "totalité" both
// give "A". A cell holding an error value cannot be taken as text: "AA".
void Question0608::AppliqueTests() {
  std::int16_t niveau = 1;
  for (std::int16_t ligne = 4; ligne <= 24 && niveau == 1; ++ligne) {
    const Variant rangee = com::object_of(PremiereFeuille()).get("Rows", {Variant(ligne)});
    niveau = com::cint(com::object_of(rangee).get("OutlineLevel"));
  }
  if (niveau != 1) {
    msCauseErreur = "A";
    return;
  }

  bool resteUnTotal = false;
  for (const char* adresse : {"A10", "A16", "A22", "A23"}) {
    // The cell's default member is its value.
    const Variant cellule = com::object_of(PremiereFeuille()).get("Range", {Variant(adresse)});
    if (com::lcase(com::left(com::cstr(cellule), 5)) == "total") resteUnTotal = true;
  }
  if (resteUnTotal) msCauseErreur = "A";
}
#pragma GCC diagnostic pop

}  // namespace d72506
