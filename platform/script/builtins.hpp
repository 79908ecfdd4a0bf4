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
#include "platform/script/script.hpp"

namespace platform::script {

struct Builtin {
  using Function = com::Variant (*)(std::span<const com::Variant> args);

  std::string_view name;
  std::size_t min_args = 0;
  std::size_t max_args = 0;  // kVariadic: any number
  Function function = nullptr;  // nullptr: not available to scripts

  static constexpr std::size_t kVariadic = HostFunction::kVariadic;
};

// The function of that name in any case, with or without the '$' of the
// String-typed spellings (Left$); nullptr when there is none.
const Builtin* find_builtin(std::string_view name);

// The arguments a function of min_args..max_args takes, trailing omitted ones
// dropped: too few raise 449, too many 450.
std::span<const com::Variant> checked_arguments(std::span<const com::Variant> args, std::size_t min_args,
                                                std::size_t max_args);

// Calls an available function with checked_arguments.
com::Variant call_builtin(const Builtin& builtin, std::span<const com::Variant> args);

// find_builtin's rule for names: any case, the '$' of String spellings ignored.
bool same_function_name(std::string_view a, std::string_view b);

}  // namespace platform::script
