#include "platform/script/call_depth.hpp"

#include <pthread.h>

#include <cstdint>

#include "platform/com/error.hpp"

namespace platform::script {

namespace {

thread_local int tl_depth = 0;

// The lowest address the statements may reach on this thread's stack
// (stacks grow down on every platform this builds for); zero when the
// bounds cannot be read, which leaves the count as the only guard.
std::uintptr_t find_stack_floor() {
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return 0;
  void* low = nullptr;
  std::size_t size = 0;
  const bool known = pthread_attr_getstack(&attributes, &low, &size) == 0;
  pthread_attr_destroy(&attributes);
  if (!known || size <= 2 * kStackReserve) return 0;
  return reinterpret_cast<std::uintptr_t>(low) + kStackReserve;
}

std::uintptr_t stack_floor() {
  thread_local const std::uintptr_t floor = find_stack_floor();
  return floor;
}

}  // namespace

CallDepth::CallDepth() {
  if (tl_depth >= kMaxCallDepth) com::raise(com::err::OutOfStackSpace);
  ++tl_depth;
}

CallDepth::~CallDepth() { --tl_depth; }

int CallDepth::current() { return tl_depth; }

void check_stack() {
  // The frame's own address: with AddressSanitizer a local variable may live
  // on a separate fake stack, the frame never does.
  const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  if (here < stack_floor()) com::raise(com::err::OutOfStackSpace);
}

}  // namespace platform::script
