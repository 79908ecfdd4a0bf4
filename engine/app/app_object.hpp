// The base of every automation object of the stand-in application, and the
// guard every member call goes through first.
//
// A real Excel answers automation calls only while it can: with a cell in
// edit mode or a modal dialog open it rejects them (RPC_E_CALL_REJECTED,
// runtime number -2147418111), and once it has quit, or its main window was
// closed, the calls fail as calls to a dead server (0x800706BA, "The RPC
// server is unavailable", runtime number -2147023174). The module relies on
// both, so no member may skip the check: a class's members can only be
// registered through AppMembers, whose table wraps every handler with it.
//
//   const GuardedMembers& Workbook::member_table() const {
//     static const GuardedMembers table = AppMembers<Workbook>("Workbook")
//         .get("Name", dispid::Name, &Workbook::name)
//         .method("Close", dispid::Close, &Workbook::close, {"SaveChanges", "Filename"});
//     return table;
//   }
//
// Ownership: every object but the Application holds the Application
// (shared_ptr), as every object of a COM server keeps the server alive. The
// Application holds no automation object in return (it creates them on
// demand), so there are no reference cycles. Objects over a workbook hold
// the model's shared_ptr and identifiers (sheet id, cell area), never raw
// pointers; one whose workbook was closed or whose sheet was deleted raises
// 424 "Object required" (raise_detached()).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/error.hpp"
#include "platform/com/members.hpp"

namespace engine::app {

class Application;

// HRESULTs of an unavailable application.
inline constexpr platform::com::HRESULT kCallRejected = platform::com::RPC_E_CALL_REJECTED;  // 0x80010001
inline constexpr platform::com::HRESULT kServerUnavailable = static_cast<platform::com::HRESULT>(0x800706BA);

// A member table whose every handler first checks that the application is
// available. Only AppMembers makes one.
class GuardedMembers {
 public:
  const platform::com::MemberTable& table() const { return table_; }

 private:
  template <class T>
  friend class AppMembers;
  explicit GuardedMembers(platform::com::MemberTable table) : table_(std::move(table)) {}

  platform::com::MemberTable table_;
};

class AppObject : public platform::com::Dispatch {
 public:
  // The table comes from member_table(): there is no other way to give one.
  const platform::com::MemberTable& members() const final { return member_table().table(); }

  Application& application() const;
  std::shared_ptr<Application> application_ref() const;

  // Raises the error a busy or dead Excel answers with; returns when the
  // application can take a call.
  void check_available() const;

 protected:
  // Objects other than the Application itself.
  explicit AppObject(std::shared_ptr<Application> app);

  virtual const GuardedMembers& member_table() const = 0;

 private:
  friend class Application;
  AppObject() = default;  // the Application itself

  std::shared_ptr<Application> app_;  // empty for the Application itself
};

// The error of an object whose workbook, sheet or item has gone.
[[noreturn]] void raise_detached();

// Excel's own refusal (1004) with its text. Excel's texts are given in
// English throughout, as the model's are.
[[noreturn]] void raise_refused(std::string description);
// The 1004 Excel raises when a member refuses its arguments:
// "Method 'DeleteCustomList' of object '_Application' failed".
[[noreturn]] void raise_method_failed(const std::string& member, const std::string& object);

namespace detail {
platform::com::MemberTable guard_members(platform::com::MemberTable table);
}

// platform::com::Members for automation objects of the application: the same
// calls, and the finished table guards every member.
template <class T>
class AppMembers {
 public:
  explicit AppMembers(std::string class_name) : members_(std::move(class_name)) {
    static_assert(std::is_base_of_v<AppObject, T>, "AppMembers is for AppObject classes");
  }

  template <class F>
  AppMembers& get(std::string name, platform::com::DispId id, F f, std::vector<std::string> parameters = {}) {
    members_.get(std::move(name), id, f, std::move(parameters));
    return *this;
  }
  template <class F>
  AppMembers& put(std::string name, platform::com::DispId id, F f, std::vector<std::string> parameters = {}) {
    members_.put(std::move(name), id, f, std::move(parameters));
    return *this;
  }
  template <class F>
  AppMembers& put_ref(std::string name, platform::com::DispId id, F f, std::vector<std::string> parameters = {}) {
    members_.put_ref(std::move(name), id, f, std::move(parameters));
    return *this;
  }
  template <class F>
  AppMembers& method(std::string name, platform::com::DispId id, F f, std::vector<std::string> parameters = {}) {
    members_.method(std::move(name), id, f, std::move(parameters));
    return *this;
  }
  // Every member of another class's guarded table (a shared base's).
  AppMembers& include(const GuardedMembers& other) {
    members_.include(other.table());
    return *this;
  }

  operator GuardedMembers() { return GuardedMembers(detail::guard_members(members_)); }

 private:
  platform::com::Members<T> members_;
};

}  // namespace engine::app
