// Dispatch: the base of every automation object, and the late-bound call.
//
// Each class describes its members once, in a MemberTable (see members.hpp
// for the registration helpers): name, DISPID, kind, parameter names, which
// are required. The same C++ method then serves typed callers directly and
// late-bound callers through invoke(), by name (any case) or by DISPID.
//
// Errors of a late-bound call, as the original runtime reports them:
//   438  no member of that name or DISPID, or not of the kind asked for
//   448  a named argument that matches no parameter
//   449  a required argument omitted
//   450  more arguments than parameters (or a parameter given twice)
//   13/5/6 an argument of the wrong kind or out of range (from the conversion)
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/com/variant.hpp"

namespace platform::com {

using DispId = std::int32_t;

// The default member: Workbooks("x") is Workbooks.Item("x"), Range("A1") as a value is its Value.
inline constexpr DispId DISPID_VALUE = 0;

// What a call asks for, as IDispatch::Invoke's flags; callers combine them
// ("x = obj.Foo(1)" asks for Method | Get, and either kind answers).
enum class CallKind : std::uint8_t { Method = 1, Get = 2, Put = 4, PutRef = 8 };

constexpr CallKind operator|(CallKind a, CallKind b) {
  return static_cast<CallKind>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
constexpr bool includes(CallKind set, CallKind kind) {
  return (static_cast<std::uint8_t>(set) & static_cast<std::uint8_t>(kind)) != 0;
}

class Dispatch;

// One member of one kind. A property put receives its new value as its last
// argument, after the index arguments a parameterised property takes;
// `arity` and `required` count only those index arguments.
struct Member {
  // The arguments, one per parameter in order, omitted ones as Variant::missing().
  // By-reference parameters are written back to the caller's Variants.
  using Handler = std::function<Variant(Dispatch& self, std::span<Variant> args)>;

  std::string name;
  DispId id = 0;
  CallKind kind = CallKind::Method;
  std::vector<std::string> parameters;  // names for named arguments; may be empty
  std::size_t arity = 0;                // how many arguments it accepts
  std::size_t required = 0;             // how many of the first ones must be given (optional ones trail)
  bool variadic = false;                // accepts any number beyond `arity`
  Handler handler;
};

// The members of one class. Built once per class (members.hpp) and shared by
// all its objects.
class MemberTable {
 public:
  // Duplicate (DISPID, kind) pairs or a name given two DISPIDs are
  // programming errors and throw std::logic_error.
  MemberTable(std::string class_name, std::vector<Member> members);

  const std::string& class_name() const { return class_name_; }
  std::span<const Member> members() const { return members_; }

  // nullptr when absent; names match case-insensitively.
  const Member* find(DispId id, CallKind kinds) const;
  std::optional<DispId> id_of(std::string_view name) const;

 private:
  std::string class_name_;
  std::vector<Member> members_;
  std::unordered_map<std::string, DispId> ids_;  // by lower-case name
};

class Dispatch : public std::enable_shared_from_this<Dispatch> {
 public:
  virtual ~Dispatch() = default;

  virtual const MemberTable& members() const = 0;

  // TypeName of the object ("Workbook").
  const std::string& type_name() const { return members().class_name(); }

  // GetIDsOfNames for one member name; an unknown name raises 438.
  DispId id_of(std::string_view name) const;

  // The late-bound call. `args` holds the positional arguments followed by
  // the named ones; `names` names the last names.size() of them. The callee
  // may write back into `args` (by-reference parameters).
  //
  // A property get without parameters called with arguments applies them to
  // the default member of its result, as the runtime does for
  // Application.Workbooks(1); the same holds for a put (Cells(1, 1) = 5).
  // A put to a member that can only be read, given its index arguments,
  // assigns the default member of the member's result (Range("A1") = 5).
  Variant invoke(DispId id, CallKind kind, std::span<Variant> args = {},
                 std::span<const std::string_view> names = {});
  Variant invoke(std::string_view name, CallKind kind, std::span<Variant> args = {},
                 std::span<const std::string_view> names = {});

  // Shorthands for late-bound callers that pass everything by value: a
  // value read (as "x = obj.Name(args)" reads, a property or a method), a
  // property assignment, and a method called as a statement.
  Variant get(std::string_view name, std::initializer_list<Variant> args = {});
  void put(std::string_view name, Variant value);
  Variant call(std::string_view name, std::initializer_list<Variant> args = {});

 protected:
  // The owning reference to `this` as its own class (the object must be held
  // by a shared_ptr, as every automation object is).
  template <class T>
  std::shared_ptr<T> self(T* derived) {
    return std::shared_ptr<T>(shared_from_this(), derived);
  }
};

// The object a Variant refers to: a non-object raises 424, Nothing raises 91.
Dispatch& object_of(const Variant& v);

// An object's default value (its DISPID 0 property, followed through objects
// it returns); any other kind is returned as it is. An object without a
// default member raises 438; Nothing raises 91.
Variant value_of(const Variant& v);

}  // namespace platform::com
