// Question 604: the table copied into A9:E12 of the first sheet with its
// rows and columns swapped: the countries across, the months down.
#pragma once

#include "questions/question.hpp"

namespace d72506 {

class Question0604 final : public Question {
 public:
  Question0604();
  const platform::com::MemberTable& members() const override;

 private:
  void AppliqueTests() override;
};

}  // namespace d72506
