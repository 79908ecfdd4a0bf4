// The criteria of COUNTIF and SUMIF: ">5", "<>abc", "=", "a*", 10, TRUE.
#pragma once

#include "engine/formula/value.hpp"

namespace engine::formula {

class Criterion {
 public:
  explicit Criterion(const Value& criterion);

  bool matches(const Value& cell) const;

 private:
  enum class Comparison { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };
  Comparison comparison_ = Comparison::Equal;
  Value operand_;
};

}  // namespace engine::formula
