#include "platform/script/builtins.hpp"

#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/convert.hpp"
#include "platform/com/dispatch.hpp"
#include "platform/com/members.hpp"
#include "platform/com/text.hpp"
#include "platform/script/budget.hpp"

namespace platform::script {

namespace {

using com::Variant;
using Args = std::span<const Variant>;

// The string functions give Null for Null, as the runtime's do.
bool any_null(Args args) {
  for (const Variant& a : args)
    if (com::value_of(a).is_null()) return true;
  return false;
}

std::string text(Args args, std::size_t i) { return com::cstr(args[i]); }
std::int32_t whole(Args args, std::size_t i) { return com::clng(args[i]); }

Variant to_string(Args a) { return com::cstr(a[0]); }
Variant to_double(Args a) { return com::cdbl(a[0]); }
Variant to_long(Args a) { return com::clng(a[0]); }
Variant to_integer(Args a) { return com::cint(a[0]); }
Variant to_boolean(Args a) { return com::cbool(a[0]); }
Variant to_date(Args a) { return com::cdate(a[0]); }

Variant length(Args a) {
  if (any_null(a)) return Variant::null();
  return com::len(text(a, 0));
}
Variant left(Args a) { return any_null(a) ? Variant::null() : Variant(com::left(text(a, 0), whole(a, 1))); }
Variant right(Args a) { return any_null(a) ? Variant::null() : Variant(com::right(text(a, 0), whole(a, 1))); }
Variant mid(Args a) {
  if (any_null(a)) return Variant::null();
  return com::mid(text(a, 0), whole(a, 1), com::optional_argument<std::int32_t>(a, 2));
}
Variant lower_case(Args a) { return any_null(a) ? Variant::null() : Variant(com::lcase(text(a, 0))); }
Variant upper_case(Args a) { return any_null(a) ? Variant::null() : Variant(com::ucase(text(a, 0))); }

// InStr(text, find) or InStr(start, text, find).
Variant in_string(Args a) {
  if (any_null(a)) return Variant::null();
  if (a.size() == 2 || a[2].is_missing()) return com::instr(text(a, 0), text(a, 1));
  return com::instr(whole(a, 0), text(a, 1), text(a, 2));
}

// Chr takes a character of the ANSI code page, Windows-1252, whose five
// unassigned bytes Windows maps to the C1 controls of the same value.
Variant ansi_character(Args a) {
  const std::int32_t code = whole(a, 0);
  if (code < 0 || code > 255) com::raise(com::err::InvalidCall);
  std::unique_ptr<void, int (*)(iconv_t)> converter(iconv_open("UTF-8", "WINDOWS-1252"), iconv_close);
  char in[1] = {static_cast<char>(code)};
  char out[8] = {};
  char* in_ptr = in;
  char* out_ptr = out;
  std::size_t in_left = 1;
  std::size_t out_left = sizeof out;
  if (converter.get() != reinterpret_cast<iconv_t>(-1) &&
      iconv(converter.get(), &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<std::size_t>(-1))
    return std::string(out, sizeof out - out_left);
  return com::to_utf8(std::u16string(1, static_cast<char16_t>(code)));
}

// ChrW takes a UTF-16 code unit, negative ones counted from 65536.
Variant wide_character(Args a) {
  const std::int32_t code = whole(a, 0);
  if (code < -32768 || code > 65535) com::raise(com::err::InvalidCall);
  return com::to_utf8(std::u16string(1, static_cast<char16_t>(code < 0 ? code + 65536 : code)));
}

// UBound(array[, dimension]) and LBound: a value that is no array raises 13.
const com::SafeArray& array_argument(Args a) {
  if (!a[0].is_array()) com::raise(com::err::TypeMismatch);
  return a[0].array_value();
}
int dimension(Args a) { return a.size() > 1 && !a[1].is_missing() ? whole(a, 1) : 1; }
Variant upper_bound(Args a) { return array_argument(a).upper_bound(dimension(a)); }
Variant lower_bound(Args a) { return array_argument(a).lower_bound(dimension(a)); }

// The copy is counted before it is made; an array nested too deeply raises 28.
Variant make_array(Args a) {
  std::size_t bytes = sizeof(Variant);
  for (const Variant& element : a) bytes += footprint(element);
  check_new_value(bytes);
  return Variant::array(std::vector<Variant>(a.begin(), a.end()));
}

Variant type_name(Args a) {
  if (!a[0].is_object()) return com::type_name(a[0].type());
  return a[0].object() ? a[0].object()->type_name() : std::string("Nothing");
}

constexpr Builtin kBuiltins[] = {
    {"CStr", 1, 1, to_string},
    {"CDbl", 1, 1, to_double},
    {"CLng", 1, 1, to_long},
    {"CInt", 1, 1, to_integer},
    {"CBool", 1, 1, to_boolean},
    {"CDate", 1, 1, to_date},
    {"Len", 1, 1, length},
    {"Left", 2, 2, left},
    {"Right", 2, 2, right},
    {"Mid", 2, 3, mid},
    {"LCase", 1, 1, lower_case},
    {"UCase", 1, 1, upper_case},
    {"InStr", 2, 3, in_string},
    {"Chr", 1, 1, ansi_character},
    {"ChrW", 1, 1, wide_character},
    {"Array", 0, Builtin::kVariadic, make_array},
    {"UBound", 1, 2, upper_bound},
    {"LBound", 1, 2, lower_bound},
    {"TypeName", 1, 1, type_name},
    {"MsgBox", 0, Builtin::kVariadic, nullptr},
    {"InputBox", 0, Builtin::kVariadic, nullptr},
};

}  // namespace

bool same_function_name(std::string_view a, std::string_view b) {
  if (!a.empty() && a.back() == '$') a.remove_suffix(1);
  if (!b.empty() && b.back() == '$') b.remove_suffix(1);
  return com::lcase(a) == com::lcase(b);
}

const Builtin* find_builtin(std::string_view name) {
  for (const Builtin& b : kBuiltins)
    if (same_function_name(b.name, name)) return &b;
  return nullptr;
}

std::span<const Variant> checked_arguments(std::span<const Variant> args, std::size_t min_args, std::size_t max_args) {
  std::size_t given = args.size();
  while (given > 0 && args[given - 1].is_missing() && max_args != Builtin::kVariadic) --given;
  for (std::size_t i = 0; i < std::min(given, min_args); ++i)
    if (args[i].is_missing()) com::raise(com::err::ArgumentNotOptional);
  if (given < min_args) com::raise(com::err::ArgumentNotOptional);
  if (max_args != Builtin::kVariadic && given > max_args) com::raise(com::err::WrongNumberOfArguments);
  return args.first(given);
}

Variant call_builtin(const Builtin& builtin, std::span<const Variant> args) {
  return builtin.function(checked_arguments(args, builtin.min_args, builtin.max_args));
}

}  // namespace platform::script
