// Range: construction, navigation (Item, Cells, Rows, Columns, Offset ...),
// Address, selection, and the member table. Contents, formats, outline and
// structure edits live in the range_*.cpp files.
#include "engine/app/range.hpp"

#include <cctype>

#include "engine/app/application.hpp"
#include "engine/app/range_arrays.hpp"
#include "engine/app/autofilter.hpp"
#include "engine/formula/reference.hpp"
#include "engine/model/text.hpp"
#include "platform/com/convert.hpp"
#include "platform/excel/dispids.hpp"

namespace engine::app {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;

namespace {

constexpr std::int32_t kA1 = 1;
constexpr std::int32_t kR1C1 = -4150;
constexpr com::DispId kFormulaR1C1 = 264;

[[noreturn]] void refuse_range_text() { raise_refused("Method 'Range' of object '_Worksheet' failed"); }

model::CellRange area_of(const formula::Reference& ref) {
  switch (ref.shape) {
    case formula::AreaShape::Rows: return model::CellRange::rows(ref.first.row, ref.last.row);
    case formula::AreaShape::Columns: return model::CellRange::columns(ref.first.column, ref.last.column);
    case formula::AreaShape::Cells: break;
  }
  return {ref.first.row, ref.first.column, ref.last.row, ref.last.column};
}

// A reference text of `sheet`: unqualified, or qualified by that sheet's name.
std::optional<model::CellRange> reference_on(const model::Worksheet& sheet, std::string_view text) {
  const auto ref = formula::parse_reference(text);
  if (!ref) return std::nullopt;
  if (!ref->last_sheet.empty()) refuse_range_text();
  if (!ref->sheet.empty() && !model::equal_ignoring_case(ref->sheet, sheet.name())) refuse_range_text();
  return area_of(*ref);
}

// A 1-based index as Excel takes one: Integer, Long, Double or numeric text.
std::int32_t index_of(const com::Variant& v) { return com::clng(com::value_of(v)); }

// "B" or "iv" as a 0-based column; nothing for text that is no column name.
std::optional<int> column_from_letters(std::string_view letters) {
  if (letters.empty() || letters.size() > 2) return std::nullopt;
  int column = 0;
  for (char c : letters) {
    if (!std::isalpha(static_cast<unsigned char>(c))) return std::nullopt;
    column = column * 26 + (std::toupper(static_cast<unsigned char>(c)) - 'A' + 1);
  }
  if (column > model::kMaxColumns) return std::nullopt;
  return column - 1;
}

// A column index given as a number or as letters, 0-based relative to the range.
int column_offset_of(const com::Variant& v) {
  const com::Variant value = com::value_of(v);
  if (value.type() == com::VarType::String) {
    if (const auto letters = column_from_letters(value.string_value())) return *letters;
  }
  return index_of(value) - 1;
}

// "9:12" or "5" as 0-based offsets [first, last] counted by `parse_one`.
template <class Parse>
std::pair<int, int> span_of(std::string_view text, Parse parse_one) {
  const auto colon = text.find(':');
  const auto first = parse_one(text.substr(0, colon));
  const auto last = colon == std::string_view::npos ? first : parse_one(text.substr(colon + 1));
  if (!first || !last) com::raise(com::err::TypeMismatch);
  return {std::min(*first, *last), std::max(*first, *last)};
}

std::optional<int> row_number(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int row = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    row = row * 10 + (c - '0');
  }
  if (row < 1 || row > model::kMaxRows) return std::nullopt;
  return row - 1;
}

bool plain_name(std::string_view name) {
  for (char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.') return false;
  }
  return true;
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
std::string r1c1_part(char letter, int index, bool absolute) {
  if (absolute) return letter + std::to_string(index + 1);
  return index == 0 ? std::string(1, letter) : letter + ("[" + std::to_string(index) + "]");
}
#pragma GCC diagnostic pop

}  // namespace

model::CellRange parse_range_text(const model::Worksheet& sheet, const std::string& text) {
  if (const auto area = reference_on(sheet, text)) return *area;
  const model::Workbook& book = sheet.workbook();
  const model::DefinedName* name = book.find_name(text, sheet.id());
  if (name == nullptr) name = book.find_name(text);
  if (name == nullptr) refuse_range_text();
  const auto ref = formula::parse_reference(name->refers_to_text());
  if (!ref || ref->sheet.empty() || !model::equal_ignoring_case(ref->sheet, sheet.name())) refuse_range_text();
  return area_of(*ref);
}

Range::Range(std::shared_ptr<Application> app, SheetRef sheet, model::CellRange area, RangeKind kind)
    : AppObject(std::move(app)), sheet_(std::move(sheet)), area_(area), kind_(kind) {
  model::check_range(area_);
}

std::shared_ptr<Range> make_range(std::shared_ptr<Application> app, SheetRef sheet, const model::CellRange& area,
                                  RangeKind kind) {
  return std::make_shared<Range>(std::move(app), std::move(sheet), area, kind);
}

std::shared_ptr<Range> Range::make(const model::CellRange& area, RangeKind kind) const {
  sheet();  // a detached range makes no other
  return make_range(application_ref(), sheet_, area, kind);
}

// --- Navigation -----------------------------------------------------------------

std::shared_ptr<Range> Range::item(const com::Variant& row, const std::optional<com::Variant>& column) const {
  const auto& a = area_;
  const com::Variant first = com::value_of(row);
  if (column) {
    const int r = a.first_row + index_of(first) - 1;
    const int c = a.first_column + column_offset_of(*column);
    return make(model::CellRange::cell(r, c));
  }
  const bool text = first.type() == com::VarType::String;
  switch (kind_) {
    case RangeKind::Rows: {
      const auto [from, to] = text ? span_of(first.string_value(), row_number)
                                   : std::pair{index_of(first) - 1, index_of(first) - 1};
      return make({a.first_row + from, a.first_column, a.first_row + to, a.last_column}, RangeKind::Rows);
    }
    case RangeKind::Columns: {
      const auto [from, to] = text ? span_of(first.string_value(), column_from_letters)
                                   : std::pair{index_of(first) - 1, index_of(first) - 1};
      return make({a.first_row, a.first_column + from, a.last_row, a.first_column + to}, RangeKind::Columns);
    }
    case RangeKind::Cells: break;
  }
  if (text) {
    const model::CellRange relative = parse_range_text(sheet(), first.string_value());
    return make({a.first_row + relative.first_row, a.first_column + relative.first_column,
                 a.first_row + relative.last_row, a.first_column + relative.last_column});
  }
  const int n = index_of(first) - 1;
  const int width = a.column_count();
  // Floor division keeps Cells(0) and negative indexes on the rows above.
  const int r = n >= 0 ? n / width : -((-n + width - 1) / width);
  return make(model::CellRange::cell(a.first_row + r, a.first_column + (n - r * width)));
}

std::shared_ptr<Range> Range::with_kind(RangeKind kind) const { return make(area_, kind); }

std::int32_t Range::count() const {
  switch (kind_) {
    case RangeKind::Rows: return area_.row_count();
    case RangeKind::Columns: return area_.column_count();
    case RangeKind::Cells: break;
  }
  return area_.row_count() * area_.column_count();
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
std::string Range::address(std::optional<bool> row_absolute, std::optional<bool> column_absolute,
                           std::optional<std::int32_t> reference_style, std::optional<bool> external) const {
  const bool rows_abs = row_absolute.value_or(true), columns_abs = column_absolute.value_or(true);
  const std::int32_t style = reference_style.value_or(kA1);
  if (style != kA1 && style != kR1C1) com::raise(com::err::InvalidCall);
  const auto& a = area_;
  std::string body;
  if (style == kA1) {
    formula::Reference ref;
    ref.first = {a.first_row, a.first_column, rows_abs, columns_abs};
    ref.last = {a.last_row, a.last_column, rows_abs, columns_abs};
    ref.is_area = a.row_count() > 1 || a.column_count() > 1;
    ref.shape = a.whole_rows() ? formula::AreaShape::Rows
                : a.whole_columns() ? formula::AreaShape::Columns
                                    : formula::AreaShape::Cells;
    body = formula::to_a1(ref);
  } else if (a.whole_rows()) {
    body = r1c1_part('R', a.first_row, rows_abs) + ":" + r1c1_part('R', a.last_row, rows_abs);
  } else if (a.whole_columns()) {
    body = r1c1_part('C', a.first_column, columns_abs) + ":" + r1c1_part('C', a.last_column, columns_abs);
  } else {
    body = r1c1_part('R', a.first_row, rows_abs) + r1c1_part('C', a.first_column, columns_abs);
    if (a.row_count() > 1 || a.column_count() > 1) {
      body += ":" + r1c1_part('R', a.last_row, rows_abs) + r1c1_part('C', a.last_column, columns_abs);
    }
  }
  if (!external.value_or(false)) return body;
  const std::string& book = sheet_.book->name();
  const std::string& sheet_name = sheet().name();
  const std::string qualifier = "[" + book + "]" + sheet_name;
  const bool quote = !plain_name(book) || !plain_name(sheet_name);
  return (quote ? "'" + qualifier + "'" : qualifier) + "!" + body;
}
#pragma GCC diagnostic pop

std::shared_ptr<Range> Range::offset(std::optional<std::int32_t> rows, std::optional<std::int32_t> columns) const {
  const int dr = rows.value_or(0), dc = columns.value_or(0);
  return make({area_.first_row + dr, area_.first_column + dc, area_.last_row + dr, area_.last_column + dc});
}

std::shared_ptr<Range> Range::resize(std::optional<std::int32_t> rows, std::optional<std::int32_t> columns) const {
  const int height = rows.value_or(area_.row_count()), width = columns.value_or(area_.column_count());
  if (height < 1 || width < 1) raise_refused("Application-defined or object-defined error");
  return make({area_.first_row, area_.first_column, area_.first_row + height - 1, area_.first_column + width - 1});
}

std::shared_ptr<Range> Range::entire_row() const {
  return make(model::CellRange::rows(area_.first_row, area_.last_row), RangeKind::Rows);
}

std::shared_ptr<Range> Range::entire_column() const {
  return make(model::CellRange::columns(area_.first_column, area_.last_column), RangeKind::Columns);
}

std::shared_ptr<Range> Range::current_region() const {
  return make(sheet().current_region(area_.first_row, area_.first_column));
}

// --- Selection ------------------------------------------------------------------

void Range::select() {
  Application& app = application();
  model::Worksheet& s = sheet();
  const bool active = app.active_workbook() == sheet_.book && sheet_.book->active_sheet().id() == sheet_.id;
  if (!active) raise_refused("Select method of Range class failed");
  s.select(area_, area_.first_row, area_.first_column);
  app.clear_selected_object();
}

void Range::activate() {
  model::Worksheet& s = sheet();
  const bool single = area_.row_count() == 1 && area_.column_count() == 1;
  if (!single || !s.selection().contains(area_.first_row, area_.first_column)) {
    select();
    return;
  }
  const bool active = application().active_workbook() == sheet_.book && sheet_.book->active_sheet().id() == sheet_.id;
  if (!active) raise_refused("Activate method of Range class failed");
  s.select(s.selection(), area_.first_row, area_.first_column);
  application().clear_selected_object();
}

com::Variant Range::worksheet() const {
  sheet();
  return make_worksheet(application_ref(), sheet_.book, sheet_.id);
}

// --- Default member -----------------------------------------------------------------

com::Variant Range::default_member(const std::optional<com::Variant>& row,
                                   const std::optional<com::Variant>& column) const {
  if (!row && !column) return value();
  if (!row) com::raise(com::err::ArgumentNotOptional);
  return item(*row, column);
}

com::Variant Range::set_default_member(std::span<com::Variant> args) {
  if (args.empty()) com::raise(com::err::ArgumentNotOptional);
  std::vector<com::Variant> indexes;
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (!args[i].is_missing()) indexes.push_back(args[i]);
  }
  const com::Variant& value = args.back();
  if (indexes.empty()) {
    set_value(value);
  } else if (indexes.size() == 1) {
    item(indexes[0], std::nullopt)->set_value(value);
  } else if (indexes.size() == 2) {
    item(indexes[0], indexes[1])->set_value(value);
  } else {
    com::raise(com::err::WrongNumberOfArguments);
  }
  return {};
}

// --- Member table -------------------------------------------------------------------

namespace {

constexpr com::DispId kText = 138;
constexpr com::DispId kClear = 111;
constexpr com::DispId kClearFormats = 112;
constexpr com::DispId kClearContents = 113;
constexpr com::DispId kAddress = 236;
constexpr com::DispId kColumn = 240;
constexpr com::DispId kColumnWidth = 242;
constexpr com::DispId kUngroup = 244;
constexpr com::DispId kEntireColumn = 246;
constexpr com::DispId kEntireRow = 247;
constexpr com::DispId kInsert = 252;
constexpr com::DispId kOffset = 254;
constexpr com::DispId kResize = 256;
constexpr com::DispId kRow = 257;
constexpr com::DispId kStyle = 260;
constexpr com::DispId kLocked = 269;
constexpr com::DispId kRowHeight = 272;
constexpr com::DispId kGroup = 46;
constexpr com::DispId kWorksheet = 348;
constexpr com::DispId kCopy = 551;
constexpr com::DispId kMerge = 564;
constexpr com::DispId kComment = 910;
constexpr com::DispId kRemoveSubtotal = 915;
constexpr com::DispId kSubtotal = 994;
constexpr com::DispId kUnMerge = 1128;
constexpr com::DispId kAddComment = 1389;
constexpr com::DispId kClearComments = 1390;
constexpr com::DispId kPasteSpecial = 1928;

// An alignment property of the cells' formats, as a Long or a Boolean.
template <auto Field>
constexpr auto read_long = [](Range& r) {
  return r.read_format([](const model::CellFormat& f) { return com::Variant(std::int32_t{f.alignment.*Field}); });
};
template <auto Field>
constexpr auto write_long = [](Range& r, std::int32_t v) {
  r.write_format([v](model::CellFormat& f) { f.alignment.*Field = v; });
};
template <auto Field>
constexpr auto read_flag = [](Range& r) {
  return r.read_format([](const model::CellFormat& f) { return com::Variant(bool{f.alignment.*Field}); });
};
template <auto Field>
constexpr auto write_flag = [](Range& r, bool v) {
  r.write_format([v](model::CellFormat& f) { f.alignment.*Field = v; });
};

}  // namespace

const GuardedMembers& Range::member_table() const {
  using A = model::Alignment;
  static const GuardedMembers table =
      AppMembers<Range>("Range")
          .get("_Default", com::DISPID_VALUE, &Range::default_member, {"RowIndex", "ColumnIndex"})
          .put("_Default", com::DISPID_VALUE, &Range::set_default_member, {"RowIndex", "ColumnIndex"})
          .get("Value", dispid::Value, &Range::value)
          .put("Value", dispid::Value, &Range::set_value)
          .get("Formula", dispid::Formula, &Range::formula)
          .put("Formula", dispid::Formula, &Range::set_formula)
          .get("FormulaR1C1", kFormulaR1C1, &Range::formula_r1c1)
          .put("FormulaR1C1", kFormulaR1C1, &Range::set_formula_r1c1)
          .include(range_array_members())
          .get("Text", kText, &Range::text)
          .method("NoteText", dispid::NoteText, &Range::note_text, {"Text", "Start", "Length"})
          .method("AddComment", kAddComment, &Range::add_comment, {"Text"})
          .method("ClearComments", kClearComments, &Range::clear_comments)
          .get("Comment", kComment, &Range::comment)
          .method("Clear", kClear, &Range::clear)
          .method("ClearContents", kClearContents, &Range::clear_contents)
          .method("ClearFormats", kClearFormats, &Range::clear_formats)
          .get("Item", dispid::Item, &Range::item, {"RowIndex", "ColumnIndex"})
          .get("Cells", dispid::Cells, [](Range& r) { return r.with_kind(RangeKind::Cells); })
          .get("Rows", dispid::Rows, [](Range& r) { return r.with_kind(RangeKind::Rows); })
          .get("Columns", dispid::Columns, [](Range& r) { return r.with_kind(RangeKind::Columns); })
          .get("Count", dispid::Count, &Range::count)
          .get("Row", kRow, &Range::row)
          .get("Column", kColumn, &Range::column)
          .get("Address", kAddress, &Range::address, {"RowAbsolute", "ColumnAbsolute", "ReferenceStyle", "External"})
          .get("Offset", kOffset, &Range::offset, {"RowOffset", "ColumnOffset"})
          .get("Resize", kResize, &Range::resize, {"RowSize", "ColumnSize"})
          .get("EntireRow", kEntireRow, &Range::entire_row)
          .get("EntireColumn", kEntireColumn, &Range::entire_column)
          .get("CurrentRegion", dispid::CurrentRegion, &Range::current_region)
          .method("Select", dispid::Select, &Range::select)
          .method("Activate", dispid::Activate, &Range::activate)
          .get("Hidden", dispid::Hidden, &Range::hidden)
          .put("Hidden", dispid::Hidden, &Range::set_hidden)
          .get("RowHeight", kRowHeight, &Range::row_height)
          .put("RowHeight", kRowHeight, &Range::set_row_height)
          .get("ColumnWidth", kColumnWidth, &Range::column_width)
          .put("ColumnWidth", kColumnWidth, &Range::set_column_width)
          .get("OutlineLevel", dispid::OutlineLevel, &Range::outline_level)
          .put("OutlineLevel", dispid::OutlineLevel, &Range::set_outline_level)
          .get("ShowDetail", dispid::ShowDetail, &Range::show_detail)
          .put("ShowDetail", dispid::ShowDetail, &Range::set_show_detail)
          .method("Group", kGroup, &Range::group)
          .method("Ungroup", kUngroup, &Range::ungroup)
          .get("NumberFormat", dispid::NumberFormat,
               [](Range& r) {
                 return r.read_format([](const model::CellFormat& f) { return com::Variant(f.number_format); });
               })
          .put("NumberFormat", dispid::NumberFormat,
               [](Range& r, const std::string& code) {
                 r.write_format([&code](model::CellFormat& f) { f.number_format = code; });
               })
          .get("HorizontalAlignment", dispid::HorizontalAlignment, read_long<&A::horizontal>)
          .put("HorizontalAlignment", dispid::HorizontalAlignment, write_long<&A::horizontal>)
          .get("VerticalAlignment", dispid::VerticalAlignment, read_long<&A::vertical>)
          .put("VerticalAlignment", dispid::VerticalAlignment, write_long<&A::vertical>)
          .get("Orientation", dispid::Orientation, read_long<&A::orientation>)
          .put("Orientation", dispid::Orientation, write_long<&A::orientation>)
          .get("IndentLevel", dispid::IndentLevel, read_long<&A::indent_level>)
          .put("IndentLevel", dispid::IndentLevel, write_long<&A::indent_level>)
          .get("ReadingOrder", dispid::ReadingOrder, read_long<&A::reading_order>)
          .put("ReadingOrder", dispid::ReadingOrder, write_long<&A::reading_order>)
          .get("WrapText", dispid::WrapText, read_flag<&A::wrap_text>)
          .put("WrapText", dispid::WrapText, write_flag<&A::wrap_text>)
          .get("AddIndent", dispid::AddIndent, read_flag<&A::add_indent>)
          .put("AddIndent", dispid::AddIndent, write_flag<&A::add_indent>)
          .get("ShrinkToFit", dispid::ShrinkToFit, read_flag<&A::shrink_to_fit>)
          .put("ShrinkToFit", dispid::ShrinkToFit, write_flag<&A::shrink_to_fit>)
          .get("Locked", kLocked,
               [](Range& r) {
                 return r.read_format([](const model::CellFormat& f) { return com::Variant(f.protection.locked); });
               })
          .put("Locked", kLocked,
               [](Range& r, bool locked) {
                 r.write_format([locked](model::CellFormat& f) { f.protection.locked = locked; });
               })
          .get("MergeCells", dispid::MergeCells, &Range::merge_cells)
          .put("MergeCells", dispid::MergeCells, &Range::set_merge_cells)
          .method("Merge", kMerge, &Range::merge, {"Across"})
          .method("UnMerge", kUnMerge, &Range::unmerge)
          .get("Font", dispid::Font, &Range::font)
          .get("Interior", dispid::Interior, &Range::interior)
          .get("Style", kStyle, &Range::style)
          .put("Style", kStyle, &Range::set_style)
          .method("Insert", kInsert, &Range::insert, {"Shift"})
          .method("Delete", dispid::Delete, &Range::delete_cells, {"Shift"})
          .method("Copy", kCopy, &Range::copy, {"Destination"})
          .method("PasteSpecial", kPasteSpecial, &Range::paste_special,
                  {"Paste", "Operation", "SkipBlanks", "Transpose"})
          .method("Subtotal", kSubtotal, &Range::subtotal,
                  {"GroupBy", "Function", "TotalList", "Replace", "PageBreaks", "SummaryBelowData"})
          .method("RemoveSubtotal", kRemoveSubtotal, &Range::remove_subtotal)
          .include(range_autofilter_members())
          .get("Worksheet", kWorksheet, &Range::worksheet)
          .get("Parent", dispid::Parent, &Range::worksheet)
          .get("Application", dispid::Application, [](Range& r) { return r.application_ref(); });
  return table;
}

}  // namespace engine::app
