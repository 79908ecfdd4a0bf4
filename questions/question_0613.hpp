// Question 613: the exercise workbook saved as the template "thor.xlt" in
// the course's templates folder, and closed.
#pragma once

#include "questions/question.hpp"

namespace d72506 {

class Question0613 final : public Question {
 public:
  Question0613();
  const platform::com::MemberTable& members() const override;

  // Unlike the other checks, this one turns no error into "AA": every
  // failure is reported under "TestePoint".
  void TestePoint() override;

 private:
  void AppliqueTests() override;
};

}  // namespace d72506
