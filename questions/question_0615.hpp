// Question 615: a choice question on templates, answered by ticking the
// first of the two check boxes of the protected sheet "réponses" of "Les
// Modèles.xls". Its preparation also empties the course's templates folder,
// which the earlier questions of the chapter filled.
#pragma once

#include <string>

#include "questions/question.hpp"

namespace d72506 {

class Question0615 final : public Question {
 public:
  Question0615();
  const platform::com::MemberTable& members() const override;

  void Prepare(platform::com::Variant& iApplication, const std::string& isPathDossier,
               const std::string& isPathModele) override;

 private:
  void AppliqueTests() override;

  // Deletes every file of the templates folder, closing first the open
  // template of each ".xlt" name. Reports nothing.
  void VideDossierModeles();
  // The state of a check box (xlOn, xlOff, xlMixed), read through the
  // selection as a trainee's click leaves it.
  std::int32_t EtatCase(const char* numero) const;
};

}  // namespace d72506
