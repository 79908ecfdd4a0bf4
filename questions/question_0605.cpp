#include "questions/question_0605.hpp"

#include <cstdint>
#include <string>

#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"
#include "platform/com/traps.hpp"

namespace d72506 {

namespace com = platform::com;
using com::Variant;

Question0605::Question0605() : Question({{"07250605.xls", "Thor International.xls", false}}) {}

const com::MemberTable& Question0605::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0605");
  return table;
}

Variant Question0605::CelluleA2() const {
  const Variant feuille = Classeur().Sheets()(Variant(std::int16_t{1}));
  return com::object_of(feuille).get("Range", {Variant("A2")});
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// "A" nothing in A2; "B" the value 120, the average of the whole block,
// however it was obtained; "C" a formula other than AVERAGE; "D" a value
// that is no number, a constant, or an AVERAGE of the wrong cells. The
// value is read back from its text form under the user's regional
// settings, the same that wrote it.
void Question0605::AppliqueTests() {
  const std::string V = com::cstr(com::object_of(CelluleA2()).get("Value"));
  const std::string F = com::cstr(com::object_of(CelluleA2()).get("Formula"));
  if (F.empty() || V.empty()) {
    msCauseErreur = "A";
    return;
  }

  double nombre = 0;
  if (com::ignore_error([&] { nombre = com::cdbl(Variant(V)); })) {
    msCauseErreur = "D";
    return;
  }
  if (nombre == 120) {
    msCauseErreur = "B";
    return;
  }

  if (com::left(F, 1) == "=") {
    if (com::left(F, 8) != "=AVERAGE" && com::left(F, 9) != "=+AVERAGE") {
      msCauseErreur = "C";
    } else if (nombre != 117) {
      msCauseErreur = "D";
    }
  } else {
    msCauseErreur = "D";
  }
}
#pragma GCC diagnostic pop

}  // namespace d72506
