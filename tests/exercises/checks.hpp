// What each question's check concludes from the state an answer left: the
// cause code ("" when the answer is right, "AA" when a value cannot be
// compared), read through the same members, in the same order, as the
// module's checks read them. The answers' tests compare it with the code an
// answer script announces.
#pragma once

#include <string>

#include "tests/exercises/exercise_world.hpp"

namespace exercises::testing {

std::string verdict(int question, ExerciseWorld& world);

}  // namespace exercises::testing
