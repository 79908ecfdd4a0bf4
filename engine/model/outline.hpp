// Outlines over rows or columns: grouping, ShowLevels and ShowDetail, for
// summary lines below (right of) or above (left of) their detail.
#pragma once

#include <optional>

#include "engine/model/lines.hpp"

namespace engine::model {

enum class SummaryPosition { Above, Below };

// A contiguous run of detail lines.
struct LineSpan {
  int first;
  int last;
};

// Raises each line of [first, last] one level; raises 1004 when a line is
// already at the deepest level (the lines are left unchanged).
void group(Lines& lines, int first, int last);
// Lowers each grouped line of [first, last] one level, showing it; raises
// 1004 when none of them is grouped.
void ungroup(Lines& lines, int first, int last);
// Removes the outline: every line back to level 1, shown, not collapsed;
// the second form only for the lines of [first, last] and the summary line
// just after them.
void clear_outline(Lines& lines);
void clear_outline(Lines& lines, int first, int last);
int max_outline_level(const Lines& lines);

// The detail lines of the summary line `summary`, or nothing when it is no
// summary line.
std::optional<LineSpan> detail_of(const Lines& lines, int summary, SummaryPosition position);

// Whether the detail of a summary line shows; raises 1004 for a line that is
// no summary line, as Range.ShowDetail does.
bool show_detail(const Lines& lines, int summary, SummaryPosition position);
// Expands or collapses a summary line's detail; expanding keeps nested groups
// that are themselves collapsed folded.
void set_show_detail(Lines& lines, int summary, SummaryPosition position, bool show);

// Shows the levels up to `level` and hides the deeper ones (ShowLevels).
void show_levels(Lines& lines, int level, SummaryPosition position);

}  // namespace engine::model
