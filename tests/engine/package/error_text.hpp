// The message of the PackageError an action raises, or "no error": the
// package tests check what each failure says, not only that it failed.
#pragma once

#include <string>

#include "engine/package/package_error.hpp"

namespace test_support {

template <class Action>
std::string package_error_of(Action&& action) {
  try {
    action();
  } catch (const engine::package::PackageError& error) {
    return error.what();
  }
  return "no error";
}

}  // namespace test_support
