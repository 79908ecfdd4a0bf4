#include "questions/question_0610.hpp"

#include "platform/com/compare.hpp"
#include "platform/com/convert.hpp"

namespace d72506 {

namespace com = platform::com;
using com::Variant;

namespace {

constexpr const char* kFeuille = "Trimestre 1";

}  // namespace

Question0610::Question0610() : Question({{"07250610.xls", "Thor International.xls", false}}) {}

const com::MemberTable& Question0610::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0610");
  return table;
}

Variant Question0610::NiveauDePlan(std::int16_t ligne) const {
  const Variant rangee = com::object_of(moApplication.Sheets()(Variant(kFeuille))).get("Rows", {Variant(ligne)});
  return com::object_of(rangee).get("OutlineLevel");
}

// The group's summary row is the total row under the countries, the last
// row of the table; Excel reads its ShowDetail from the group above it.
bool Question0610::GroupeDeplie() const {
  com::object_of(moApplication.ActiveWorkbook().Sheets()(Variant(kFeuille))).call("Activate");
  const Variant cellule =
      com::object_of(moApplication.ActiveWorkbook().Sheets()(Variant(kFeuille))).get("Range", {Variant("A4")});
  const Variant region = com::object_of(cellule).get("CurrentRegion");
  const std::int32_t n = com::clng(com::object_of(com::object_of(region).get("Rows")).get("Count"));
  const Variant derniere = com::object_of(region).get("Rows", {Variant(n)});
  return com::cbool(com::object_of(derniere).get("ShowDetail"));
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// "A" the countries not one group of their own (level 2; a group made twice
// is level 3), "B" the heading row taken into it, "C" the total row taken
// into it, "D" the group left expanded.
void Question0610::AppliqueTests() {
  for (std::int16_t ligne = 4; ligne <= 6; ++ligne) {
    if (com::differs(com::compare_as_number(NiveauDePlan(ligne), 2))) {
      msCauseErreur = "A";
      return;
    }
  }
  if (com::differs(com::compare_as_number(NiveauDePlan(3), 1))) {
    msCauseErreur = "B";
    return;
  }
  if (com::differs(com::compare_as_number(NiveauDePlan(7), 1))) {
    msCauseErreur = "C";
    return;
  }
  if (GroupeDeplie()) msCauseErreur = "D";
}
#pragma GCC diagnostic pop

}  // namespace d72506
