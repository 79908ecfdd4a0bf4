// The runtime functions a script may call by name (CStr, Len, Left, InStr,
// Array, ...), over platform/com's conversions and string helpers. Those
// that need a user interface (MsgBox, InputBox) are known but unavailable,
// so that a script asking for them gets a clear refusal rather than an
// unknown name.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "platform/com/variant.hpp"

namespace platform::script {

struct Builtin {
  using Function = com::Variant (*)(std::span<const com::Variant> args);

  std::string_view name;
  std::size_t min_args = 0;
  std::size_t max_args = 0;  // kVariadic: any number
  Function function = nullptr;  // nullptr: not available to scripts

  static constexpr std::size_t kVariadic = static_cast<std::size_t>(-1);
};

// The function of that name in any case, with or without the '$' of the
// String-typed spellings (Left$); nullptr when there is none.
const Builtin* find_builtin(std::string_view name);

// Calls an available function: too few arguments raise 449, too many 450.
com::Variant call_builtin(const Builtin& builtin, std::span<const com::Variant> args);

}  // namespace platform::script
