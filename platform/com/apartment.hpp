// The thread's apartment: what COM keeps per single-threaded apartment and
// the system relies on — the class registry (ProgID and CLSID to a factory),
// the table of running objects (GetActiveObject), and the message loop that
// a waiting caller yields to.
//
// Each thread has its own apartment, as each STA thread has its own; nothing
// is shared between threads. Tests start from a clean one with reset().
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/dispatch.hpp"
#include "platform/com/guid.hpp"

namespace platform::com {

struct ClassEntry {
  std::string prog_id;  // "Excel.application.11"; matched in any case
  Guid clsid;
  std::function<std::shared_ptr<Dispatch>()> factory;
  bool creatable = true;  // false: known, but not for CreateObject
};

class Apartment {
 public:
  // The calling thread's apartment.
  static Apartment& current();
  // Replaces the calling thread's apartment by an empty one.
  static void reset();

  // Registers a class; a ProgID registered again is replaced. Several
  // ProgIDs may name one CLSID (a versioned and a version-independent one).
  void register_class(ClassEntry entry);
  // CLSIDFromProgID; nullopt for an unregistered ProgID.
  std::optional<Guid> clsid_of(std::string_view prog_id) const;
  // CreateObject: an unregistered or non-creatable class, or a factory that
  // gives nothing, raises 429; a factory's own error passes unchanged.
  std::shared_ptr<Dispatch> create_object(std::string_view prog_id);

  using Cookie = std::uint32_t;
  // RegisterActiveObject: the table holds the object (a strong
  // registration) until it is revoked. When several objects of one class are
  // running, lookups find the one registered first.
  Cookie register_active_object(const Guid& clsid, std::shared_ptr<Dispatch> object);
  // RevokeActiveObject; an unknown cookie raises 5 (E_INVALIDARG).
  void revoke_active_object(Cookie cookie);
  // GetActiveObject: none running fails with MK_E_UNAVAILABLE (runtime
  // number -2147221021); by ProgID, an unregistered one fails with CO_E_CLASSSTRING.
  std::shared_ptr<Dispatch> active_object(const Guid& clsid) const;
  std::shared_ptr<Dispatch> active_object(std::string_view prog_id) const;

  // Queues a task for the message loop.
  void post(std::function<void()> task);
  // Runs the tasks queued so far, then returns; tasks they post wait for
  // the next yield. A task's error stops the round and propagates; the tasks
  // after it stay queued.
  void yield_once();
  std::size_t pending() const { return queue_.size(); }

 private:
  const ClassEntry* find_class(std::string_view prog_id) const;

  struct ActiveEntry {
    Cookie cookie;
    Guid clsid;
    std::shared_ptr<Dispatch> object;
  };

  std::vector<ClassEntry> classes_;
  std::vector<ActiveEntry> active_;
  Cookie next_cookie_ = 1;
  std::deque<std::function<void()>> queue_;
};

}  // namespace platform::com
