// Question 612: the cell style "Titre bleu" of the active workbook, with a
// bold, italic font in colour index 55.
#pragma once

#include "questions/question.hpp"

namespace d72506 {

class Question0612 final : public Question {
 public:
  Question0612();
  const platform::com::MemberTable& members() const override;

 private:
  void AppliqueTests() override;
};

}  // namespace d72506
