// Excel's date serial numbers (1900 system): 1 is 1900-01-01, and the
// fictitious 1900-02-29 that Lotus 1-2-3 had is kept as serial 60, so
// that serials match every Excel workbook.
#pragma once

#include <optional>

namespace engine::formula {

struct CivilDate {
  int year;
  int month;  // 1..12
  int day;    // 1..31 (0 for serial 0, "1900-01-00")
};

// The serial of a date; month and day may overflow into the next year or
// month, as DATE() allows.
double serial_from_date(int year, int month, int day);

// The serial of a date that exists (no 31 June, years 1900 to 9999; the
// 29 February 1900 of Excel's calendar included); nothing otherwise.
std::optional<double> valid_date_serial(int year, int month, int day);

// The date of a serial's whole part; serial must be 0..2958465 (9999-12-31).
CivilDate date_from_serial(double serial);

inline constexpr double max_serial = 2958465;

// The year of a serial (a clock's reading), kept within the serials' range.
int year_of_serial(double serial);

}  // namespace engine::formula
