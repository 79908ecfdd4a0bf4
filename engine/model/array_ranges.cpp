#include "engine/model/array_ranges.hpp"

#include <algorithm>

namespace engine::model {

void ArrayRanges::add(const CellRange& range) {
  by_anchor_[{range.first_row, range.first_column}] = range;
  for (int column = range.first_column; column <= range.last_column; ++column)
    by_column_[column][range.first_row] = range;
}

void ArrayRanges::remove(const CellRange& range) {
  if (by_anchor_.erase({range.first_row, range.first_column}) == 0) return;
  for (int column = range.first_column; column <= range.last_column; ++column) {
    const auto line = by_column_.find(column);
    if (line == by_column_.end()) continue;
    line->second.erase(range.first_row);
    if (line->second.empty()) by_column_.erase(line);
  }
}

std::optional<CellRange> ArrayRanges::find(int row, int column) const {
  const auto line = by_column_.find(column);
  if (line == by_column_.end()) return std::nullopt;
  auto after = line->second.upper_bound(row);
  if (after == line->second.begin()) return std::nullopt;
  const CellRange& range = std::prev(after)->second;
  if (!range.contains(row, column)) return std::nullopt;
  return range;
}

std::vector<CellRange> ArrayRanges::overlapping(const CellRange& range) const {
  std::map<std::pair<int, int>, CellRange> found;
  for (auto line = by_column_.lower_bound(range.first_column);
       line != by_column_.end() && line->first <= range.last_column; ++line) {
    auto it = line->second.upper_bound(range.first_row);
    if (it != line->second.begin()) --it;
    for (; it != line->second.end() && it->first <= range.last_row; ++it) {
      if (it->second.intersects(range)) found.emplace(std::pair{it->second.first_row, it->second.first_column}, it->second);
    }
  }
  std::vector<CellRange> out;
  out.reserve(found.size());
  for (const auto& [anchor, held] : found) out.push_back(held);
  return out;
}

std::vector<CellRange> ArrayRanges::all() const {
  std::vector<CellRange> out;
  out.reserve(by_anchor_.size());
  for (const auto& [anchor, range] : by_anchor_) out.push_back(range);
  return out;
}

}  // namespace engine::model
