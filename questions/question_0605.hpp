// Question 605: A2 of the first sheet holds an AVERAGE formula whose value
// is 117, the average of the months of España and UK.
#pragma once

#include "questions/question.hpp"

namespace d72506 {

class Question0605 final : public Question {
 public:
  Question0605();
  const platform::com::MemberTable& members() const override;

 private:
  void AppliqueTests() override;
  // Range("A2") of the first sheet, reached afresh.
  platform::com::Variant CelluleA2() const;
};

}  // namespace d72506
