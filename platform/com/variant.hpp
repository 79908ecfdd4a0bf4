// The runtime's Variant: the one value type that crosses every late-bound
// call, with the kinds the original runtime's VARIANT takes in this system.
//
// A Variant owns its value. Strings are UTF-8; arrays are copied with the
// Variant (the runtime gives arrays value semantics); objects are shared
// references, and "the same object reference" is pointer identity.
// Conversions between kinds (CStr, CDbl, ...) live in convert.hpp.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "platform/com/error.hpp"

namespace platform::com {

class Dispatch;
class Variant;

enum class VarType { Empty, Null, Integer, Long, Double, Date, String, Boolean, Error, Object, Array };

// An OLE date: days since 30 December 1899, the time of day as the fraction.
struct Date {
  double serial = 0;
  friend bool operator==(const Date&, const Date&) = default;
};

// An SCODE carried as a value: a cell error (#DIV/0! is 0x800A07D7) or the
// marker of an omitted optional argument (DISP_E_PARAMNOTFOUND).
struct ErrorCode {
  HRESULT scode = 0;
  friend bool operator==(const ErrorCode&, const ErrorCode&) = default;
};

// Excel's cell errors, as the CVErr numbers a formula's result carries.
namespace cell_error {
inline constexpr std::int32_t Null = 2000;
inline constexpr std::int32_t Div0 = 2007;
inline constexpr std::int32_t Value = 2015;
inline constexpr std::int32_t Ref = 2023;
inline constexpr std::int32_t Name = 2029;
inline constexpr std::int32_t Num = 2036;
inline constexpr std::int32_t NA = 2042;
}  // namespace cell_error

// The extent of one dimension of an array: Dim a(lower To lower+count-1).
struct Bound {
  std::int32_t lower = 0;
  std::int32_t count = 0;
  friend bool operator==(const Bound&, const Bound&) = default;
};

// A SAFEARRAY of Variants with one or two dimensions. Indexes are the
// runtime's (from each dimension's lower bound); one out of range raises 9.
// Elements are stored row by row (the last index varies fastest).
class SafeArray {
 public:
  // Every element Empty. More than two dimensions or a negative count raise 5.
  explicit SafeArray(std::vector<Bound> bounds);

  int dimensions() const { return static_cast<int>(bounds_.size()); }
  // LBound/UBound of dimension `dim` (1-based); a dimension that does not exist raises 9.
  std::int32_t lower_bound(int dim = 1) const;
  std::int32_t upper_bound(int dim = 1) const;
  std::size_t size() const;

  Variant& at(std::int32_t i);
  const Variant& at(std::int32_t i) const;
  Variant& at(std::int32_t row, std::int32_t column);
  const Variant& at(std::int32_t row, std::int32_t column) const;

  std::span<Variant> elements();
  std::span<const Variant> elements() const;

  friend bool operator==(const SafeArray&, const SafeArray&);

 private:
  std::size_t offset(std::span<const std::int32_t> index) const;

  std::vector<Bound> bounds_;
  std::vector<Variant> elements_;
};

class Variant {
 public:
  Variant() = default;  // Empty
  Variant(std::int16_t v) : value_(v) {}
  Variant(std::int32_t v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(Date v) : value_(v) {}
  Variant(std::string v) : value_(std::move(v)) {}
  Variant(const char* v) : value_(std::string(v)) {}
  Variant(std::string_view v) : value_(std::string(v)) {}
  Variant(bool v) : value_(v) {}
  Variant(ErrorCode v) : value_(v) {}
  Variant(std::shared_ptr<Dispatch> v) : value_(std::move(v)) {}
  template <class T>
    requires std::is_base_of_v<Dispatch, T>
  Variant(std::shared_ptr<T> v) : value_(std::shared_ptr<Dispatch>(std::move(v))) {}
  Variant(SafeArray v) : value_(std::move(v)) {}

  static Variant null() { return Variant(NullTag{}); }
  // The object reference Nothing: an Object whose pointer is empty.
  static Variant nothing() { return Variant(std::shared_ptr<Dispatch>()); }
  // What the runtime passes for an omitted optional argument.
  static Variant missing() { return Variant(ErrorCode{DISP_E_PARAMNOTFOUND}); }
  // CVErr(n): a cell error value such as cell_error::Div0.
  static Variant cell_error(std::int32_t n);
  // Array(...): a 0-based one-dimensional array.
  static Variant array(std::vector<Variant> items);

  VarType type() const { return static_cast<VarType>(value_.index()); }
  bool is_empty() const { return type() == VarType::Empty; }
  bool is_null() const { return type() == VarType::Null; }
  bool is_object() const { return type() == VarType::Object; }
  bool is_array() const { return type() == VarType::Array; }
  bool is_missing() const;
  // IsNumeric's kinds without text: Integer, Long, Double.
  bool is_number() const;

  // The payload of the stated kind; any other kind raises 13. These do not
  // convert: use convert.hpp for the runtime's conversions.
  std::int16_t integer_value() const;
  std::int32_t long_value() const;
  double double_value() const;
  Date date_value() const;
  const std::string& string_value() const;
  bool bool_value() const;
  ErrorCode error_value() const;
  // The object reference (empty for Nothing); a non-object raises 424.
  const std::shared_ptr<Dispatch>& object() const;
  const SafeArray& array_value() const;
  SafeArray& array_value();

  // Same kind and same value; objects compare by identity.
  friend bool operator==(const Variant&, const Variant&);

 private:
  struct NullTag {
    friend bool operator==(NullTag, NullTag) = default;
  };
  explicit Variant(NullTag t) : value_(t) {}

  // Alternatives in VarType order.
  std::variant<std::monostate, NullTag, std::int16_t, std::int32_t, double, Date, std::string, bool, ErrorCode,
               std::shared_ptr<Dispatch>, SafeArray>
      value_;
};

// SafeArray's members that measure its elements need Variant complete
// (clang refuses them inside SafeArray, where Variant is not yet).
inline std::size_t SafeArray::size() const { return elements_.size(); }
inline std::span<Variant> SafeArray::elements() { return elements_; }
inline std::span<const Variant> SafeArray::elements() const { return elements_; }

// The kind's name as TypeName gives it ("Empty", "Long", "String", ...).
const char* type_name(VarType type);

// For test failure messages: kind and value.
void PrintTo(const Variant& v, std::ostream* os);

}  // namespace platform::com
