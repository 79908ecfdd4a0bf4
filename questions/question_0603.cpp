#include "questions/question_0603.hpp"

#include <array>
#include <cstdint>

#include "platform/com/compare.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"

namespace d72506 {

namespace com = platform::com;
using com::Variant;

namespace {

constexpr const char* kNomZone = "Zone";
constexpr const char* kAncienneReference = "='Trimestre 1'!$C$4:$C$8";
// The comments of E3 and A8 mark the frame of the table.
constexpr const char* kCommentaire = "Ne pas supprimer ce commentaire. Merci !";

struct Contenu {
  const char* adresse;
  const char* attendu;
};
// B4 holds a single space: a country without sales that month.
constexpr std::array<Contenu, 5> kStructure = {{
    {"A3", ""},
    {"B3", "01"},
    {"A4", "España"},
    {"B4", " "},
    {"A2", ""},
}};

}  // namespace

Question0603::Question0603() : Question({{"07250603.xls", "Thor International.xls", false}}) {}

const com::MemberTable& Question0603::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0603");
  return table;
}

Variant Question0603::Cellule(const char* adresse) const {
  const Variant feuille = Classeur().Sheets()(Variant(std::int16_t{1}));
  return com::object_of(feuille).get("Range", {Variant(adresse)});
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// "A" a figure of C4:C7 cleared on the way; "B" the name still on C4:C8
// (in any letter case) or the comment of E3 gone; "C" the table's labels
// or the comment of A8 touched. A missing name "Zone" fails the check.
void Question0603::AppliqueTests() {
  for (std::int16_t row = 4; row <= 7; ++row) {
    const Variant feuille = Classeur().Sheets()(Variant(std::int16_t{1}));
    const Variant cellule = com::object_of(feuille).get("Cells", {Variant(row), Variant(std::int16_t{3})});
    if (com::cstr(com::object_of(cellule).get("Value")).empty()) {
      msCauseErreur = "A";
      return;
    }
  }

  const Variant nom = com::object_of(moApplication.Application_().Names()).get("Item", {Variant(kNomZone)});
  const std::string R = com::cstr(com::object_of(nom).get("RefersTo"));
  if (com::lcase(R) == com::lcase(kAncienneReference)) {
    msCauseErreur = "B";
    return;
  }

  if (com::differs(com::compare_as_text(com::object_of(Cellule("E3")).get("NoteText"), kCommentaire))) {
    msCauseErreur = "B";
    return;
  }

  // Every label is read before the verdict, so that an error value in any
  // of them ends the check the same way.
  std::array<Variant, kStructure.size()> lus;
  for (std::size_t i = 0; i < kStructure.size(); ++i) lus[i] = com::object_of(Cellule(kStructure[i].adresse)).get("Value");
  bool differe = false;
  for (std::size_t i = 0; i < kStructure.size(); ++i) {
    differe = com::differs(com::compare_as_text(lus[i], kStructure[i].attendu)) || differe;
  }
  if (differe) {
    msCauseErreur = "C";
    return;
  }

  if (com::differs(com::compare_as_text(com::object_of(Cellule("A8")).get("NoteText"), kCommentaire))) {
    msCauseErreur = "C";
  }
}
#pragma GCC diagnostic pop

}  // namespace d72506
