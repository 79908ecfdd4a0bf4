// The macro language's operators on Variants, with its typing rules:
// Integer arithmetic that overflows moves up to Long and then Double, "/"
// and "^" give Doubles, "\" and Mod round their operands to whole numbers,
// And/Or/Xor/Not are bitwise on numbers and logical on Booleans, and Null
// spreads through everything but "&" (and the And/Or cases a Null cannot
// change). Objects take part through their default value.
#pragma once

#include "platform/com/variant.hpp"

namespace platform::script {

enum class UnaryOp { Negate, Not };

enum class BinaryOp {
  Add, Subtract, Multiply, Divide, IntegerDivide, Modulo, Power, Concatenate,
  Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Is,
  And, Or, Xor,
};

com::Variant apply(UnaryOp op, const com::Variant& operand);
com::Variant apply(BinaryOp op, const com::Variant& left, const com::Variant& right);

}  // namespace platform::script
