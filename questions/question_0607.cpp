#include "questions/question_0607.hpp"

#include "platform/com/compare.hpp"

namespace d72506 {

namespace com = platform::com;
using com::Variant;

namespace {

constexpr std::int16_t kPremiereLigneTableau = 9;
constexpr std::int16_t kDerniereLigneTableau = 12;
constexpr std::int16_t kDerniereLigneExaminee = 20;
constexpr std::int16_t kDerniereColonneTableau = 5;

// A9 is empty in the table and B10 holds a single space that a trainee may
// well lose: neither tells whether the table is still there.
bool NonExaminee(std::int16_t row, std::int16_t column) {
  return (row == 9 && column == 1) || (row == 10 && column == 2);
}

}  // namespace

Question0607::Question0607() : Question({{"07250607.xls", "Thor International.xls", false}}) {}

const com::MemberTable& Question0607::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0607");
  return table;
}

Variant Question0607::Ligne(std::int16_t row) const {
  const Variant feuille = Classeur().Sheets()(Variant(std::int16_t{1}));
  return com::object_of(feuille).get("Rows", {Variant(row)});
}

bool Question0607::UneLigneMasquee(std::int16_t first, std::int16_t last) const {
  for (std::int16_t row = first; row <= last; ++row) {
    if (com::equal(com::compare_as_boolean(com::object_of(Ligne(row)).get("Hidden"), true))) return true;
  }
  return false;
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// "A" the table cleared; "B" a row of it still shown; "C" a row of it in an
// outline group (collapsed groups hide rows too); "D" another row hidden.
void Question0607::AppliqueTests() {
  for (std::int16_t row = kPremiereLigneTableau; row <= kDerniereLigneTableau; ++row) {
    for (std::int16_t column = 1; column <= kDerniereColonneTableau; ++column) {
      if (NonExaminee(row, column)) continue;
      const Variant feuille = Classeur().Sheets()(Variant(std::int16_t{1}));
      const Variant cellule = com::object_of(feuille).get("Cells", {Variant(row), Variant(column)});
      if (com::object_of(cellule).get("Value").is_empty()) {
        msCauseErreur = "A";
        return;
      }
    }
  }

  for (std::int16_t row = kPremiereLigneTableau; row <= kDerniereLigneTableau; ++row) {
    if (com::equal(com::compare_as_boolean(com::object_of(Ligne(row)).get("Hidden"), false))) {
      msCauseErreur = "B";
      return;
    }
  }

  for (std::int16_t row = kPremiereLigneTableau; row <= kDerniereLigneTableau; ++row) {
    if (com::differs(com::compare_as_number(com::object_of(Ligne(row)).get("OutlineLevel"), 1))) {
      msCauseErreur = "C";
      return;
    }
  }

  if (UneLigneMasquee(1, kPremiereLigneTableau - 1) ||
      UneLigneMasquee(kDerniereLigneTableau + 1, kDerniereLigneExaminee)) {
    msCauseErreur = "D";
  }
}
#pragma GCC diagnostic pop

}  // namespace d72506
