#include "questions/question_0611.hpp"

#include "platform/com/compare.hpp"
#include "platform/com/traps.hpp"
#include "platform/excel/constants.hpp"

namespace d72506 {

namespace com = platform::com;
namespace excel = platform::excel;
using com::Variant;

namespace {

Variant Lit(const Variant& objet, const char* membre) { return com::object_of(objet).get(membre); }
void Ecrit(const Variant& objet, const char* membre, Variant valeur) {
  com::object_of(objet).put(membre, std::move(valeur));
}

}  // namespace

Question0611::Question0611() : Question({{"07250611.xls", "Thor International.xls", false}}) {}

const com::MemberTable& Question0611::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0611");
  return table;
}

Variant Question0611::Fenetre() const { return moApplication.ActiveWindow(); }
Variant Question0611::MiseEnPage() const { return Lit(moApplication.ActiveSheet(), "PageSetup"); }
Variant Question0611::Lignes(const char* lignes) const {
  return com::object_of(moApplication.ActiveSheet()).get("Rows", {Variant(lignes)});
}

// Rows 4 and 5 are remembered one by one: read as a pair they give Null
// when only one of them is hidden, which cannot be written back.
Question0611::Reglages Question0611::LitReglages() const {
  return {Lit(Fenetre(), "Zoom"), Lit(Lignes("4"), "Hidden"), Lit(Lignes("5"), "Hidden"),
          Lit(MiseEnPage(), "Orientation"), Lit(MiseEnPage(), "CenterHorizontally")};
}

// The opposite of what the view must restore, so that a setting the view
// does not carry stays wrong and shows.
void Question0611::Perturbe() const {
  Ecrit(Fenetre(), "Zoom", Variant(std::int16_t{100}));
  Ecrit(Lignes("4:5"), "Hidden", Variant(true));
  Ecrit(MiseEnPage(), "Orientation", Variant(std::int32_t{excel::xlLandscape}));
  Ecrit(MiseEnPage(), "CenterHorizontally", Variant(false));
}

// A trainee who asks for a verdict before recording the view must find his
// settings as he left them, not the check's disturbance. Each setting is
// put back on its own, as far as it can be.
void Question0611::Restaure(const Reglages& reglages) const {
  com::ignore_error([&] { Ecrit(Fenetre(), "Zoom", reglages.zoom); });
  com::ignore_error([&] { Ecrit(Lignes("4"), "Hidden", reglages.ligne4Masquee); });
  com::ignore_error([&] { Ecrit(Lignes("5"), "Hidden", reglages.ligne5Masquee); });
  com::ignore_error([&] { Ecrit(MiseEnPage(), "Orientation", reglages.orientation); });
  com::ignore_error([&] { Ecrit(MiseEnPage(), "CenterHorizontally", reglages.centrageHorizontal); });
}

bool Question0611::AfficheLaVue() const {
  std::optional<Reglages> avant;
  const auto echec = com::ignore_error([&] {
    avant = LitReglages();
    Perturbe();
    const excel::Object vue(moApplication.ActiveWorkbook().dispatch().get("CustomViews", {Variant("123")}));
    vue.dispatch().call("Show");
  });
  if (echec && avant) Restaure(*avant);
  return !echec;
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// "A" the view cannot be shown, then one code per setting the view does
// not restore: "B" zoom, "C" rows 4 and 5 (one hidden and the other not
// reads undetermined, which is not "hidden"), "D" orientation, "E" centring.
void Question0611::AppliqueTests() {
  if (!AfficheLaVue()) {
    msCauseErreur = "A";
  } else if (com::differs(com::compare_as_number(Lit(Fenetre(), "Zoom"), 110))) {
    msCauseErreur = "B";
  } else if (com::equal(com::compare_as_boolean(Lit(Lignes("4:5"), "Hidden"), true))) {
    msCauseErreur = "C";
  } else if (com::differs(com::compare_as_number(Lit(MiseEnPage(), "Orientation"), excel::xlPortrait))) {
    msCauseErreur = "D";
  } else if (com::differs(com::compare_as_boolean(Lit(MiseEnPage(), "CenterHorizontally"), true))) {
    msCauseErreur = "E";
  }
}
#pragma GCC diagnostic pop

}  // namespace d72506
