#include "engine/app/app_object.hpp"

#include "engine/app/application.hpp"
#include "engine/app/fault_plan.hpp"

namespace engine::app {

namespace {
const char* const kExcel = "Microsoft Office Excel";
}

AppObject::AppObject(std::shared_ptr<Application> app) : app_(std::move(app)) {}

Application& AppObject::application() const {
  if (app_) return *app_;
  return static_cast<Application&>(const_cast<AppObject&>(*this));
}

std::shared_ptr<Application> AppObject::application_ref() const {
  if (app_) return app_;
  return std::static_pointer_cast<Application>(std::const_pointer_cast<platform::com::Dispatch>(shared_from_this()));
}

void AppObject::check_available() const {
  const Application& app = application();
  if (!app.alive()) {
    throw platform::com::Error::from_hresult(kServerUnavailable, {}, "The RPC server is unavailable.");
  }
  if (app.busy()) {
    throw platform::com::Error::from_hresult(kCallRejected, {}, "Call was rejected by callee.");
  }
}

void raise_detached() { platform::com::raise(platform::com::err::ObjectRequired); }

void raise_refused(std::string description) {
  platform::com::raise(platform::com::err::ApplicationDefined, kExcel, std::move(description));
}

void raise_method_failed(const std::string& member, const std::string& object) {
  raise_refused("Method '" + member + "' of object '" + object + "' failed");
}

namespace detail {

platform::com::MemberTable guard_members(platform::com::MemberTable table) {
  std::vector<platform::com::Member> guarded(table.members().begin(), table.members().end());
  for (platform::com::Member& member : guarded) {
    member.handler = [inner = std::move(member.handler), name = member.name, object = table.class_name()](
                         platform::com::Dispatch& self, std::span<platform::com::Variant> args) {
      static_cast<const AppObject&>(self).check_available();
      if (t_fault_armed) [[unlikely]] count_call(name, object);
      return inner(self, args);
    };
  }
  return platform::com::MemberTable(table.class_name(), std::move(guarded));
}

}  // namespace detail

}  // namespace engine::app
