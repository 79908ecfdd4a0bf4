// Question 601: the telephone number 09854895 entered in D1 of the first
// sheet so that its leading zero survives, that is, as text.
#pragma once

#include "questions/question.hpp"

namespace d72506 {

class Question0601 final : public Question {
 public:
  Question0601();
  const platform::com::MemberTable& members() const override;

 private:
  void AppliqueTests() override;
};

}  // namespace d72506
