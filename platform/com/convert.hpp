// The runtime's conversions between Variant kinds (CStr, CDbl, CLng, CInt,
// CBool, CDate), in one place so that every caller converts alike.
//
// Rules shared by all of them: Empty converts to "", 0 or False; Null raises
// 94; an Error value raises 13 (an omitted optional argument raises 448, as
// the runtime does when one is used in an expression); an object is replaced
// by its default member's value first (Nothing raises 91); an array raises 13.
// Numbers and dates follow the thread's regional settings below.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com/variant.hpp"

namespace platform::com {

// How dates print and read: the order of day, month and year, and the clock.
enum class DateStyle {
  UnitedStates,  // 1/15/2024 3:04:05 PM
  France,        // 15/01/2024 15:04:05
};

// The user's regional settings the runtime's conversions obey. They belong to
// the thread (each apartment runs under one user's settings); tests and the
// command line set them. The default is English (United States).
struct Regional {
  char decimal_separator = '.';
  DateStyle date_style = DateStyle::UnitedStates;

  // "en-US" or "fr-FR"; nullopt for a name without settings here.
  static std::optional<Regional> named(std::string_view locale);
};

const Regional& regional();
void set_regional(const Regional& settings);

// CStr. A Double gives at most 15 significant digits, in plain decimal form
// when its exponent lies in -4..14 and as "1E+15" / "1E-05" outside it; a
// Boolean gives "True"/"False"; a Date gives the regional short date and time.
std::string cstr(const Variant& v);

// CDbl. Text is read as the runtime reads it: blanks around, a sign, digits
// with the regional decimal separator, an exponent, or &H/&O notation; no
// thousands separators; anything else, "" included, raises 13; beyond a
// Double's range raises 6.
double cdbl(const Variant& v);

// CLng and CInt: CDbl, then rounded half to even; out of range raises 6.
std::int32_t clng(const Variant& v);
std::int16_t cint(const Variant& v);

// CBool: a number is True unless 0; text may be "True"/"False" in any case
// or a number; anything else raises 13.
bool cbool(const Variant& v);

// CDate: a Date unchanged, a number as an OLE date serial, text as a
// regional short date ("1/15/2024", "15/01/2024") or an ISO date
// ("2024-01-15"), either with an optional time ("3:04 PM", "15:04:05"), or a
// time alone. Other text raises 13; a date outside 100-9999 raises 6.
Date cdate(const Variant& v);

}  // namespace platform::com
