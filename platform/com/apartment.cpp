#include "platform/com/apartment.hpp"

#include <algorithm>
#include <utility>

namespace platform::com {

namespace {

bool same_prog_id(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

Apartment& thread_apartment() {
  // One apartment per thread, as each single-threaded apartment of COM.
  thread_local Apartment apartment;
  return apartment;
}

}  // namespace

Apartment& Apartment::current() { return thread_apartment(); }

void Apartment::reset() { thread_apartment() = Apartment(); }

const ClassEntry* Apartment::find_class(std::string_view prog_id) const {
  for (const ClassEntry& c : classes_)
    if (same_prog_id(c.prog_id, prog_id)) return &c;
  return nullptr;
}

void Apartment::register_class(ClassEntry entry) {
  for (ClassEntry& c : classes_) {
    if (same_prog_id(c.prog_id, entry.prog_id)) {
      c = std::move(entry);
      return;
    }
  }
  classes_.push_back(std::move(entry));
}

std::optional<Guid> Apartment::clsid_of(std::string_view prog_id) const {
  const ClassEntry* c = find_class(prog_id);
  if (!c) return std::nullopt;
  return c->clsid;
}

std::shared_ptr<Dispatch> Apartment::create_object(std::string_view prog_id) {
  const ClassEntry* c = find_class(prog_id);
  if (!c || !c->creatable || !c->factory) raise(err::CantCreateObject);
  // The factory may register classes itself; call a copy.
  const auto factory = c->factory;
  std::shared_ptr<Dispatch> object = factory();
  if (!object) raise(err::CantCreateObject);
  return object;
}

Apartment::Cookie Apartment::register_active_object(const Guid& clsid, std::shared_ptr<Dispatch> object) {
  if (!object) raise(err::InvalidCall);
  const Cookie cookie = next_cookie_++;
  active_.push_back({cookie, clsid, std::move(object)});
  return cookie;
}

void Apartment::revoke_active_object(Cookie cookie) {
  const auto it = std::find_if(active_.begin(), active_.end(), [&](const ActiveEntry& e) { return e.cookie == cookie; });
  if (it == active_.end()) throw Error::from_hresult(E_INVALIDARG);
  active_.erase(it);
}

std::shared_ptr<Dispatch> Apartment::active_object(const Guid& clsid) const {
  for (const ActiveEntry& e : active_)
    if (e.clsid == clsid) return e.object;
  throw Error::from_hresult(MK_E_UNAVAILABLE);
}

std::shared_ptr<Dispatch> Apartment::active_object(std::string_view prog_id) const {
  const auto clsid = clsid_of(prog_id);
  if (!clsid) throw Error::from_hresult(CO_E_CLASSSTRING);
  return active_object(*clsid);
}

void Apartment::post(std::function<void()> task) { queue_.push_back(std::move(task)); }

void Apartment::yield_once() {
  std::deque<std::function<void()>> round;
  round.swap(queue_);
  while (!round.empty()) {
    const std::function<void()> task = std::move(round.front());
    round.pop_front();
    try {
      task();
    } catch (...) {
      // What this round did not reach runs before what its tasks posted.
      queue_.insert(queue_.begin(), std::make_move_iterator(round.begin()), std::make_move_iterator(round.end()));
      throw;
    }
  }
}

}  // namespace platform::com
