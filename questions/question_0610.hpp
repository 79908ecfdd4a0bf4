// Question 610: on "Trimestre 1", the rows of the countries (4 to 6)
// grouped on their own and the group collapsed.
#pragma once

#include <cstdint>

#include "questions/question.hpp"

namespace d72506 {

class Question0610 final : public Question {
 public:
  Question0610();
  const platform::com::MemberTable& members() const override;

 private:
  void AppliqueTests() override;
  // Outline level of a row of "Trimestre 1" in the active workbook.
  platform::com::Variant NiveauDePlan(std::int16_t ligne) const;
  // Whether the summary row below the table around A4 shows its detail;
  // leaves "Trimestre 1" active.
  bool GroupeDeplie() const;
};

}  // namespace d72506
