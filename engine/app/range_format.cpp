// Range formats: reading a property over many cells (Null when they differ),
// writing it through the format pool, Font, Interior, Style and merging.
#include <algorithm>
#include <set>
#include <unordered_set>

#include "engine/app/application.hpp"
#include "engine/app/font.hpp"
#include "engine/app/interior.hpp"
#include "engine/app/range.hpp"
#include "engine/app/styles.hpp"
#include "platform/com/convert.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

// Calls each(format index) for the formats the cells of `a` show, with
// repeats, until it returns false. Rows with neither cells nor a record of
// their own show their columns' formats, so a whole column is read without
// visiting its 65536 cells.
template <class Each>
void visit_formats(const model::Worksheet& sheet, const model::CellRange& a, Each each) {
  std::set<int> populated;
  sheet.rows().for_each(a.first_row, a.last_row, [&](int row, const model::LineInfo&) { populated.insert(row); });
  sheet.for_each_cell(a, [&](int row, int, const model::Cell&) { populated.insert(row); });
  for (int row : populated) {
    for (int column = a.first_column; column <= a.last_column; ++column) {
      if (!each(sheet.format_index(row, column))) return;
    }
  }
  if (static_cast<int>(populated.size()) == a.row_count()) return;
  for (int column = a.first_column; column <= a.last_column; ++column) {
    if (!each(sheet.columns().at(column).format.value_or(model::kDefaultFormat))) return;
  }
}

// Range.Font and Range.Interior format the range's cells.
class RangeFormats final : public FormatTarget {
 public:
  explicit RangeFormats(std::shared_ptr<Range> range) : range_(std::move(range)) {}

  com::Variant read(const std::function<com::Variant(const model::CellFormat&)>& get) const override {
    return range_->read_format(get);
  }
  void write(const std::function<void(model::CellFormat&)>& change) override { range_->write_format(change); }
  const model::Palette& palette() const override { return range_->sheet().workbook().palette(); }
  std::shared_ptr<com::Dispatch> parent() const override { return range_; }

 private:
  std::shared_ptr<Range> range_;
};

}  // namespace

com::Variant Range::read_format(const std::function<com::Variant(const model::CellFormat&)>& get) const {
  const model::Worksheet& s = sheet();
  const model::FormatPool& pool = s.workbook().formats();
  std::optional<com::Variant> first;
  bool same = true;
  std::unordered_set<model::FormatIndex> seen;
  visit_formats(s, area_, [&](model::FormatIndex index) {
    if (!seen.insert(index).second) return true;
    com::Variant v = get(pool.at(index));
    if (!first) first = std::move(v);
    else same = *first == v;
    return same;
  });
  return same ? *first : com::Variant::null();
}

void Range::check_editable() const {
  const model::Worksheet& s = sheet();
  if (!s.protection().contents) return;
  bool locked = false;
  visit_formats(s, area_, [&](model::FormatIndex index) {
    locked = s.workbook().formats().at(index).protection.locked;
    return !locked;
  });
  if (locked) raise_refused("The cell or chart you are trying to change is protected and therefore read-only.");
}

void Range::write_format(const std::function<void(model::CellFormat&)>& change) {
  model::Worksheet& s = sheet();
  check_editable();
  // A value Excel refuses is refused before any cell changes.
  model::CellFormat trial = s.format(area_.first_row, area_.first_column);
  change(trial);
  model::validate(trial);
  s.change_format(area_, change);
}

com::Variant Range::font() { return std::make_shared<Font>(application_ref(), std::make_shared<RangeFormats>(self(this))); }

com::Variant Range::interior() {
  return std::make_shared<Interior>(application_ref(), std::make_shared<RangeFormats>(self(this)));
}

// The cells' Style object (its default member is the name, so the value
// reads as the name), Null when the cells differ.
com::Variant Range::style() const {
  const com::Variant name = read_format([](const model::CellFormat& f) { return com::Variant(f.style); });
  if (name.is_null()) return name;
  return std::make_shared<Style>(application_ref(), sheet_.book, name.string_value());
}

void Range::set_style(const com::Variant& style) {
  model::Worksheet& s = sheet();
  const std::string name = com::cstr(style);
  check_editable();
  s.apply_style(area_, name);
}

// --- Merged cells ---------------------------------------------------------------------

com::Variant Range::merge_cells() const {
  long long covered = 0;
  for (const model::CellRange& m : sheet().merged_ranges()) {
    if (!m.intersects(area_)) continue;
    const long long rows = std::min(m.last_row, area_.last_row) - std::max(m.first_row, area_.first_row) + 1;
    const long long columns =
        std::min(m.last_column, area_.last_column) - std::max(m.first_column, area_.first_column) + 1;
    covered += rows * columns;
  }
  const long long cells = static_cast<long long>(area_.row_count()) * area_.column_count();
  if (covered == 0) return false;
  return covered == cells ? com::Variant(true) : com::Variant::null();
}

void Range::set_merge_cells(bool merged) {
  if (merged) merge(false);
  else unmerge();
}

void Range::merge(std::optional<bool> across) {
  model::Worksheet& s = sheet();
  check_editable();
  if (!across.value_or(false)) {
    s.merge(area_);
    return;
  }
  for (int row = area_.first_row; row <= area_.last_row; ++row) {
    s.merge({row, area_.first_column, row, area_.last_column});
  }
}

void Range::unmerge() {
  model::Worksheet& s = sheet();
  check_editable();
  s.unmerge(area_);
}

}  // namespace engine::app
