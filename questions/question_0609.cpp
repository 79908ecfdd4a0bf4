#include "questions/question_0609.hpp"

#include "platform/com/convert.hpp"
#include "platform/com/traps.hpp"

namespace d72506 {

namespace com = platform::com;
namespace excel = platform::excel;
using com::Variant;

namespace {

// The application finds a window by its caption in any letter case, so the
// lower-case "i" finds the window of "Thor International.xls" as well.
constexpr const char* kFenetre = "Thor international.xls";

}  // namespace

Question0609::Question0609() : Question({{"07250609.xls", "Thor International.xls", false}}) {}

const com::MemberTable& Question0609::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0609");
  return table;
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// "A" no such window (the workbook closed), "B" the window still visible;
// a minimised window is visible too.
void Question0609::AppliqueTests() {
  excel::Object fenetre;
  const auto introuvable =
      com::ignore_error([&] { fenetre = excel::Object(moApplication.dispatch().get("Windows", {Variant(kFenetre)})); });
  if (introuvable) {
    msCauseErreur = "A";
    return;
  }
  if (com::cbool(fenetre.dispatch().get("Visible"))) msCauseErreur = "B";
}
#pragma GCC diagnostic pop

}  // namespace d72506
