// DATE, TIME, DATEVALUE, TIMEVALUE, TODAY, NOW, YEAR, MONTH, DAY, WEEKDAY,
// HOUR, MINUTE, SECOND, DATEDIF.
#include <cmath>

#include "engine/formula/dates.hpp"
#include "engine/formula/evaluator.hpp"
#include "engine/formula/functions.hpp"
#include "engine/formula/text.hpp"

namespace engine::formula {
namespace {

// Years 0-1899 are counted from 1900, as Excel does: DATE(103,1,1) is 2003.
Operand date(Arguments& args) {
  int year = to_index(args.number(0));
  const int month = to_index(args.number(1)), day = to_index(args.number(2));
  if (year >= 0 && year < 1900) year += 1900;
  if (year < 1900 || year > 9999 || std::abs(month) > 120000 || std::abs(day) > 3000000) return Value(CellError::Num);
  const double serial = serial_from_date(year, month, day);
  if (serial < 0 || serial > max_serial) return Value(CellError::Num);
  return Value(serial);
}

CivilDate date_argument(Arguments& args) {
  const double serial = args.number(0);
  if (serial < 0 || serial >= max_serial + 1) fail_with(CellError::Num);
  return date_from_serial(serial);
}

// A time of day from hours, minutes and seconds, each truncated; whole
// days are dropped (TIME(25,0,0) is 1:00), a negative total is #NUM!.
Operand time(Arguments& args) {
  const double hours = std::trunc(args.number(0)), minutes = std::trunc(args.number(1)),
               seconds = std::trunc(args.number(2));
  if (hours > 32767 || minutes > 32767 || seconds > 32767) return Value(CellError::Num);
  const double total = hours * 3600 + minutes * 60 + seconds;
  if (total < 0) return Value(CellError::Num);
  return Value(std::fmod(total, 86400.0) / 86400);
}

// The serial of a date or time written as text; a number is #VALUE!.
double serial_from_text_argument(Arguments& args) {
  const Value v = args.scalar(0);
  if (v.is_error()) fail_with(v.error());
  if (!v.is_text()) fail_with(CellError::Value);
  const auto serial = date_time_from_text(v.text(), reading_for(args));
  if (!serial) fail_with(CellError::Value);
  return *serial;
}
Operand datevalue(Arguments& args) { return Value(std::floor(serial_from_text_argument(args))); }
Operand timevalue(Arguments& args) {
  const double serial = serial_from_text_argument(args);
  return Value(serial - std::floor(serial));
}

Operand today(Arguments& args) { return Value(std::floor(args.context().now())); }
Operand now(Arguments& args) { return Value(args.context().now()); }
Operand year(Arguments& args) { return Value(date_argument(args).year); }
Operand month(Arguments& args) { return Value(date_argument(args).month); }
Operand day(Arguments& args) { return Value(date_argument(args).day); }

// Type 1 counts from Sunday = 1, type 2 from Monday = 1, type 3 from
// Monday = 0. Serial 0 is a Saturday, and Excel's 1900-02-29 keeps its
// place in the week, so the count runs on from serial 0 throughout.
Operand weekday(Arguments& args) {
  const double serial = args.number(0);
  const int type = to_index(args.number_or(1, 1));
  if (serial < 0 || serial >= max_serial + 1) return Value(CellError::Num);
  const int from_sunday = static_cast<int>(static_cast<long>(std::floor(serial) + 6) % 7);  // Sunday 0
  switch (type) {
    case 1: return Value(from_sunday + 1);
    case 2: return Value((from_sunday + 6) % 7 + 1);
    case 3: return Value((from_sunday + 6) % 7);
    default: return Value(CellError::Num);
  }
}

// The seconds of the day, rounded to the nearest second as the clock shows
// them.
long second_of_day(Arguments& args) {
  const double serial = args.number(0);
  if (serial < 0 || serial >= max_serial + 1) fail_with(CellError::Num);
  return std::lround((serial - std::floor(serial)) * 86400) % 86400;
}
Operand hour(Arguments& args) { return Value(static_cast<double>(second_of_day(args) / 3600)); }
Operand minute(Arguments& args) { return Value(static_cast<double>(second_of_day(args) / 60 % 60)); }
Operand second(Arguments& args) { return Value(static_cast<double>(second_of_day(args) % 60)); }

// Whole years, months or days between two dates, or what is left of them
// within the year ("YM", "YD") or the month ("MD").
Operand datedif(Arguments& args) {
  const double start_serial = std::floor(args.number(0)), end_serial = std::floor(args.number(1));
  const std::string unit = to_upper(args.text(2));
  if (start_serial < 0 || end_serial > max_serial || start_serial > end_serial) return Value(CellError::Num);
  const CivilDate start = date_from_serial(start_serial), end = date_from_serial(end_serial);
  int months = (end.year - start.year) * 12 + end.month - start.month;
  if (end.day < start.day) --months;
  if (unit == "D") return Value(end_serial - start_serial);
  if (unit == "M") return Value(months);
  if (unit == "Y") return Value(months / 12);
  if (unit == "YM") return Value(months % 12);
  if (unit == "YD") {
    // The end date's day in the start date's year, or the next one when it
    // falls before the start.
    double anchor = serial_from_date(start.year, end.month, end.day);
    if (anchor < start_serial) anchor = serial_from_date(start.year + 1, end.month, end.day);
    return Value(anchor - start_serial);
  }
  if (unit == "MD") {
    if (end.day >= start.day) return Value(end.day - start.day);
    // Days from the start's day in the month before the end's month.
    const double previous = serial_from_date(end.year, end.month - 1, start.day);
    return Value(end_serial - previous);
  }
  return Value(CellError::Num);
}

constexpr FunctionSpec table[] = {
    {"DATE", 3, 3, 65, false, date, true},
    {"TIME", 3, 3, 66, false, time, true},
    {"DATEVALUE", 1, 1, 140, false, datevalue, true},
    {"TIMEVALUE", 1, 1, 141, false, timevalue, true},
    {"TODAY", 0, 0, 221, true, today},
    {"NOW", 0, 0, 74, true, now},
    {"YEAR", 1, 1, 69, false, year, true},
    {"MONTH", 1, 1, 68, false, month, true},
    {"DAY", 1, 1, 67, false, day, true},
    {"WEEKDAY", 1, 2, 70, false, weekday, true},
    {"HOUR", 1, 1, 71, false, hour, true},
    {"MINUTE", 1, 1, 72, false, minute, true},
    {"SECOND", 1, 1, 73, false, second, true},
    {"DATEDIF", 3, 3, 351, false, datedif, true},
};

}  // namespace

std::span<const FunctionSpec> date_functions() { return table; }

}  // namespace engine::formula
