// The array shape both of the module's lists share: nothing until the first
// addition, then slots 0..count with slot 0 left empty, items from 1.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "platform/com/error.hpp"

namespace d72506 {

template <typename T>
class GrowableList {
 public:
  // Fails with the runtime's overflow (6) and leaves the list as it was
  // when the count would pass the 32-bit limit.
  void add(T item) {
    if (count_ == std::numeric_limits<std::int32_t>::max()) platform::com::raise(platform::com::err::Overflow);
    if (slots_.empty()) slots_.emplace_back();  // slot 0 stays empty
    slots_.push_back(std::move(item));
    ++count_;
  }

  std::int32_t count() const { return count_; }

  // A copy of slot `index`; 0 gives the empty slot. Fails with subscript
  // out of range (9) before the first addition or outside 0..count.
  T item(std::int32_t index) const {
    if (slots_.empty() || index < 0 || index > count_) platform::com::raise(platform::com::err::SubscriptOutOfRange);
    return slots_[static_cast<std::size_t>(index)];
  }

 private:
  std::int32_t count_ = 0;
  std::vector<T> slots_;
};

}  // namespace d72506
