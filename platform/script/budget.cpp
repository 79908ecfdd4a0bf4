#include "platform/script/budget.hpp"

#include <cstdio>
#include <utility>

#include "platform/com/error.hpp"

namespace platform::script {

namespace {

thread_local std::shared_ptr<Budget> tl_budget;

std::size_t footprint_at(const com::Variant& value, int nesting) {
  std::size_t bytes = sizeof(com::Variant);
  if (value.type() == com::VarType::String) return bytes + value.string_value().size();
  if (!value.is_array()) return bytes;
  if (nesting >= kMaxArrayNesting) com::raise(com::err::OutOfStackSpace);
  for (const com::Variant& element : value.array_value().elements()) bytes += footprint_at(element, nesting + 1);
  return bytes;
}

}  // namespace

Budget::Budget(Limits limits) : limits_(limits) { restart(); }

void Budget::restart() { deadline_ = std::chrono::steady_clock::now() + limits_.time; }

void Budget::check_time() const {
  if (std::chrono::steady_clock::now() > deadline_)
    throw BudgetExceeded("stopped: the statements ran longer than their time budget of " +
                         describe_time(limits_.time));
}

void Budget::charge(std::size_t bytes) {
  check_new(bytes);
  held_ += bytes;
}

void Budget::release(std::size_t bytes) noexcept { held_ -= bytes < held_ ? bytes : held_; }

void Budget::check_new(std::size_t bytes) const {
  if (bytes > limits_.memory || held_ > limits_.memory - bytes) memory_exceeded(bytes);
}

void Budget::memory_exceeded(std::size_t wanted) const {
  throw BudgetExceeded("stopped: the statements needed more than their memory budget of " +
                       describe_memory(limits_.memory) + " (" + describe_memory(held_) + " held, " +
                       describe_memory(wanted) + " more asked)");
}

const std::shared_ptr<Budget>& Budget::current() { return tl_budget; }

Budget::Scope::Scope(std::shared_ptr<Budget> budget) : previous_(std::exchange(tl_budget, std::move(budget))) {}

Budget::Scope::~Scope() { tl_budget = std::move(previous_); }

Budget::Pause::Pause(Budget* budget) : budget_(budget) {}

Budget::Pause::~Pause() {
  if (budget_) budget_->deadline_ += std::chrono::steady_clock::now() - started_;
}

void check_new_value(std::size_t bytes) {
  if (tl_budget) tl_budget->check_new(bytes);
}

std::size_t footprint(const com::Variant& value) { return footprint_at(value, 0); }

std::string describe_time(std::chrono::milliseconds time) {
  const auto ms = time.count();
  if (ms % 1000 == 0) return std::to_string(ms / 1000) + " s";
  char text[32];
  std::snprintf(text, sizeof text, "%.3g s", static_cast<double>(ms) / 1000);
  return text;
}

std::string describe_memory(std::size_t bytes) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  constexpr std::size_t kKiB = std::size_t{1} << 10;
  if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  if (bytes >= kMiB) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / kMiB);
    return text;
  }
  if (bytes >= kKiB) return std::to_string(bytes / kKiB) + " KiB";
  return std::to_string(bytes) + " bytes";
}

}  // namespace platform::script
