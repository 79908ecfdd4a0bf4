#include "engine/app/fault_plan.hpp"

#include "engine/app/app_object.hpp"

namespace engine::app {

namespace {

struct PlanState {
  FaultPlan plan;
  std::uint64_t calls = 0;
  bool injected = false;
};

thread_local PlanState t_state;

[[noreturn]] void fail(Fault fault, const std::string& member, const std::string& object) {
  switch (fault) {
    case Fault::ExcelGone:
      throw platform::com::Error::from_hresult(kServerUnavailable, {}, "The RPC server is unavailable.");
    case Fault::CallRejected:
      throw platform::com::Error::from_hresult(kCallRejected, {}, "Call was rejected by callee.");
    case Fault::MethodFails:
      break;
  }
  raise_method_failed(member, object);
}

}  // namespace

void arm_fault(FaultPlan plan) {
  t_state = PlanState{plan, 0, false};
  detail::t_fault_armed = true;
}

void disarm_fault() {
  t_state = PlanState{};
  detail::t_fault_armed = false;
}

std::uint64_t calls_counted() { return t_state.calls; }

bool fault_injected() { return t_state.injected; }

namespace detail {

void count_call(const std::string& member, const std::string& object) {
  ++t_state.calls;
  const FaultPlan& plan = t_state.plan;
  // A dead server stays dead: every call after the fatal one fails too.
  const bool gone = t_state.injected && plan.fault == Fault::ExcelGone;
  if (t_state.calls != plan.fail_at && !gone) return;
  t_state.injected = true;
  fail(plan.fault, member, object);
}

}  // namespace detail

}  // namespace engine::app
