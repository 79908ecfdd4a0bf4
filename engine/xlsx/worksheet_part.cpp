#include "engine/xlsx/worksheet_part.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <string_view>

#include "engine/formula/formula.hpp"
#include "engine/formula/reference.hpp"
#include "engine/formula/value.hpp"
#include "engine/import/file_error.hpp"
#include "engine/model/constants.hpp"
#include "engine/xlsx/formula_text.hpp"
#include "engine/xlsx/xml_names.hpp"
#include "platform/com/error.hpp"

namespace engine::xlsx {

namespace {

namespace f = engine::formula;
using package::children;
using package::first_child;
using package::local_name;

constexpr double kPointsPerInch = 72;

std::optional<model::CellRange> parse_range(std::string_view text) {
  const auto reference = f::parse_reference(text);
  if (!reference || !reference->sheet.empty()) return std::nullopt;
  return model::CellRange{reference->first.row, reference->first.column, reference->last.row,
                          reference->last.column};
}

// The first range of a space-separated sqref ("A1:B2 D4").
std::optional<model::CellRange> first_range(std::string_view sqref) {
  return parse_range(sqref.substr(0, sqref.find(' ')));
}

// Reads one worksheet part. Holds the state a sheet's elements share:
// the cell cursor (r attributes may be left out), the shared formulas met
// so far and those waiting for theirs.
class WorksheetReader {
 public:
  WorksheetReader(const package::XmlPart& part, model::Worksheet& sheet, const SheetInputs& inputs)
      : part_(part), sheet_(sheet), in_(inputs) {}
  SheetPartInfo run();

 private:
  struct PendingShared {
    int row, column;
    long long index;
    f::Value cached;
  };

  void read_sheet_properties(const xmlNode& properties);
  void read_columns(const xmlNode& columns);
  void read_sheet_data(const xmlNode& data);
  void read_row(const xmlNode& row, int index);
  void read_cell(const xmlNode& cell, int row, int column);
  f::Value cell_constant(const xmlNode& cell, std::string_view type);
  enum class FormulaState { Live, Waiting, Unusable };
  // Live: in the cell. Waiting: a shared formula whose definition comes
  // later, keeping `cached` meanwhile. Unusable: the cell keeps `cached`.
  FormulaState read_formula(const xmlNode& formula, int row, int column, f::Value& cached);
  bool set_formula(int row, int column, std::shared_ptr<const f::Formula> formula);
  static FormulaState live(bool in_cell) { return in_cell ? FormulaState::Live : FormulaState::Unusable; }
  void resolve_shared_formulas();
  void read_merge_cells(const xmlNode& merges);
  void read_protection(const xmlNode& protection);
  void read_sheet_views(const xmlNode& views);
  void read_custom_sheet_views(const xmlNode& views);
  void read_controls(const xmlNode& parent, int depth);

  const package::XmlPart& part_;
  model::Worksheet& sheet_;
  const SheetInputs& in_;
  SheetPartInfo info_;
  import::RowLines rows_;
  // Each shared formula is one tree for all its cells, anchored at its first.
  std::map<long long, std::shared_ptr<const f::Formula>> shared_;
  std::vector<PendingShared> pending_;
  std::vector<std::pair<model::CellRange, std::shared_ptr<const f::Formula>>> arrays_;
};

SheetPartInfo WorksheetReader::run() {
  const xmlNode& root = part_.root();
  for (const xmlNode& element : children(root, kAnyNs)) {
    const std::string_view name = local_name(element);
    if (name == "sheetPr") read_sheet_properties(element);
    else if (name == "sheetViews") read_sheet_views(element);
    else if (name == "cols") read_columns(element);
    else if (name == "sheetData") read_sheet_data(element);
    else if (name == "sheetProtection") read_protection(element);
    else if (name == "mergeCells") read_merge_cells(element);
    else if (name == "customSheetViews") read_custom_sheet_views(element);
    else if (name == "drawing") info_.drawing_id = relationship_id(element);
    else if (name == "legacyDrawing") info_.legacy_drawing_id = relationship_id(element);
    else if (name == "controls" || name == "AlternateContent") read_controls(element, 0);
  }
  resolve_shared_formulas();
  for (auto& [range, formula] : arrays_) import::enter_array_formula(sheet_, range, std::move(formula), in_.report);
  rows_.apply(sheet_);
  model::PageSetup setup = sheet_.page_setup();
  read_page_setup(root, setup);
  try {
    sheet_.set_page_setup(setup);
  } catch (const platform::com::Error& error) {
    import::report_loss(in_.report, "page setup", sheet_.name(), error.description());
  }
  return std::move(info_);
}

void WorksheetReader::read_sheet_properties(const xmlNode& properties) {
  const xmlNode* outline = first_child(properties, kAnyNs, "outlinePr");
  if (!outline) return;
  sheet_.set_summary_row(flag(*outline, "summaryBelow", true) ? model::SummaryPosition::Below
                                                               : model::SummaryPosition::Above);
  sheet_.set_summary_column(flag(*outline, "summaryRight", true) ? model::SummaryPosition::Below
                                                                  : model::SummaryPosition::Above);
}

// <col min="2" max="4" width="12.7" customWidth="1" hidden="1" outlineLevel="1"/>,
// columns counted from 1.
void WorksheetReader::read_columns(const xmlNode& columns) {
  for (const xmlNode& column : children(columns, kAnyNs, "col")) {
    const auto first = integer(column, "min");
    const auto last = integer(column, "max");
    if (!first || !last || *first < 1 || *last < *first) part_.fail_at(column, "a column range is not a range");
    import::ColumnLine line;
    line.first = static_cast<int>(std::min<long long>(*first - 1, model::kMaxColumns));
    line.last = static_cast<int>(std::min<long long>(*last - 1, model::kMaxColumns - 1));
    if (flag(column, "customWidth", false))
      if (auto width = number(column, "width"); width && *width >= 0 && *width <= 255) line.width = *width;
    line.level = static_cast<int>(integer(column, "outlineLevel").value_or(0));
    line.hidden = flag(column, "hidden", false);
    import::apply_columns(sheet_, line);
  }
}

void WorksheetReader::read_sheet_data(const xmlNode& data) {
  int next_row = 0;
  for (const xmlNode& row : children(data, kAnyNs, "row")) {
    int index = next_row;
    if (auto r = integer(row, "r")) {
      if (*r < 1 || *r > model::kMaxRows) part_.fail_at(row, "the row lies outside Excel 2003's 65,536 rows");
      index = static_cast<int>(*r - 1);
    }
    if (index >= model::kMaxRows) part_.fail_at(row, "the row lies outside Excel 2003's 65,536 rows");
    read_row(row, index);
    next_row = index + 1;
  }
}

// <row r="5" ht="15" customHeight="1" hidden="1" outlineLevel="1" collapsed="1">.
void WorksheetReader::read_row(const xmlNode& row, int index) {
  import::RowLine line;
  line.level = static_cast<int>(integer(row, "outlineLevel").value_or(0));
  line.hidden = flag(row, "hidden", false);
  line.collapsed = flag(row, "collapsed", false);
  if (flag(row, "customHeight", false))
    if (auto height = number(row, "ht"); height && *height >= 0 && *height <= 409.5) line.height = *height;
  if (line.level != 0 || line.hidden || line.collapsed || line.height) rows_.set(index, line);
  int next_column = 0;
  for (const xmlNode& cell : children(row, kAnyNs, "c")) {
    int column = next_column;
    if (auto r = attr(cell, "r")) {
      const auto position = parse_cell(*r);
      if (!position) part_.fail_at(cell, "the cell reference '" + *r + "' lies outside Excel 2003's grid");
      if (position->row != index) part_.fail_at(cell, "the cell '" + *r + "' is not in its row");
      column = position->column;
    }
    if (column >= model::kMaxColumns) part_.fail_at(cell, "the cell lies outside Excel 2003's 256 columns");
    read_cell(cell, index, column);
    next_column = column + 1;
  }
}

void WorksheetReader::read_cell(const xmlNode& cell, int row, int column) {
  const std::size_t style = static_cast<std::size_t>(std::max<long long>(integer(cell, "s").value_or(0), 0));
  const model::FormatIndex format =
      in_.formats.intern(style, [&] { return in_.styles.cell_format(style); });
  const std::string type = attr(cell, "t").value_or("n");
  const xmlNode* formula = first_child(cell, kAnyNs, "f");
  f::Value cached = cell_constant(cell, type);
  if (!formula) return import::place_cell(sheet_, row, column, format, std::move(cached));
  import::place_cell(sheet_, row, column, format, {});
  if (read_formula(*formula, row, column, cached) == FormulaState::Unusable)
    import::place_cell(sheet_, row, column, format, std::move(cached));
}

// The value a cell holds, or the result its formula had when saved.
f::Value WorksheetReader::cell_constant(const xmlNode& cell, std::string_view type) {
  if (type == "inlineStr") {
    const xmlNode* text = first_child(cell, kAnyNs, "is");
    return text ? f::Value(rich_text(*text)) : f::Value();
  }
  const xmlNode* value = first_child(cell, kAnyNs, "v");
  if (!value) return {};
  std::string text = package::text_of(*value);
  if (type == "s") {
    char* end = nullptr;
    const unsigned long index = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || index >= in_.strings.size())
      part_.fail_at(cell, "the cell refers to shared string '" + text + "', which the workbook does not have");
    return in_.strings[index];
  }
  if (type == "str") return text;
  if (type == "b") return text == "1" || text == "true";
  if (type == "e") {
    if (auto error = f::error_from_text(text)) return *error;
    part_.fail_at(cell, "the cell holds '" + text + "', which is not an error value");
  }
  if (type == "d") {
    if (auto serial = f::date_time_from_text(text)) return *serial;
    return text;
  }
  if (type != "n") part_.fail_at(cell, "the cell type '" + std::string(type) + "' is not one SpreadsheetML has");
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(number))
    part_.fail_at(cell, "the number '" + text + "' is not a number");
  return number;
}

// <f>SUM(B4:B6)</f>; a shared formula's first cell <f t="shared" ref="E10:E12" si="0">SUM(B10:D10)</f>
// and the others <f t="shared" si="0"/>; <f t="array" ref="A1:A3">...</f>.
WorksheetReader::FormulaState WorksheetReader::read_formula(const xmlNode& element, int row, int column,
                                                            f::Value& cached) {
  const std::string type = attr(element, "t").value_or("normal");
  const std::string text = package::text_of(element);
  const auto shared_index = integer(element, "si");
  if (type == "dataTable") {
    import::report_loss(in_.report, "formula", import::cell_place(sheet_, row, column), "a data table keeps its saved results");
    return FormulaState::Unusable;
  }
  if (type == "shared" && shared_index && text.empty()) {
    const auto master = shared_.find(*shared_index);
    if (master == shared_.end()) {
      pending_.push_back({row, column, *shared_index, std::move(cached)});
      return FormulaState::Waiting;
    }
    return live(set_formula(row, column, master->second));
  }
  const auto parsed = parse_formula_text(text);
  if (!parsed.formula) {
    import::report_loss(in_.report, "formula", import::cell_place(sheet_, row, column), parsed.problem);
    return FormulaState::Unusable;
  }
  // An array formula's other cells come later with their cached values:
  // the array is entered once they are all in.
  if (type == "array") {
    const auto range = parse_range(attr(element, "ref").value_or(""));
    if (range && range->first_row == row && range->first_column == column) {
      arrays_.push_back({*range, parsed.formula});
      return FormulaState::Unusable;
    }
    import::report_loss(in_.report, "array formula", import::cell_place(sheet_, row, column),
                        "its range does not start at its cell");
    return FormulaState::Unusable;
  }
  if (type == "shared" && shared_index) {
    auto& shared = shared_[*shared_index];
    shared = std::make_shared<const f::Formula>(parsed.formula->root(), f::Anchor{row, column});
    return live(set_formula(row, column, shared));
  }
  return live(set_formula(row, column, parsed.formula));
}

bool WorksheetReader::set_formula(int row, int column, std::shared_ptr<const f::Formula> formula) {
  try {
    sheet_.set_formula(row, column, std::move(formula));
    return true;
  } catch (const platform::com::Error& error) {
    import::report_loss(in_.report, "formula", import::cell_place(sheet_, row, column), error.description());
    return false;
  }
}

// Cells of a shared formula met before the cell that defines it.
void WorksheetReader::resolve_shared_formulas() {
  for (auto& pending : pending_) {
    const auto master = shared_.find(pending.index);
    const bool live = master != shared_.end() && set_formula(pending.row, pending.column, master->second);
    if (!live) {
      if (master == shared_.end())
        import::report_loss(in_.report, "formula", import::cell_place(sheet_, pending.row, pending.column),
                            "its shared formula is never defined");
      import::place_cell(sheet_, pending.row, pending.column, sheet_.format_index(pending.row, pending.column),
                         std::move(pending.cached));
    }
  }
  pending_.clear();
}

void WorksheetReader::read_merge_cells(const xmlNode& merges) {
  for (const xmlNode& merge : children(merges, kAnyNs, "mergeCell")) {
    const std::string ref = attr(merge, "ref").value_or("");
    const auto range = parse_range(ref);
    if (!range) part_.fail_at(merge, "the merged range '" + ref + "' is not a range");
    try {
      sheet_.merge(*range);
    } catch (const platform::com::Error& error) {
      import::report_loss(in_.report, "merged range", sheet_.name() + "!" + ref, error.description());
    }
  }
}

// <sheetProtection sheet="1" objects="1" scenarios="1" password="CC3D"/>: each
// flag set means that part is protected. A password kept only as a modern
// salted hash cannot become Excel 2003's 16-bit one; the sheet stays
// protected without a password.
void WorksheetReader::read_protection(const xmlNode& protection) {
  model::SheetProtection& p = info_.protection;
  p.contents = flag(protection, "sheet", false);
  p.drawing_objects = p.contents && flag(protection, "objects", false);
  p.scenarios = p.contents && flag(protection, "scenarios", false);
  if (auto password = attr(protection, "password")) {
    unsigned value = 0;
    if (std::from_chars(password->data(), password->data() + password->size(), value, 16).ec == std::errc() &&
        value <= 0xFFFF)
      p.password_hash = static_cast<std::uint16_t>(value);
  } else if (attr(protection, "hashValue")) {
    import::report_loss(in_.report, "sheet password", sheet_.name(),
                        "a password kept as a salted hash cannot be checked by Excel 2003");
  }
}

void WorksheetReader::read_sheet_views(const xmlNode& views) {
  const xmlNode* view = first_child(views, kAnyNs, "sheetView");
  if (!view) return;
  info_.selected = flag(*view, "tabSelected", false);
  if (auto zoom = integer(*view, "zoomScale"); zoom && *zoom > 0)
    info_.zoom = static_cast<int>(std::clamp<long long>(*zoom, 10, 400));
  const xmlNode* selection = first_child(*view, kAnyNs, "selection");
  if (!selection) return;
  const auto active = parse_cell(attr(*selection, "activeCell").value_or(""));
  const auto range = first_range(attr(*selection, "sqref").value_or(""));
  if (active && range && range->contains(active->row, active->column))
    sheet_.select(*range, active->row, active->column);
}

void WorksheetReader::read_custom_sheet_views(const xmlNode& views) {
  for (const xmlNode& view : children(views, kAnyNs, "customSheetView")) {
    CustomSheetView custom;
    custom.guid = attr(view, "guid").value_or("");
    if (auto zoom = integer(view, "scale"); zoom && *zoom > 0)
      custom.zoom = static_cast<int>(std::clamp<long long>(*zoom, 10, 400));
    if (const xmlNode* selection = first_child(view, kAnyNs, "selection")) {
      const auto active = parse_cell(attr(*selection, "activeCell").value_or(""));
      const auto range = first_range(attr(*selection, "sqref").value_or(""));
      if (active && range && range->contains(active->row, active->column)) {
        custom.selection = *range;
        custom.active_cell = {active->row, active->column};
      }
    }
    read_page_setup(view, custom.page_setup);
    info_.custom_views.push_back(std::move(custom));
  }
}

// <controls> lies inside mc:AlternateContent (Choice, then Fallback) in the
// files Excel 2010 and later write, directly in the worksheet in others.
// The first description of a shape wins.
void WorksheetReader::read_controls(const xmlNode& parent, int depth) {
  if (depth > 8) return;
  for (const xmlNode& element : children(parent, kAnyNs)) {
    const std::string_view name = local_name(element);
    if (name == "control") {
      SheetControl control;
      control.shape_id = integer(element, "shapeId").value_or(-1);
      if (std::any_of(info_.controls.begin(), info_.controls.end(),
                      [&](const SheetControl& known) { return known.shape_id == control.shape_id; }))
        continue;
      control.name = attr(element, "name").value_or("");
      control.properties_id = relationship_id(element).value_or("");
      if (const xmlNode* properties = first_child(element, kAnyNs, "controlPr"))
        if (attr(*properties, "locked")) control.locked = flag(*properties, "locked", true);
      info_.controls.push_back(std::move(control));
    } else if (name == "controls" || name == "AlternateContent" || name == "Choice" || name == "Fallback") {
      read_controls(element, depth + 1);
    }
  }
}

// "&LLeft&CCentre&RRight": the centre section, the only one the model keeps.
std::string centre_section(std::string_view text) {
  const std::size_t start = text.find("&C");
  if (start == std::string_view::npos) return text.find('&') == std::string_view::npos ? std::string(text) : "";
  std::string_view rest = text.substr(start + 2);
  std::size_t end = rest.size();
  for (const char* code : {"&L", "&R"}) end = std::min(end, rest.find(code));
  return std::string(rest.substr(0, end));
}

}  // namespace

void read_page_setup(const xmlNode& parent, model::PageSetup& setup) {
  if (const xmlNode* page = first_child(parent, kAnyNs, "pageSetup")) {
    const std::string orientation = attr(*page, "orientation").value_or("default");
    if (orientation == "landscape") setup.orientation = model::xl::Landscape;
    else if (orientation == "portrait") setup.orientation = model::xl::Portrait;
    if (auto paper = integer(*page, "paperSize"); paper && *paper > 0 && *paper < 256)
      setup.paper_size = static_cast<int>(*paper);
    if (auto scale = integer(*page, "scale")) setup.zoom = static_cast<int>(std::clamp<long long>(*scale, 10, 400));
  }
  if (const xmlNode* options = first_child(parent, kAnyNs, "printOptions")) {
    setup.center_horizontally = flag(*options, "horizontalCentered", false);
    setup.center_vertically = flag(*options, "verticalCentered", false);
    setup.print_gridlines = flag(*options, "gridLines", false);
  }
  if (const xmlNode* margins = first_child(parent, kAnyNs, "pageMargins")) {
    auto margin = [&](const char* name, double& points) {
      if (auto inches = number(*margins, name); inches && *inches >= 0 && *inches < 100)
        points = *inches * kPointsPerInch;
    };
    margin("left", setup.left_margin);
    margin("right", setup.right_margin);
    margin("top", setup.top_margin);
    margin("bottom", setup.bottom_margin);
    margin("header", setup.header_margin);
    margin("footer", setup.footer_margin);
  }
  if (const xmlNode* header_footer = first_child(parent, kAnyNs, "headerFooter")) {
    if (const xmlNode* header = first_child(*header_footer, kAnyNs, "oddHeader"))
      setup.center_header = centre_section(package::text_of(*header));
    if (const xmlNode* footer = first_child(*header_footer, kAnyNs, "oddFooter"))
      setup.center_footer = centre_section(package::text_of(*footer));
  }
}

SheetPartInfo read_worksheet_part(const package::XmlPart& part, model::Worksheet& sheet, const SheetInputs& inputs) {
  return WorksheetReader(part, sheet, inputs).run();
}

}  // namespace engine::xlsx
