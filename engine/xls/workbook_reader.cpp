// Reading a Workbook stream into the model: the globals first (formats,
// styles, sheet list, names, shared strings), then each worksheet's records.
// Records this application does not use are skipped by their length.
#include <algorithm>
#include <bit>
#include <cctype>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "engine/import/sheet_loader.hpp"
#include "engine/import/workbook_loader.hpp"
#include "engine/import/workbook_file_bytes.hpp"
#include "engine/model/number_format.hpp"
#include "engine/model/sheet_geometry.hpp"
#include "engine/model/text.hpp"
#include "engine/xls/autofilter_records.hpp"
#include "engine/xls/custom_view_records.hpp"
#include "engine/xls/drawing_reader.hpp"
#include "engine/xls/file_error.hpp"
#include "engine/xls/formula_codec.hpp"
#include "engine/xls/print_records.hpp"
#include "engine/xls/property_sets.hpp"
#include "engine/xls/record_types.hpp"
#include "engine/xls/workbook_file.hpp"
#include "engine/xls/xf_codec.hpp"

namespace engine::xls {

namespace {

namespace f = engine::formula;

struct SheetEntry {
  std::uint32_t position;
  std::uint8_t state;  // BOUNDSHEET's hsState: 0 visible, 1 hidden, 2 very hidden
  std::uint8_t kind;
  std::string name;
};

// The model's visibility for a BOUNDSHEET state.
int sheet_visibility(std::uint8_t state) {
  switch (state) {
    case 1: return model::xl::SheetHidden;
    case 2: return model::xl::SheetVeryHidden;
    default: return model::xl::SheetVisible;
  }
}

struct RawName {
  std::string name;
  int sheet;
  bool hidden;
  bool builtin;
  Bytes tokens;
  Bytes extra;
};

struct StyleEntry {
  std::uint16_t xf;
  std::optional<int> builtin_id;
  std::string name;
};

// A FORMULA record's cached result (FormulaValue): a number, or a tagged
// Boolean, error or empty text. A text that is not empty is nothing here:
// it follows in a STRING record.
bool is_text_result(const Bytes& result) { return result[6] == 0xFF && result[7] == 0xFF && result[0] == 0x00; }

f::Value cached_result(const Bytes& result) {
  if (result[6] != 0xFF || result[7] != 0xFF) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | result[static_cast<std::size_t>(i)];
    return std::bit_cast<double>(bits);
  }
  switch (result[0]) {
    case 0x01: return result[2] != 0;
    case 0x02:
      if (auto error = f::error_from_code(result[2])) return *error;
      return {};
    case 0x03: return std::string();
    default: return {};
  }
}

class WorkbookReader {
 public:
  WorkbookReader(ByteSpan stream, const std::string& name, import::LoadReport* report)
      : stream_(stream),
        reader_(stream),
        report_(report),
        book_(std::make_unique<model::Workbook>(name)),
        links_({}),
        formats_in_(*book_) {}
  std::unique_ptr<model::Workbook> run();

 private:
  void read_globals();
  void read_global_record(const Record& record);
  void read_sst(const Record& record);
  void read_name(const Record& record);
  void apply_formats();
  model::CellFormat cell_format(std::size_t xf_index);
  model::FormatIndex format_index(std::uint16_t xf_index);
  void define_names();

  void read_sheet(std::size_t index);
  void read_sheet_record(model::Worksheet& sheet, int sheet_index, const Record& record);
  void put_value(model::Worksheet& sheet, int row, int column, std::uint16_t xf, f::Value value);
  void read_formula(model::Worksheet& sheet, int sheet_index, const Record& record);
  // Whether the formula is now in the cell (a shared one waits for its definition).
  bool set_formula(model::Worksheet& sheet, int row, int column, const DecodedFormula& decoded);
  void read_string(model::Worksheet& sheet, const Record& record);
  void read_row(const Record& record);
  void read_colinfo(model::Worksheet& sheet, const Record& record);
  void read_window2(model::Worksheet& sheet, const Record& record);

  ByteSpan stream_;
  RecordReader reader_;
  import::LoadReport* report_;
  std::unique_ptr<model::Workbook> book_;
  LinkTable links_;
  std::vector<model::Font> fonts_;
  std::map<std::uint16_t, std::string> formats_;
  std::vector<XfFields> xfs_;
  import::FormatInterner formats_in_;
  std::vector<StyleEntry> styles_;
  std::vector<SheetEntry> sheets_;
  std::vector<f::Value> strings_;  // each text once, shared by the cells showing it
  std::vector<RawName> names_;
  std::vector<std::optional<SheetSpan>> externsheet_;
  std::vector<bool> externsheet_addin_;  // beside externsheet_: an entry of the add-in SUPBOOK
  std::vector<bool> supbook_is_own_;
  // The add-in SUPBOOK (the first, if a file has several) and the functions
  // its EXTERNNAME records name.
  std::optional<std::size_t> addin_supbook_;
  std::vector<std::string> addin_functions_;
  void read_supbook(const Record& record);
  void read_externname(const Record& record);
  std::vector<model::Window> windows_;
  std::vector<std::uint16_t> active_tabs_;
  model::WorkbookProtection book_protection_;
  CustomViewReader views_;

  // Per sheet.
  import::RowLines rows_;
  std::map<std::pair<int, int>, std::pair<Bytes, Bytes>> shared_;  // anchor -> tokens, extra
  SheetFormulas formulas_;
  std::vector<std::tuple<int, int, SharedFormulaRef>> pending_shared_;
  // ARRAY records by their top-left cell: the range, tokens and constants.
  struct ArrayRecord {
    model::CellRange range;
    Bytes tokens;
    Bytes extra;
  };
  std::map<std::pair<int, int>, ArrayRecord> arrays_;
  void read_array(const Record& record);
  void apply_arrays(model::Worksheet& sheet, int sheet_index);
  std::optional<std::pair<int, int>> pending_text_;  // the cell whose STRING record comes next
  std::optional<int> sheet_zoom_;
  bool sheet_selected_ = false;
  model::SheetProtection sheet_protection_;
  SheetDrawingReader drawing_;
  AutoFilterReader autofilter_;
  std::map<int, model::CellRange> filter_lists_;  // each sheet's _FilterDatabase
  void take_filter_list(const RawName& raw);
};

void WorkbookReader::read_sst(const Record& record) {
  RecordCursor in(record);
  in.skip(4);
  const std::size_t count = in.u32();
  // Every string takes at least three bytes: a count that says otherwise lies.
  if (count > in.remaining() / 3 + 1) fail("the shared string table claims more strings than it holds");
  strings_.reserve(count);
  for (std::size_t i = 0; i < count; ++i) strings_.emplace_back(in.string16());
}

void WorkbookReader::read_name(const Record& record) {
  RecordCursor in(record);
  RawName name;
  const std::uint16_t flags = in.u16();
  name.hidden = flags & 0x0001;
  name.builtin = flags & 0x0020;
  in.skip(1);
  const std::size_t length = in.u8();
  const std::size_t cce = in.u16();
  in.skip(2);
  const std::uint16_t itab = in.u16();
  name.sheet = static_cast<int>(itab) - 1;
  in.skip(4);
  name.name = in.string_chars(length);
  name.tokens = in.bytes(cce);
  name.extra = in.bytes(in.remaining());
  names_.push_back(std::move(name));
}

void WorkbookReader::read_global_record(const Record& record) {
  RecordCursor in(record);
  switch (record.type) {
    case rt::FilePass: fail("the workbook is encrypted with a password");
    case rt::Font: fonts_.push_back(read_font(in)); break;
    case rt::Format: {
      const std::uint16_t id = in.u16();
      formats_[id] = in.string16();
      break;
    }
    case rt::Xf: xfs_.push_back(read_xf(in)); break;
    case rt::Style: {
      const std::uint16_t field = in.u16();
      StyleEntry style{static_cast<std::uint16_t>(field & 0x0FFF), std::nullopt, {}};
      if (field & 0x8000) style.builtin_id = in.u8();
      else style.name = in.string16();
      styles_.push_back(std::move(style));
      break;
    }
    case rt::BoundSheet8: {
      SheetEntry sheet;
      sheet.position = in.u32();
      sheet.state = in.u8() & 0x03;
      sheet.kind = in.u8();
      sheet.name = in.string8();
      sheets_.push_back(std::move(sheet));
      break;
    }
    case rt::Sst: read_sst(record); break;
    case rt::Lbl: read_name(record); break;
    case rt::SupBook: read_supbook(record); break;
    case rt::ExternName: read_externname(record); break;
    case rt::ExternSheet: {
      const std::size_t count = in.u16();
      for (std::size_t i = 0; i < count; ++i) {
        const std::size_t supbook = in.u16();
        const int first = in.u16();
        const int last = in.u16();
        const bool own = supbook < supbook_is_own_.size() && supbook_is_own_[supbook];
        externsheet_.push_back(own ? std::optional<SheetSpan>(SheetSpan{first, last}) : std::nullopt);
        externsheet_addin_.push_back(addin_supbook_ == supbook);
      }
      break;
    }
    case rt::Window1: {
      model::Window window;
      in.skip(8);
      const std::uint16_t flags = in.u16();
      window.visible = !(flags & 0x0001);
      if (flags & 0x0002) window.window_state = model::xl::Minimized;
      active_tabs_.push_back(in.u16());
      windows_.push_back(window);
      break;
    }
    case rt::Palette: {
      const std::size_t count = std::min<std::size_t>(in.u16(), model::kPaletteSize);
      for (std::size_t i = 0; i < count; ++i) {
        const model::Rgb r = in.u8(), g = in.u8(), b = in.u8();
        in.skip(1);
        book_->palette().set_color(static_cast<int>(i + 1), (r << 16) | (g << 8) | b);
      }
      break;
    }
    case rt::Protect: book_protection_.structure = in.u16() != 0; break;
    case rt::WinProtect: book_protection_.windows = in.u16() != 0; break;
    case rt::Password: book_protection_.password_hash = in.u16(); break;
    case rt::UserBView: views_.take_book_view(record); break;
    case rt::RrTabId: views_.take_tab_ids(record); break;
    default: break;
  }
}

void WorkbookReader::read_globals() {
  Record record;
  if (!reader_.next(record) || record.type != rt::Bof) fail("the workbook stream does not begin with a BOF record");
  RecordCursor bof(record);
  if (bof.u16() != 0x0600) fail("the workbook is not in the Excel 97-2003 format (BIFF8)");
  while (true) {
    if (!reader_.next(record)) fail("the workbook's global records end without an EOF record");
    if (record.type == rt::Eof) break;
    read_global_record(record);
  }
}

model::CellFormat WorkbookReader::cell_format(std::size_t xf_index) {
  if (xf_index >= xfs_.size()) return model::CellFormat{};
  const XfFields& xf = xfs_[xf_index];
  model::CellFormat format = xf.format;
  const std::size_t font = xf.font < 4 ? xf.font : xf.font - 1u;
  if (font < fonts_.size()) format.font = fonts_[font];
  if (auto builtin = model::builtin_number_format(xf.number_format)) format.number_format = std::string(*builtin);
  else if (auto it = formats_.find(xf.number_format); it != formats_.end()) format.number_format = it->second;
  format.style = "Normal";
  for (const auto& style : styles_) {
    if (style.xf != xf.parent || xf.is_style) continue;
    if (!style.name.empty()) format.style = style.name;
    else if (auto* s = style.builtin_id ? [&]() -> const model::Style* {
               for (std::size_t i = 0; i < book_->styles().size(); ++i)
                 if (book_->styles().at(i).builtin_id == style.builtin_id) return &book_->styles().at(i);
               return nullptr;
             }() : nullptr)
      format.style = s->name;
  }
  return format;
}

model::FormatIndex WorkbookReader::format_index(std::uint16_t xf_index) {
  return formats_in_.intern(xf_index, [&] { return cell_format(xf_index); });
}

// User styles (with the font and formats of their XF) are added to the
// table; built-in ones update what the table already holds.
void WorkbookReader::apply_formats() {
  for (const auto& style : styles_)
    if (!style.name.empty()) import::add_user_style(*book_, style.name, cell_format(style.xf));
}

void WorkbookReader::define_names() {
  for (const auto& raw : names_) links_.add_name({raw.name, raw.sheet});
  for (const auto& raw : names_) {
    if (raw.builtin && raw.name == kFilterDatabaseBuiltin) take_filter_list(raw);
    if (raw.builtin || raw.tokens.empty()) continue;
    try {
      const auto decoded = decode_formula(raw.tokens, raw.extra, links_, {-1, 0, 0});
      const auto* formula = std::get_if<std::shared_ptr<const f::Formula>>(&decoded);
      if (!formula) continue;
      if (CustomViewReader::is_view_name(raw.name)) {
        views_.take_name(raw.name, raw.sheet, **formula);
        continue;
      }
      std::optional<std::size_t> scope;
      if (raw.sheet >= 0 && static_cast<std::size_t>(raw.sheet) < book_->sheet_count())
        scope = static_cast<std::size_t>(raw.sheet);
      import::define_name(*book_, raw.name, f::print(**formula), scope, report_);
    } catch (const FileError& error) {
      // A name whose definition uses what this application cannot read is left out.
      import::report_loss(report_, "defined name", raw.name, error.problem());
    } catch (const platform::com::Error& error) {
      import::report_loss(report_, "defined name", raw.name, error.description());
    }
  }
}

// A list that cannot be read leaves its sheet without the AutoFilter.
void WorkbookReader::take_filter_list(const RawName& raw) {
  try {
    const auto decoded = decode_formula(raw.tokens, raw.extra, links_, {-1, 0, 0});
    const auto* formula = std::get_if<std::shared_ptr<const f::Formula>>(&decoded);
    if (!formula || (*formula)->root().kind != f::NodeKind::Reference || raw.sheet < 0) {
      fail("the AutoFilter's list is not one area of its sheet");
    }
    const f::Reference& ref = (*formula)->root().reference;
    filter_lists_[raw.sheet] = {ref.first.row, ref.first.column, ref.last.row, ref.last.column};
  } catch (const FileError& error) {
    import::report_loss(report_, "AutoFilter", "sheet " + std::to_string(raw.sheet + 1), error.problem());
  }
}

void WorkbookReader::put_value(model::Worksheet& sheet, int row, int column, std::uint16_t xf, f::Value value) {
  import::place_cell(sheet, row, column, format_index(xf), std::move(value));
}

bool WorkbookReader::set_formula(model::Worksheet& sheet, int row, int column, const DecodedFormula& decoded) {
  if (const auto* shared = std::get_if<SharedFormulaRef>(&decoded)) {
    pending_shared_.emplace_back(row, column, *shared);
    return false;
  }
  try {
    sheet.set_formula(row, column, std::get<std::shared_ptr<const f::Formula>>(decoded));
    return true;
  } catch (const platform::com::Error& error) {
    import::report_loss(report_, "formula", import::cell_place(sheet, row, column), error.description());
    return false;
  }
}

void WorkbookReader::read_formula(model::Worksheet& sheet, int sheet_index, const Record& record) {
  RecordCursor in(record);
  const int row = in.u16();
  const int column = in.u16();
  const std::uint16_t xf = in.u16();
  const Bytes result = in.bytes(8);
  in.skip(6);
  const std::size_t cce = in.u16();
  Bytes token_copy, extra_copy;  // only for a record split by CONTINUE
  const ByteSpan tokens = in.view(cce, token_copy);
  const ByteSpan extra = in.view(in.remaining(), extra_copy);
  put_value(sheet, row, column, xf, {});
  bool live = false;
  try {
    live = set_formula(sheet, row, column, formulas_.decode(tokens, extra, links_, {sheet_index, row, column}));
  } catch (const FileError& error) {
    import::report_loss(report_, "formula", import::cell_place(sheet, row, column), error.problem());
  }
  // A formula in place is recomputed when the load ends; the cached result
  // stands for one that cannot be read, and for a shared formula until its
  // definition is met.
  if (!live) put_value(sheet, row, column, xf, cached_result(result));
  pending_text_.reset();
  if (!live && is_text_result(result)) pending_text_ = std::make_pair(row, column);
}

// The text result of the FORMULA record before it, for a cell that holds
// that result rather than a formula of its own yet.
void WorkbookReader::read_string(model::Worksheet& sheet, const Record& record) {
  if (!pending_text_) return;
  const auto [row, column] = *std::exchange(pending_text_, std::nullopt);
  RecordCursor in(record);
  if (!sheet.has_formula(row, column)) sheet.set_value(row, column, in.string16());
}

// ARRAY: the range (rwFirst, rwLast, colFirst, colLast), grbit, chn (not
// used), cce, the formula's tokens, then its array constants.
void WorkbookReader::read_array(const Record& record) {
  RecordCursor in(record);
  ArrayRecord array;
  array.range.first_row = in.u16();
  array.range.last_row = in.u16();
  array.range.first_column = in.u8();
  array.range.last_column = in.u8();
  in.skip(2 + 4);
  const std::size_t cce = in.u16();
  array.tokens = in.bytes(cce);
  array.extra = in.bytes(in.remaining());
  const std::pair anchor{array.range.first_row, array.range.first_column};
  arrays_[anchor] = std::move(array);
}

// Each array formula is entered over its range once the sheet's cells are
// read. Excel writes a FORMULA record pointing at the array for every cell
// of it; an array whose cells the file does not all hold is left as the
// cached values, so that a damaged range cannot make cells the file never had.
void WorkbookReader::apply_arrays(model::Worksheet& sheet, int sheet_index) {
  // Cells pointing at each array, and the arrays a cell outside points at.
  std::map<std::pair<int, int>, std::size_t> members;
  std::set<std::pair<int, int>> pointed_from_outside;
  for (const auto& [row, column, ref] : pending_shared_) {
    const auto array = arrays_.find({ref.row, ref.column});
    if (array == arrays_.end()) continue;
    if (array->second.range.contains(row, column)) ++members[array->first];
    else pointed_from_outside.insert(array->first);
  }
  for (const auto& [anchor, array] : arrays_) {
    const auto place = import::cell_place(sheet, anchor.first, anchor.second);
    const auto cells = static_cast<std::size_t>(array.range.row_count()) * static_cast<std::size_t>(array.range.column_count());
    if (members[anchor] != cells || pointed_from_outside.contains(anchor)) {
      import::report_loss(report_, "array formula", place, "its range does not match the cells that refer to it");
      continue;
    }
    try {
      const auto decoded = decode_formula(array.tokens, array.extra, links_, {sheet_index, anchor.first, anchor.second});
      const auto* formula = std::get_if<std::shared_ptr<const f::Formula>>(&decoded);
      if (formula == nullptr) fail("an array formula refers to another formula");
      import::enter_array_formula(sheet, array.range, *formula, report_);
    } catch (const FileError& error) {
      import::report_loss(report_, "array formula", place, error.problem());
    }
  }
}

// SUPBOOK: ctab, then cch, which 0x0401 gives for this workbook's own
// sheets and 0x3A01 for add-ins, each without a path after it.
void WorkbookReader::read_supbook(const Record& record) {
  RecordCursor in(record);
  in.skip(2);
  const bool bare = record.pieces.front().size() == 4;
  const std::uint16_t kind = in.u16();
  if (bare && kind == 0x3A01 && !addin_supbook_) addin_supbook_ = supbook_is_own_.size();
  supbook_is_own_.push_back(bare && kind == 0x0401);
}

// EXTERNNAME: options, two unused fields, then the name; only the add-in
// SUPBOOK's are kept, in order, as tNameX tokens number them.
void WorkbookReader::read_externname(const Record& record) {
  if (!addin_supbook_ || *addin_supbook_ + 1 != supbook_is_own_.size()) return;
  RecordCursor in(record);
  in.skip(2 + 2 + 2);
  addin_functions_.push_back(in.string8());
}

void WorkbookReader::read_row(const Record& record) {
  RecordCursor in(record);
  const int row = in.u16();
  in.skip(4);
  const std::uint16_t height = in.u16();
  in.skip(4);
  const std::uint16_t flags = in.u16();
  import::RowLine line;
  line.level = flags & 0x07;
  line.collapsed = flags & 0x0010;
  line.hidden = flags & 0x0020;
  if (flags & 0x0040) line.height = (height & 0x7FFF) / 20.0;
  rows_.set(row, line);
}

void WorkbookReader::read_colinfo(model::Worksheet& sheet, const Record& record) {
  RecordCursor in(record);
  import::ColumnLine columns;
  columns.first = in.u16();
  columns.last = in.u16();
  const double width = model::shown_column_width(in.u16() / 256.0);
  in.skip(2);
  const std::uint16_t flags = in.u16();
  if (flags & 0x0002) columns.width = width;
  columns.level = (flags >> 8) & 0x07;
  columns.hidden = flags & 0x0001;
  import::apply_columns(sheet, columns);
}

void WorkbookReader::read_window2(model::Worksheet&, const Record& record) {
  RecordCursor in(record);
  const std::uint16_t flags = in.u16();
  sheet_selected_ = flags & 0x0400;
}

void WorkbookReader::read_sheet_record(model::Worksheet& sheet, int sheet_index, const Record& record) {
  RecordCursor in(record);
  switch (record.type) {
    case rt::Number: case rt::Rk: case rt::LabelSst: case rt::Label: case rt::RString: case rt::BoolErr:
    case rt::Blank: {
      const int row = in.u16();
      const int column = in.u16();
      const std::uint16_t xf = in.u16();
      f::Value value;
      if (record.type == rt::Number) value = in.f64();
      else if (record.type == rt::Rk) value = rk_value(in.u32());
      else if (record.type == rt::Label || record.type == rt::RString) value = in.string16();
      else if (record.type == rt::LabelSst) {
        const std::size_t index = in.u32();
        if (index >= strings_.size()) fail("a cell refers to a shared string that does not exist");
        value = strings_[index];
      } else if (record.type == rt::BoolErr) {
        const std::uint8_t v = in.u8();
        if (in.u8() == 0) value = v != 0;
        else if (auto error = f::error_from_code(v)) value = *error;
      }
      return put_value(sheet, row, column, xf, std::move(value));
    }
    case rt::MulRk: case rt::MulBlank: {
      const int row = in.u16();
      int column = in.u16();
      const std::size_t item = record.type == rt::MulRk ? 6 : 2;
      while (in.remaining() >= item + 2) {
        const std::uint16_t xf = in.u16();
        f::Value value;
        if (record.type == rt::MulRk) value = rk_value(in.u32());
        put_value(sheet, row, column++, xf, std::move(value));
      }
      return;
    }
    case rt::Formula: return read_formula(sheet, sheet_index, record);
    case rt::String: return read_string(sheet, record);
    case rt::Array: return read_array(record);
    case rt::ShrFmla: {
      const int first_row = in.u16();
      in.skip(2);
      const int first_column = in.u8();
      in.skip(1);
      in.skip(2);
      const std::size_t cce = in.u16();
      Bytes tokens = in.bytes(cce);
      shared_[{first_row, first_column}] = {std::move(tokens), in.bytes(in.remaining())};
      return;
    }
    case rt::Row: return read_row(record);
    case rt::ColInfo: return read_colinfo(sheet, record);
    case rt::WsBool: {
      const std::uint16_t flags = in.u16();
      sheet.set_summary_row(flags & 0x0040 ? model::SummaryPosition::Below : model::SummaryPosition::Above);
      sheet.set_summary_column(flags & 0x0080 ? model::SummaryPosition::Below : model::SummaryPosition::Above);
      return;
    }
    case rt::MergeCells: {
      const std::size_t count = in.u16();
      for (std::size_t i = 0; i < count; ++i) {
        model::CellRange range;
        range.first_row = in.u16();
        range.last_row = in.u16();
        range.first_column = in.u16();
        range.last_column = in.u16();
        try {
          sheet.merge(range);
        } catch (const platform::com::Error& error) {
          import::report_loss(report_, "merged range", sheet.name(), error.description());
        }
      }
      return;
    }
    case rt::Window2: return read_window2(sheet, record);
    case rt::Scl: {
      const int num = in.u16();
      const int den = in.u16();
      if (den != 0) sheet_zoom_ = num * 100 / den;
      return;
    }
    case rt::Protect: sheet_protection_.contents = in.u16() != 0; return;
    case rt::ObjProtect: sheet_protection_.drawing_objects = in.u16() != 0; return;
    case rt::ScenProtect: sheet_protection_.scenarios = in.u16() != 0; return;
    case rt::Password: sheet_protection_.password_hash = in.u16(); return;
    default:
      if (!autofilter_.take(record)) drawing_.take(record);
      return;
  }
}

void WorkbookReader::read_sheet(std::size_t index) {
  model::Worksheet& sheet = book_->sheet(index);
  const int sheet_index = static_cast<int>(index);
  model::PageSetup setup = sheet.page_setup();
  rows_.clear();
  shared_.clear();
  formulas_.clear();
  pending_shared_.clear();
  arrays_.clear();
  pending_text_.reset();
  sheet_zoom_.reset();
  sheet_selected_ = false;
  sheet_protection_ = {};
  drawing_ = SheetDrawingReader{};
  autofilter_ = AutoFilterReader{};
  reader_.seek(sheets_[index].position);
  Record record;
  if (!reader_.next(record) || record.type != rt::Bof) fail("the sheet '" + sheet.name() + "' does not begin with a BOF record");
  int depth = 1;
  while (depth > 0) {
    if (!reader_.next(record)) fail("the sheet '" + sheet.name() + "' ends without an EOF record");
    if (record.type == rt::Bof) ++depth;
    else if (record.type == rt::Eof) --depth;
    else if (depth == 1 && !views_.take_sheet_record(index, record)) {
      if (!read_print_setting(record, setup)) read_sheet_record(sheet, sheet_index, record);
    }
  }
  for (const auto& [row, column, ref] : pending_shared_) {
    const auto it = shared_.find({ref.row, ref.column});
    if (it == shared_.end()) continue;
    try {
      set_formula(sheet, row, column,
                  formulas_.decode(it->second.first, it->second.second, links_, {sheet_index, row, column}));
    } catch (const FileError& error) {
      import::report_loss(report_, "formula", import::cell_place(sheet, row, column), error.problem());
    }
  }
  apply_arrays(sheet, sheet_index);
  views_.end_sheet();
  rows_.apply(sheet);
  const auto list = filter_lists_.find(sheet_index);
  autofilter_.apply(sheet, list == filter_lists_.end() ? std::nullopt : std::optional(list->second), report_);
  drawing_.apply(sheet);
  try {
    sheet.set_page_setup(setup);
  } catch (const platform::com::Error& error) {
    import::report_loss(report_, "page setup", sheet.name(), error.description());
  }
  if (sheet_selected_) {
    book_->activate_sheet(sheet.id());
    if (sheet_zoom_ && book_->window_count() > 0) book_->window(book_->active_window()).zoom = std::clamp(*sheet_zoom_, 10, 400);
  }
  // The hash stays only with a protection to unlock.
  if (sheet_protection_.is_protected()) sheet.restore_protection(sheet_protection_);
}

std::unique_ptr<model::Workbook> WorkbookReader::run() {
  read_globals();
  if (sheets_.empty()) fail("the workbook has no sheets");
  std::vector<std::string> names;
  std::vector<std::size_t> worksheets;
  for (std::size_t i = 0; i < sheets_.size(); ++i) {
    names.push_back(sheets_[i].name);
    book_->add_sheet(sheets_[i].name);
  }
  links_ = LinkTable(names);
  for (std::size_t i = 0; i < externsheet_.size(); ++i) {
    if (externsheet_addin_[i]) links_.add_addin_entry();
    else links_.add_entry(externsheet_[i]);
  }
  for (auto& function : addin_functions_) links_.add_addin_function(std::move(function));
  apply_formats();
  book_->begin_bulk_load();
  define_names();
  for (std::size_t i = 0; i < sheets_.size(); ++i)
    if (sheets_[i].kind == 0) read_sheet(i);
  book_->end_bulk_load();
  if (!windows_.empty() && book_->window_count() > 0) {
    model::Window& window = book_->window(0);
    window.visible = windows_.front().visible;
    window.window_state = windows_.front().window_state;
  }
  for (std::size_t i = 0; i < sheets_.size(); ++i)
    if (sheets_[i].state != 0) book_->set_sheet_visibility(book_->sheet(i).id(), sheet_visibility(sheets_[i].state));
  views_.apply(*book_);
  if (book_protection_.structure || book_protection_.windows) book_->restore_protection(book_protection_);
  return std::move(book_);
}

bool is_template_path(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".xlt";
}

}  // namespace

std::unique_ptr<model::Workbook> load_workbook(std::span<const std::uint8_t> bytes, const std::string& name,
                                               import::LoadReport* report) {
  try {
    CompoundFileReader container(bytes);
    const auto stream = container.read_stream("Workbook");
    if (!stream) {
      if (container.read_stream("Book")) fail("the workbook is in the Excel 5.0/95 format, which is not supported");
      // Excel 2007 and later keep a password-protected .xlsx encrypted
      // inside a compound file, in this stream.
      const auto names = container.stream_names();
      if (std::find(names.begin(), names.end(), "EncryptedPackage") != names.end())
        fail("the workbook is encrypted with a password");
      fail("the file holds no workbook stream");
    }
    auto book = WorkbookReader(*stream, name, report).run();
    book->properties() = read_document_properties(container);
    return book;
  } catch (const FileError& error) {
    throw error.for_file(name);
  } catch (const platform::com::Error& error) {
    // The model refused something the file holds (a sheet name twice, say).
    throw FileError(name, error.description());
  }
}

std::unique_ptr<model::Workbook> read_workbook_file(const std::string& path) {
  const Bytes bytes = import::read_workbook_bytes(path);
  auto book = load_workbook(bytes, import::file_name_of(path));
  book->set_path(path);
  book->set_template(is_template_path(path));
  book->set_saved(true);
  return book;
}

}  // namespace engine::xls
