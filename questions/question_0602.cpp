#include "questions/question_0602.hpp"

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/com/traps.hpp"

namespace d72506 {

namespace com = platform::com;
using com::Variant;

namespace {

// The number of custom lists Excel had at the last preparation of this
// question. The original keeps it in a module variable, one per apartment,
// shared by every Question0602 object of the thread; the check removes the
// lists numbered above it.
thread_local std::int32_t NombreListesInitial = 0;

// Excel compares a list with a zero-based array of texts.
Variant Liste(std::initializer_list<const char*> entrees) {
  std::vector<Variant> items;
  for (const char* entree : entrees) items.emplace_back(entree);
  return Variant::array(std::move(items));
}

// An older version of the exercise left this list behind.
Variant ListeResiduelle() { return Liste({"Spain", "France.", "UK"}); }
// The trainee forgot the full stop of "France.".
Variant ListeApprochee() { return Liste({"España", "France", "UK"}); }
Variant ListeAttendue() { return Liste({"España", "France.", "UK"}); }

}  // namespace

Question0602::Question0602() : Question({{"07250602.xls", "Thor International.xls", false}}) {}

const com::MemberTable& Question0602::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0602");
  return table;
}

// The count is noted before the leftover goes, so that a list the trainee
// adds afterwards may take the noted number itself.
void Question0602::Prepare(Variant& iApplication, const std::string& isPathDossier, const std::string& isPathModele) {
  Question::Prepare(iApplication, isPathDossier, isPathModele);
  com::ignore_error([&] { NombreListesInitial = moApplication.CustomListCount(); });
  std::int32_t n = 0;
  com::ignore_error([&] { n = moApplication.GetCustomListNum(ListeResiduelle()); });
  com::ignore_error([&] { moApplication.DeleteCustomList(n); });
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// "A" neither the expected list nor the near miss: every list added since
// the preparation goes, the highest number first so that the numbers still
// to delete do not move. "B" the near miss alone: it goes. Otherwise the
// answer is right and the expected list goes, whatever that costs.
void Question0602::AppliqueTests() {
  const std::int32_t near = moApplication.GetCustomListNum(ListeApprochee());
  const std::int32_t exact = moApplication.GetCustomListNum(ListeAttendue());
  std::int32_t c = moApplication.CustomListCount();

  if (exact == 0 && near == 0) {
    msCauseErreur = "A";
    while (c > NombreListesInitial) {
      moApplication.DeleteCustomList(c);
      c = c - 1;
    }
  } else if (near != 0 && exact == 0) {
    msCauseErreur = "B";
    moApplication.DeleteCustomList(near);
  } else {
    com::ignore_error([&] { moApplication.DeleteCustomList(exact); });
  }
}
#pragma GCC diagnostic pop

}  // namespace d72506
