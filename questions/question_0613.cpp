#include "questions/question_0613.hpp"

#include "module/remonte_erreur.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"
#include "platform/com/traps.hpp"
#include "platform/fs/dir.hpp"

namespace d72506 {

namespace com = platform::com;
namespace fs = platform::fs;
using com::Variant;

namespace {

constexpr const char* kModele = "thor.xlt";

}  // namespace

// The three templates have no delivered file: they are listed only so that
// the cleaning removes what an earlier attempt left in the templates folder.
Question0613::Question0613()
    : Question({{"07250613.xls", "Thor International.xls", false},
                {"", "Thor.xlt", true},
                {"", "International.xlt", true},
                {"", "Thor International.xlt", true}}) {}

const com::MemberTable& Question0613::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0613");
  return table;
}

void Question0613::TestePoint() {
  com::report_and_fail(
      [&] {
        msCauseErreur.clear();
        moComplementInfo = std::make_shared<d72506::ComplementInfo>();
        AppliqueTests();
      },
      Rapporte(type_name(), "TestePoint"));
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// "A" no template of that name in the templates folder (the file system
// matches the name in any case); "B" the template is there but still open.
void Question0613::AppliqueTests() {
  if (fs::Dir(msPathModele + kModele, fs::attr::Normal).empty()) {
    msCauseErreur = "A";
    return;
  }
  const std::int16_t n = com::cint(Variant(moApplication.Workbooks().Count()));
  std::int32_t i = 1;
  while (i <= n && com::lcase(moApplication.Workbooks()(Variant(static_cast<std::int16_t>(i))).Name()) != kModele) ++i;
  if (i <= moApplication.Workbooks().Count()) msCauseErreur = "B";
}
#pragma GCC diagnostic pop

}  // namespace d72506
