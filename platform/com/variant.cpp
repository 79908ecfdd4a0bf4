#include "platform/com/variant.hpp"

#include <algorithm>
#include <ostream>

#include "platform/com/convert.hpp"
#include "platform/com/dispatch.hpp"

namespace platform::com {

SafeArray::SafeArray(std::vector<Bound> bounds) : bounds_(std::move(bounds)) {
  if (bounds_.empty() || bounds_.size() > 2) raise(err::InvalidCall);
  std::size_t total = 1;
  for (const Bound& b : bounds_) {
    if (b.count < 0) raise(err::InvalidCall);
    total *= static_cast<std::size_t>(b.count);
  }
  elements_.resize(total);
}

std::int32_t SafeArray::lower_bound(int dim) const {
  if (dim < 1 || dim > dimensions()) raise(err::SubscriptOutOfRange);
  return bounds_[static_cast<std::size_t>(dim - 1)].lower;
}

std::int32_t SafeArray::upper_bound(int dim) const {
  if (dim < 1 || dim > dimensions()) raise(err::SubscriptOutOfRange);
  const Bound& b = bounds_[static_cast<std::size_t>(dim - 1)];
  return static_cast<std::int32_t>(static_cast<std::int64_t>(b.lower) + b.count - 1);
}

std::size_t SafeArray::offset(std::span<const std::int32_t> index) const {
  if (index.size() != bounds_.size()) raise(err::SubscriptOutOfRange);
  std::size_t result = 0;
  for (std::size_t d = 0; d < index.size(); ++d) {
    const std::int64_t i = static_cast<std::int64_t>(index[d]) - bounds_[d].lower;
    if (i < 0 || i >= bounds_[d].count) raise(err::SubscriptOutOfRange);
    result = result * static_cast<std::size_t>(bounds_[d].count) + static_cast<std::size_t>(i);
  }
  return result;
}

Variant& SafeArray::at(std::int32_t i) { return elements_[offset(std::span(&i, 1))]; }
const Variant& SafeArray::at(std::int32_t i) const { return elements_[offset(std::span(&i, 1))]; }

Variant& SafeArray::at(std::int32_t row, std::int32_t column) {
  const std::int32_t index[] = {row, column};
  return elements_[offset(index)];
}

const Variant& SafeArray::at(std::int32_t row, std::int32_t column) const {
  const std::int32_t index[] = {row, column};
  return elements_[offset(index)];
}

bool operator==(const SafeArray& a, const SafeArray& b) {
  return a.bounds_ == b.bounds_ && a.elements_ == b.elements_;
}

Variant Variant::cell_error(std::int32_t n) {
  return Variant(ErrorCode{hresult_from_number(n)});
}

Variant Variant::array(std::vector<Variant> items) {
  SafeArray a({Bound{0, static_cast<std::int32_t>(items.size())}});
  std::move(items.begin(), items.end(), a.elements().begin());
  return Variant(std::move(a));
}

bool Variant::is_missing() const {
  const auto* e = std::get_if<ErrorCode>(&value_);
  return e && e->scode == DISP_E_PARAMNOTFOUND;
}

bool Variant::is_number() const {
  const VarType t = type();
  return t == VarType::Integer || t == VarType::Long || t == VarType::Double;
}

namespace {

template <class T, class V>
auto& payload(V& value) {
  auto* p = std::get_if<T>(&value);
  if (!p) raise(err::TypeMismatch);
  return *p;
}

}  // namespace

std::int16_t Variant::integer_value() const { return payload<std::int16_t>(value_); }
std::int32_t Variant::long_value() const { return payload<std::int32_t>(value_); }
double Variant::double_value() const { return payload<double>(value_); }
Date Variant::date_value() const { return payload<Date>(value_); }
const std::string& Variant::string_value() const { return payload<std::string>(value_); }
bool Variant::bool_value() const { return payload<bool>(value_); }
ErrorCode Variant::error_value() const { return payload<ErrorCode>(value_); }
const SafeArray& Variant::array_value() const { return payload<SafeArray>(value_); }
SafeArray& Variant::array_value() { return payload<SafeArray>(value_); }

const std::shared_ptr<Dispatch>& Variant::object() const {
  const auto* p = std::get_if<std::shared_ptr<Dispatch>>(&value_);
  if (!p) raise(err::ObjectRequired);
  return *p;
}

bool operator==(const Variant& a, const Variant& b) { return a.value_ == b.value_; }

const char* type_name(VarType type) {
  switch (type) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Integer: return "Integer";
    case VarType::Long: return "Long";
    case VarType::Double: return "Double";
    case VarType::Date: return "Date";
    case VarType::String: return "String";
    case VarType::Boolean: return "Boolean";
    case VarType::Error: return "Error";
    case VarType::Object: return "Object";
    case VarType::Array: return "Variant()";
  }
  return "Unknown";
}

void PrintTo(const Variant& v, std::ostream* os) {
  *os << type_name(v.type());
  switch (v.type()) {
    case VarType::Error: *os << " 0x" << std::hex << static_cast<std::uint32_t>(v.error_value().scode) << std::dec; break;
    case VarType::Object: *os << (v.object() ? " " + v.object()->type_name() : std::string(" Nothing")); break;
    case VarType::Array: *os << " of " << v.array_value().size(); break;
    case VarType::Empty:
    case VarType::Null: break;
    default: *os << " " << cstr(v); break;
  }
}

}  // namespace platform::com
