#include "engine/xls/custom_view_records.hpp"

#include <algorithm>
#include <array>

#include "engine/formula/node.hpp"
#include "engine/import/workbook_loader.hpp"
#include "engine/xls/file_error.hpp"
#include "engine/xls/print_records.hpp"
#include "engine/xls/record_types.hpp"

namespace engine::xls {

namespace {

namespace f = engine::formula;

using Guid = std::array<std::uint8_t, 16>;
using Bytes = std::vector<std::uint8_t>;

constexpr std::string_view kRowsSuffix = "_.wvu.Rows";
constexpr std::string_view kColumnsSuffix = "_.wvu.Cols";
// A NAME's tokens are counted in 16 bits; each range takes 12 bytes of them.
constexpr std::size_t kMaxRanges = 5000;

// USERBVIEW flags.
constexpr std::uint16_t kBookShows = 0x0001 | 0x0002 | 0x0004 | 0x0010 | 0x0020 | 0x0040;  // bars, notes' marks, scroll bars, tabs
constexpr std::uint16_t kMaximized = 0x0080;
constexpr std::uint16_t kPrintIncluded = 0x0400;
constexpr std::uint16_t kRowColumnIncluded = 0x0800;
constexpr std::uint16_t kMinimized = 0x0002;
// USERSVIEWBEGIN flags.
constexpr std::uint16_t kSheetShows = 0x0004 | 0x0008 | 0x0010 | 0x0020;  // grid, headings, outline, zeros
constexpr std::uint16_t kCenteredHorizontally = 0x0040;
constexpr std::uint16_t kCenteredVertically = 0x0080;
constexpr std::uint16_t kPrintGrid = 0x0200;
constexpr std::uint16_t kHiddenRows = 0x0008;
constexpr std::uint16_t kHiddenColumns = 0x0020;

// Views are numbered by their place; the same workbook always gets the same GUIDs.
Guid view_guid(std::size_t index) {
  Guid guid{0x00, 0x60, 0x50, 0x72, 0x15, 0x06, 0x00, 0x40, 0x80, 0x72, 0x50, 0x06, 0x00, 0x00, 0x00, 0x00};
  for (int i = 0; i < 4; ++i) guid[static_cast<std::size_t>(12 + i)] = static_cast<std::uint8_t>(index >> (8 * i));
  return guid;
}

// "XXXXXXXX_XXXX_XXXX_XXXX_XXXXXXXXXXXX", as the hidden names spell it.
std::string guid_text(const Guid& guid) {
  static const char* digits = "0123456789ABCDEF";
  std::string text;
  auto hex = [&](std::size_t at) {
    text += digits[guid[at] >> 4];
    text += digits[guid[at] & 0x0F];
  };
  for (std::size_t at : {3, 2, 1, 0}) hex(at);
  text += '_';
  for (std::size_t at : {5, 4}) hex(at);
  text += '_';
  for (std::size_t at : {7, 6}) hex(at);
  text += '_';
  for (std::size_t at = 8; at < 10; ++at) hex(at);
  text += '_';
  for (std::size_t at = 10; at < 16; ++at) hex(at);
  return text;
}

// Consecutive lines as (first, last) runs.
std::vector<std::pair<int, int>> runs_of(std::vector<int> lines) {
  std::sort(lines.begin(), lines.end());
  std::vector<std::pair<int, int>> runs;
  for (int line : lines) {
    if (!runs.empty() && line <= runs.back().second + 1) runs.back().second = std::max(runs.back().second, line);
    else runs.emplace_back(line, line);
  }
  return runs;
}

f::Node line_reference(const std::string& sheet, std::pair<int, int> run, bool rows) {
  f::Node node;
  node.kind = f::NodeKind::Reference;
  node.reference.sheet = sheet;
  node.reference.is_area = true;
  node.reference.shape = rows ? f::AreaShape::Rows : f::AreaShape::Columns;
  node.reference.first = rows ? f::CellRef{run.first, 0, true, true} : f::CellRef{0, run.first, true, true};
  node.reference.last = rows ? f::CellRef{run.second, f::max_columns - 1, true, true}
                             : f::CellRef{f::max_rows - 1, run.second, true, true};
  return node;
}

// A balanced union, so that many ranges stay within the formula depth limit.
f::Node union_of(const std::vector<f::Node>& nodes, std::size_t begin, std::size_t end) {
  if (end - begin == 1) return nodes[begin];
  const std::size_t middle = begin + (end - begin) / 2;
  f::Node node;
  node.kind = f::NodeKind::Binary;
  node.op = f::Operator::Union;
  node.children = {union_of(nodes, begin, middle), union_of(nodes, middle, end)};
  return node;
}

std::shared_ptr<const f::Formula> lines_formula(const std::string& sheet, const std::vector<int>& lines, bool rows) {
  const auto runs = runs_of(lines);
  if (runs.size() > kMaxRanges) fail("a custom view hides rows or columns in more separate ranges than Excel keeps");
  std::vector<f::Node> nodes;
  for (const auto& run : runs) nodes.push_back(line_reference(sheet, run, rows));
  return std::make_shared<const f::Formula>(union_of(nodes, 0, nodes.size()));
}

const model::SheetView* sheet_view(const model::CustomView& view, model::SheetId sheet) {
  for (const auto& settings : view.sheets)
    if (settings.sheet == sheet) return &settings;
  return nullptr;
}

RecordBody selection_record(const model::CellRange& range, std::pair<int, int> active) {
  RecordBody body;
  body.u8(3).u16(static_cast<std::uint16_t>(active.first)).u16(static_cast<std::uint16_t>(active.second))
      .u16(0).u16(1)
      .u16(static_cast<std::uint16_t>(range.first_row)).u16(static_cast<std::uint16_t>(range.last_row))
      .u8(static_cast<std::uint8_t>(range.first_column)).u8(static_cast<std::uint8_t>(range.last_column));
  return body;
}

RecordBody sheet_view_begin(const model::CustomView& view, const model::SheetView& settings, std::size_t index,
                            std::size_t sheet_index) {
  std::uint16_t shows = kSheetShows;
  if (view.print_settings) {
    if (settings.page_setup.center_horizontally) shows |= kCenteredHorizontally;
    if (settings.page_setup.center_vertically) shows |= kCenteredVertically;
    if (settings.page_setup.print_gridlines) shows |= kPrintGrid;
  }
  std::uint16_t hidden = 0;
  if (view.row_column_settings && !settings.hidden_rows.empty()) hidden |= kHiddenRows;
  if (view.row_column_settings && !settings.hidden_columns.empty()) hidden |= kHiddenColumns;
  const Guid guid = view_guid(index);
  RecordBody body;
  body.bytes(Bytes(guid.begin(), guid.end())).u16(static_cast<std::uint16_t>(sheet_index + 1)).u16(0)
      .u32(static_cast<std::uint32_t>(std::clamp(view.zoom, 10, 400))).u16(0x0040).u16(0).u8(3).zeros(3)
      .u16(shows).u16(hidden).zeros(8).f64(0).f64(0).u16(0).u16(0);
  return body;
}

// Records that may stand between USERSVIEWBEGIN and USERSVIEWEND.
bool belongs_in_view_block(std::uint16_t type) {
  switch (type) {
    case rt::Selection: case rt::HorizontalPageBreaks: case rt::VerticalPageBreaks: case rt::Header:
    case rt::Footer: case rt::HCenter: case rt::VCenter: case rt::LeftMargin: case rt::RightMargin:
    case rt::TopMargin: case rt::BottomMargin: case rt::Pls: case rt::Continue: case rt::Setup:
    case rt::PrintSize: case rt::HeaderFooter: case rt::AutoFilterInfo: case rt::AutoFilter:
    case rt::FilterMode: case rt::UserSViewEnd:
      return true;
    default: return false;
  }
}

std::string read_guid_text(RecordCursor& in) {
  const Bytes bytes = in.bytes(16);
  Guid guid;
  std::copy(bytes.begin(), bytes.end(), guid.begin());
  return guid_text(guid);
}

}  // namespace

// --- Writing ------------------------------------------------------------------

std::vector<ViewName> view_names(const model::Workbook& book) {
  std::vector<ViewName> names;
  const auto& views = book.custom_views();
  for (std::size_t i = 0; i < views.size(); ++i) {
    if (!views[i].row_column_settings) continue;
    const std::string prefix = "Z_" + guid_text(view_guid(i));
    for (const auto& settings : views[i].sheets) {
      const auto sheet = book.sheet_index(settings.sheet);
      if (!sheet) continue;
      const std::string& sheet_name = book.sheet(*sheet).name();
      const int index = static_cast<int>(*sheet);
      if (!settings.hidden_rows.empty())
        names.push_back({prefix + std::string(kRowsSuffix), index, lines_formula(sheet_name, settings.hidden_rows, true)});
      if (!settings.hidden_columns.empty())
        names.push_back(
            {prefix + std::string(kColumnsSuffix), index, lines_formula(sheet_name, settings.hidden_columns, false)});
    }
  }
  return names;
}

void write_book_views(RecordWriter& out, const model::Workbook& book) {
  const auto& views = book.custom_views();
  for (std::size_t i = 0; i < views.size(); ++i) {
    const model::CustomView& view = views[i];
    std::uint16_t flags = kBookShows;
    if (view.window_state == model::xl::Maximized) flags |= kMaximized;
    if (view.print_settings) flags |= kPrintIncluded;
    if (view.row_column_settings) flags |= kRowColumnIncluded;
    const Guid guid = view_guid(i);
    const auto active = book.sheet_index(view.active_sheet).value_or(0);
    RecordBody body;
    body.u32(0).u16(static_cast<std::uint16_t>(active + 1)).u16(0).bytes(Bytes(guid.begin(), guid.end()))
        .u32(0x0168).u32(0x001E).u32(0x3A5C).u32(0x23BE).u16(600).u16(flags).u16(0)
        .u16(view.window_state == model::xl::Minimized ? kMinimized : 0).u16(0).string16(view.name);
    out.record(rt::UserBView, body);
  }
}

void write_sheet_views(RecordWriter& out, const model::Workbook& book, std::size_t sheet_index) {
  const model::SheetId sheet = book.sheet(sheet_index).id();
  const auto& views = book.custom_views();
  for (std::size_t i = 0; i < views.size(); ++i) {
    const model::SheetView* settings = sheet_view(views[i], sheet);
    if (settings == nullptr) continue;
    out.record(rt::UserSViewBegin, sheet_view_begin(views[i], *settings, i, sheet_index));
    out.record(rt::Selection, selection_record(settings->selection, settings->active_cell));
    if (views[i].print_settings) write_print_settings(out, settings->page_setup);
    RecordBody end;
    end.u16(1);
    out.record(rt::UserSViewEnd, end);
  }
}

// --- Reading --------------------------------------------------------------------

bool CustomViewReader::is_view_name(std::string_view name) { return import::ViewHiddenLines::is_view_name(name); }

void CustomViewReader::take_book_view(const Record& record) {
  RecordCursor in(record);
  BookView view;
  in.skip(4);
  view.tab = in.u16();
  in.skip(2);
  view.id = read_guid_text(in);
  in.skip(18);
  const std::uint16_t flags = in.u16();
  in.skip(2);
  const std::uint16_t more_flags = in.u16();
  in.skip(2);
  view.name = in.string16();
  view.print_settings = flags & kPrintIncluded;
  view.row_column_settings = flags & kRowColumnIncluded;
  if (flags & kMaximized) view.window_state = model::xl::Maximized;
  if (more_flags & kMinimized) view.window_state = model::xl::Minimized;
  views_.push_back(std::move(view));
}

void CustomViewReader::take_tab_ids(const Record& record) {
  RecordCursor in(record);
  tab_ids_.clear();
  while (in.remaining() >= 2) tab_ids_.push_back(in.u16());
}

void CustomViewReader::take_name(const std::string& name, int sheet, const formula::Formula& refers_to) {
  if (sheet >= 0) hidden_.take_name(name, static_cast<std::size_t>(sheet), refers_to);
}

bool CustomViewReader::take_sheet_record(std::size_t sheet_index, const Record& record) {
  RecordCursor in(record);
  if (record.type == rt::UserSViewBegin) {
    end_sheet();
    open_id_ = read_guid_text(in);
    in.skip(4);
    open_ = SheetBlock{sheet_index, std::clamp<int>(static_cast<int>(in.u32()), 10, 400), {}, {}, {}};
    return true;
  }
  if (!open_) return false;
  // A block left open ends at the first record that cannot belong to it.
  if (!belongs_in_view_block(record.type) || record.type == rt::UserSViewEnd) {
    end_sheet();
    return record.type == rt::UserSViewEnd;
  }
  if (record.type == rt::Selection) {
    in.skip(1);
    const int row = in.u16();
    const int column = in.u16();
    in.skip(2);
    if (in.u16() == 0) return true;
    model::CellRange range;
    range.first_row = in.u16();
    range.last_row = in.u16();
    range.first_column = in.u8();
    range.last_column = in.u8();
    if (range.first_row <= range.last_row && range.first_column <= range.last_column && range.contains(row, column)) {
      open_->selection = range;
      open_->active_cell = {row, column};
    }
    return true;
  }
  read_print_setting(record, open_->page_setup);
  return true;
}

void CustomViewReader::end_sheet() {
  if (!open_) return;
  blocks_[open_id_].push_back(*open_);
  open_.reset();
}

model::CustomView CustomViewReader::view_of(const BookView& view, const model::Workbook& book) const {
  model::CustomView result;
  result.name = view.name;
  result.print_settings = view.print_settings;
  result.row_column_settings = view.row_column_settings;
  result.window_state = view.window_state;
  const auto tab = std::find(tab_ids_.begin(), tab_ids_.end(), view.tab);
  const std::size_t active = tab != tab_ids_.end() ? static_cast<std::size_t>(tab - tab_ids_.begin())
                                                   : static_cast<std::size_t>(std::max(view.tab - 1, 0));
  result.active_sheet = active < book.sheet_count() ? book.sheet(active).id() : book.active_sheet().id();
  const auto blocks = blocks_.find(view.id);
  if (blocks == blocks_.end()) return result;
  result.zoom = blocks->second.front().zoom;
  for (const SheetBlock& block : blocks->second) {
    if (block.sheet >= book.sheet_count()) continue;
    if (block.sheet == active) result.zoom = block.zoom;
    model::SheetView settings{book.sheet(block.sheet).id(), block.selection, block.active_cell, {}, {}, {}};
    if (view.row_column_settings) {
      settings.hidden_rows = hidden_.rows(view.id, block.sheet);
      settings.hidden_columns = hidden_.columns(view.id, block.sheet);
    }
    if (view.print_settings) settings.page_setup = import::accepted_page_setup(block.page_setup);
    result.sheets.push_back(std::move(settings));
  }
  return result;
}

void CustomViewReader::apply(model::Workbook& book) const {
  for (const BookView& view : views_) {
    if (view.name.empty()) continue;
    try {
      book.restore_custom_view(view_of(view, book));
    } catch (const platform::com::Error&) {
      // A name Excel would refuse (over 255 characters) leaves the view out.
    }
  }
}

}  // namespace engine::xls
