// Question 602: a custom list "España", "France.", "UK" made in the
// application. The lists live in Excel, not in the workbook, so the
// preparation notes how many there are and removes a leftover of an old
// version of the exercise, and the check removes the lists it recognises.
#pragma once

#include "questions/question.hpp"

namespace d72506 {

class Question0602 final : public Question {
 public:
  Question0602();
  const platform::com::MemberTable& members() const override;

  // The standard preparation, then the count of custom lists noted and the
  // leftover list removed; failures of the list steps are skipped.
  void Prepare(platform::com::Variant& iApplication, const std::string& isPathDossier,
               const std::string& isPathModele) override;

 private:
  void AppliqueTests() override;
};

}  // namespace d72506
