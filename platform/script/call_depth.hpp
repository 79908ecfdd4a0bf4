// How deep the interpreter's calls nest on this thread. A macro that runs
// itself through Application.Run, or a chain of macros that runs back into
// its start, must end with error 28 "Out of stack space", as the macro
// language ends it, and never with the process's stack overflowing.
//
// Two guards, since neither alone covers every shape of input: a count of
// nested runs (each macro call is one; a plain number, the same on every
// machine), and a look at the thread's own stack before each statement and
// each expression, for the paths the count does not see (a worker thread
// with a small stack, deep blocks inside each call).
//
// Threads: the count and the stack bounds are per thread.
#pragma once

#include <cstddef>

namespace platform::script {

// Nested runs of a script: a macro calling itself 200 deep is a loop.
inline constexpr int kMaxCallDepth = 200;

// The stack a statement must leave for what lies below it (the application's
// members, formula evaluation): the guard stops before less than this is left.
inline constexpr std::size_t kStackReserve = std::size_t{1} << 20;

// One nested run, counted while it lives; error 28 beyond kMaxCallDepth.
class CallDepth {
 public:
  CallDepth();
  ~CallDepth();
  CallDepth(const CallDepth&) = delete;
  CallDepth& operator=(const CallDepth&) = delete;

  // The runs nested on this thread right now.
  static int current();
};

// Error 28 when the calling thread has less than kStackReserve of stack left.
void check_stack();

}  // namespace platform::script
