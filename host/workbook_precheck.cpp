// The exercise workbook in a state the question's check can work on: for
// question 611 a printer defined; the working copy open and active; its
// sheets named as expected at their places; the reference note of F13 (or
// the three shapes of question 615) intact. Names compare in lower case,
// the printer text and the note exactly.
#include <string>

#include "module/module.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"

namespace d72506 {

namespace com = platform::com;
namespace excel = platform::excel;
using com::Variant;

namespace {

constexpr const char* kSansImprimante = "Imprimante non définie. Vérifiez le panneau de configuration.";
constexpr const char* kNoteDeReference = "Ne pas supprimer ce commentaire. Merci !";

std::string NomEnMinuscules(const Variant& objet) { return com::lcase(com::cstr(com::object_of(objet).get("Name"))); }

bool AUneFeuille(const excel::Sheets& feuilles, std::int32_t n, const std::string& nom) {
  for (std::int32_t index = 1; index <= n; ++index) {
    if (NomEnMinuscules(feuilles(Variant(index))) == nom) return true;
  }
  return false;
}

bool NoteIntacte(const excel::Workbook& classeur, std::int16_t feuille) {
  const Variant cellule = com::object_of(classeur.Sheets()(Variant(feuille))).get("Range", {Variant("F13")});
  return com::cstr(com::object_of(cellule).get("NoteText")) == kNoteDeReference;
}

}  // namespace

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
bool Module::VerifieClasseur() {
  const std::int32_t q = mlQuestion;
  const auto echec = [&](const char* code) {
    msCauseErreur = code;
    return false;
  };

  if (q == 611 && moApplication.ActivePrinter() == kSansImprimante) return echec("#BA");

  std::string nom;
  std::int32_t n = 0;
  if (q != 614) {
    const Variant fichiers = Question().get("FichiersDeTravail");
    const Variant premier = com::object_of(fichiers).get("Item", {Variant(std::int32_t{1})});
    nom = com::lcase(com::cstr(com::object_of(premier).get("NomDest")));
    n = moApplication.Workbooks().Count();
  }
  if (q == 609 || q == 613 || q == 614) return true;

  bool trouve = false;
  for (std::int32_t index = 1; index <= n && !trouve; ++index) {
    trouve = com::lcase(moApplication.Workbooks()(Variant(index)).Name()) == nom;
  }
  if (!trouve) return echec("C");
  if (com::lcase(moApplication.ActiveWorkbook().Name()) != nom) return echec("A");

  const excel::Workbook classeur = moApplication.Workbooks()(Variant(nom));
  const excel::Sheets feuilles = classeur.Sheets();
  n = feuilles.Count();
  const auto premiere = [&] { return NomEnMinuscules(feuilles(Variant(std::int32_t{1}))); };
  const auto seconde = [&] { return NomEnMinuscules(feuilles(Variant(std::int32_t{2}))); };

  if (q >= 601 && q <= 607) {
    if (!AUneFeuille(feuilles, n, "trimestre 1")) msCauseErreur = "B";
    if (premiere() != "trimestre 1") return echec("B");
    if (q <= 606 && !NoteIntacte(classeur, 1)) return echec("D");
  }
  if (q == 608 || q == 610 || q == 611 || q == 612) {
    if (!AUneFeuille(feuilles, n, "détail")) msCauseErreur = "F";
    if (premiere() != "détail") return echec("F");
    if (!AUneFeuille(feuilles, n, "trimestre 1")) msCauseErreur = "G";
    if (seconde() != "trimestre 1") return echec("G");
    if (q == 611 && NomEnMinuscules(classeur.ActiveSheet()) != "trimestre 1") return echec("K");
  }
  if ((q == 610 || q == 611 || q == 612) && !NoteIntacte(classeur, 2)) return echec("D");
  if (q == 615) {
    if (!AUneFeuille(feuilles, n, "réponses")) msCauseErreur = "H";
    if (premiere() != "réponses") return echec("H");
    const Variant formes = com::object_of(feuilles(Variant(std::int32_t{1}))).get("Shapes");
    if (com::clng(com::object_of(formes).get("count")) != 3) return echec("D");
  }
  return true;
}
#pragma GCC diagnostic pop

}  // namespace d72506
