#include "engine/ods/table_reader.hpp"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "engine/formula/dates.hpp"
#include "engine/formula/formula.hpp"
#include "engine/formula/reference.hpp"
#include "engine/import/drawn_shapes.hpp"
#include "engine/import/file_error.hpp"
#include "engine/import/workbook_loader.hpp"
#include "engine/ods/odf_namespaces.hpp"
#include "engine/ods/open_formula.hpp"
#include "engine/ods/text_content.hpp"
#include "platform/com/error.hpp"

namespace engine::ods {

namespace {

namespace pkg = engine::package;
namespace f = engine::formula;
namespace xl = model::xl;

// Rows whose height is within this of the sheet's standard one keep the
// standard height: LibreOffice writes every row's height, rounded.
constexpr double kHeightTolerance = 0.1;
// Columns within this many characters of the standard width keep it.
constexpr double kWidthTolerance = 0.5;

std::string attr(const xmlNode& element, const char* ns, const char* name) {
  return pkg::attribute(element, ns, name).value_or("");
}

long long repeat_count(const xmlNode& element, const char* name) {
  const auto text = pkg::attribute(element, ns::table, name);
  if (!text) return 1;
  char* end = nullptr;
  const long long count = std::strtoll(text->c_str(), &end, 10);
  if (end == text->c_str() || *end != '\0' || count < 1) return 1;  // as LibreOffice reads a bad count
  return std::min(count, kMaxRepeat);
}

bool is_hidden(const xmlNode& line) {
  const std::string visibility = attr(line, ns::table, "visibility");
  return visibility == "collapse" || visibility == "filter";
}

std::string cell_name(long long row, long long column) {
  return f::column_name(static_cast<int>(column)) + std::to_string(row + 1);
}

// A cell that holds anything beyond a format: a value, a formula, a note or a drawing.
bool has_content(const xmlNode& cell) {
  return pkg::attribute(cell, ns::office, "value-type") || pkg::attribute(cell, ns::table, "formula") ||
         cell.children != nullptr;
}

std::optional<double> number(std::string_view text) {
  const std::string digits(text);
  char* end = nullptr;
  const double value = std::strtod(digits.c_str(), &end);
  if (digits.empty() || end != digits.c_str() + digits.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

int check_box_state(const xmlNode& control) {
  auto state = pkg::attribute(control, ns::form, "current-state");
  if (!state) state = pkg::attribute(control, ns::form, "state");
  if (state == "checked") return xl::On;
  if (state == "unknown") return xl::Mixed;
  return xl::Off;
}

// The drawing elements LibreOffice anchors to a cell, all shown as shapes.
bool is_drawn_shape(const xmlNode& element) {
  if (!pkg::is_element(element, ns::draw, pkg::local_name(element))) return false;
  constexpr std::string_view kShapes[] = {"frame", "custom-shape", "rect", "ellipse", "circle", "line",
                                          "connector", "polygon", "polyline", "path", "g", "caption", "measure"};
  return std::find(std::begin(kShapes), std::end(kShapes), pkg::local_name(element)) != std::end(kShapes);
}

std::optional<model::ShapeExtent> shape_extent(const xmlNode& shape) {
  const auto width = length_in_points(attr(shape, ns::svg, "width"));
  const auto height = length_in_points(attr(shape, ns::svg, "height"));
  if (!width || !height || *width < 0 || *height < 0) return std::nullopt;
  return model::ShapeExtent{0, 0, *width, *height};
}

struct RowGroup {
  int first;
  int last;
};

class TableReader {
 public:
  TableReader(LoadContext& context, const xmlNode& table, model::Worksheet& sheet, std::size_t sheet_index)
      : context_(context), table_(table), sheet_(sheet), sheet_index_(sheet_index),
        column_styles_(model::kMaxColumns) {}

  void run() {
    for (const xmlNode& forms : pkg::children(table_, ns::office, "forms")) read_forms(forms);
    read_columns(table_, 0);
    read_rows(table_, 0);
    for (auto& [range, formula] : arrays_) import::enter_array_formula(sheet_, range, std::move(formula), context_.report);
    for (const xmlNode& shapes : pkg::children(table_, ns::table, "shapes")) read_drawings(shapes, 0, 0);
    for (const xmlNode& names : pkg::children(table_, ns::table, "named-expressions")) read_local_names(names);
    apply_lines();
    read_protection();
  }

 private:
  std::string where(long long row, long long column) const {
    return "content.xml, sheet '" + sheet_.name() + "', cell " + cell_name(row, column);
  }
  std::string where() const { return "content.xml, sheet '" + sheet_.name() + "'"; }

  // office:forms (content.xml): the controls that draw:control elements show.
  void read_forms(const xmlNode& parent) {
    for (const xmlNode& child : pkg::children(parent, ns::form)) {
      if (pkg::local_name(child) == "form") {
        read_forms(child);
        continue;
      }
      // draw:control names its control by form:id (xml:id in newer files, which LibreOffice writes alike).
      if (auto id = pkg::attribute(child, ns::form, "id")) controls_[*id] = &child;
      else if (auto xml_id = pkg::attribute(child, ns::xml, "id")) controls_[*xml_id] = &child;
    }
  }

  // table:table-column, inside table:table-columns, table:table-header-columns
  // and table:table-column-group (one outline level per group).
  void read_columns(const xmlNode& parent, int level) {
    for (const xmlNode& child : pkg::children(parent, ns::table)) {
      const std::string_view name = pkg::local_name(child);
      if (name == "table-column") read_column(child, level);
      else if (name == "table-columns" || name == "table-header-columns") read_columns(child, level);
      else if (name == "table-column-group") read_columns(child, level + 1);
    }
  }

  void read_column(const xmlNode& column, int level) {
    const long long first = next_column_;
    next_column_ += repeat_count(column, "number-columns-repeated");
    if (first >= model::kMaxColumns) return;
    const int last = static_cast<int>(std::min<long long>(next_column_ - 1, model::kMaxColumns - 1));
    const std::string style = attr(column, ns::table, "default-cell-style-name");
    std::fill(column_styles_.begin() + first, column_styles_.begin() + last + 1, style);
    import::ColumnLine line{static_cast<int>(first), last, std::nullopt, level, is_hidden(column)};
    if (auto width = context_.styles.column_width(attr(column, ns::table, "style-name"));
        width && std::abs(*width - sheet_.standard_width()) > kWidthTolerance)
      line.width = width;
    try {
      import::apply_columns(sheet_, line);
    } catch (const platform::com::Error& error) {
      context_.note("a column group", where(), error.description());
    }
    const model::FormatIndex format = context_.format(style);
    if (format == model::kDefaultFormat) return;
    const model::CellFormat& wanted = context_.book.formats().at(format);
    sheet_.change_format(model::CellRange::columns(static_cast<int>(first), last),
                         [&](model::CellFormat& target) { target = wanted; });
  }

  // table:table-row, inside table:table-rows, table:table-header-rows and
  // table:table-row-group (one outline level per group; table:display
  // "false" for a collapsed one).
  void read_rows(const xmlNode& parent, int level) {
    for (const xmlNode& child : pkg::children(parent, ns::table)) {
      const std::string_view name = pkg::local_name(child);
      if (name == "table-row") read_row(child, level);
      else if (name == "table-rows" || name == "table-header-rows") read_rows(child, level);
      else if (name == "table-row-group") read_row_group(child, level);
    }
  }

  void read_row_group(const xmlNode& group, int level) {
    const long long first = next_row_;
    read_rows(group, level + 1);
    const long long last = std::min<long long>(next_row_ - 1, model::kMaxRows - 1);
    if (attr(group, ns::table, "display") == "false" && first <= last)
      collapsed_groups_.push_back({static_cast<int>(first), static_cast<int>(last)});
  }

  void read_row(const xmlNode& row, int level) {
    const long long first = next_row_;
    next_row_ += repeat_count(row, "number-rows-repeated");
    if (first >= model::kMaxRows) {
      for (const xmlNode& cell : pkg::children(row, ns::table))
        if (has_content(cell)) return context_.note("rows past row 65536", where(), "Excel 2003's grid ends there");
      return;
    }
    const int last = static_cast<int>(std::min<long long>(next_row_ - 1, model::kMaxRows - 1));
    import::RowLine line{level, is_hidden(row), false, context_.styles.row_height(attr(row, ns::table, "style-name"))};
    if (line.height && std::abs(*line.height - sheet_.standard_height()) <= kHeightTolerance) line.height.reset();
    if (line.level > 0 || line.hidden || line.height)
      for (int r = static_cast<int>(first); r <= last; ++r) lines_[r] = line;
    next_column_ = 0;
    for (const xmlNode& cell : pkg::children(row, ns::table)) {
      const std::string_view name = pkg::local_name(cell);
      if (name == "table-cell" || name == "covered-table-cell") read_cell(cell, static_cast<int>(first), last);
    }
  }

  // table:table-cell or table:covered-table-cell, repeated over
  // table:number-columns-repeated columns of the rows first..last.
  void read_cell(const xmlNode& cell, int first_row, int last_row) {
    assert(0 <= first_row && first_row <= last_row && last_row < model::kMaxRows);
    const long long first = next_column_;
    next_column_ += repeat_count(cell, "number-columns-repeated");
    if (first >= model::kMaxColumns) {
      if (has_content(cell)) context_.note("cells past column IV", where(), "Excel 2003's grid ends there");
      return;
    }
    const int first_column = static_cast<int>(first);
    const int last_column = static_cast<int>(std::min<long long>(next_column_ - 1, model::kMaxColumns - 1));
    const auto style = pkg::attribute(cell, ns::table, "style-name");
    f::Value value = read_value(cell, first_row, first_column);
    std::shared_ptr<const f::Formula> formula = read_formula(cell, first_row, first_column);
    // The other cells of an array come later with their cached values: the
    // array is entered once they are all in, and this cell keeps its value.
    if (formula && first_row == last_row && first_column == last_column) {
      if (const auto array = matrix_range(cell, first_row, first_column)) {
        arrays_.emplace_back(*array, std::move(formula));
        formula = nullptr;
      }
    }
    const model::FormatIndex format = context_.format(style.value_or(""));
    if (blank_across_the_row(value, formula, first_column, format)) {
      // LibreOffice writes a formatted row as one blank cell repeated across
      // its grid: the model keeps it as the row's format, as Excel does.
      const model::CellFormat& wanted = context_.book.formats().at(format);
      sheet_.change_format(model::CellRange::rows(first_row, last_row), [&](model::CellFormat& target) { target = wanted; });
    } else {
      place_block(cell, value, formula, style, format, first_row, last_row, first_column, last_column);
    }
    read_span(cell, first_row, first_column);
    read_drawings(cell, first_row, first_column);
  }

  bool blank_across_the_row(const f::Value& value, const std::shared_ptr<const f::Formula>& formula, int first_column,
                            model::FormatIndex format) const {
    return value.is_empty() && !formula && first_column == 0 && next_column_ >= model::kMaxColumns &&
           format != model::kDefaultFormat;
  }

  void place_block(const xmlNode& cell, const f::Value& value, const std::shared_ptr<const f::Formula>& formula,
                   const std::optional<std::string>& style, model::FormatIndex format, int first_row, int last_row,
                   int first_column, int last_column) {
    // A blank cell needs a record only where its format is not the column's.
    std::vector<int> columns;
    for (int column = first_column; column <= last_column; ++column) {
      const bool blank = value.is_empty() && !formula;
      if (!blank || (style && format != model::kDefaultFormat && *style != column_styles_[column])) columns.push_back(column);
    }
    context_.count_cells(static_cast<std::size_t>(last_row - first_row + 1) * columns.size(), cell);
    for (int row = first_row; row <= last_row; ++row)
      for (int column : columns) {
        import::place_cell(sheet_, row, column, format, value);
        if (formula) sheet_.set_formula(row, column, formula);
      }
  }

  f::Value read_value(const xmlNode& cell, int row, int column) const {
    try {
      return cell_value(cell);
    } catch (const std::invalid_argument& error) {
      context_.note("a cell's value", where(row, column), error.what());
      return {};
    }
  }

  // table:formula, in OpenFormula; a formula this application cannot read
  // leaves the cell its last computed value, which the file keeps.
  std::shared_ptr<const f::Formula> read_formula(const xmlNode& cell, int row, int column) const {
    const auto text = pkg::attribute(cell, ns::table, "formula");
    if (!text) return nullptr;
    try {
      return f::parse(excel_formula(*text));
    } catch (const OpenFormulaError& error) {
      context_.note("a formula", where(row, column), error.what());
    } catch (const f::ParseError& error) {
      context_.note("a formula", where(row, column), std::string("Excel's notation cannot hold it: ") + error.what());
    }
    return nullptr;
  }

  // table:number-matrix-columns-spanned and table:number-matrix-rows-spanned:
  // the cell's formula is an array formula over that many cells.
  std::optional<model::CellRange> matrix_range(const xmlNode& cell, int row, int column) const {
    if (!pkg::attribute(cell, ns::table, "number-matrix-columns-spanned") &&
        !pkg::attribute(cell, ns::table, "number-matrix-rows-spanned"))
      return std::nullopt;
    const long long columns = repeat_count(cell, "number-matrix-columns-spanned");
    const long long rows = repeat_count(cell, "number-matrix-rows-spanned");
    return model::CellRange{row, column, static_cast<int>(std::min<long long>(row + rows - 1, model::kMaxRows - 1)),
                            static_cast<int>(std::min<long long>(column + columns - 1, model::kMaxColumns - 1))};
  }

  // table:number-columns-spanned and table:number-rows-spanned: a merged range.
  void read_span(const xmlNode& cell, int row, int column) {
    const long long columns = repeat_count(cell, "number-columns-spanned");
    const long long rows = repeat_count(cell, "number-rows-spanned");
    if (columns == 1 && rows == 1) return;
    if (++merges_ > kMaxMergesPerSheet) return context_.note("a merged range", where(row, column), "the sheet has too many");
    const model::CellRange range{row, column, static_cast<int>(std::min<long long>(row + rows - 1, model::kMaxRows - 1)),
                                 static_cast<int>(std::min<long long>(column + columns - 1, model::kMaxColumns - 1))};
    try {
      sheet_.merge(range);
    } catch (const platform::com::Error& error) {
      context_.note("a merged range", where(row, column), error.description());
    }
  }

  // What is drawn over a cell (or over the sheet, for table:shapes): its
  // note, shapes and form controls, in document order as Excel counts them.
  void read_drawings(const xmlNode& parent, int row, int column) {
    for (const xmlNode* node = parent.children; node; node = node->next) {
      if (node->type != XML_ELEMENT_NODE) continue;
      if (pkg::is_element(*node, ns::office, "annotation")) read_annotation(*node, row, column);
      else if (pkg::is_element(*node, ns::draw, "control")) read_control(*node, row, column);
      else if (is_drawn_shape(*node)) read_shape(*node, row, column);
    }
  }

  // office:annotation: the cell's note, its author and whether it shows.
  void read_annotation(const xmlNode& annotation, int row, int column) {
    assert(row < model::kMaxRows && column < model::kMaxColumns);
    bool truncated = false;
    std::string text = paragraphs_text(annotation, &truncated);
    if (truncated) context_.note("the end of a long note", where(row, column), "a note holds at most 32767 characters");
    const xmlNode* creator = pkg::first_child(annotation, ns::dc, "creator");
    import::add_note(sheet_, row, column, std::move(text), creator ? pkg::text_of(*creator) : std::string(),
                     attr(annotation, ns::office, "display") == "true");
  }

  // draw:frame (a text box or a picture), draw:custom-shape and the other
  // drawn shapes: shown as text boxes, the kind of drawn shape the model has.
  void read_shape(const xmlNode& shape, int row, int column) {
    const xmlNode* text_box = pkg::first_child(shape, ns::draw, "text-box");
    if (pkg::local_name(shape) == "frame" && !text_box)
      context_.note("a picture or an object", where(row, column), "it is kept as an empty text box");
    import::DrawnShape drawn;
    drawn.kind = model::ShapeKind::TextBox;
    drawn.row = row;
    drawn.column = column;
    drawn.name = attr(shape, ns::draw, "name");
    drawn.text = paragraphs_text(text_box ? *text_box : shape);
    drawn.extent = shape_extent(shape);
    import::add_drawn_shape(sheet_, std::move(drawn), context_.report);
  }

  // draw:control: the form control of office:forms it names; check boxes
  // keep their caption and state, other controls become text boxes.
  void read_control(const xmlNode& control, int row, int column) {
    const auto found = controls_.find(attr(control, ns::draw, "control"));
    if (found == controls_.end()) return context_.note("a form control", where(row, column), "its form element is missing");
    const xmlNode& form_control = *found->second;
    import::DrawnShape drawn;
    drawn.kind = model::ShapeKind::CheckBox;
    drawn.row = row;
    drawn.column = column;
    drawn.name = attr(control, ns::draw, "name");
    if (drawn.name.empty()) drawn.name = attr(form_control, ns::form, "name");
    drawn.text = attr(form_control, ns::form, "label");
    if (pkg::local_name(form_control) == "checkbox") {
      drawn.value = check_box_state(form_control);
    } else {
      context_.note("a form control other than a check box", where(row, column), "it is kept as a text box");
      drawn.kind = model::ShapeKind::TextBox;
    }
    drawn.extent = shape_extent(control);
    import::add_drawn_shape(sheet_, std::move(drawn), context_.report);
  }

  // table:named-expressions inside the table: names local to the sheet.
  void read_local_names(const xmlNode& names) { read_named_expressions(context_, names, sheet_index_); }

  // The rows' outline, collapsed groups and hidden state, in the model's order.
  void apply_lines() {
    for (const RowGroup& group : collapsed_groups_) {
      // Excel marks the summary row below a collapsed group.
      if (group.last + 1 < model::kMaxRows) lines_[group.last + 1].collapsed = true;
    }
    import::RowLines lines;
    for (const auto& [row, line] : lines_) lines.set(row, line);
    lines.apply(sheet_);
  }

  // table:protected: contents, drawing objects and scenarios, as Excel's
  // Protect gives them. The password's digest cannot become Excel's hash.
  void read_protection() {
    if (attr(table_, ns::table, "protected") != "true") return;
    if (pkg::attribute(table_, ns::table, "protection-key"))
      context_.note("a sheet's password", where(), "its digest is not Excel's; the sheet stays protected without one");
    model::SheetProtection protection;
    protection.contents = protection.drawing_objects = protection.scenarios = true;
    sheet_.restore_protection(protection);
  }

  LoadContext& context_;
  const xmlNode& table_;
  model::Worksheet& sheet_;
  std::size_t sheet_index_;
  std::map<std::string, const xmlNode*> controls_;
  std::vector<std::string> column_styles_;
  long long next_row_ = 0;
  long long next_column_ = 0;
  std::map<int, import::RowLine> lines_;
  std::vector<RowGroup> collapsed_groups_;
  std::size_t merges_ = 0;
  std::vector<std::pair<model::CellRange, std::shared_ptr<const f::Formula>>> arrays_;
};

}  // namespace

model::FormatIndex LoadContext::format(std::string_view name) {
  if (name.empty()) return model::kDefaultFormat;
  auto key = style_keys_.find(name);
  if (key == style_keys_.end()) key = style_keys_.emplace(std::string(name), style_keys_.size()).first;
  return interner_.intern(key->second, [&] { return styles.cell_format(name).value_or(model::CellFormat{}); });
}

void LoadContext::count_cells(std::size_t cells, const xmlNode& where) {
  filled_cells_ += cells;
  if (filled_cells_ > kMaxFilledCells)
    content.fail_at(where, "the sheets fill more than " + std::to_string(kMaxFilledCells) + " cells");
}

std::optional<double> date_serial(std::string_view date) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  double second = 0;
  const std::string text(date);
  const int fields = std::sscanf(text.c_str(), "%5d-%2d-%2dT%2d:%2d:%lf", &year, &month, &day, &hour, &minute, &second);
  if (fields != 3 && fields < 5) return std::nullopt;
  if (year < 1899 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second >= 61) return std::nullopt;
  // Serials count from 1899-12-30 as OpenDocument's do; Excel's serial 60
  // (the 1900-02-29 that never was) makes the two agree from March 1900 on.
  const double serial = f::serial_from_date(year, month, day);
  if (serial < 0) return std::nullopt;
  return serial + (hour * 3600 + minute * 60 + second) / 86400.0;
}

std::optional<double> duration_days(std::string_view duration) {
  bool negative = false;
  if (duration.starts_with('-')) {
    negative = true;
    duration.remove_prefix(1);
  }
  if (!duration.starts_with("PT")) return std::nullopt;
  duration.remove_prefix(2);
  double seconds = 0;
  while (!duration.empty()) {
    std::size_t used = 0;
    while (used < duration.size() && (std::isdigit(static_cast<unsigned char>(duration[used])) || duration[used] == '.')) ++used;
    if (used == 0 || used == duration.size()) return std::nullopt;
    const auto amount = number(duration.substr(0, used));
    if (!amount) return std::nullopt;
    switch (duration[used]) {
      case 'H': seconds += *amount * 3600; break;
      case 'M': seconds += *amount * 60; break;
      case 'S': seconds += *amount; break;
      default: return std::nullopt;
    }
    duration.remove_prefix(used + 1);
  }
  return (negative ? -seconds : seconds) / 86400.0;
}

formula::Value cell_value(const xmlNode& cell) {
  const std::string type = attr(cell, ns::office, "value-type");
  const auto required = [&](const char* name) {
    const auto value = pkg::attribute(cell, ns::office, name);
    if (!value) throw std::invalid_argument("a " + type + " cell has no office:" + name);
    return *value;
  };
  if (type == "float" || type == "percentage" || type == "currency") {
    if (auto value = number(required("value"))) return *value;
    throw std::invalid_argument("office:value is not a number");
  }
  if (type == "date") {
    if (auto value = date_serial(required("date-value"))) return *value;
    throw std::invalid_argument("office:date-value is not a date of Excel's range");
  }
  if (type == "time") {
    if (auto value = duration_days(required("time-value"))) return *value;
    throw std::invalid_argument("office:time-value is not a duration");
  }
  if (type == "boolean") return required("boolean-value") == "true";
  if (auto text = pkg::attribute(cell, ns::office, "string-value")) return *text;
  std::string text = paragraphs_text(cell);
  // LibreOffice marks a constant error ("#N/A") by its own value type.
  if (attr(cell, ns::calcext, "value-type") == "error")
    if (auto error = f::error_from_text(text)) return *error;
  if (type.empty() && text.empty()) return {};
  return text;
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
void read_named_expressions(LoadContext& context, const xmlNode& names, std::optional<std::size_t> sheet_index) {
  for (const xmlNode& name : pkg::children(names, ns::table)) {
    const std::string_view kind = pkg::local_name(name);
    if (kind != "named-range" && kind != "named-expression") continue;
    const std::string label = attr(name, ns::table, "name");
    const std::string where = "content.xml, the name '" + label + "'";
    try {
      const std::string refers_to = kind == "named-range"
                                        ? "=" + excel_reference(attr(name, ns::table, "cell-range-address"))
                                        : excel_formula(attr(name, ns::table, "expression"));
      import::define_name(context.book, label, refers_to, sheet_index, context.report);
    } catch (const OpenFormulaError& error) {
      context.note("a defined name", where, error.what());
    }
  }
}
#pragma GCC diagnostic pop

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
void read_table(LoadContext& context, const xmlNode& table, model::Worksheet& sheet, std::size_t sheet_index) {
  assert(pkg::is_element(table, ns::table, "table"));
  TableReader(context, table, sheet, sheet_index).run();
}
#pragma GCC diagnostic pop

}  // namespace engine::ods
