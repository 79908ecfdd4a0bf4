// Question 608: the automatic subtotals removed from the list of the first
// sheet, so that rows 4 to 24 carry no outline and no total row is left at
// rows 10, 16, 22 and 23.
#pragma once

#include "questions/question.hpp"

namespace d72506 {

class Question0608 final : public Question {
 public:
  Question0608();
  const platform::com::MemberTable& members() const override;

 private:
  void AppliqueTests() override;
  // The first sheet of the workbook active at the time of the read.
  platform::com::Variant PremiereFeuille() const;
};

}  // namespace d72506
