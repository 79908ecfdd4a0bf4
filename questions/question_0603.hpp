// Question 603: the name "Zone", which covers C4:C8 of "Trimestre 1",
// redefined on the figures only, the table around it left as it was.
#pragma once

#include "questions/question.hpp"

namespace d72506 {

class Question0603 final : public Question {
 public:
  Question0603();
  const platform::com::MemberTable& members() const override;

 private:
  void AppliqueTests() override;
  // Range(adresse) of the first sheet, reached afresh.
  platform::com::Variant Cellule(const char* adresse) const;
};

}  // namespace d72506
