#include "platform/com/dispatch.hpp"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/com/members.hpp"

namespace platform::com {

namespace {

// Member names are ASCII identifiers; the runtime matches them in any case.
std::string lower_ascii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool is_put(CallKind kind) { return kind == CallKind::Put || kind == CallKind::PutRef; }

// The order in which the kinds of a request are tried.
constexpr CallKind kKindOrder[] = {CallKind::Method, CallKind::Get, CallKind::Put, CallKind::PutRef};

// The arguments of one call laid out one per parameter. The caller's Variants
// are moved in and moved back afterwards, whatever happens, so that what a
// by-reference parameter receives reaches the caller.
class ArgumentSlots {
 public:
  ArgumentSlots(const Member& member, CallKind kind, std::span<Variant> args, std::span<const std::string_view> names)
      : member_(member),
        put_(is_put(kind)),
        positional_(args.size() - names.size()),
        indexes_(put_ ? positional_ - 1 : positional_) {
    slots_.resize(std::max(member.arity, indexes_) + (put_ ? 1 : 0), Variant::missing());
    origins_.resize(slots_.size(), nullptr);
  }

  ~ArgumentSlots() {
    for (std::size_t i = 0; i < slots_.size(); ++i)
      if (origins_[i]) *origins_[i] = std::move(slots_[i]);
  }

  ArgumentSlots(const ArgumentSlots&) = delete;
  ArgumentSlots& operator=(const ArgumentSlots&) = delete;

  // Runs on a constructed object, so that the destructor hands back what was
  // taken even when an argument is refused half-way.
  std::span<Variant> fill(std::span<Variant> args, std::span<const std::string_view> names) {
    if (put_) take(slots_.size() - 1, args[positional_ - 1]);
    for (std::size_t i = 0; i < indexes_; ++i) take(i, args[i]);
    for (std::size_t j = 0; j < names.size(); ++j) take(parameter_index(names[j]), args[positional_ + j]);
    for (std::size_t i = 0; i < member_.required; ++i)
      if (slots_[i].is_missing()) raise(err::ArgumentNotOptional);
    return slots_;
  }

 private:
  std::size_t parameter_index(std::string_view name) const {
    const std::string wanted = lower_ascii(name);
    for (std::size_t p = 0; p < member_.parameters.size(); ++p)
      if (lower_ascii(member_.parameters[p]) == wanted) return p;
    raise(err::NamedArgumentNotFound);
  }

  void take(std::size_t i, Variant& arg) {
    if (origins_[i]) raise(err::WrongNumberOfArguments);  // the same parameter given twice
    slots_[i] = std::move(arg);
    origins_[i] = &arg;
  }

  const Member& member_;
  const bool put_;
  const std::size_t positional_;  // the caller's arguments before the named ones
  const std::size_t indexes_;     // of those, the ones before a put's value
  std::vector<Variant> slots_;
  std::vector<Variant*> origins_;
};

Variant call_member(Dispatch& self, const Member& member, CallKind kind, std::span<Variant> args,
                    std::span<const std::string_view> names) {
  ArgumentSlots slots(member, kind, args, names);
  return member.handler(self, slots.fill(args, names));
}

std::size_t index_argument_count(CallKind kind, std::span<Variant> args) {
  return is_put(kind) && !args.empty() ? args.size() - 1 : args.size();
}

}  // namespace

namespace detail {

void set_shape(Member& member, const std::vector<bool>& optional) {
  std::size_t count = optional.size();
  if (is_put(member.kind)) {
    if (count == 0 || optional.back()) throw std::logic_error(member.name + ": a put needs a required value parameter");
    --count;
  }
  bool after_optional = false;
  member.required = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (optional[i]) {
      after_optional = true;
    } else {
      if (after_optional) throw std::logic_error(member.name + ": a required parameter follows an optional one");
      member.required = i + 1;
    }
  }
  member.arity = count;
}

std::shared_ptr<Dispatch> object_argument(const Variant& v) {
  if (!v.is_object()) raise(err::TypeMismatch);
  return v.object();
}

void reject_null_argument(const Variant& v) {
  if (v.is_null()) raise(err::TypeMismatch);
}

}  // namespace detail

MemberTable::MemberTable(std::string class_name, std::vector<Member> members)
    : class_name_(std::move(class_name)), members_(std::move(members)) {
  for (std::size_t i = 0; i < members_.size(); ++i) {
    const Member& m = members_[i];
    const auto [it, inserted] = ids_.emplace(lower_ascii(m.name), m.id);
    if (!inserted && it->second != m.id) throw std::logic_error(class_name_ + "." + m.name + ": two DISPIDs");
    if (!m.variadic && !m.parameters.empty() && m.parameters.size() != m.arity)
      throw std::logic_error(class_name_ + "." + m.name + ": parameter names do not match the handler");
    for (std::size_t j = 0; j < i; ++j) {
      if (members_[j].id != m.id) continue;
      if (lower_ascii(members_[j].name) != lower_ascii(m.name))
        throw std::logic_error(class_name_ + "." + m.name + ": DISPID already used by " + members_[j].name);
      if (members_[j].kind == m.kind) throw std::logic_error(class_name_ + "." + m.name + ": registered twice");
    }
  }
}

const Member* MemberTable::find(DispId id, CallKind kinds) const {
  for (CallKind kind : kKindOrder) {
    if (!includes(kinds, kind)) continue;
    for (const Member& m : members_)
      if (m.id == id && m.kind == kind) return &m;
  }
  return nullptr;
}

std::optional<DispId> MemberTable::id_of(std::string_view name) const {
  const auto it = ids_.find(lower_ascii(name));
  if (it == ids_.end()) return std::nullopt;
  return it->second;
}

DispId Dispatch::id_of(std::string_view name) const {
  const auto id = members().id_of(name);
  if (!id) raise(err::MemberNotFound);
  return *id;
}

Variant Dispatch::invoke(DispId id, CallKind kind, std::span<Variant> args, std::span<const std::string_view> names) {
  if (names.size() > args.size()) raise(err::InvalidCall);
  const std::size_t positional = args.size() - names.size();
  if (is_put(kind) && positional == 0) raise(err::WrongNumberOfArguments);  // no value to assign
  const MemberTable& table = members();
  const Member* member = table.find(id, kind);
  const std::size_t indexes = index_argument_count(kind, args);
  if (member && (member->variadic || indexes <= member->arity)) return call_member(*this, *member, kind, args, names);

  // Arguments given to a property that takes none belong to the default
  // member of what it returns: Application.Workbooks(1), Cells(1, 1) = 5.
  const Member* getter = table.find(id, CallKind::Get);
  if (indexes > 0 && getter && getter->arity == 0 && !getter->variadic) {
    const Variant inner = call_member(*this, *getter, CallKind::Get, {}, {});
    return object_of(inner).invoke(DISPID_VALUE, kind, args, names);
  }
  // Assigning to a property that can only be read, with its index
  // arguments, assigns the default member of what it returns: Range("A1") = 5.
  if (!member && is_put(kind) && indexes > 0 && getter && (getter->variadic || indexes <= getter->arity)) {
    std::vector<Variant> index_args(args.begin(), args.end());
    Variant value = std::move(index_args[positional - 1]);
    index_args.erase(index_args.begin() + static_cast<std::ptrdiff_t>(positional - 1));
    const Variant inner = call_member(*this, *getter, CallKind::Get, index_args, names);
    return object_of(inner).invoke(DISPID_VALUE, kind, std::span(&value, 1));
  }
  raise(member ? err::WrongNumberOfArguments : err::MemberNotFound);
}

Variant Dispatch::invoke(std::string_view name, CallKind kind, std::span<Variant> args,
                         std::span<const std::string_view> names) {
  return invoke(id_of(name), kind, args, names);
}

Variant Dispatch::get(std::string_view name, std::initializer_list<Variant> args) {
  std::vector<Variant> v(args);
  return invoke(name, CallKind::Get | CallKind::Method, v);
}

void Dispatch::put(std::string_view name, Variant value) {
  Variant args[] = {std::move(value)};
  invoke(name, CallKind::Put, args);
}

Variant Dispatch::call(std::string_view name, std::initializer_list<Variant> args) {
  std::vector<Variant> v(args);
  return invoke(name, CallKind::Method, v);
}

Dispatch& object_of(const Variant& v) {
  if (!v.is_object()) raise(err::ObjectRequired);
  if (!v.object()) raise(err::ObjectNotSet);
  return *v.object();
}

Variant value_of(const Variant& v) {
  // A default member may itself return an object (a Range's Item is a
  // Range); follow a few levels, and refuse an object that is its own value.
  constexpr int kMaxDepth = 8;
  Variant current = v;
  for (int depth = 0; current.is_object(); ++depth) {
    if (depth == kMaxDepth) raise(err::TypeMismatch);
    current = object_of(current).invoke(DISPID_VALUE, CallKind::Get | CallKind::Method);
  }
  return current;
}

}  // namespace platform::com
