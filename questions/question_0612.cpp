#include "questions/question_0612.hpp"

#include "platform/com/compare.hpp"
#include "platform/com/traps.hpp"

namespace d72506 {

namespace com = platform::com;
using com::Variant;

namespace {

constexpr const char* kStyle = "Titre bleu";

}  // namespace

Question0612::Question0612() : Question({{"07250612.xls", "Thor International.xls", false}}) {}

const com::MemberTable& Question0612::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0612");
  return table;
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// "A" no such style in the active workbook (or no active workbook at all),
// "B" its font not bold, not italic or not in colour 55. All three are read
// before the verdict; an undetermined (Null) value differs from nothing.
void Question0612::AppliqueTests() {
  Variant style;
  const auto introuvable =
      com::ignore_error([&] { style = moApplication.ActiveWorkbook().dispatch().get("Styles", {Variant(kStyle)}); });
  if (introuvable) {
    msCauseErreur = "A";
    return;
  }

  const auto police = [&](const char* membre) {
    return com::object_of(com::object_of(style).get("Font")).get(membre);
  };
  const Variant gras = police("Bold");
  const Variant italique = police("Italic");
  const Variant couleur = police("ColorIndex");
  if (com::equal(com::compare_as_boolean(gras, false)) || com::equal(com::compare_as_boolean(italique, false)) ||
      com::differs(com::compare_as_number(couleur, 55))) {
    msCauseErreur = "B";
  }
}
#pragma GCC diagnostic pop

}  // namespace d72506
