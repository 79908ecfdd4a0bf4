#include "questions/question.hpp"

#include "module/remonte_erreur.hpp"
#include "platform/com/members.hpp"
#include "platform/com/traps.hpp"

namespace d72506 {

namespace com = platform::com;
namespace excel = platform::excel;
using com::Variant;

namespace {

constexpr const char* kClasseurExercice = "Thor International.xls";

}  // namespace

Question::Question(std::initializer_list<Fichier> fichiers) {
  for (const Fichier& f : fichiers) FichiersDeTravail()->add(f.NomSource, f.NomDest, f.Modele);
}

std::shared_ptr<d72506::FichiersDeTravail> Question::FichiersDeTravail() {
  if (!moFichiersDeTravail) moFichiersDeTravail = std::make_shared<d72506::FichiersDeTravail>();
  return moFichiersDeTravail;
}

void Question::Prepare(Variant& iApplication, const std::string& isPathDossier, const std::string& isPathModele) {
  PrepareClasseur(iApplication, isPathDossier, isPathModele, kClasseurExercice);
}

void Question::RetientArguments(const Variant& iApplication, const std::string& isPathDossier,
                                const std::string& isPathModele) {
  msPathDossier = isPathDossier;
  msPathModele = isPathModele;
  msPathDossierParDefaut = msPathDossier;
  moApplication = excel::Application(iApplication);
}

void Question::PrepareClasseur(Variant& iApplication, const std::string& isPathDossier,
                               const std::string& isPathModele, const std::string& nomClasseur) {
  com::report_and_fail(
      [&] {
        RetientArguments(iApplication, isPathDossier, isPathModele);
        // The working folder ends with its own separator.
        moApplication.Workbooks().Open(msPathDossier + nomClasseur);
        moApplication.Workbooks()(Variant(nomClasseur)).Activate();
      },
      Rapporte(type_name(), "Prepare"));
}

// Every check starts from an empty cause code: a trainee who corrects a
// wrong answer must not be told again what was wrong before.
void Question::TestePoint() {
  com::map_to_code(
      msCauseErreur, "AA",
      [&] {
        msCauseErreur.clear();
        moComplementInfo = std::make_shared<d72506::ComplementInfo>();
        AppliqueTests();
      },
      Rapporte(type_name(), "TestePoint"));
}

void Question::Fermer() {
  moApplication = excel::Application();
  moFichiersDeTravail = nullptr;
  moComplementInfo = nullptr;
}

excel::Workbook Question::Classeur() const {
  return moApplication.Application_().Workbooks()(Variant(kClasseurExercice));
}

com::MemberTable Question::MembresDeQuestion(std::string nomClasse) {
  return com::Members<Question>(std::move(nomClasse))
      .get("ComplementInfo", 0x68030000, &Question::ComplementInfo)
      .get("FichiersDeTravail", 0x68030001, &Question::FichiersDeTravail)
      .get("PathDossierParDefaut", 0x68030002, &Question::PathDossierParDefaut)
      .get("BravoNuance", 0x68030003, &Question::BravoNuance)
      .get("CauseErreur", 0x68030004, &Question::CauseErreur)
      .method(
          "Prepare", 0x60030005,
          [](Question& q, Variant& iApplication, const std::string& isPathDossier,
             std::optional<std::string> isPathModele) {
            q.Prepare(iApplication, isPathDossier, isPathModele.value_or(""));
          },
          {"iApplication", "isPathDossier", "isPathModele"})
      .method("TestePoint", 0x60030006, &Question::TestePoint)
      .method("Fermer", 0x60030007, &Question::Fermer);
}

}  // namespace d72506
