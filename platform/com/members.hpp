// Registering a class's members: each member is written once, as an
// ordinary C++ method, and named here with its DISPID and parameter names.
//
//   const MemberTable& Workbook::members() const {
//     static const MemberTable table = Members<Workbook>("Workbook")
//         .get("Name", 110, &Workbook::name)
//         .method("Close", 277, &Workbook::close, {"SaveChanges", "Filename", "RouteWorkbook"});
//     return table;
//   }
//
// A handler is a member function of the class (or of a base), or a lambda
// taking the object first. Its C++ parameter types say how the late-bound
// arguments reach it:
//   Variant / const Variant&      required, as given
//   Variant&                      required, by reference: what the callee
//                                 leaves there goes back to the caller
//   std::optional<X>              optional: std::nullopt when omitted
//   std::string, std::int32_t, std::int16_t, double, bool, Date
//                                 required, converted as the runtime coerces
//                                 an argument (CStr, CLng, ...; Null raises 13)
//   std::shared_ptr<U>            required object of class U (Nothing gives
//                                 nullptr; another kind or class raises 13)
// A handler taking (T&, std::span<Variant>) receives the arguments as they
// are, one slot per named parameter, and accepts any number beyond them (for
// members like Run that take a list). Return types: void (Empty), Variant,
// the kinds above, std::shared_ptr<U>.
//
// For a property put the new value is the handler's last parameter; the
// parameter names name the index parameters before it.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/com/convert.hpp"
#include "platform/com/dispatch.hpp"

namespace platform::com {

namespace detail {

template <class T>
struct OptionalOf {
  static constexpr bool value = false;
};
template <class T>
struct OptionalOf<std::optional<T>> {
  static constexpr bool value = true;
  using type = T;
};

template <class T>
struct SharedOf {
  static constexpr bool value = false;
};
template <class T>
struct SharedOf<std::shared_ptr<T>> {
  static constexpr bool value = true;
  using type = T;
};

std::shared_ptr<Dispatch> object_argument(const Variant& v);
void reject_null_argument(const Variant& v);

}  // namespace detail

// An argument converted to a handler's parameter type (see the table above).
template <class T>
T from_argument(const Variant& v) {
  if constexpr (std::is_same_v<T, Variant>) {
    return v;
  } else if constexpr (detail::SharedOf<T>::value) {
    using U = typename detail::SharedOf<T>::type;
    std::shared_ptr<Dispatch> object = detail::object_argument(v);
    if constexpr (std::is_same_v<U, Dispatch>) {
      return object;
    } else {
      if (!object) return nullptr;
      auto typed = std::dynamic_pointer_cast<U>(object);
      if (!typed) raise(err::TypeMismatch);
      return typed;
    }
  } else {
    detail::reject_null_argument(v);
    if constexpr (std::is_same_v<T, std::string>) return cstr(v);
    else if constexpr (std::is_same_v<T, std::int32_t>) return clng(v);
    else if constexpr (std::is_same_v<T, std::int16_t>) return cint(v);
    else if constexpr (std::is_same_v<T, double>) return cdbl(v);
    else if constexpr (std::is_same_v<T, bool>) return cbool(v);
    else if constexpr (std::is_same_v<T, Date>) return cdate(v);
    else static_assert(!sizeof(T), "no conversion from an argument to this parameter type");
  }
}

// Argument `i` of a hand-written handler: omitted raises 449.
template <class T>
T argument(std::span<const Variant> args, std::size_t i) {
  if (i >= args.size() || args[i].is_missing()) raise(err::ArgumentNotOptional);
  return from_argument<T>(args[i]);
}

// Argument `i` of a hand-written handler, std::nullopt when omitted.
template <class T>
std::optional<T> optional_argument(std::span<const Variant> args, std::size_t i) {
  if (i >= args.size() || args[i].is_missing()) return std::nullopt;
  return from_argument<T>(args[i]);
}

namespace detail {

template <class F>
struct Signature : Signature<decltype(&F::operator())> {
  static constexpr bool takes_object = true;  // a lambda's first parameter is the object
};
template <class R, class C, class... P>
struct Signature<R (C::*)(P...)> {
  using Return = R;
  using Params = std::tuple<P...>;
  static constexpr bool takes_object = false;
};
template <class R, class C, class... P>
struct Signature<R (C::*)(P...) const> : Signature<R (C::*)(P...)> {};
template <class R, class C, class... P>
struct Signature<R (C::*)(P...) noexcept> : Signature<R (C::*)(P...)> {};
template <class R, class C, class... P>
struct Signature<R (C::*)(P...) const noexcept> : Signature<R (C::*)(P...)> {};

template <class Tuple, bool drop>
struct DropFirst {
  using type = Tuple;
};
template <class First, class... Rest>
struct DropFirst<std::tuple<First, Rest...>, true> {
  using type = std::tuple<Rest...>;
};

// The parameters the late-bound caller sees: a lambda's object parameter is not one of them.
template <class F>
using CallerParams = typename DropFirst<typename Signature<F>::Params, Signature<F>::takes_object>::type;

template <class P>
constexpr bool is_optional_param = OptionalOf<std::remove_cvref_t<P>>::value;

template <class P>
decltype(auto) parameter(Variant& arg) {
  using D = std::remove_cvref_t<P>;
  if constexpr (std::is_same_v<P, Variant&>) {
    return (arg);
  } else if constexpr (OptionalOf<D>::value) {
    using X = typename OptionalOf<D>::type;
    return arg.is_missing() ? std::optional<X>() : std::optional<X>(from_argument<X>(arg));
  } else {
    return from_argument<D>(arg);
  }
}

template <class R>
Variant to_result(R&& r) {
  using D = std::remove_cvref_t<R>;
  if constexpr (SharedOf<D>::value) return Variant(std::shared_ptr<Dispatch>(std::forward<R>(r)));
  else return Variant(std::forward<R>(r));
}

template <class... P, class Call, std::size_t... I>
Variant call_typed(Call& call, std::span<Variant> args, std::index_sequence<I...>) {
  using R = std::invoke_result_t<Call&, P...>;
  if constexpr (std::is_void_v<R>) {
    call(parameter<P>(args[I])...);
    return {};
  } else {
    return to_result(call(parameter<P>(args[I])...));
  }
}

template <class T, class F, class... P>
Member::Handler typed_handler(F f, std::tuple<P...>*) {
  return [f](Dispatch& self, std::span<Variant> args) -> Variant {
    T& object = static_cast<T&>(self);
    auto call = [&](auto&&... a) -> decltype(auto) {
      if constexpr (std::is_member_function_pointer_v<F>) return (object.*f)(std::forward<decltype(a)>(a)...);
      else return f(object, std::forward<decltype(a)>(a)...);
    };
    return call_typed<P...>(call, args, std::index_sequence_for<P...>{});
  };
}

template <class F>
constexpr bool is_raw_handler = std::is_same_v<CallerParams<F>, std::tuple<std::span<Variant>>>;

template <class... P>
std::vector<bool> optional_flags(std::tuple<P...>*) {
  return {is_optional_param<P>...};
}

// Sets arity and required count from which parameters are optional; throws
// std::logic_error for a required parameter after an optional one, or for a
// put without its value parameter.
void set_shape(Member& member, const std::vector<bool>& optional);

}  // namespace detail

template <class T>
class Members {
 public:
  explicit Members(std::string class_name) : class_name_(std::move(class_name)) {}

  template <class F>
  Members& get(std::string name, DispId id, F f, std::vector<std::string> parameters = {}) {
    return add(std::move(name), id, CallKind::Get, f, std::move(parameters));
  }
  template <class F>
  Members& put(std::string name, DispId id, F f, std::vector<std::string> parameters = {}) {
    return add(std::move(name), id, CallKind::Put, f, std::move(parameters));
  }
  template <class F>
  Members& put_ref(std::string name, DispId id, F f, std::vector<std::string> parameters = {}) {
    return add(std::move(name), id, CallKind::PutRef, f, std::move(parameters));
  }
  template <class F>
  Members& method(std::string name, DispId id, F f, std::vector<std::string> parameters = {}) {
    return add(std::move(name), id, CallKind::Method, f, std::move(parameters));
  }

  // Every member of another table (a base class's), for classes that share members.
  Members& include(const MemberTable& other) {
    members_.insert(members_.end(), other.members().begin(), other.members().end());
    return *this;
  }

  // The finished table; the builder is spent.
  operator MemberTable() { return MemberTable(std::move(class_name_), std::move(members_)); }

 private:
  template <class F>
  Members& add(std::string name, DispId id, CallKind kind, F f, std::vector<std::string> parameters) {
    Member m{std::move(name), id, kind, std::move(parameters), 0, 0, false, {}};
    if constexpr (detail::is_raw_handler<F>) {
      m.arity = m.parameters.size();
      m.variadic = true;
      m.handler = [f](Dispatch& self, std::span<Variant> args) -> Variant {
        T& object = static_cast<T&>(self);
        if constexpr (std::is_member_function_pointer_v<F>) return (object.*f)(args);
        else return f(object, args);
      };
    } else {
      using Params = detail::CallerParams<F>;
      detail::set_shape(m, detail::optional_flags(static_cast<Params*>(nullptr)));
      m.handler = detail::typed_handler<T>(f, static_cast<Params*>(nullptr));
    }
    members_.push_back(std::move(m));
    return *this;
  }

  std::string class_name_;
  std::vector<Member> members_;
};

}  // namespace platform::com
