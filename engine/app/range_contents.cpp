// Range contents: Value, Formula, Text, notes and clearing. Assignments
// behave like typing into each cell, through the model's data entry.
#include <algorithm>

#include "engine/app/application.hpp"
#include "engine/app/comment.hpp"
#include "engine/app/range.hpp"
#include "engine/formula/formula.hpp"
#include "engine/formula/number_format.hpp"
#include "engine/formula/r1c1.hpp"
#include "engine/model/number_format.hpp"
#include "engine/model/style.hpp"
#include "platform/com/convert.hpp"
#include "platform/script/budget.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

constexpr std::int32_t kFirstCellError = 2000;
constexpr std::int32_t kOutOfMemory = 7;
constexpr const char* kDateFormat = "m/d/yyyy";
constexpr const char* kDateTimeFormat = "m/d/yyyy h:mm";

com::Variant cell_variant(const model::Worksheet& sheet, int row, int column) {
  const formula::Value v = sheet.value(row, column);
  if (v.is_number()) {
    if (model::is_date_format(sheet.format(row, column).number_format)) return com::Date{v.number()};
    return v.number();
  }
  if (v.is_text()) return v.text();
  if (v.is_boolean()) return v.boolean();
  if (v.is_error()) return com::Variant::cell_error(kFirstCellError + static_cast<int>(v.error()));
  return {};
}

formula::CellError cell_error_of(const com::Variant& v) {
  const std::int32_t number = com::number_from_hresult(v.error_value().scode) - kFirstCellError;
  const auto error = number >= 0 && number <= 0xFF ? formula::error_from_code(static_cast<std::uint8_t>(number))
                                                   : std::nullopt;
  if (!error) com::raise(com::err::TypeMismatch);
  return *error;
}

// Excel gives a General cell that receives a date a date format.
void store_date(model::Worksheet& sheet, int row, int column, com::Date date) {
  sheet.set_value(row, column, date.serial);
  if (sheet.format(row, column).number_format != model::kGeneralFormat) return;
  const bool has_time = date.serial != static_cast<double>(static_cast<long long>(date.serial));
  sheet.change_format(model::CellRange::cell(row, column),
                      [has_time](model::CellFormat& f) { f.number_format = has_time ? kDateTimeFormat : kDateFormat; });
}

// What assigning one scalar to one cell stores.
void store_scalar(model::Worksheet& sheet, int row, int column, const com::Variant& v) {
  switch (v.type()) {
    case com::VarType::Empty:
    case com::VarType::Null: sheet.set_value(row, column, {}); return;
    case com::VarType::String: sheet.enter(row, column, v.string_value()); return;
    case com::VarType::Boolean: sheet.set_value(row, column, v.bool_value()); return;
    case com::VarType::Integer:
    case com::VarType::Long:
    case com::VarType::Double: sheet.set_value(row, column, com::cdbl(v)); return;
    case com::VarType::Date: store_date(sheet, row, column, v.date_value()); return;
    case com::VarType::Error: sheet.set_value(row, column, cell_error_of(v)); return;
    case com::VarType::Object:
    case com::VarType::Array: break;
  }
  com::raise(com::err::TypeMismatch);
}

// The element of `array` for the cell (row, column) of the range, 0-based;
// a range larger than the array gets #N/A beyond it, as in Excel.
com::Variant element_for(const com::SafeArray& array, int row, int column) {
  const auto extent = [&array](int dim) { return array.upper_bound(dim) - array.lower_bound(dim) + 1; };
  if (array.dimensions() == 1) {
    if (column >= extent(1)) return com::Variant::cell_error(com::cell_error::NA);
    return array.at(array.lower_bound(1) + column);
  }
  if (row >= extent(1) || column >= extent(2)) return com::Variant::cell_error(com::cell_error::NA);
  return array.at(array.lower_bound(1) + row, array.lower_bound(2) + column);
}

// Row by row; the clock of the run a trainee's statement belongs to is read
// at each row, since one statement may fill a whole sheet.
template <class Each>
void each_cell(const model::CellRange& a, Each each) {
  const auto& budget = platform::script::Budget::current();
  for (int row = a.first_row; row <= a.last_row; ++row) {
    if (budget) budget->check_time();
    for (int column = a.first_column; column <= a.last_column; ++column) each(row, column);
  }
}

}  // namespace

// The cells an assignment of `value` to the whole range would make, as the
// budget of the run counts memory, before any is made: "x" given to every
// cell of a sheet asks for gigabytes.
void check_budget_for(const model::CellRange& a, const com::Variant& value) {
  constexpr std::size_t kCellBytes = sizeof(model::Cell) + 64;  // the cell and its place in the sheet's maps
  const std::size_t text = value.type() == com::VarType::String ? value.string_value().size() : 0;
  const auto cells = static_cast<std::size_t>(a.row_count()) * static_cast<std::size_t>(a.column_count());
  platform::script::check_new_value(cells * (kCellBytes + text));
}

namespace {

// A 1-based rows x columns array of what `read` gives for each cell. Excel
// runs out of memory long before a whole sheet's array; so does this, with
// its error rather than by exhausting the process.
template <class Read>
com::Variant array_of(const model::CellRange& a, Read read) {
  constexpr long long kLargestArray = 1LL << 22;
  if (static_cast<long long>(a.row_count()) * a.column_count() > kLargestArray) {
    com::raise(kOutOfMemory, {}, "Out of memory");
  }
  com::SafeArray array({com::Bound{1, a.row_count()}, com::Bound{1, a.column_count()}});
  each_cell(a, [&](int row, int column) {
    array.at(row - a.first_row + 1, column - a.first_column + 1) = read(row, column);
  });
  return array;
}

bool single_cell(const model::CellRange& a) { return a.row_count() == 1 && a.column_count() == 1; }

// One formula typed into a block of cells is entered as Ctrl+Enter enters
// it: written for the first cell, and each other cell gets it as copying
// moves it, its relative references following the cell (=A1+1 in A2 is
// =A2+1 in A3). False when the value is no formula for a block.
bool fill_formula(model::Worksheet& sheet, const model::CellRange& a, const com::Variant& v) {
  if (single_cell(a) || v.type() != com::VarType::String || !v.string_value().starts_with('=')) return false;
  store_scalar(sheet, a.first_row, a.first_column, v);
  const model::Cell* first = sheet.find_cell(a.first_row, a.first_column);
  if (!first || !first->formula) return false;
  const std::shared_ptr<const formula::Formula> entered = first->formula;
  const formula::CellAddress from{0, a.first_row, a.first_column};
  each_cell(a, [&](int row, int column) {
    if (row == a.first_row && column == a.first_column) return;
    sheet.set_formula(row, column, formula::copy_formula(*entered, from, {0, row, column}));
  });
  return true;
}

com::Variant r1c1_text(const model::Worksheet& sheet, int row, int column) {
  const std::string text = sheet.formula_text(row, column);
  return sheet.has_formula(row, column) ? formula::a1_to_r1c1(text, row, column) : text;
}

std::string cell_text(const model::Worksheet& sheet, int row, int column) {
  const formula::Value v = sheet.value(row, column);
  if (v.is_error()) return std::string(formula::error_text(v.error()));
  return formula::format_value(v, sheet.format(row, column).number_format);
}

}  // namespace

com::Variant Range::value() const {
  const model::Worksheet& s = sheet();
  if (single_cell(area_)) return cell_variant(s, area_.first_row, area_.first_column);
  return array_of(area_, [&s](int row, int column) { return cell_variant(s, row, column); });
}

void Range::set_value(const com::Variant& value) {
  model::Worksheet& s = sheet();
  const com::Variant v = value.is_object() ? com::value_of(value) : value;
  check_editable();
  check_budget_for(area_, v.is_array() ? com::Variant() : v);
  s.release_arrays(area_);
  if (v.is_array()) {
    const com::SafeArray& array = v.array_value();
    each_cell(area_, [&](int row, int column) {
      const com::Variant element = element_for(array, row - area_.first_row, column - area_.first_column);
      store_scalar(s, row, column, element.is_object() ? com::value_of(element) : element);
    });
    return;
  }
  if (v.is_object()) com::raise(com::err::TypeMismatch);
  if (fill_formula(s, area_, v)) return;
  each_cell(area_, [&](int row, int column) { store_scalar(s, row, column, v); });
}

com::Variant Range::formula() const {
  const model::Worksheet& s = sheet();
  if (single_cell(area_)) return s.formula_text(area_.first_row, area_.first_column);
  return array_of(area_, [&s](int row, int column) { return com::Variant(s.formula_text(row, column)); });
}

// Formula text and constants are typed alike, so Formula takes what Value takes.
void Range::set_formula(const com::Variant& formula) { set_value(formula); }

com::Variant Range::formula_r1c1() const {
  const model::Worksheet& s = sheet();
  if (single_cell(area_)) return r1c1_text(s, area_.first_row, area_.first_column);
  return array_of(area_, [&s](int row, int column) { return r1c1_text(s, row, column); });
}

// An R1C1 formula reads the same from every cell, so it is turned into A1
// for the first cell and filled from there as a typed one is.
void Range::set_formula_r1c1(const com::Variant& formula) {
  const com::Variant v = formula.is_object() ? com::value_of(formula) : formula;
  if (v.type() != com::VarType::String || !v.string_value().starts_with('=')) return set_value(v);
  const auto a1 = formula::r1c1_to_a1(v.string_value(), area_.first_row, area_.first_column);
  if (!a1) raise_refused("Application-defined or object-defined error");
  set_value(*a1);
}

com::Variant Range::text() const {
  const model::Worksheet& s = sheet();
  const std::string first = cell_text(s, area_.first_row, area_.first_column);
  bool same = true;
  each_cell(area_, [&](int row, int column) { same = same && cell_text(s, row, column) == first; });
  return same ? com::Variant(first) : com::Variant::null();
}

// --- Notes ------------------------------------------------------------------------

std::string Range::note_text(const std::optional<std::string>& text, std::optional<std::int32_t> start,
                             std::optional<std::int32_t> length) {
  model::Worksheet& s = sheet();
  const int row = area_.first_row, column = area_.first_column;
  const std::size_t from = static_cast<std::size_t>(start.value_or(1)) - 1;
  if (start.value_or(1) < 1 || length.value_or(0) < 0) com::raise(com::err::InvalidCall);
  const model::Note* note = s.note(row, column);
  const std::string old = note ? note->text : std::string();
  if (!text) return from >= old.size() ? std::string() : old.substr(from, length ? *length : std::string::npos);
  if (s.protection().drawing_objects) raise_refused("NoteText method of Range class failed");
  std::string updated = old.substr(0, std::min(from, old.size())) + *text;
  if (length && from + static_cast<std::size_t>(*length) < old.size()) updated += old.substr(from + *length);
  if (updated.empty()) {
    if (note) s.delete_note(row, column);
  } else {
    s.set_note(row, column, updated, note ? note->author : std::string());
  }
  return updated;
}

com::Variant Range::comment() {
  const model::Worksheet& s = sheet();
  if (s.note(area_.first_row, area_.first_column) == nullptr) return com::Variant::nothing();
  return make_comment(application_ref(), sheet_, area_.first_row, area_.first_column);
}

com::Variant Range::add_comment(const std::optional<std::string>& text) {
  model::Worksheet& s = sheet();
  const int row = area_.first_row, column = area_.first_column;
  if (s.note(row, column) != nullptr || s.protection().drawing_objects) {
    raise_refused("AddComment method of Range class failed");
  }
  s.set_note(row, column, text.value_or(std::string()));
  return make_comment(application_ref(), sheet_, row, column);
}

void Range::clear_comments() {
  model::Worksheet& s = sheet();
  std::vector<std::pair<int, int>> cells;
  for (const auto& [cell, note] : s.notes()) {
    if (area_.contains(cell.first, cell.second)) cells.push_back(cell);
  }
  if (!cells.empty() && s.protection().drawing_objects) raise_refused("ClearComments method of Range class failed");
  for (const auto& [row, column] : cells) s.delete_note(row, column);
}

// --- Clearing ----------------------------------------------------------------------

void Range::clear_contents() { sheet().clear_contents(area_); }

void Range::clear_formats() {
  model::Worksheet& s = sheet();
  check_editable();
  const model::CellFormat normal = s.workbook().styles().get("Normal").format;
  s.change_format(area_, [&normal](model::CellFormat& f) { f = normal; });
}

void Range::clear() {
  clear_contents();
  clear_formats();
  clear_comments();
}

}  // namespace engine::app
