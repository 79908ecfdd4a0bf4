// What Excel 2003 stores for what a user types into a cell: numbers from
// numeric text (with the format the typing implies: "5%" is 0.05 shown as a
// percentage, "01/02/2003" a date serial shown as a date), text kept as
// typed after an apostrophe or in a Text-formatted cell, Booleans, error
// values, and formulas ("=..." and "+A1", which becomes "=+A1").
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/formula/formula.hpp"
#include "engine/formula/value.hpp"

namespace engine::model {

// The regional settings typing is read with. The defaults are English (US),
// the settings automation assignments are read with.
struct EntryLocale {
  enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

  char decimal_separator = '.';
  char thousands_separator = ',';
  DateOrder date_order = DateOrder::MonthDayYear;
  // TRUE/FALSE are typed as VRAI/FAUX in the French user interface.
  bool french_booleans = false;
  // Dates are typed with French month names there: "2 juin", "2-févr-03".
  bool french_month_names = false;
};

struct Entry {
  enum class Kind { Clear, Constant, Formula };

  Kind kind = Kind::Clear;
  formula::Value value;                             // Constant
  std::shared_ptr<const formula::Formula> formula;  // Formula
  // The number format the entry gives a cell formatted "General".
  std::optional<std::string> number_format;
  // Typed with a leading apostrophe.
  bool quote_prefix = false;
};

// Interprets `typed` for a cell whose number format is `number_format`.
// A date typed without a year ("2-Jun", "6/2") takes `current_year` (the
// clock's when not given), as Excel takes the current year.
// Raises 1004 with the parser's message for malformed "=..." text, as Excel
// refuses the entry; nothing is stored then.
Entry interpret_entry(std::string_view typed, std::string_view number_format, const EntryLocale& locale = {},
                      std::optional<int> current_year = std::nullopt);

// The 1900 date system's serial number of a date (1900-03-01 is 61, Excel
// counting the 29 February 1900 that never was); nothing for an invalid date.
std::optional<double> date_serial(int year, int month, int day);

}  // namespace engine::model
