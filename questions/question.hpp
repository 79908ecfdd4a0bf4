// The frame every question class shares: its fields, the five properties
// the controller reads by name, the registration of its work files at
// creation, the standard preparation of the exercise workbook, the trap of
// its check, and its closing. A question class adds its work files and its
// tests (and, for a few, a preparation of its own).
//
// The controller reaches a question only by member name, so each class
// carries the frame's members under its own class name.
#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "module/complement_info.hpp"
#include "module/fichiers_de_travail.hpp"
#include "platform/com/dispatch.hpp"
#include "platform/excel/automation.hpp"

namespace d72506 {

class Question : public platform::com::Dispatch {
 public:
  // The properties: no trap, no effect beyond creating an absent work-file list.
  std::shared_ptr<d72506::ComplementInfo> ComplementInfo() const { return moComplementInfo; }
  std::shared_ptr<d72506::FichiersDeTravail> FichiersDeTravail();
  std::string PathDossierParDefaut() const { return msPathDossierParDefaut; }
  bool BravoNuance() const { return mbBravoNuance; }
  std::string CauseErreur() const { return msCauseErreur; }

  // The standard preparation: opens "Thor International.xls" of the working
  // folder and activates it. Failures are reported under "Prepare".
  virtual void Prepare(platform::com::Variant& iApplication, const std::string& isPathDossier,
                       const std::string& isPathModele);
  // The check: an empty cause code, a new complement list, then the
  // question's tests. Errors 13, 5 and 6 give "AA"; any other is reported
  // under "TestePoint".
  virtual void TestePoint();
  // Drops the application, the work files and the complement list; closes
  // no workbook, as cleaning is the controller's.
  void Fermer();

 protected:
  explicit Question(std::initializer_list<Fichier> fichiers);

  // The frame's members under the class's own name.
  static platform::com::MemberTable MembresDeQuestion(std::string nomClasse);

  // The first steps of every preparation: the folders and the application
  // kept, the default folder set to the working folder.
  void RetientArguments(const platform::com::Variant& iApplication, const std::string& isPathDossier,
                        const std::string& isPathModele);

  // The standard preparation on the exercise workbook `nomClasseur`, for a
  // question whose working copy bears another name.
  void PrepareClasseur(platform::com::Variant& iApplication, const std::string& isPathDossier,
                       const std::string& isPathModele, const std::string& nomClasseur);

  // The question's tests, in their order; the first that fails sets the
  // cause code and ends them.
  virtual void AppliqueTests() = 0;

  // The exercise workbook, reached afresh through the application.
  platform::excel::Workbook Classeur() const;

  platform::excel::Application moApplication;
  std::shared_ptr<d72506::FichiersDeTravail> moFichiersDeTravail;
  std::string msCauseErreur;
  bool mbBravoNuance = false;
  std::string msPathDossier;
  std::string msPathModele;
  std::string msPathDossierParDefaut;
  std::shared_ptr<d72506::ComplementInfo> moComplementInfo;
};

}  // namespace d72506
