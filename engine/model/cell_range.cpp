#include "engine/model/cell_range.hpp"

#include "platform/com/error.hpp"

namespace engine::model {

void check_range(const CellRange& r) {
  const bool inside = r.first_row >= 0 && r.first_column >= 0 && r.last_row < kMaxRows &&
                      r.last_column < kMaxColumns && r.first_row <= r.last_row && r.first_column <= r.last_column;
  if (!inside) platform::com::raise(platform::com::err::ApplicationDefined, "Range", "Range outside the sheet");
}

void check_cell(int row, int column) { check_range(CellRange::cell(row, column)); }

}  // namespace engine::model

namespace engine::model {

std::optional<int> shift_line(int index, int at, int count) {
  if (index < at) return index;
  if (count >= 0) return index + count;
  if (index < at - count) return std::nullopt;
  return index + count;
}

std::optional<Span> shift_span(Span span, int at, int count, int limit) {
  if (count >= 0) {
    Span moved{span.first >= at ? span.first + count : span.first, span.last >= at ? span.last + count : span.last};
    if (moved.first >= limit) return std::nullopt;
    moved.last = std::min(moved.last, limit - 1);
    return moved;
  }
  const int end = at - count;  // first line kept after the deleted ones
  const auto place = [&](int index, bool is_first) {
    if (index < at) return index;
    if (index >= end) return index + count;
    return is_first ? at : at - 1;
  };
  Span moved{place(span.first, true), place(span.last, false)};
  if (moved.last < moved.first) return std::nullopt;
  return moved;
}

}  // namespace engine::model
