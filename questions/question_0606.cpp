#include "questions/question_0606.hpp"

#include <cstdint>

#include "platform/com/compare.hpp"

namespace d72506 {

namespace com = platform::com;
using com::Variant;

namespace {

constexpr const char* kSuffixeSaisi = "09854895-52";
// The two ways of writing the format that the lesson teaches; others that
// display the same (@\-52) are not the lesson's answer.
constexpr const char* kFormatSuffixeCite = "@\"-52\"";
constexpr const char* kFormatMoinsHorsCitation = "@-\"52\"";

}  // namespace

Question0606::Question0606() : Question({{"07250606.xls", "Thor International.xls", false}}) {}

const com::MemberTable& Question0606::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0606");
  return table;
}

Variant Question0606::CelluleD1() const {
  const Variant feuille = Classeur().Sheets()(Variant(std::int16_t{1}));
  return com::object_of(feuille).get("Range", {Variant("D1")});
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// "A" the suffix typed into the cell; "B" neither accepted format. The
// content is not examined further: any content shows through the format.
void Question0606::AppliqueTests() {
  if (com::equal(com::compare_as_text(com::object_of(CelluleD1()).get("Value"), kSuffixeSaisi))) {
    msCauseErreur = "A";
    return;
  }

  const Variant format1 = com::object_of(CelluleD1()).get("NumberFormat");
  const Variant format2 = com::object_of(CelluleD1()).get("NumberFormat");
  if (com::differs(com::compare_as_text(format1, kFormatSuffixeCite)) &&
      com::differs(com::compare_as_text(format2, kFormatMoinsHorsCitation))) {
    msCauseErreur = "B";
  }
}
#pragma GCC diagnostic pop

}  // namespace d72506
