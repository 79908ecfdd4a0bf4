#include "engine/formula/dates.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "engine/formula/context.hpp"

namespace engine::formula {
namespace {

// Days from 1899-12-30, the day serials count from after 1900-02-28.
long days_from_epoch(int year, int month, int day) {
  using namespace std::chrono;
  // Month and day may overflow: move by whole months from January, then by days.
  const year_month_day month_start = year_month_day{std::chrono::year{year} / January / 1} + months{month - 1};
  return (sys_days{month_start} - sys_days{1899y / December / 30}).count() + day - 1;
}

}  // namespace

double serial_from_date(int year, int month, int day) {
  const long days = days_from_epoch(year, month, day);
  // Before 1900-03-01 Excel counts one day less: its 1900 has a 29 February.
  return static_cast<double>(days < 61 ? days - 1 : days);
}

CivilDate date_from_serial(double serial) {
  using namespace std::chrono;
  const long whole = static_cast<long>(std::floor(serial));
  if (whole == 0) return {1900, 1, 0};
  if (whole == 60) return {1900, 2, 29};
  const long days = whole < 60 ? whole + 1 : whole;
  const year_month_day date{sys_days{1899y / December / 30} + std::chrono::days{days}};
  return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
          static_cast<int>(static_cast<unsigned>(date.day()))};
}

double current_serial_time() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const double day = serial_from_date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  return day + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

int year_of_serial(double serial) { return date_from_serial(std::clamp(std::floor(serial), 0.0, max_serial)).year; }

std::optional<double> valid_date_serial(int year, int month, int day) {
  if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
  if (year == 1900 && month == 2 && day == 29) return 60;  // the day serial_from_date cannot reach
  const double serial = serial_from_date(year, month, day);
  // A day beyond the month's end lands in the next month: not a date.
  const CivilDate back = date_from_serial(serial);
  if (back.month != month || back.day != day) return std::nullopt;
  return serial;
}

}  // namespace engine::formula
