#include "questions/question_0614.hpp"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "module/remonte_erreur.hpp"
#include "platform/com/compare.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/error.hpp"
#include "platform/com/text.hpp"
#include "platform/com/traps.hpp"
#include "platform/excel/constants.hpp"

namespace d72506 {

namespace com = platform::com;
namespace excel = platform::excel;
using com::Variant;

namespace {

constexpr const char* kPrefixe = "thor";
constexpr const char* kNote = "Ne pas supprimer ce commentaire. Merci !";
// The template's formula in A2, in Excel's English notation.
constexpr const char* kFormuleMoyenne = "=IF(B7>0,AVERAGE(B4:D4,B6:D6),\"\")";

bool EstChiffre(char c) { return c >= '0' && c <= '9'; }

std::size_t SauteChiffres(const std::string& s, std::size_t i) {
  while (i < s.size() && EstChiffre(s[i])) ++i;
  return i;
}

// The runtime's Val: blanks, tabs and line feeds are ignored wherever they
// stand; the number is the longest prefix made of a sign, digits, one
// decimal point and an exponent ("E" or "D"); text that does not begin with
// a number is 0. A number beyond a Double's range raises 6.
double Val(std::string_view texte) {
  std::string s;
  std::copy_if(texte.begin(), texte.end(), std::back_inserter(s),
               [](char c) { return c != ' ' && c != '\t' && c != '\n'; });
  std::size_t fin = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
  const std::size_t debutEntier = fin;
  fin = SauteChiffres(s, fin);
  bool chiffres = fin > debutEntier;
  if (fin < s.size() && s[fin] == '.') {
    const std::size_t debutDecimales = fin + 1;
    fin = SauteChiffres(s, debutDecimales);
    chiffres = chiffres || fin > debutDecimales;
  }
  if (!chiffres) return 0;

  std::string nombre = s.substr(s[0] == '+' ? 1 : 0, fin - (s[0] == '+' ? 1 : 0));
  if (fin < s.size() && std::string_view("eEdD").find(s[fin]) != std::string_view::npos) {
    std::size_t debutExposant = fin + 1;
    if (debutExposant < s.size() && (s[debutExposant] == '+' || s[debutExposant] == '-')) ++debutExposant;
    const std::size_t finExposant = SauteChiffres(s, debutExposant);
    if (finExposant > debutExposant) nombre += "e" + s.substr(fin + 1, finExposant - fin - 1);
  }
  double valeur = 0;
  const auto resultat = std::from_chars(nombre.data(), nombre.data() + nombre.size(), valeur);
  if (resultat.ec == std::errc::result_out_of_range) com::raise(com::err::Overflow);
  return valeur;
}

}  // namespace

Question0614::Question0614() : Question({{"07250614.xlt", "Thor.xlt", true}}) {}

const com::MemberTable& Question0614::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0614");
  return table;
}

// The most recent workbook whose name begins with "thor" in any case, met
// first from the end of the collection, which keeps the order of opening.
void Question0614::Prepare(Variant& iApplication, const std::string& isPathDossier, const std::string& isPathModele) {
  com::report_and_fail(
      [&] {
        RetientArguments(iApplication, isPathDossier, isPathModele);
        std::string nom;
        for (std::int32_t i = moApplication.Workbooks().Count(); i >= 1 && nom.empty(); --i) {
          if (com::lcase(com::left(moApplication.Workbooks()(Variant(i)).Name(), 4)) == kPrefixe) {
            nom = moApplication.Workbooks()(Variant(i)).Name();
          }
        }
        NomClasseurInitial = nom;
      },
      Rapporte(type_name(), "Prepare"));
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// "C" no workbook at all; "A" the active workbook saved or made before the
// preparation; "B" not a workbook made from the template, or its first
// sheet no longer the template's. The order is the verdict's: a saved
// workbook is "A" whatever its content.
void Question0614::AppliqueTests() {
  if (moApplication.Workbooks().Count() == 0) {
    msCauseErreur = "C";
    return;
  }
  const std::string nom = moApplication.ActiveWorkbook().Name();
  if (com::instr(nom, ".") > 0 || !EstPosterieur()) {
    msCauseErreur = "A";
    return;
  }
  if (com::lcase(com::left(nom, 4)) != kPrefixe || Val(com::mid(nom, 5)) == 0 || !StructureIntacte() ||
      com::differs(com::compare_as_text(com::object_of(Cellule("F13")).get("NoteText"), kNote))) {
    msCauseErreur = "B";
    return;
  }
  for (const char* adresse : {"B3", "C3", "D3"}) {
    if (!FormatEnTeteIntact(adresse)) {
      msCauseErreur = "B";
      return;
    }
  }
}
#pragma GCC diagnostic pop

// A new workbook's sequence number sorts after the one noted at the
// preparation, compared as text ("Thor10" does not follow "Thor9"). A name
// shorter than the prefix gives a negative length: 5, so "AA".
bool Question0614::EstPosterieur() const {
  const std::string nom = moApplication.ActiveWorkbook().Name();
  const std::int32_t longueur = com::len(nom) - 4;
  const std::string suite = com::mid(nom, 5, longueur);
  const std::string suiteInitiale = com::mid(NomClasseurInitial, 5, longueur);
  return com::str_comp(suite, suiteInitiale) > 0;
}

// Every term is read before the verdict, so that a read failing late in the
// group wins over a difference found earlier in it.
bool Question0614::StructureIntacte() const {
  const auto valeur = [&](const char* adresse) { return com::object_of(Cellule(adresse)).get("Value"); };
  const com::Comparison comparaisons[] = {
      com::compare_as_number(Variant(moApplication.ActiveWorkbook().Sheets().Count()), 1),
      com::compare_as_text(valeur("B3"), "01"),
      com::compare_as_text(valeur("C3"), "02"),
      com::compare_as_text(valeur("D3"), "03"),
      com::compare_as_text(com::object_of(Cellule("A2")).get("Formula"), kFormuleMoyenne),
      com::compare_as_text(valeur("A4"), "España"),
      com::compare_as_text(valeur("A5"), "France"),
      com::compare_as_text(valeur("A6"), "UK"),
      com::compare_as_text(valeur("A7"), "Total"),
  };
  return std::none_of(std::begin(comparaisons), std::end(comparaisons), com::differs);
}

// The template's formatting of a month header, all thirteen properties read
// before the verdict as for the structure.
bool Question0614::FormatEnTeteIntact(const char* adresse) const {
  const auto lit = [&](const char* propriete) { return com::object_of(Cellule(adresse)).get(propriete); };
  const auto litFond = [&](const char* propriete) {
    const Variant fond = com::object_of(Cellule(adresse)).get("Interior");
    return com::object_of(fond).get(propriete);
  };
  const com::Comparison comparaisons[] = {
      com::compare_as_text(lit("NumberFormat"), "General"),
      com::compare_as_number(lit("HorizontalAlignment"), excel::xlCenter),
      com::compare_as_number(lit("VerticalAlignment"), excel::xlBottom),
      com::compare_as_boolean(lit("WrapText"), false),
      com::compare_as_number(lit("Orientation"), excel::xlHorizontal),
      com::compare_as_boolean(lit("AddIndent"), false),
      com::compare_as_number(lit("IndentLevel"), 0),
      com::compare_as_boolean(lit("ShrinkToFit"), false),
      com::compare_as_number(lit("ReadingOrder"), excel::xlContext),
      com::compare_as_boolean(lit("MergeCells"), false),
      com::compare_as_number(litFond("ColorIndex"), 47),
      com::compare_as_number(litFond("Pattern"), excel::xlSolid),
      com::compare_as_number(litFond("PatternColorIndex"), 17),
  };
  return std::none_of(std::begin(comparaisons), std::end(comparaisons), com::differs);
}

// A cell of the active workbook's first sheet, reached afresh.
Variant Question0614::Cellule(const char* adresse) const {
  const Variant feuille = moApplication.ActiveWorkbook().Sheets()(Variant(std::int16_t{1}));
  return com::object_of(feuille).get("Range", {Variant(adresse)});
}

}  // namespace d72506
