// The error a piece of script work stops with, for tests that check it.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "platform/script/script.hpp"

namespace platform::script::testing {

// The error `run` stops with; fails the test when it runs through.
inline ScriptError failure_of(const std::function<void()>& run) {
  try {
    run();
  } catch (const ScriptError& e) {
    return e;
  }
  ADD_FAILURE() << "ran without an error";
  return ScriptError(ScriptError::Kind::Syntax, {}, 0, {}, {});
}

}  // namespace platform::script::testing
