// Range over rows and columns: Hidden, sizes, outline levels, ShowDetail of
// summary lines, Group and Ungroup.
#include <functional>

#include "engine/app/application.hpp"
#include "engine/app/range.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

// The lines a whole-row or whole-column range spans.
struct LineSpan {
  const model::Lines* lines = nullptr;
  int first = 0;
  int last = 0;
  bool rows = true;
};

std::optional<LineSpan> whole_lines(const model::Worksheet& sheet, const model::CellRange& a) {
  if (a.whole_rows()) return LineSpan{&sheet.rows(), a.first_row, a.last_row, true};
  if (a.whole_columns()) return LineSpan{&sheet.columns(), a.first_column, a.last_column, false};
  return std::nullopt;
}

// What `get` reads from every line of [first, last], or Null when the lines
// differ. Lines without a record read as `plain`, so only records are visited.
com::Variant read_lines(const model::Lines& lines, int first, int last,
                        const std::function<com::Variant(const model::LineInfo&)>& get) {
  std::optional<com::Variant> value;
  bool same = true;
  int records = 0;
  const auto take = [&](const com::Variant& v) {
    if (!value) value = v;
    else same = same && *value == v;
  };
  lines.for_each(first, last, [&](int, const model::LineInfo& info) {
    ++records;
    take(get(info));
  });
  if (records < last - first + 1) take(get(model::LineInfo{}));
  return same ? *value : com::Variant::null();
}

}  // namespace

com::Variant Range::hidden() const {
  const model::Worksheet& s = sheet();
  const auto span = whole_lines(s, area_);
  if (!span) raise_refused("Unable to get the Hidden property of the Range class");
  return read_lines(*span->lines, span->first, span->last,
                    [](const model::LineInfo& info) { return com::Variant(info.is_hidden()); });
}

void Range::set_hidden(bool hidden) {
  model::Worksheet& s = sheet();
  const auto span = whole_lines(s, area_);
  if (!span || s.protection().contents) raise_refused("Unable to set the Hidden property of the Range class");
  if (span->rows) s.set_rows_hidden(span->first, span->last, hidden);
  else s.set_columns_hidden(span->first, span->last, hidden);
}

com::Variant Range::row_height() const {
  const model::Worksheet& s = sheet();
  const double standard = s.standard_height();
  return read_lines(s.rows(), area_.first_row, area_.last_row, [standard](const model::LineInfo& info) {
    return com::Variant(info.is_hidden() ? 0.0 : info.size.value_or(standard));
  });
}

void Range::set_row_height(double points) {
  model::Worksheet& s = sheet();
  if (s.protection().contents) raise_refused("Unable to set the RowHeight property of the Range class");
  s.set_row_height(area_.first_row, area_.last_row, points);
}

com::Variant Range::column_width() const {
  const model::Worksheet& s = sheet();
  const double standard = s.standard_width();
  return read_lines(s.columns(), area_.first_column, area_.last_column, [standard](const model::LineInfo& info) {
    return com::Variant(info.is_hidden() ? 0.0 : info.size.value_or(standard));
  });
}

void Range::set_column_width(double characters) {
  model::Worksheet& s = sheet();
  if (s.protection().contents) raise_refused("Unable to set the ColumnWidth property of the Range class");
  s.set_column_width(area_.first_column, area_.last_column, characters);
}

com::Variant Range::outline_level() const {
  const model::Worksheet& s = sheet();
  const auto span = whole_lines(s, area_);
  if (!span) raise_refused("Unable to get the OutlineLevel property of the Range class");
  return read_lines(*span->lines, span->first, span->last,
                    [](const model::LineInfo& info) { return com::Variant(std::int32_t{info.outline_level}); });
}

void Range::set_outline_level(std::int32_t level) {
  model::Worksheet& s = sheet();
  const auto span = whole_lines(s, area_);
  if (!span || level < 1 || level > model::kMaxOutlineLevel || s.protection().contents) {
    raise_refused("Unable to set the OutlineLevel property of the Range class");
  }
  for (int line = span->first; line <= span->last; ++line) {
    const auto step = [&](bool up) {
      if (span->rows) up ? s.group_rows(line, line) : s.ungroup_rows(line, line);
      else up ? s.group_columns(line, line) : s.ungroup_columns(line, line);
    };
    while (span->lines->level(line) < level) step(true);
    while (span->lines->level(line) > level) step(false);
  }
}

// A one-row range stands for its row, a one-column range for its column;
// the model refuses (1004) a line that is no summary line.
bool Range::show_detail() const {
  const model::Worksheet& s = sheet();
  if (area_.row_count() == 1 && !area_.whole_columns()) return s.row_show_detail(area_.first_row);
  if (area_.column_count() == 1) return s.column_show_detail(area_.first_column);
  raise_refused("Unable to get the ShowDetail property of the Range class");
}

void Range::set_show_detail(bool show) {
  model::Worksheet& s = sheet();
  if (area_.row_count() == 1 && !area_.whole_columns()) {
    s.set_row_show_detail(area_.first_row, show);
  } else if (area_.column_count() == 1) {
    s.set_column_show_detail(area_.first_column, show);
  } else {
    raise_refused("Unable to set the ShowDetail property of the Range class");
  }
}

void Range::group() {
  model::Worksheet& s = sheet();
  const auto span = whole_lines(s, area_);
  if (!span || s.protection().contents) raise_refused("Group method of Range class failed");
  if (span->rows) s.group_rows(span->first, span->last);
  else s.group_columns(span->first, span->last);
}

void Range::ungroup() {
  model::Worksheet& s = sheet();
  const auto span = whole_lines(s, area_);
  if (!span || s.protection().contents) raise_refused("Ungroup method of Range class failed");
  if (span->rows) s.ungroup_rows(span->first, span->last);
  else s.ungroup_columns(span->first, span->last);
}

}  // namespace engine::app
