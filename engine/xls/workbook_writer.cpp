// Writing a workbook as Excel 2003 does: the globals (fonts, formats, XFs,
// styles, sheets, names, shared strings), then each sheet's records.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <span>
#include <unordered_map>

#include "engine/model/constants.hpp"
#include "engine/model/number_format.hpp"
#include "engine/model/sheet_geometry.hpp"
#include "engine/model/text.hpp"
#include "engine/xls/autofilter_records.hpp"
#include "engine/xls/custom_view_records.hpp"
#include "engine/xls/drawing_writer.hpp"
#include "engine/xls/file_error.hpp"
#include "engine/xls/formula_codec.hpp"
#include "engine/xls/formula_tokens.hpp"
#include "engine/xls/print_records.hpp"
#include "engine/xls/property_sets.hpp"
#include "engine/xls/record_types.hpp"
#include "engine/xls/record_writer.hpp"
#include "engine/xls/workbook_file.hpp"
#include "engine/xls/utf16.hpp"
#include "engine/xls/xf_codec.hpp"

namespace engine::xls {

namespace {

namespace f = engine::formula;

constexpr std::uint16_t kDefaultCellXf = 15;  // Excel's first cell XF, after fifteen style XFs
constexpr std::uint16_t kDefaultRowHeightFlags = 0x0001;  // fUnsynced: the height is the file's, not the font's
constexpr std::size_t kMinimumStreamSize = 4096;

RecordBody bof(std::uint16_t kind) {
  RecordBody body;
  body.u16(0x0600).u16(kind).u16(0x18AF).u16(0x07CD).u32(0x000080C9).u32(0x00000206);
  return body;
}

// BOUNDSHEET's hsState for the model's visibility: 0 visible, 1 hidden, 2 very hidden.
std::uint8_t hidden_state(int visibility) {
  if (visibility == model::xl::SheetHidden) return 1;
  if (visibility == model::xl::SheetVeryHidden) return 2;
  return 0;
}

RecordBody u16_body(std::uint16_t value) {
  RecordBody body;
  body.u16(value);
  return body;
}

constexpr std::size_t kCacheLine = 64;

// A row of the sheet as its records are written: its cells, and its own
// record (height, outline, format) when it has one. The columns of its
// first and last cells are kept here, so that its ROW record does not
// read the cells a second time.
struct SheetRow {
  int row = 0;
  model::RowCells cells;                  // empty for a row with a record alone
  const model::LineInfo* info = nullptr;  // null for a row of the sheet's defaults
  int first_column = 0;
  int end_column = 0;  // one past the last cell's
};

// What of a sheet is written: its rows in order, and the last column of
// the used range (-1 when no cell has content).
struct SheetCells {
  std::vector<SheetRow> rows;
  int last_column = -1;
};

// Requests the memory of objects that are about to be read. The cells and
// formula trees of a sheet lie wherever they were allocated, far from each
// other: read one after the other, each waits for memory in turn, while
// requested some rows before they are read, the waits overlap. Requests
// only: nothing is read that would not be read anyway.
void prefetch_bytes(const void* object, std::size_t size) {
  const char* bytes = static_cast<const char*>(object);
  for (std::size_t at = 0; at < size; at += kCacheLine) __builtin_prefetch(bytes + at);
  if (size > 0) __builtin_prefetch(bytes + size - 1);
}

void prefetch_cells(model::RowCells cells) { prefetch_bytes(cells.data(), cells.size_bytes()); }

// The rows holding cells of the used range, in order. The row index is
// walked once; each row's end cells are requested as the walk finds the
// row and read for the used range some rows later, so that waiting for
// them overlaps the walk's own waits. Then the rows are cut to the range.
SheetCells cell_rows(const model::Worksheet& sheet) {
  constexpr std::size_t kRowsAhead = 16;
  SheetCells result;
  std::vector<SheetRow>& rows = result.rows;
  rows.reserve(std::min<std::size_t>(sheet.cell_count(), model::kMaxRows));
  model::UsedRange used;
  // The row's end columns are noted while its end cells are at hand: the
  // cut below then reads the cells only of rows that stick out.
  const auto measure = [&](SheetRow& row) {
    used.add_row(row.row, row.cells);
    row.first_column = row.cells.front().first;
    row.end_column = row.cells.back().first + 1;
  };
  sheet.for_each_row(model::CellRange::rows(0, model::kMaxRows - 1), [&](int row, model::RowCells cells) {
    __builtin_prefetch(cells.data());
    __builtin_prefetch(cells.data() + cells.size() - 1);
    rows.push_back({row, cells});
    if (rows.size() > kRowsAhead) measure(rows[rows.size() - 1 - kRowsAhead]);
  });
  std::for_each(rows.end() - static_cast<std::ptrdiff_t>(std::min(kRowsAhead, rows.size())), rows.end(), measure);
  if (!used.range()) return {};
  const model::CellRange& range = *used.range();
  std::erase_if(rows, [&](SheetRow& row) {
    if (row.row < range.first_row || row.row > range.last_row) return true;
    if (row.first_column >= range.first_column && row.end_column - 1 <= range.last_column) return false;
    row.cells = model::columns_within(row.cells, range.first_column, range.last_column);
    if (row.cells.empty()) return true;
    row.first_column = row.cells.front().first;
    row.end_column = row.cells.back().first + 1;
    return false;
  });
  result.last_column = range.last_column;
  return result;
}

// The rows holding cells of the used range merged with the rows that have
// a record of their own, in order. Most sheets have none of the latter:
// their rows are then returned as found.
SheetCells sheet_rows(const model::Worksheet& sheet) {
  SheetCells cells = cell_rows(sheet);
  std::vector<SheetRow> records;
  sheet.rows().for_each(0, model::kMaxRows - 1, [&](int row, const model::LineInfo& info) {
    if (!info.is_default()) records.push_back({row, {}, &info});
  });
  if (records.empty()) return cells;
  std::vector<SheetRow> rows;
  rows.reserve(cells.rows.size() + records.size());
  auto next = cells.rows.begin();
  for (const SheetRow& record : records) {
    for (; next != cells.rows.end() && next->row < record.row; ++next) rows.push_back(*next);
    if (next != cells.rows.end() && next->row == record.row) {
      rows.push_back(*next++);
      rows.back().info = record.info;
    } else {
      rows.push_back(record);
    }
  }
  rows.insert(rows.end(), next, cells.rows.end());
  cells.rows = std::move(rows);
  return cells;
}

// Requests the nodes `depth` levels below `node`. The levels above were
// requested for an earlier row, so finding these reads only cached nodes.
void prefetch_level(const f::Node& node, int depth) {
  if (depth == 0) return prefetch_bytes(&node, sizeof(node));
  for (const f::Node& child : node.children) prefetch_level(child, depth - 1);
}

// While a row is written, the rows after it are requested from memory in
// stages: the cells of the row kRowsAhead * (kTreeLevels + 1) ahead, the
// roots of the formulas of the row kRowsAhead * kTreeLevels ahead, then
// each level of their trees a little nearer. Each stage reads only what
// an earlier one requested, which has arrived by then.
class RowPrefetcher {
 public:
  explicit RowPrefetcher(std::span<const SheetRow> rows) : rows_(rows) {}

  void before_writing(std::size_t row) const {
    for (int level = -1; level < kTreeLevels; ++level) {
      const std::size_t ahead = row + kRowsAhead * static_cast<std::size_t>(kTreeLevels - level);
      if (ahead < rows_.size()) request(rows_[ahead], level);
    }
  }

 private:
  static constexpr std::size_t kRowsAhead = 2;
  static constexpr int kTreeLevels = 4;  // of each formula's tree; the rest is read as it comes

  // Level -1 is the cells themselves.
  static void request(const SheetRow& row, int level) {
    if (level < 0) return prefetch_cells(row.cells);
    for (const auto& [column, cell] : row.cells)
      if (cell.formula) {
        // The root comes with the formula's anchor, which the encoder reads first.
        if (level == 0) prefetch_bytes(cell.formula.get(), sizeof(f::Formula));
        else prefetch_level(cell.formula->root(), level);
      }
  }

  std::span<const SheetRow> rows_;
};

// Numbers that fit an RK value exactly (small integers) take 4 bytes, the
// rest 8 in a NUMBER record.
std::optional<std::uint32_t> rk_of(double number) {
  if (std::floor(number) != number || number < -(1 << 29) || number >= (1 << 29)) return std::nullopt;
  if (number == 0 && std::signbit(number)) return std::nullopt;
  return (static_cast<std::uint32_t>(static_cast<std::int32_t>(number)) << 2) | 0x02;
}

// The Workbook stream: the globals, then the sheets, in the two buffers
// they were written into; the container joins them as it copies them.
struct WorkbookStream {
  Bytes globals;
  Bytes sheets;
};

class WorkbookWriter {
 public:
  explicit WorkbookWriter(const model::Workbook& book) : book_(book), links_(sheet_names(book)) {}
  Bytes run();

 private:
  static std::vector<std::string> sheet_names(const model::Workbook& book);
  std::uint16_t font_index(const model::Font& font);
  std::uint16_t number_format_id(const std::string& code);
  std::uint16_t add_xf(const model::CellFormat& format, bool is_style, std::uint16_t parent);
  void build_formats();
  std::uint32_t shared_string(const std::string& text);

  void write_sheet(RecordWriter& out, std::size_t index);
  void write_page_setup(RecordWriter& out, const model::Worksheet& sheet);
  void write_protection(RecordWriter& out, const model::Worksheet& sheet);
  void write_default_row_height(RecordWriter& out, const model::Worksheet& sheet);
  void write_columns(RecordWriter& out, const model::Worksheet& sheet);
  void write_cells(RecordWriter& out, const model::Worksheet& sheet, int sheet_index);
  RecordBody& open_cell(RecordWriter& out, std::uint16_t type, int row, int column, const model::Cell& cell);
  void write_row_record(RecordWriter& out, const model::Worksheet& sheet, const SheetRow& row);
  void write_cell(RecordWriter& out, int row, int column, const model::Cell& cell);
  void write_formula_cell(RecordWriter& out, int sheet_index, int row, int column, const model::Cell& cell,
                          const std::optional<model::CellRange>& array);
  void put_formula(RecordBody& body, const f::Formula& formula, const FormulaOrigin& origin, FormulaRole role);
  void write_array(RecordWriter& out, int sheet_index, const model::CellRange& array, const model::Cell& anchor);
  void write_window(RecordWriter& out, const model::Worksheet& sheet);
  void write_merges(RecordWriter& out, const model::Worksheet& sheet);

  WorkbookStream workbook_stream();
  std::size_t expected_sheets_size() const;
  void write_globals(RecordWriter& out, std::vector<std::size_t>& sheet_position_fields);
  void write_names(RecordWriter& out);
  void write_links(RecordWriter& out);
  void write_shared_strings(RecordWriter& out);

  const model::Workbook& book_;
  LinkTable links_;
  std::vector<model::Font> fonts_;
  std::vector<std::pair<std::uint16_t, std::string>> custom_formats_;
  std::vector<RecordBody> xfs_;
  std::map<std::string, std::uint16_t> style_xfs_;
  std::vector<std::uint16_t> pool_xfs_;
  std::vector<std::string> strings_;
  std::unordered_map<std::string, std::uint32_t> string_index_;
  std::uint32_t string_uses_ = 0;
  std::vector<EncodedFormula> name_formulas_;
  RecordBody formula_constants_;  // a formula's rgcb, put after its tokens
  std::vector<ViewName> view_names_;
  DrawingWriter drawings_;
};

std::vector<std::string> WorkbookWriter::sheet_names(const model::Workbook& book) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < book.sheet_count(); ++i) names.push_back(book.sheet(i).name());
  return names;
}

// BIFF numbers fonts 0, 1, 2, 3, 5...: there is no font 4.
std::uint16_t WorkbookWriter::font_index(const model::Font& font) {
  auto it = std::find(fonts_.begin() + std::min<std::ptrdiff_t>(4, static_cast<std::ptrdiff_t>(fonts_.size())),
                      fonts_.end(), font);
  if (fonts_.size() < 4 || it == fonts_.end()) {
    fonts_.push_back(font);
    it = fonts_.end() - 1;
  }
  const auto index = static_cast<std::uint16_t>(it - fonts_.begin());
  return index < 4 ? index : static_cast<std::uint16_t>(index + 1);
}

std::uint16_t WorkbookWriter::number_format_id(const std::string& code) {
  if (auto id = model::builtin_number_format_id(code)) return static_cast<std::uint16_t>(*id);
  for (const auto& [id, text] : custom_formats_)
    if (text == code) return id;
  const auto id = static_cast<std::uint16_t>(model::kFirstUserFormatId + custom_formats_.size());
  custom_formats_.emplace_back(id, code);
  return id;
}

std::uint16_t WorkbookWriter::add_xf(const model::CellFormat& format, bool is_style, std::uint16_t parent) {
  XfFields xf;
  xf.font = font_index(format.font);
  xf.number_format = number_format_id(format.number_format);
  xf.is_style = is_style;
  xf.parent = parent;
  xf.format = format;
  xfs_.push_back(xf_record(xf));
  return static_cast<std::uint16_t>(xfs_.size() - 1);
}

// XF 0 is the Normal style and XFs 1-14 the outline styles Excel expects
// (copies of Normal), XF 15 the default cell format; then the other styles,
// then one cell XF per format of the workbook's pool.
void WorkbookWriter::build_formats() {
  const auto& styles = book_.styles();
  const model::Style& normal = styles.get("Normal");
  for (int i = 0; i < 4; ++i) fonts_.push_back(normal.format.font);
  for (int i = 0; i < 15; ++i) add_xf(normal.format, true, 0);
  add_xf(normal.format, false, 0);
  style_xfs_["normal"] = 0;
  for (std::size_t i = 0; i < styles.size(); ++i) {
    const model::Style& style = styles.at(i);
    if (style.name == normal.name) continue;
    style_xfs_[model::lower(style.name)] = add_xf(style.format, true, 0);
  }
  const auto& pool = book_.formats();
  for (std::size_t i = 0; i < pool.size(); ++i) {
    const model::CellFormat& format = pool.at(static_cast<model::FormatIndex>(i));
    const auto style = style_xfs_.find(model::lower(format.style));
    pool_xfs_.push_back(add_xf(format, false, style == style_xfs_.end() ? 0 : style->second));
  }
}

std::uint32_t WorkbookWriter::shared_string(const std::string& text) {
  ++string_uses_;
  auto [it, added] = string_index_.try_emplace(text, static_cast<std::uint32_t>(strings_.size()));
  if (added) strings_.push_back(text);
  return it->second;
}

void WorkbookWriter::write_page_setup(RecordWriter& out, const model::Worksheet& sheet) {
  out.record(rt::PrintGrid, u16_body(sheet.page_setup().print_gridlines ? 1 : 0));
  write_print_settings(out, sheet.page_setup());
}

void WorkbookWriter::write_protection(RecordWriter& out, const model::Worksheet& sheet) {
  const model::SheetProtection& p = sheet.protection();
  if (!p.is_protected()) return;
  out.record(rt::Protect, u16_body(p.contents ? 1 : 0));
  out.record(rt::ScenProtect, u16_body(p.scenarios ? 1 : 0));
  out.record(rt::ObjProtect, u16_body(p.drawing_objects ? 1 : 0));
  out.record(rt::Password, u16_body(p.password_hash));
}

// Without it, readers size the rows without a ROW record of their own from
// the default font as they measure it (Gnumeric 13.5 points, LibreOffice
// 12.8), and every shape below them moves.
void WorkbookWriter::write_default_row_height(RecordWriter& out, const model::Worksheet& sheet) {
  RecordBody body;
  body.u16(kDefaultRowHeightFlags).u16(static_cast<std::uint16_t>(std::lround(sheet.standard_height() * 20)));
  out.record(rt::DefaultRowHeight, body);
}

void WorkbookWriter::write_columns(RecordWriter& out, const model::Worksheet& sheet) {
  out.record(rt::DefColWidth, u16_body(8));
  sheet.columns().for_each(0, model::kMaxColumns - 1, [&](int column, const model::LineInfo& info) {
    if (info.is_default()) return;
    const double stored = std::clamp(model::stored_column_width(info.size.value_or(sheet.standard_width())), 0.0, 255.0);
    std::uint16_t flags = static_cast<std::uint16_t>((std::clamp(info.outline_level - 1, 0, 7)) << 8);
    if (info.hidden) flags |= 0x0001;
    if (info.size) flags |= 0x0002;
    if (info.collapsed) flags |= 0x1000;
    const std::uint16_t xf = info.format ? pool_xfs_.at(*info.format) : kDefaultCellXf;
    RecordBody body;
    body.u16(static_cast<std::uint16_t>(column)).u16(static_cast<std::uint16_t>(column))
        .u16(static_cast<std::uint16_t>(std::lround(stored * 256)))
        .u16(xf).u16(flags).u16(0);
    out.record(rt::ColInfo, body);
  });
}

// A formula's token count (cce), its tokens and then its constants, at
// the end of a record being built.
void WorkbookWriter::put_formula(RecordBody& body, const f::Formula& formula, const FormulaOrigin& origin,
                                 FormulaRole role) {
  const std::size_t count_at = body.size();
  body.u16(0);
  encode_formula(formula, links_, origin, role, body, formula_constants_);
  body.patch_u16(count_at, static_cast<std::uint16_t>(body.size() - count_at - 2));
  body.bytes(formula_constants_.data());
  formula_constants_.truncate(0);
}

// ARRAY: the range (rows, then columns as bytes), grbit (fCalcOnLoad), chn
// (unused), then the formula's tokens and constants.
void WorkbookWriter::write_array(RecordWriter& out, int sheet_index, const model::CellRange& array,
                                 const model::Cell& anchor) {
  RecordBody body;
  body.u16(static_cast<std::uint16_t>(array.first_row)).u16(static_cast<std::uint16_t>(array.last_row))
      .u8(static_cast<std::uint8_t>(array.first_column)).u8(static_cast<std::uint8_t>(array.last_column))
      .u16(0x0002).u32(0);
  put_formula(body, *anchor.formula, {sheet_index, array.first_row, array.first_column}, FormulaRole::Array);
  out.record(rt::Array, body);
}

// Opens a cell's record, its row, column and XF written.
RecordBody& WorkbookWriter::open_cell(RecordWriter& out, std::uint16_t type, int row, int column,
                                      const model::Cell& cell) {
  return out.open(type).u16(static_cast<std::uint16_t>(row)).u16(static_cast<std::uint16_t>(column))
      .u16(pool_xfs_.at(cell.format));
}

void WorkbookWriter::write_formula_cell(RecordWriter& out, int sheet_index, int row, int column,
                                        const model::Cell& cell, const std::optional<model::CellRange>& array) {
  const f::Value& v = cell.value;
  // The cached result: a number as is, anything else tagged in the
  // number's place. A text result follows in a STRING record, which every
  // reader expects after the tag 0; an empty text has a tag of its own
  // and no STRING record.
  const bool text_follows = v.is_text() && !v.text().empty();
  RecordBody& body = open_cell(out, rt::Formula, row, column, cell);
  if (v.is_number()) body.f64(v.number());
  else if (text_follows) body.u8(0x00).zeros(5).u16(0xFFFF);
  else if (v.is_boolean()) body.u8(0x01).u8(0).u8(v.boolean() ? 1 : 0).zeros(3).u16(0xFFFF);
  else if (v.is_error()) body.u8(0x02).u8(0).u8(static_cast<std::uint8_t>(v.error())).zeros(3).u16(0xFFFF);
  else body.u8(0x03).zeros(5).u16(0xFFFF);
  body.u16(0x0002).u32(0);
  // A cell of an array formula stores only a tExp token pointing at the
  // array's top-left cell; the formula itself is in the ARRAY record that
  // follows that cell's FORMULA record.
  if (array) {
    body.u16(5).u8(tok::Exp).u16(static_cast<std::uint16_t>(array->first_row))
        .u16(static_cast<std::uint16_t>(array->first_column));
  } else {
    put_formula(body, *cell.formula, {sheet_index, row, column}, FormulaRole::Cell);
  }
  out.close();
  if (array && array->first_row == row && array->first_column == column) write_array(out, sheet_index, *array, cell);
  if (text_follows) {
    // A long text goes on in CONTINUE records that restate its width.
    ContinuedRecordWriter text(out, rt::String);
    text.string16(v.text());
  }
}

void WorkbookWriter::write_cell(RecordWriter& out, int row, int column, const model::Cell& cell) {
  const f::Value& v = cell.value;
  if (v.is_number()) {
    if (auto rk = rk_of(v.number())) open_cell(out, rt::Rk, row, column, cell).u32(*rk);
    else open_cell(out, rt::Number, row, column, cell).f64(v.number());
  } else if (v.is_text()) {
    const std::uint32_t index = shared_string(v.text());
    open_cell(out, rt::LabelSst, row, column, cell).u32(index);
  } else if (v.is_boolean()) {
    open_cell(out, rt::BoolErr, row, column, cell).u8(v.boolean() ? 1 : 0).u8(0);
  } else if (v.is_error()) {
    open_cell(out, rt::BoolErr, row, column, cell).u8(static_cast<std::uint8_t>(v.error())).u8(1);
  } else {
    open_cell(out, rt::Blank, row, column, cell);
  }
  out.close();
}

void WorkbookWriter::write_row_record(RecordWriter& out, const model::Worksheet& sheet, const SheetRow& row) {
  const model::LineInfo info = row.info ? *row.info : model::LineInfo{};
  std::uint16_t flags = static_cast<std::uint16_t>(0x0100 | std::clamp(info.outline_level - 1, 0, 7));
  if (info.collapsed) flags |= 0x0010;
  if (info.is_hidden()) flags |= 0x0020;
  if (info.size) flags |= 0x0040;
  if (info.format) flags |= 0x0080;
  const double height = info.size.value_or(sheet.standard_height());
  out.open(rt::Row).u16(static_cast<std::uint16_t>(row.row)).u16(static_cast<std::uint16_t>(row.first_column))
      .u16(static_cast<std::uint16_t>(row.end_column)).u16(static_cast<std::uint16_t>(std::lround(height * 20)))
      .u16(0).u16(0).u16(flags).u16(info.format ? pool_xfs_.at(*info.format) : kDefaultCellXf);
  out.close();
}

// Rows in blocks of 32: the block's ROW records, then its cells, as Excel
// lays them out.
void WorkbookWriter::write_cells(RecordWriter& out, const model::Worksheet& sheet, int sheet_index) {
  const SheetCells cells = sheet_rows(sheet);
  const std::vector<SheetRow>& rows = cells.rows;
  out.open(rt::Dimensions).u32(rows.empty() ? 0 : static_cast<std::uint32_t>(rows.front().row))
      .u32(rows.empty() ? 0 : static_cast<std::uint32_t>(rows.back().row + 1))
      .u16(0).u16(static_cast<std::uint16_t>(cells.last_column + 1)).u16(0);
  out.close();

  const bool has_arrays = !sheet.arrays().empty();
  const RowPrefetcher prefetcher(rows);
  for (auto block = rows.begin(); block != rows.end();) {
    const auto end = std::find_if(block, rows.end(), [&](const SheetRow& r) { return r.row / 32 != block->row / 32; });
    for (auto row = block; row != end; ++row) write_row_record(out, sheet, *row);
    for (auto row = block; row != end; ++row) {
      prefetcher.before_writing(static_cast<std::size_t>(row - rows.begin()));
      for (const auto& [column, cell] : row->cells) {
        if (!cell.formula) write_cell(out, row->row, column, cell);
        else write_formula_cell(out, sheet_index, row->row, column, cell,
                                has_arrays ? sheet.array_at(row->row, column) : std::nullopt);
      }
    }
    block = end;
  }
}

void WorkbookWriter::write_window(RecordWriter& out, const model::Worksheet& sheet) {
  const model::Window& window = book_.window(book_.active_window());
  const bool active = window.active_sheet == sheet.id();
  std::uint16_t flags = 0x0010 | 0x0020 | 0x0080;  // zeros, automatic grid colour, outline symbols
  if (window.display_gridlines) flags |= 0x0002;
  if (window.display_headings) flags |= 0x0004;
  if (active) flags |= 0x0200 | 0x0400;
  RecordBody body;
  body.u16(flags).u16(0).u16(0).u32(64).u16(0).u16(0).u32(0);
  out.record(rt::Window2, body);
  RecordBody scale;
  scale.u16(static_cast<std::uint16_t>(std::clamp(window.zoom, 10, 400))).u16(100);
  out.record(rt::Scl, scale);
}

void WorkbookWriter::write_merges(RecordWriter& out, const model::Worksheet& sheet) {
  const auto& merges = sheet.merged_ranges();
  for (std::size_t start = 0; start < merges.size(); start += 1026) {
    const std::size_t count = std::min<std::size_t>(1026, merges.size() - start);
    RecordBody body;
    body.u16(static_cast<std::uint16_t>(count));
    for (std::size_t i = start; i < start + count; ++i) {
      const auto& m = merges[i];
      body.u16(static_cast<std::uint16_t>(m.first_row)).u16(static_cast<std::uint16_t>(m.last_row))
          .u16(static_cast<std::uint16_t>(m.first_column)).u16(static_cast<std::uint16_t>(m.last_column));
    }
    out.record(rt::MergeCells, body);
  }
}

void WorkbookWriter::write_sheet(RecordWriter& out, std::size_t index) {
  const model::Worksheet& sheet = book_.sheet(index);
  out.record(rt::Bof, bof(0x0010));
  int row_levels = 0, column_levels = 0;
  sheet.rows().for_each(0, model::kMaxRows - 1, [&](int, const model::LineInfo& i) {
    row_levels = std::max(row_levels, i.outline_level - 1);
  });
  sheet.columns().for_each(0, model::kMaxColumns - 1, [&](int, const model::LineInfo& i) {
    column_levels = std::max(column_levels, i.outline_level - 1);
  });
  RecordBody guts;
  guts.u16(static_cast<std::uint16_t>(row_levels ? 17 + 12 * row_levels : 0))
      .u16(static_cast<std::uint16_t>(column_levels ? 17 + 12 * column_levels : 0))
      .u16(static_cast<std::uint16_t>(row_levels ? row_levels + 1 : 0))
      .u16(static_cast<std::uint16_t>(column_levels ? column_levels + 1 : 0));
  out.record(rt::Guts, guts);
  write_default_row_height(out, sheet);
  std::uint16_t wsbool = 0x0401;  // automatic page breaks, outline symbols
  if (sheet.summary_row() == model::SummaryPosition::Below) wsbool |= 0x0040;
  if (sheet.summary_column() == model::SummaryPosition::Below) wsbool |= 0x0080;
  out.record(rt::WsBool, u16_body(wsbool));
  write_page_setup(out, sheet);
  write_protection(out, sheet);
  write_columns(out, sheet);
  write_autofilter(out, sheet);
  write_cells(out, sheet, static_cast<int>(index));
  drawings_.write_sheet(out, sheet);
  write_window(out, sheet);
  write_sheet_views(out, book_, index);
  write_merges(out, sheet);
  out.empty_record(rt::Eof);
}

// SUPBOOK of this workbook's sheets (0x0401), then the add-in SUPBOOK
// (0x3A01) with one EXTERNNAME per add-in function the formulas call, then
// EXTERNSHEET, whose entries point at one or the other (0xFFFE: no sheet).
void WorkbookWriter::write_links(RecordWriter& out) {
  if (links_.entries().empty()) return;
  RecordBody supbook;
  supbook.u16(static_cast<std::uint16_t>(book_.sheet_count())).u16(0x0401);
  out.record(rt::SupBook, supbook);
  constexpr std::uint16_t kAddinSupbook = 1;
  if (!links_.addin_functions().empty()) {
    RecordBody addins;
    addins.u16(1).u16(0x3A01);
    out.record(rt::SupBook, addins);
    // EXTERNNAME: options, two unused fields, the name, and a formula
    // (#REF!, two bytes of tokens) that an add-in function does not use.
    for (const std::string& function : links_.addin_functions()) {
      RecordBody name;
      name.u16(0).u16(0).u16(0).string8(function).u16(2).u8(0x1C).u8(0x17);
      out.record(rt::ExternName, name);
    }
  }
  RecordBody externsheet;
  externsheet.u16(static_cast<std::uint16_t>(links_.entries().size()));
  for (std::size_t i = 0; i < links_.entries().size(); ++i) {
    const auto& entry = links_.entries()[i];
    if (links_.is_addin_entry(i)) externsheet.u16(kAddinSupbook).u16(0xFFFE).u16(0xFFFE);
    else externsheet.u16(0).u16(static_cast<std::uint16_t>(entry->first)).u16(static_cast<std::uint16_t>(entry->last));
  }
  out.record(rt::ExternSheet, externsheet);
}

void WorkbookWriter::write_names(RecordWriter& out) {
  const auto& names = links_.names();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const EncodedFormula empty;
    const EncodedFormula& encoded = i < name_formulas_.size() ? name_formulas_[i] : empty;
    // The views' names follow the workbook's own, hidden as Excel keeps them.
    const std::size_t own = book_.names().size();
    const bool hidden = i < own ? !book_.names()[i].visible : i < own + view_names_.size();
    // An AutoFilter's list is the built-in name 0x0D, local to its sheet.
    const bool builtin = i >= own && names[i].name == kFilterDatabaseName;
    const std::u16string text = utf8_to_utf16(builtin ? kFilterDatabaseBuiltin : names[i].name);
    const auto flags = static_cast<std::uint16_t>((hidden ? 0x0001 : 0x0000) | (builtin ? 0x0020 : 0x0000));
    RecordBody body;
    body.u16(flags).u8(0).u8(static_cast<std::uint8_t>(std::min<std::size_t>(text.size(), 255)))
        .u16(static_cast<std::uint16_t>(encoded.tokens.size())).u16(0)
        .u16(static_cast<std::uint16_t>(names[i].sheet + 1)).u32(0)
        .string_chars(std::u16string_view(text).substr(0, 255)).bytes(encoded.tokens).bytes(encoded.extra);
    out.record(rt::Lbl, body);
  }
}

// SST with its index EXTSST: every eighth string (or more, for large
// tables) located by stream position and offset in its record.
void WorkbookWriter::write_shared_strings(RecordWriter& out) {
  const std::size_t per_bucket = std::max<std::size_t>(8, (strings_.size() + 127) / 128);
  std::vector<ContinuedRecordWriter::Placement> buckets;
  {
    ContinuedRecordWriter sst(out, rt::Sst);
    RecordBody head;
    head.u32(string_uses_).u32(static_cast<std::uint32_t>(strings_.size()));
    sst.atomic(head);
    for (std::size_t i = 0; i < strings_.size(); ++i) {
      const auto placement = sst.string16(strings_[i]);
      if (i % per_bucket == 0) buckets.push_back(placement);
    }
  }
  RecordBody ext;
  ext.u16(static_cast<std::uint16_t>(per_bucket));
  for (const auto& b : buckets)
    ext.u32(static_cast<std::uint32_t>(b.stream_offset)).u16(static_cast<std::uint16_t>(b.record_offset)).u16(0);
  out.record(rt::ExtSst, ext);
}

void WorkbookWriter::write_globals(RecordWriter& out, std::vector<std::size_t>& sheet_position_fields) {
  out.record(rt::Bof, bof(0x0005));
  out.record(rt::CodePage, u16_body(1200));
  RecordBody tab_ids;
  for (std::size_t i = 0; i < book_.sheet_count(); ++i) tab_ids.u16(static_cast<std::uint16_t>(i + 1));
  out.record(rt::RrTabId, tab_ids);
  const auto& protection = book_.protection();
  out.record(rt::WinProtect, u16_body(protection.windows ? 1 : 0));
  out.record(rt::Protect, u16_body(protection.structure ? 1 : 0));
  out.record(rt::Password, u16_body(protection.password_hash));
  for (std::size_t i = 0; i < book_.window_count(); ++i) {
    const model::Window& window = book_.window(i);
    std::uint16_t flags = 0x0038;  // scroll bars and sheet tabs shown
    if (!window.visible) flags |= 0x0001;
    if (window.window_state == model::xl::Minimized) flags |= 0x0002;
    const auto active = book_.sheet_index(window.active_sheet).value_or(0);
    RecordBody body;
    body.u16(0x0168).u16(0x001E).u16(0x3A5C).u16(0x23BE).u16(flags)
        .u16(static_cast<std::uint16_t>(active)).u16(0).u16(1).u16(600);
    out.record(rt::Window1, body);
  }
  out.record(rt::BookBool, u16_body(0));
  for (std::size_t i = 0; i < fonts_.size(); ++i) out.record(rt::Font, font_record(fonts_[i]));
  for (const auto& [id, code] : custom_formats_) {
    RecordBody body;
    body.u16(id).string16(code);
    out.record(rt::Format, body);
  }
  for (const auto& xf : xfs_) out.record(rt::Xf, xf);
  const auto& styles = book_.styles();
  for (std::size_t i = 0; i < styles.size(); ++i) {
    const model::Style& style = styles.at(i);
    RecordBody body;
    const std::uint16_t xf = style_xfs_.at(model::lower(style.name));
    if (style.builtin()) body.u16(static_cast<std::uint16_t>(xf | 0x8000)).u8(static_cast<std::uint8_t>(*style.builtin_id)).u8(0xFF);
    else body.u16(xf).string16(style.name);
    out.record(rt::Style, body);
  }
  if (!book_.palette().is_default()) {
    RecordBody body;
    body.u16(model::kPaletteSize);
    for (int i = 1; i <= model::kPaletteSize; ++i) {
      const model::Rgb rgb = book_.palette().color(i);
      body.u8(static_cast<std::uint8_t>(rgb >> 16)).u8(static_cast<std::uint8_t>(rgb >> 8))
          .u8(static_cast<std::uint8_t>(rgb)).u8(0);
    }
    out.record(rt::Palette, body);
  }
  write_book_views(out, book_);
  for (std::size_t i = 0; i < book_.sheet_count(); ++i) {
    sheet_position_fields.push_back(out.offset() + 4);
    RecordBody body;
    body.u32(0).u8(hidden_state(book_.sheet(i).visibility())).u8(0).string8(book_.sheet(i).name());
    out.record(rt::BoundSheet8, body);
  }
  out.record(rt::Country, RecordBody().u16(1).u16(33));
  write_links(out);
  write_names(out);
  drawings_.write_group(out);
  write_shared_strings(out);
  out.empty_record(rt::Eof);
}

// The sheets are written first, all into one buffer, since the globals
// list what they use (shared strings, links, drawings); the globals then
// take the front of the stream and each BOUNDSHEET the position of its sheet.
WorkbookStream WorkbookWriter::workbook_stream() {
  RecordWriter sheets(expected_sheets_size());
  std::vector<std::size_t> sheet_offsets;
  for (std::size_t i = 0; i < book_.sheet_count(); ++i) {
    sheet_offsets.push_back(sheets.offset());
    write_sheet(sheets, i);
  }
  RecordWriter globals;
  std::vector<std::size_t> position_fields;
  write_globals(globals, position_fields);
  for (std::size_t i = 0; i < sheet_offsets.size(); ++i)
    globals.patch_u32(position_fields[i], static_cast<std::uint32_t>(globals.offset() + sheet_offsets[i]));
  WorkbookStream stream{globals.take_stream(), sheets.take_stream()};
  const std::size_t size = stream.globals.size() + stream.sheets.size();
  if (size < kMinimumStreamSize) stream.sheets.resize(stream.sheets.size() + kMinimumStreamSize - size, 0);
  return stream;
}

// Enough for the sheets' records in most workbooks (a cell's record and
// its ROW record's share take 14 to 40 bytes), reserved but left untouched
// until written.
std::size_t WorkbookWriter::expected_sheets_size() const {
  std::size_t cells = 0;
  for (std::size_t i = 0; i < book_.sheet_count(); ++i) cells += book_.sheet(i).cell_count();
  return cells * 40 + book_.sheet_count() * 4096;
}

Bytes WorkbookWriter::run() {
  build_formats();
  for (const auto& name : book_.names()) {
    const auto sheet = name.sheet ? book_.sheet_index(*name.sheet) : std::nullopt;
    links_.add_name({name.name, sheet ? static_cast<int>(*sheet) : -1});
  }
  view_names_ = view_names(book_);
  for (auto& name : filter_database_names(book_)) view_names_.push_back(std::move(name));
  for (const auto& name : view_names_) links_.add_name({name.name, name.sheet});
  for (const auto& name : book_.names())
    name_formulas_.push_back(encode_formula(*name.refers_to, links_, {-1, 0, 0}, FormulaRole::Name));
  for (const auto& name : view_names_)
    name_formulas_.push_back(encode_formula(*name.refers_to, links_, {-1, 0, 0}, FormulaRole::Name));
  const WorkbookStream workbook = workbook_stream();
  const std::vector<Stream> properties = property_set_streams(book_);
  std::vector<StreamParts> streams{{"Workbook", {workbook.globals, workbook.sheets}}};
  for (const Stream& stream : properties) streams.push_back({stream.name, {stream.data}});
  return write_compound_file(streams);
}

}  // namespace

Bytes save_workbook(const model::Workbook& book) { return WorkbookWriter(book).run(); }

void write_workbook_file(const model::Workbook& book, const std::string& path) {
  Bytes bytes;
  try {
    bytes = save_workbook(book);
  } catch (const FileError& error) {
    throw error.for_file(path);
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw FileError(path, "the file cannot be written");
}

}  // namespace engine::xls
