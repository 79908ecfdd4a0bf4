#include "questions/question_0604.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/convert.hpp"

namespace d72506 {

namespace com = platform::com;
using com::Variant;

namespace {

constexpr std::int16_t kNombreCellules = 20;

// A9:E12 in row order, each cell as its value reads as text: the figures
// in their usual text form, the months as the texts "01" to "03", B10 a
// single space (no sales), A9 empty.
constexpr std::array<std::string_view, kNombreCellules> kTableauAttendu = {
    "",   "España", "France.", "UK",  "Total",  //
    "01", " ",      "125",     "135", "260",    //
    "02", "118",    "100",     "97",  "315",    //
    "03", "125",    "150",     "110", "385"};

}  // namespace

Question0604::Question0604() : Question({{"07250604.xls", "Thor International.xls", false}}) {}

const com::MemberTable& Question0604::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0604");
  return table;
}

// "A" at the first cell that differs. All twenty are read first, so an
// error value anywhere in the block gives "AA" even after a difference.
void Question0604::AppliqueTests() {
  const Variant feuille = Classeur().Sheets()(Variant(std::int16_t{1}));
  const Variant bloc = com::object_of(feuille).get("Range", {Variant("A9:E12")});

  std::array<std::string, kNombreCellules> lu;
  for (std::int16_t position = 1; position <= kNombreCellules; ++position) {
    const Variant cellule = com::object_of(bloc).get("Cells", {Variant(position)});
    lu[position - 1] = com::cstr(com::object_of(cellule).get("Value"));
  }

  // Assigned from a std::string: GCC 12's release build takes the assignment
  // of the literal here for an overlapping copy.
  if (!std::equal(kTableauAttendu.begin(), kTableauAttendu.end(), lu.begin())) msCauseErreur = std::string("A");
}

}  // namespace d72506
