// Question 606: the reference number of D1 (text) shown with the suffix
// "-52" through a custom text format, not typed into the cell.
#pragma once

#include "questions/question.hpp"

namespace d72506 {

class Question0606 final : public Question {
 public:
  Question0606();
  const platform::com::MemberTable& members() const override;

 private:
  void AppliqueTests() override;
  // Range("D1") of the first sheet, reached afresh.
  platform::com::Variant CelluleD1() const;
};

}  // namespace d72506
