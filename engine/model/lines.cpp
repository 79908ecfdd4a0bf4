#include "engine/model/lines.hpp"

#include <vector>

#include "platform/com/error.hpp"

namespace engine::model {

void Lines::check(int index) const {
  if (index < 0 || index >= count_) {
    platform::com::raise(platform::com::err::ApplicationDefined, "Lines", "Row or column out of range");
  }
}

const LineInfo& Lines::at(int index) const {
  static const LineInfo kDefault{};
  check(index);
  const auto it = records_.find(index);
  return it == records_.end() ? kDefault : it->second;
}

void Lines::set(int index, const LineInfo& info) {
  check(index);
  if (info.is_default()) {
    records_.erase(index);
  } else {
    records_[index] = info;
  }
}

void Lines::shift(int at, int count) {
  check(at);
  if (count == 0) return;
  const int removed_end = count < 0 ? at - count : at;  // first line kept after a deletion
  std::map<int, LineInfo> moved;
  for (auto it = records_.lower_bound(at); it != records_.end();) {
    const int target = it->first + count;
    if (it->first >= removed_end && target < count_) moved.emplace(target, it->second);
    it = records_.erase(it);
  }
  records_.merge(moved);
  if (count > 0 && at > 0) {
    LineInfo inherited = this->at(at - 1);
    inherited.collapsed = false;
    inherited.hidden = false;
    inherited.filtered = false;
    for (int index = at; index < at + count && index < count_; ++index) set(index, inherited);
  }
}

}  // namespace engine::model
