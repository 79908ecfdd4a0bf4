// Question 607: the rows 9 to 12 of the first sheet (the table of A9:E12)
// hidden outright, not folded into an outline group, and no other row of
// 1 to 20 hidden.
#pragma once

#include <cstdint>

#include "questions/question.hpp"

namespace d72506 {

class Question0607 final : public Question {
 public:
  Question0607();
  const platform::com::MemberTable& members() const override;

 private:
  void AppliqueTests() override;
  // Rows(row) of the first sheet, reached afresh.
  platform::com::Variant Ligne(std::int16_t row) const;
  // Whether any of the rows first to last is hidden.
  bool UneLigneMasquee(std::int16_t first, std::int16_t last) const;
};

}  // namespace d72506
