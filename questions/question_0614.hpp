// Question 614: a new workbook made from the template "Thor.xlt" and left
// unsaved. The preparation opens nothing: it notes the most recent "thor"
// workbook already open, so that the check can tell a workbook made after
// it from one that was there before.
#pragma once

#include <string>

#include "questions/question.hpp"

namespace d72506 {

class Question0614 final : public Question {
 public:
  Question0614();
  const platform::com::MemberTable& members() const override;

  void Prepare(platform::com::Variant& iApplication, const std::string& isPathDossier,
               const std::string& isPathModele) override;

 private:
  void AppliqueTests() override;

  // The active workbook's name sorts after the one noted at preparation.
  bool EstPosterieur() const;
  // The first sheet's labels, month headers and formula are the template's.
  bool StructureIntacte() const;
  bool FormatEnTeteIntact(const char* adresse) const;
  platform::com::Variant Cellule(const char* adresse) const;

  // Kept across Fermer: the preparation writes it, the check reads it.
  std::string NomClasseurInitial;
};

}  // namespace d72506
