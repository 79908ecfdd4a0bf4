// Question 609: the window of the exercise workbook hidden while the
// workbook stays open.
#pragma once

#include "questions/question.hpp"

namespace d72506 {

class Question0609 final : public Question {
 public:
  Question0609();
  const platform::com::MemberTable& members() const override;

 private:
  void AppliqueTests() override;
};

}  // namespace d72506
