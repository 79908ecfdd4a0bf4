// What one run of a trainee's statements may take: time and memory. A
// trainee's exercise needs seconds and a few megabytes; a loop that never
// ends or a string doubled at each turn must stop the run with a clear
// message instead of taking the machine with it.
//
//   auto budget = std::make_shared<Budget>(Limits{std::chrono::seconds(10), 256 << 20});
//   Budget::Scope scope(budget);       // this thread's runs now count against it
//   Session session(app);              // takes the thread's budget
//   session.run(script);               // ScriptError (Kind::Budget) when it is spent
//
// Threads: a Budget belongs to the thread that installed it (a check running
// several trainees gives each worker thread its own); nothing is shared
// between threads and nothing here is global but the per-thread slot.
//
// What counts: the clock, read at every statement and every turn of a loop;
// and the memory the interpreter holds in its variables (text, arrays), plus
// every new text or array it is about to make. Objects of the application
// are not counted here: the application bounds its own (cell text, sheet size).
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/com/variant.hpp"

namespace platform::script {

struct Limits {
  // Ample for any exercise (its statements take well under a second), short
  // enough that a runaway loop is noticed and what it made stays small.
  static constexpr std::chrono::milliseconds kDefaultTime = std::chrono::seconds(10);
  static constexpr std::size_t kDefaultMemory = std::size_t{256} << 20;

  std::chrono::milliseconds time = kDefaultTime;
  std::size_t memory = kDefaultMemory;  // bytes
};

// The budget is spent. It is no runtime error of the script: On Error Resume
// Next does not skip it, and it leaves every macro and statement running.
// It carries where it was spent: the first statement it left (inside a macro,
// the macro's own line), kept as it travels out to the trainee's statement.
class BudgetExceeded : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;

  // Notes `where` unless an inner statement was noted first.
  void locate(const std::string& where) {
    if (where_.empty()) where_ = where;
  }
  const std::string& where() const { return where_; }

 private:
  std::string where_;
};

class Budget {
 public:
  explicit Budget(Limits limits = {});

  const Limits& limits() const { return limits_; }

  // The clock starts again (a shell gives each line its own time).
  void restart();
  // BudgetExceeded once the time is over.
  void check_time() const;

  // Memory held by the interpreter's variables: charge() raises
  // BudgetExceeded (and holds nothing more) when the total would pass the
  // limit; release() gives back what a charge took.
  void charge(std::size_t bytes);
  void release(std::size_t bytes) noexcept;
  std::size_t held() const { return held_; }
  // A value about to be made, `bytes` long: BudgetExceeded when it would not
  // fit beside what is held.
  void check_new(std::size_t bytes) const;

  // The budget installed on this thread, or null.
  static const std::shared_ptr<Budget>& current();

  // Installs a budget (or none) on this thread for its lifetime, and puts
  // the previous one back after.
  class Scope {
   public:
    explicit Scope(std::shared_ptr<Budget> budget);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    std::shared_ptr<Budget> previous_;
  };

  // While it lives, the thread has no budget and `budget`'s clock (when
  // there is one) stands still: the player's own calls, made from a
  // trainee's "#" line, are not the trainee's to pay for.
  class Pause {
   public:
    explicit Pause(Budget* budget);
    ~Pause();
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

   private:
    Budget* budget_;
    Scope none_{nullptr};
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  };

 private:
  [[noreturn]] void memory_exceeded(std::size_t wanted) const;

  Limits limits_;
  std::chrono::steady_clock::time_point deadline_;
  std::size_t held_ = 0;
};

// The thread's budget, when one is installed, checks a value about to be made.
void check_new_value(std::size_t bytes);

// The bytes a value occupies as the interpreter counts them: its text, or
// its array's elements; objects and numbers count their Variant alone.
// Arrays nested deeper than kMaxArrayNesting raise error 28, as copying and
// releasing them recurses.
inline constexpr int kMaxArrayNesting = 32;
std::size_t footprint(const com::Variant& value);

// "10 s", "1.5 s", "256 MiB": limits as messages and help show them.
std::string describe_time(std::chrono::milliseconds time);
std::string describe_memory(std::size_t bytes);

}  // namespace platform::script
