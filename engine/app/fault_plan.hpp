// A switch of the stand-in for proving its callers: the Nth automation call
// made on a thread fails the way a real Excel's calls fail, so that a test
// can make every call of a whole run fail in turn and see what the caller
// does with each failure.
//
// Every member of every automation object passes through the guard that
// AppMembers builds (app_object.hpp), which is where the calls are counted.
// The switch is per thread, as the apartment the calls are made in is; while
// it is off, a call costs one test of a thread-local flag.
#pragma once

#include <cstdint>
#include <string>

namespace engine::app {

enum class Fault {
  // The server died: this call and every later one fail as calls to a dead
  // server do (0x800706BA, "The RPC server is unavailable").
  ExcelGone,
  // A busy Excel rejects this one call (RPC_E_CALL_REJECTED).
  CallRejected,
  // The member itself fails, as Excel's own 1004: "Method 'Name' of object
  // 'Workbook' failed".
  MethodFails,
};

struct FaultPlan {
  std::uint64_t fail_at = 0;  // 1 is the first call after arming; 0 only counts
  Fault fault = Fault::CallRejected;
};

// Arms `plan` on the calling thread: counting starts again from zero.
void arm_fault(FaultPlan plan);
// Turns the switch off on the calling thread.
void disarm_fault();
// The calls counted on this thread since arming.
std::uint64_t calls_counted();
// True once the armed plan has made a call fail.
bool fault_injected();

namespace detail {
inline thread_local bool t_fault_armed = false;
// Counts one call of `member` of `object`; raises when the plan says so.
void count_call(const std::string& member, const std::string& object);
}  // namespace detail

}  // namespace engine::app
