#include "engine/xls/autofilter_records.hpp"

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/formula/formula.hpp"
#include "engine/formula/text.hpp"
#include "engine/xls/file_error.hpp"
#include "engine/xls/record_types.hpp"
#include "engine/xls/utf16.hpp"
#include "platform/com/error.hpp"

namespace engine::xls {

namespace f = engine::formula;

namespace {

namespace vt {
constexpr std::uint8_t Unused = 0x00;
constexpr std::uint8_t Rk = 0x02;
constexpr std::uint8_t Ieee = 0x04;
constexpr std::uint8_t String = 0x06;
constexpr std::uint8_t BoolErr = 0x08;
constexpr std::uint8_t Blanks = 0x0C;
constexpr std::uint8_t NonBlanks = 0x0E;
}  // namespace vt

constexpr std::uint8_t kEqual = 2;
constexpr std::uint8_t kNotEqual = 5;
constexpr std::uint8_t kLessEqual = 3;
constexpr std::uint8_t kGreaterEqual = 6;

// grbit of AUTOFILTER.
constexpr std::uint16_t kJoinOr = 0x0001;
constexpr std::uint16_t kSimple1 = 0x0004;
constexpr std::uint16_t kSimple2 = 0x0008;
constexpr std::uint16_t kTop10 = 0x0010;
constexpr std::uint16_t kTop = 0x0020;
constexpr std::uint16_t kPercent = 0x0040;
constexpr int kTop10Shift = 7;

// A DOPER string holds at most 255 characters (its cch is one byte).
constexpr std::size_t kMaxDoperText = 255;

struct Comparison {
  std::string_view text;
  std::uint8_t sign;
};
// Longest first, so that "<=" is not taken for "<".
constexpr std::array<Comparison, 6> kComparisons{
    {{"<=", kLessEqual}, {">=", kGreaterEqual}, {"<>", kNotEqual}, {"<", 1}, {">", 4}, {"=", kEqual}}};

struct Doper {
  std::uint8_t type = vt::Unused;
  std::uint8_t sign = 0;
  double number = 0;
  bool boolean = false;
  bool error = false;
  std::size_t length = 0;  // a string's characters, which follow the dopers
  std::u16string text;
};

Doper doper_of(const std::string& criteria) {
  std::string_view rest = criteria;
  Doper d;
  d.sign = kEqual;
  for (const Comparison& c : kComparisons) {
    if (rest.starts_with(c.text)) {
      d.sign = c.sign;
      rest.remove_prefix(c.text.size());
      break;
    }
  }
  if (rest.empty() && (d.sign == kEqual || d.sign == kNotEqual)) {
    d.type = d.sign == kEqual ? vt::Blanks : vt::NonBlanks;
  } else if (const auto n = f::number_from_any_text(rest)) {
    d.type = vt::Ieee;
    d.number = *n;
  } else if (f::equal_ignoring_case(rest, "TRUE") || f::equal_ignoring_case(rest, "FALSE")) {
    d.type = vt::BoolErr;
    d.boolean = f::equal_ignoring_case(rest, "TRUE");
  } else {
    d.type = vt::String;
    d.text = utf8_to_utf16(rest).substr(0, kMaxDoperText);
    d.length = d.text.size();
  }
  return d;
}

void put_doper(RecordBody& body, const Doper& d) {
  body.u8(d.type).u8(d.sign);
  switch (d.type) {
    case vt::Ieee: body.f64(d.number); break;
    case vt::String: body.u32(0).u8(static_cast<std::uint8_t>(d.length)).zeros(3); break;
    case vt::BoolErr: body.u8(0).u8(d.boolean ? 1 : 0).zeros(6); break;
    default: body.zeros(8); break;
  }
}

// A condition the dropdown list itself offers: equal to one value.
bool is_simple(const Doper& d) {
  return d.sign == kEqual && (d.type == vt::Ieee || d.type == vt::BoolErr ||
                              (d.type == vt::String && d.text.find_first_of(u"*?") == std::u16string::npos));
}

RecordBody autofilter_record(const model::ColumnFilter& column, int entry) {
  std::uint16_t grbit = 0;
  Doper first, second;
  if (model::is_top_or_bottom(column.op)) {
    const bool top = column.op == model::FilterOperator::TopItems || column.op == model::FilterOperator::TopPercent;
    const bool percent = column.op == model::FilterOperator::TopPercent || column.op == model::FilterOperator::BottomPercent;
    const int count = static_cast<int>(f::number_from_any_text(column.criteria1).value_or(10));
    grbit = static_cast<std::uint16_t>(kTop10 | (top ? kTop : 0) | (percent ? kPercent : 0) | (count << kTop10Shift));
    first.type = vt::Ieee;
    first.sign = top ? kGreaterEqual : kLessEqual;
    first.number = count;
  } else {
    first = doper_of(column.criteria1);
    if (column.criteria2) second = doper_of(*column.criteria2);
    if (column.op == model::FilterOperator::Or) grbit |= kJoinOr;
    if (is_simple(first)) grbit |= kSimple1;
    if (column.criteria2 && is_simple(second)) grbit |= kSimple2;
  }
  RecordBody body;
  body.u16(static_cast<std::uint16_t>(entry)).u16(grbit);
  put_doper(body, first);
  put_doper(body, second);
  for (const Doper* d : {&first, &second}) {
    if (d->type == vt::String) body.string_chars(d->text);
  }
  return body;
}

Doper read_doper(RecordCursor& in) {
  Doper d;
  d.type = in.u8();
  d.sign = in.u8();
  switch (d.type) {
    case vt::Rk:
      d.type = vt::Ieee;
      d.number = rk_value(in.u32());
      in.skip(4);
      break;
    case vt::Ieee: d.number = in.f64(); break;
    case vt::String:
      in.skip(4);
      d.length = in.u8();
      in.skip(3);
      break;
    case vt::BoolErr:
      d.error = in.u8() != 0;
      d.boolean = in.u8() != 0;
      in.skip(6);
      break;
    default: in.skip(8); break;
  }
  return d;
}

std::string_view sign_text(std::uint8_t sign) {
  for (const Comparison& c : kComparisons) {
    if (c.sign == sign) return c.text;
  }
  fail("an AutoFilter condition compares with an unknown operator");
}

std::string criteria_of(const Doper& d, const std::string& text) {
  switch (d.type) {
    case vt::Blanks: return "=";
    case vt::NonBlanks: return "<>";
    case vt::Ieee: return std::string(sign_text(d.sign)) + f::number_to_text(d.number);
    case vt::String: return std::string(sign_text(d.sign)) + text;
    case vt::BoolErr:
      if (d.error) fail("an AutoFilter condition compares with an error value");
      return std::string(sign_text(d.sign)) + (d.boolean ? "TRUE" : "FALSE");
    default: fail("an AutoFilter condition has an unknown kind of value");
  }
}

model::FilterOperator top_operator(std::uint16_t grbit) {
  if (grbit & kTop) return (grbit & kPercent) ? model::FilterOperator::TopPercent : model::FilterOperator::TopItems;
  return (grbit & kPercent) ? model::FilterOperator::BottomPercent : model::FilterOperator::BottomItems;
}

}  // namespace

std::vector<ViewName> filter_database_names(const model::Workbook& book) {
  std::vector<ViewName> names;
  for (std::size_t i = 0; i < book.sheet_count(); ++i) {
    const model::Worksheet& sheet = book.sheet(i);
    if (!sheet.autofilter()) continue;
    const model::CellRange& list = sheet.autofilter()->range;
    f::Node node;
    node.kind = f::NodeKind::Reference;
    node.reference.sheet = sheet.name();
    node.reference.is_area = true;
    node.reference.first = {list.first_row, list.first_column, true, true};
    node.reference.last = {list.last_row, list.last_column, true, true};
    names.push_back({kFilterDatabaseName, static_cast<int>(i), std::make_shared<const f::Formula>(std::move(node))});
  }
  return names;
}

void write_autofilter(RecordWriter& out, const model::Worksheet& sheet) {
  const auto& filter = sheet.autofilter();
  if (!filter) return;
  if (filter->filtering()) out.empty_record(rt::FilterMode);
  out.record(rt::AutoFilterInfo, RecordBody().u16(static_cast<std::uint16_t>(filter->range.column_count())));
  for (const model::ColumnFilter& column : filter->columns) {
    out.record(rt::AutoFilter, autofilter_record(column, column.column - filter->range.first_column));
  }
}

bool AutoFilterReader::take(const Record& record) {
  switch (record.type) {
    // The filtered rows are the hidden ones: nothing more to learn here.
    case rt::FilterMode: return true;
    case rt::AutoFilterInfo: info_ = true; return true;
    case rt::AutoFilter: break;
    default: return false;
  }
  try {
    RecordCursor in(record);
    Column column;
    column.entry = in.u16();
    const std::uint16_t grbit = in.u16();
    Doper first = read_doper(in), second = read_doper(in);
    std::string first_text, second_text;
    if (first.type == vt::String) first_text = in.string_chars(first.length);
    if (second.type == vt::String) second_text = in.string_chars(second.length);
    model::ColumnFilter& filter = column.filter;
    if (grbit & kTop10) {
      filter.op = top_operator(grbit);
      filter.criteria1 = std::to_string(grbit >> kTop10Shift);
    } else {
      if (first.type == vt::Unused) return true;  // a column that filters nothing
      filter.criteria1 = criteria_of(first, first_text);
      if (second.type != vt::Unused) filter.criteria2 = criteria_of(second, second_text);
      filter.op = (grbit & kJoinOr) ? model::FilterOperator::Or : model::FilterOperator::And;
    }
    columns_.push_back(std::move(column));
  } catch (const FileError& error) {
    lost_.push_back(error.problem());
  }
  return true;
}

void AutoFilterReader::apply(model::Worksheet& sheet, std::optional<model::CellRange> list,
                             import::LoadReport* report) const {
  for (const std::string& why : lost_) import::report_loss(report, "AutoFilter criteria", sheet.name(), why);
  if (!info_ || !list) return;
  model::AutoFilter filter{*list, {}};
  for (const Column& column : columns_) {
    model::ColumnFilter kept = column.filter;
    kept.column = list->first_column + column.entry;
    try {
      if (kept.column > list->last_column || filter.find(kept.column)) {
        fail("an AutoFilter condition names a column outside the list, or one twice");
      }
      model::check_column_filter(kept);
      filter.columns.push_back(kept);
    } catch (const FileError& error) {
      import::report_loss(report, "AutoFilter criteria", sheet.name(), error.problem());
    } catch (const platform::com::Error& error) {
      import::report_loss(report, "AutoFilter criteria", sheet.name(), error.description());
    }
  }
  std::sort(filter.columns.begin(), filter.columns.end(),
            [](const model::ColumnFilter& a, const model::ColumnFilter& b) { return a.column < b.column; });
  try {
    sheet.restore_autofilter(std::move(filter));
  } catch (const platform::com::Error& error) {
    import::report_loss(report, "AutoFilter", sheet.name(), error.description());
  }
}

}  // namespace engine::xls
