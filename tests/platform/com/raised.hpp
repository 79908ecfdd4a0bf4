// The runtime error number `f` raises, 0 when it raises none.
#pragma once

#include "platform/com/error.hpp"

namespace platform::com::testing_support {

template <class F>
int raised(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

}  // namespace platform::com::testing_support
