#include "engine/model/outline.hpp"

#include <algorithm>
#include <set>

#include "platform/com/error.hpp"

namespace engine::model {

namespace {

[[noreturn]] void refuse(const char* description) {
  platform::com::raise(platform::com::err::ApplicationDefined, "Outline", description);
}

template <typename Change>
void modify(Lines& lines, int index, Change change) {
  LineInfo info = lines.at(index);
  change(info);
  lines.set(index, info);
}

// Lines that may be summary lines: the neighbours of every grouped line.
std::set<int> summary_candidates(const Lines& lines) {
  std::set<int> candidates;
  lines.for_each(0, lines.count() - 1, [&](int index, const LineInfo& info) {
    if (info.outline_level <= 1) return;
    if (index > 0) candidates.insert(index - 1);
    if (index + 1 < lines.count()) candidates.insert(index + 1);
  });
  return candidates;
}

// Shows the lines of `span` at its top level and, inside it, the nested
// groups whose summary line is not collapsed.
void expand(Lines& lines, LineSpan span, SummaryPosition position) {
  int top = kMaxOutlineLevel;
  for (int i = span.first; i <= span.last; ++i) top = std::min(top, lines.level(i));
  for (int i = span.first; i <= span.last; ++i) {
    if (lines.level(i) == top) {
      modify(lines, i, [](LineInfo& info) { info.hidden = false; });
      continue;
    }
    int end = i;
    while (end + 1 <= span.last && lines.level(end + 1) > top) ++end;
    const int summary = position == SummaryPosition::Below ? end + 1 : i - 1;
    const bool folded = summary >= 0 && summary < lines.count() && lines.at(summary).collapsed;
    if (!folded) expand(lines, LineSpan{i, end}, position);
    i = end;
  }
}

}  // namespace

void group(Lines& lines, int first, int last) {
  for (int i = first; i <= last; ++i) {
    if (lines.level(i) >= kMaxOutlineLevel) refuse("Cannot group that selection");
  }
  for (int i = first; i <= last; ++i) modify(lines, i, [](LineInfo& info) { ++info.outline_level; });
}

void ungroup(Lines& lines, int first, int last) {
  bool any = false;
  for (int i = first; i <= last && !any; ++i) any = lines.level(i) > 1;
  if (!any) refuse("Cannot ungroup that selection");
  for (int i = first; i <= last; ++i) {
    modify(lines, i, [](LineInfo& info) {
      if (info.outline_level > 1) {
        --info.outline_level;
        info.hidden = false;
      }
    });
  }
}

void clear_outline(Lines& lines) {
  std::set<int> touched = summary_candidates(lines);
  lines.for_each(0, lines.count() - 1, [&](int index, const LineInfo& info) {
    if (info.outline_level > 1 || info.collapsed) touched.insert(index);
  });
  for (int index : touched) {
    modify(lines, index, [](LineInfo& info) {
      if (info.outline_level > 1) info.hidden = false;
      info.outline_level = 1;
      info.collapsed = false;
    });
  }
}

void clear_outline(Lines& lines, int first, int last) {
  const int end = std::min(last + 1, lines.count() - 1);
  for (int index = first; index <= end; ++index) {
    modify(lines, index, [](LineInfo& info) {
      if (info.outline_level > 1) info.hidden = false;
      info.outline_level = 1;
      info.collapsed = false;
    });
  }
}

int max_outline_level(const Lines& lines) {
  int deepest = 1;
  lines.for_each(0, lines.count() - 1,
                 [&](int, const LineInfo& info) { deepest = std::max(deepest, info.outline_level); });
  return deepest;
}

std::optional<LineSpan> detail_of(const Lines& lines, int summary, SummaryPosition position) {
  const int level = lines.level(summary);
  const int step = position == SummaryPosition::Below ? -1 : 1;
  int edge = summary + step;
  if (edge < 0 || edge >= lines.count() || lines.level(edge) <= level) return std::nullopt;
  while (edge + step >= 0 && edge + step < lines.count() && lines.level(edge + step) > level) edge += step;
  return step < 0 ? LineSpan{edge, summary - 1} : LineSpan{summary + 1, edge};
}

bool show_detail(const Lines& lines, int summary, SummaryPosition position) {
  const auto span = detail_of(lines, summary, position);
  if (!span) refuse("Unable to get the ShowDetail property: not a summary row or column");
  int top = kMaxOutlineLevel;
  for (int i = span->first; i <= span->last; ++i) top = std::min(top, lines.level(i));
  for (int i = span->first; i <= span->last; ++i) {
    if (lines.level(i) == top && !lines.hidden(i)) return true;
  }
  return false;
}

void set_show_detail(Lines& lines, int summary, SummaryPosition position, bool show) {
  const auto span = detail_of(lines, summary, position);
  if (!span) refuse("Unable to set the ShowDetail property: not a summary row or column");
  modify(lines, summary, [show](LineInfo& info) { info.collapsed = !show; });
  if (show) {
    expand(lines, *span, position);
    return;
  }
  for (int i = span->first; i <= span->last; ++i) modify(lines, i, [](LineInfo& info) { info.hidden = true; });
}

void show_levels(Lines& lines, int level, SummaryPosition position) {
  if (level < 1 || level > kMaxOutlineLevel) refuse("Invalid outline level");
  std::set<int> grouped;
  lines.for_each(0, lines.count() - 1, [&](int index, const LineInfo& info) {
    if (info.outline_level > 1) grouped.insert(index);
  });
  for (int index : grouped) {
    modify(lines, index, [level](LineInfo& info) { info.hidden = info.outline_level > level; });
  }
  for (int index : summary_candidates(lines)) {
    if (!detail_of(lines, index, position)) continue;
    const bool shown = show_detail(lines, index, position);
    modify(lines, index, [shown](LineInfo& info) { info.collapsed = !shown; });
  }
}

}  // namespace engine::model
