// What a cell holds once computed: nothing, a number, a text, a Boolean or
// one of Excel's error values. Conversions between these follow Excel 2003
// and live in one place (value.cpp) so that every function coerces alike.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace engine::formula {

// Excel's error values, with the codes BIFF8 stores them under.
enum class CellError : std::uint8_t {
  Null = 0x00,   // #NULL!
  Div0 = 0x07,   // #DIV/0!
  Value = 0x0F,  // #VALUE!
  Ref = 0x17,    // #REF!
  Name = 0x1D,   // #NAME?
  Num = 0x24,    // #NUM!
  NA = 0x2A,     // #N/A
};

// "#DIV/0!" for CellError::Div0.
std::string_view error_text(CellError error);

// The error whose text this is, in any letter case ("#n/a"); nullopt otherwise.
std::optional<CellError> error_from_text(std::string_view text);

// The error stored under a BIFF code; nullopt for a code Excel does not use.
std::optional<CellError> error_from_code(std::uint8_t code);

// The characters of a text value, shared by the copies of the value.
//
// A workbook holds a value in every cell, and values are copied into
// argument lists and results all the time: one pointer to shared, unchanging
// characters keeps a value at 16 bytes (a std::string alone is 32) and makes
// a copy a count increment. A file's shared strings stay shared: every cell
// showing one of them points at the same characters.
//
// The count is atomic: values may be handed between threads with their
// workbook.
class SharedText {
 public:
  explicit SharedText(std::string text) : block_(new Block{{1}, std::move(text)}) {}
  SharedText(const SharedText& other) noexcept : block_(other.block_) { hold(); }
  SharedText(SharedText&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
  SharedText& operator=(SharedText other) noexcept {
    std::swap(block_, other.block_);
    return *this;
  }
  ~SharedText() { release(); }

  // A moved-from text reads as "".
  const std::string& str() const { return block_ ? block_->text : empty(); }

  friend bool operator==(const SharedText& left, const SharedText& right) {
    return left.block_ == right.block_ || left.str() == right.str();
  }

 private:
  struct Block {
    std::atomic<std::uint32_t> references;
    const std::string text;
  };

  void hold() const {
    if (block_) block_->references.fetch_add(1, std::memory_order_relaxed);
  }
  void release() {
    if (block_ && block_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete block_;
  }
  static const std::string& empty();

  Block* block_;
};

class Value {
 public:
  Value() = default;  // empty
  Value(double number) : data_(number) {}
  Value(int number) : data_(static_cast<double>(number)) {}
  Value(std::string text) : data_(SharedText(std::move(text))) {}
  Value(const char* text) : data_(SharedText(text)) {}
  Value(bool boolean) : data_(boolean) {}
  Value(CellError error) : data_(error) {}

  bool is_empty() const { return std::holds_alternative<std::monostate>(data_); }
  bool is_number() const { return std::holds_alternative<double>(data_); }
  bool is_text() const { return std::holds_alternative<SharedText>(data_); }
  bool is_boolean() const { return std::holds_alternative<bool>(data_); }
  bool is_error() const { return std::holds_alternative<CellError>(data_); }

  // Each accessor requires the matching kind (checked with the is_ tests).
  double number() const { return std::get<double>(data_); }
  const std::string& text() const { return std::get<SharedText>(data_).str(); }
  bool boolean() const { return std::get<bool>(data_); }
  CellError error() const { return std::get<CellError>(data_); }

  // Exact equality of kind and content (text case-sensitive); Excel's own
  // comparison rules are compare_values() below.
  friend bool operator==(const Value&, const Value&) = default;

 private:
  std::variant<std::monostate, double, SharedText, bool, CellError> data_;
};

// Every cell holds one: its size is the model's size.
static_assert(sizeof(Value) == 16);

// A number as Excel shows it in General format and in formula text: up to
// 15 significant digits, plain decimals, scientific form ("1E+15",
// "1.5E-07") outside the range plain digits can show.
std::string number_to_text(double number);

// The number cut to the 15 significant digits Excel works with, so that
// 2.675 * 100 (267.49999999999997) is 267.5 when rounding or INT sees it.
double to_15_digits(double number);

// The number rounded to `digits` decimals (to tens, hundreds... when
// negative), cut to 15 digits before and after scaling so that what the
// user sees is what gets rounded: ROUNDDOWN((0.3-0.1)*10,0) is 2, not 1.
// Nearest takes halves away from zero; Up goes away from zero, Down towards it.
enum class Rounding { Nearest, Up, Down };
double round_to_digits(double number, int digits, Rounding rounding);

// Text to number as Excel converts text in arithmetic and VALUE(): blanks
// around, a sign, thousands separators, decimals, an exponent, a trailing
// percent sign. nullopt when the text is not a number.
std::optional<double> number_from_text(std::string_view text);

// How a date written as text is read: the order of a numeric date's
// fields, the language of month names, and the year a date written without
// one takes: the current year, as Excel takes it (from the clock when not
// given).
struct DateReading {
  enum class Order { MonthDayYear, DayMonthYear, YearMonthDay };
  Order order = Order::MonthDayYear;
  bool french_month_names = false;  // "2 juin 2003", "2-févr"
  std::optional<int> current_year;
};

// The form a date was written in, which decides the format typing it gives
// a cell: "6/2/2003" Numeric, "2-Jun" or "6/2" DayMonth, "2-Jun-2003" or
// "June 2, 2003" DayMonthYear, "Jun-03" or "June 2003" MonthYear.
enum class DateShape { Numeric, DayMonth, DayMonthYear, MonthYear };

struct TextDate {
  double serial;
  DateShape shape;
};

// The date the whole text holds (blanks around allowed), as Excel reads
// dates typed or given as text; nullopt for anything else.
std::optional<TextDate> date_from_text(std::string_view text, const DateReading& reading = {});

// A date, a time or both as a serial number: "6/2/2003", "2003-06-02",
// "2-Jun-2003", "June 2, 2003", "2-Jun" (this year), "14:30",
// "2:30:15 PM", "6/2/2003 14:30". English (United States) order and names
// unless `reading` says otherwise; nullopt for anything else.
std::optional<double> date_time_from_text(std::string_view text, const DateReading& reading = {});

// Text to number as formulas coerce it (arithmetic, VALUE(), numeric
// arguments): number_from_text's forms, currency ("$1,234.50", "($5)"),
// and date_time_from_text's.
std::optional<double> number_from_any_text(std::string_view text, const DateReading& reading = {});

// The text form of a scalar as "&" and the text functions see it: numbers
// in General format, TRUE/FALSE, "" for empty. Errors have no text form:
// the caller propagates them first.
std::string value_to_text(const Value& value);

// Excel's ordering for comparison operators: numbers < texts < Booleans,
// text compared without regard to letter case; empty compares as 0, "" or
// FALSE against the other side. Negative, zero or positive. Errors must be
// handled by the caller first.
int compare_values(const Value& left, const Value& right);

}  // namespace engine::formula
