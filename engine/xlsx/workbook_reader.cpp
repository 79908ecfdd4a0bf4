// Reading a SpreadsheetML package into the model: the package relationships
// lead to the workbook part; its relationships to the shared strings, the
// styles, the theme and each sheet; each sheet's to its comments and
// drawings. Parts are read in the order the model needs them: styles and
// sheet names before cells, cells before names' checks, drawings before
// protection.
#include <algorithm>
#include <charconv>
#include <map>

#include "engine/formula/formula.hpp"
#include "engine/import/file_error.hpp"
#include "engine/import/sheet_loader.hpp"
#include "engine/import/view_hidden_lines.hpp"
#include "engine/import/workbook_loader.hpp"
#include "engine/model/constants.hpp"
#include "engine/package/xml_part.hpp"
#include "engine/package/zip_archive.hpp"
#include "engine/xlsx/colors.hpp"
#include "engine/xlsx/formula_text.hpp"
#include "engine/xlsx/relationships.hpp"
#include "engine/xlsx/sheet_drawings.hpp"
#include "engine/xlsx/styles_part.hpp"
#include "engine/xlsx/workbook_file.hpp"
#include "engine/xlsx/worksheet_part.hpp"
#include "engine/xlsx/xml_names.hpp"
#include "platform/com/error.hpp"

namespace engine::xlsx {

namespace {

using package::children;
using package::first_child;

constexpr std::string_view kContentTypes = "[Content_Types].xml";
constexpr std::string_view kDefaultMainPart = "xl/workbook.xml";
// Content types of a template's main part (.xltx, .xltm).
constexpr std::string_view kTemplateTypes[] = {"application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml",
                                               "application/vnd.ms-excel.template.macroEnabled.main+xml"};
// Excel 2003 cannot hold more sheets than memory allows, but no workbook
// a trainee saves has more than this.
constexpr std::size_t kMaxSheets = 4096;

// The main part, as the package relationships name it.
std::string main_part(package::ZipArchive& archive) {
  const Relationships root = Relationships::of_part(archive, "");
  if (const Relationship* document = root.first_of_kind("officeDocument")) return document->target;
  return std::string(kDefaultMainPart);
}

struct SheetEntry {
  std::string name;
  long long sheet_id = 0;
  int visibility = model::xl::SheetVisible;
  std::string relationship;  // r:id
};

struct DefinedNameEntry {
  std::string name;
  std::string text;
  std::optional<std::size_t> sheet;
};

struct BookView {
  std::string name;
  std::string guid;
  long long active_sheet_id = 0;
  int window_state = model::xl::Normal;
  bool print_settings = true;
  bool row_column_settings = true;
};

class WorkbookReader {
 public:
  WorkbookReader(package::ZipArchive& archive, const std::string& name, import::LoadReport* report)
      : archive_(archive), report_(report), book_(std::make_unique<model::Workbook>(name)), formats_(*book_) {}
  std::unique_ptr<model::Workbook> run();

 private:
  bool has_template_type(const std::string& part);
  void read_workbook_part(const package::XmlPart& part);
  void read_sheets(const package::XmlPart& part, const xmlNode& sheets);
  void read_defined_names(const xmlNode& names);
  void read_book_views(const xmlNode& views);
  void read_custom_book_views(const xmlNode& views);
  void read_book_protection(const xmlNode& protection);
  void read_shared_strings(const Relationships& relationships);
  void read_styles(const Relationships& relationships);
  void define_names();
  void read_sheet(std::size_t index, const Relationships& relationships);
  void apply_custom_views();
  void apply_book_window();

  package::ZipArchive& archive_;
  import::LoadReport* report_;
  std::unique_ptr<model::Workbook> book_;
  import::FormatInterner formats_;
  std::vector<formula::Value> strings_;
  StylesPart styles_;
  std::vector<SheetEntry> sheets_;
  std::vector<DefinedNameEntry> names_;
  std::vector<BookView> custom_views_;
  std::map<std::pair<std::string, std::size_t>, CustomSheetView> custom_sheet_views_;  // by GUID, sheet
  import::ViewHiddenLines view_lines_;
  model::WorkbookProtection protection_;
  std::optional<std::size_t> active_tab_;
  bool window_visible_ = true;
  int window_state_ = model::xl::Normal;
  std::optional<std::size_t> selected_sheet_;
  std::optional<int> selected_zoom_;
};

bool WorkbookReader::has_template_type(const std::string& part) {
  const auto types = package::read_xml_part_if_present(archive_, kContentTypes);
  if (!types) return false;
  for (const xmlNode& entry : children(types->root(), kAnyNs, "Override")) {
    const std::string name = attr(entry, "PartName").value_or("");
    if (package::resolve_part("", name) != part) continue;
    const std::string type = attr(entry, "ContentType").value_or("");
    return std::find(std::begin(kTemplateTypes), std::end(kTemplateTypes), type) != std::end(kTemplateTypes);
  }
  return false;
}

// xl/workbook.xml: <sheets>, <definedNames>, <bookViews>,
// <customWorkbookViews>, <workbookProtection>.
void WorkbookReader::read_workbook_part(const package::XmlPart& part) {
  const xmlNode& root = part.root();
  if (package::local_name(root) != "workbook") part.fail_at(root, "the main part is not a workbook");
  for (const xmlNode& element : children(root, kAnyNs)) {
    const std::string_view name = package::local_name(element);
    if (name == "sheets") read_sheets(part, element);
    else if (name == "definedNames") read_defined_names(element);
    else if (name == "bookViews") read_book_views(element);
    else if (name == "customWorkbookViews") read_custom_book_views(element);
    else if (name == "workbookProtection") read_book_protection(element);
  }
  if (sheets_.empty()) part.fail_at(root, "the workbook has no sheets");
}

void WorkbookReader::read_sheets(const package::XmlPart& part, const xmlNode& sheets) {
  for (const xmlNode& sheet : children(sheets, kAnyNs, "sheet")) {
    if (sheets_.size() >= kMaxSheets) part.fail_at(sheets, "the workbook lists more sheets than it can hold");
    SheetEntry entry;
    entry.name = attr(sheet, "name").value_or("");
    entry.sheet_id = integer(sheet, "sheetId").value_or(0);
    const std::string state = attr(sheet, "state").value_or("visible");
    entry.visibility = state == "hidden"       ? model::xl::SheetHidden
                       : state == "veryHidden" ? model::xl::SheetVeryHidden
                                               : model::xl::SheetVisible;
    entry.relationship = relationship_id(sheet).value_or("");
    sheets_.push_back(std::move(entry));
  }
}

// <definedName name="Zone" localSheetId="0" hidden="1">'Trimestre 1'!$C$4:$C$8</definedName>
void WorkbookReader::read_defined_names(const xmlNode& names) {
  for (const xmlNode& element : children(names, kAnyNs, "definedName")) {
    DefinedNameEntry entry;
    entry.name = attr(element, "name").value_or("");
    entry.text = package::text_of(element);
    if (auto sheet = integer(element, "localSheetId"); sheet && *sheet >= 0)
      entry.sheet = static_cast<std::size_t>(*sheet);
    if (!entry.name.empty()) names_.push_back(std::move(entry));
  }
}

// The first workbookView is the workbook's window.
void WorkbookReader::read_book_views(const xmlNode& views) {
  const xmlNode* view = first_child(views, kAnyNs, "workbookView");
  if (!view) return;
  window_visible_ = attr(*view, "visibility").value_or("visible") == "visible";
  if (flag(*view, "minimized", false)) window_state_ = model::xl::Minimized;
  if (auto tab = integer(*view, "activeTab"); tab && *tab >= 0) active_tab_ = static_cast<std::size_t>(*tab);
}

void WorkbookReader::read_custom_book_views(const xmlNode& views) {
  for (const xmlNode& element : children(views, kAnyNs, "customWorkbookView")) {
    BookView view;
    view.name = attr(element, "name").value_or("");
    view.guid = attr(element, "guid").value_or("");
    view.active_sheet_id = integer(element, "activeSheetId").value_or(0);
    if (flag(element, "maximized", false)) view.window_state = model::xl::Maximized;
    if (flag(element, "minimized", false)) view.window_state = model::xl::Minimized;
    view.print_settings = flag(element, "includePrintSettings", true);
    view.row_column_settings = flag(element, "includeHiddenRowCol", true);
    custom_views_.push_back(std::move(view));
  }
}

// <workbookProtection lockStructure="1" lockWindows="0" workbookPassword="CC3D"/>
void WorkbookReader::read_book_protection(const xmlNode& protection) {
  protection_.structure = flag(protection, "lockStructure", false);
  protection_.windows = flag(protection, "lockWindows", false);
  if (auto password = attr(protection, "workbookPassword")) {
    unsigned value = 0;
    if (std::from_chars(password->data(), password->data() + password->size(), value, 16).ec == std::errc() &&
        value <= 0xFFFF)
      protection_.password_hash = static_cast<std::uint16_t>(value);
  }
}

// xl/sharedStrings.xml: <si> per string, plain (<t>) or rich (<r><t>).
void WorkbookReader::read_shared_strings(const Relationships& relationships) {
  const Relationship* target = relationships.first_of_kind("sharedStrings");
  if (!target) return;
  const package::XmlPart part = package::read_xml_part(archive_, target->target);
  for (const xmlNode& item : children(part.root(), kAnyNs, "si")) strings_.emplace_back(rich_text(item));
}

void WorkbookReader::read_styles(const Relationships& relationships) {
  ThemeColors theme;
  if (const Relationship* target = relationships.first_of_kind("theme"))
    if (const auto part = package::read_xml_part_if_present(archive_, target->target)) theme.read(part->root());
  if (const Relationship* target = relationships.first_of_kind("styles"))
    styles_.read(package::read_xml_part(archive_, target->target), book_->palette(), theme);
  styles_.register_styles(*book_);
}

// Built-in names ("_xlnm.Print_Area") hold print settings the model keeps
// elsewhere; a custom view's names hold what it hides.
void WorkbookReader::define_names() {
  for (const DefinedNameEntry& entry : names_) {
    if (entry.name.starts_with("_xlnm.")) continue;
    if (import::ViewHiddenLines::is_view_name(entry.name)) {
      if (!entry.sheet) continue;
      // Several ranges are a union, which formula text writes in parentheses.
      auto parsed = parse_formula_text(entry.text);
      if (!parsed.formula) parsed = parse_formula_text("(" + entry.text + ")");
      if (parsed.formula) view_lines_.take_name(entry.name, *entry.sheet, *parsed.formula);
      continue;
    }
    import::define_name(*book_, entry.name, entry.text.starts_with("=") ? entry.text : "=" + entry.text, entry.sheet,
                        report_);
  }
}

void WorkbookReader::read_sheet(std::size_t index, const Relationships& relationships) {
  model::Worksheet& sheet = book_->sheet(index);
  const Relationship* target = relationships.by_id(sheets_[index].relationship);
  if (!target) {
    import::fail("the sheet '" + sheet.name() + "' has no part in the package");
  }
  if (!is_kind(*target, "worksheet")) {
    import::report_loss(report_, "sheet", sheet.name(), "chart sheets and dialog sheets are kept as empty sheets");
    return;
  }
  const package::XmlPart part = package::read_xml_part(archive_, target->target);
  const SheetPartInfo info = read_worksheet_part(part, sheet, SheetInputs{strings_, styles_, formats_, report_});
  read_sheet_drawings(archive_, Relationships::of_part(archive_, target->target), info, sheet, report_);
  if (info.selected && !selected_sheet_) {
    selected_sheet_ = index;
    selected_zoom_ = info.zoom;
  }
  for (const CustomSheetView& view : info.custom_views)
    custom_sheet_views_[{import::ViewHiddenLines::name_id(view.guid), index}] = view;
  // The hash stays only with a protection to unlock.
  if (info.protection.is_protected()) sheet.restore_protection(info.protection);
}

void WorkbookReader::apply_custom_views() {
  for (const BookView& view : custom_views_) {
    if (view.name.empty()) continue;
    const std::string id = import::ViewHiddenLines::name_id(view.guid);
    model::CustomView result;
    result.name = view.name;
    result.print_settings = view.print_settings;
    result.row_column_settings = view.row_column_settings;
    result.window_state = view.window_state;
    result.active_sheet = book_->active_sheet().id();
    std::optional<std::size_t> active;
    for (std::size_t i = 0; i < sheets_.size(); ++i)
      if (sheets_[i].sheet_id == view.active_sheet_id) active = i;
    if (active) result.active_sheet = book_->sheet(*active).id();
    for (std::size_t i = 0; i < sheets_.size(); ++i) {
      const auto found = custom_sheet_views_.find({id, i});
      if (found == custom_sheet_views_.end()) continue;
      const CustomSheetView& sheet_view = found->second;
      if (active == i || result.sheets.empty()) result.zoom = sheet_view.zoom;
      model::SheetView settings{book_->sheet(i).id(), sheet_view.selection, sheet_view.active_cell, {}, {}, {}};
      if (view.row_column_settings) {
        settings.hidden_rows = view_lines_.rows(id, i);
        settings.hidden_columns = view_lines_.columns(id, i);
      }
      if (view.print_settings) settings.page_setup = import::accepted_page_setup(sheet_view.page_setup);
      result.sheets.push_back(std::move(settings));
    }
    try {
      book_->restore_custom_view(std::move(result));
    } catch (const platform::com::Error& error) {
      import::report_loss(report_, "custom view", view.name, error.description());
    }
  }
}

void WorkbookReader::apply_book_window() {
  const std::optional<std::size_t> active = active_tab_ ? active_tab_ : selected_sheet_;
  if (active && *active < book_->sheet_count()) book_->activate_sheet(book_->sheet(*active).id());
  if (book_->window_count() == 0) return;
  model::Window& window = book_->window(0);
  window.visible = window_visible_;
  window.window_state = window_state_;
  if (selected_zoom_ && (!active || active == selected_sheet_)) window.zoom = *selected_zoom_;
}

std::unique_ptr<model::Workbook> WorkbookReader::run() {
  const std::string main = main_part(archive_);
  const package::XmlPart workbook = package::read_xml_part(archive_, main);
  read_workbook_part(workbook);
  const Relationships relationships = Relationships::of_part(archive_, main);
  for (const SheetEntry& entry : sheets_) book_->add_sheet(entry.name);
  read_styles(relationships);
  read_shared_strings(relationships);
  book_->begin_bulk_load();
  define_names();
  for (std::size_t i = 0; i < sheets_.size(); ++i) read_sheet(i, relationships);
  book_->end_bulk_load();
  apply_book_window();
  // Visibility after the active sheet: a hidden sheet is never the one shown.
  for (std::size_t i = 0; i < sheets_.size(); ++i)
    if (sheets_[i].visibility != model::xl::SheetVisible) {
      try {
        book_->set_sheet_visibility(book_->sheet(i).id(), sheets_[i].visibility);
      } catch (const platform::com::Error& error) {
        import::report_loss(report_, "sheet visibility", book_->sheet(i).name(), error.description());
      }
    }
  apply_custom_views();
  if (protection_.structure || protection_.windows) book_->restore_protection(protection_);
  book_->set_template(has_template_type(main));
  return std::move(book_);
}

}  // namespace

bool is_spreadsheetml_package(package::ZipArchive& archive) {
  return archive.contains(kContentTypes) && archive.contains(main_part(archive)) &&
         main_part(archive).ends_with(".xml");
}

std::unique_ptr<model::Workbook> load_workbook(std::span<const std::uint8_t> bytes, const std::string& name,
                                               import::LoadReport* report) {
  try {
    package::ZipArchive archive(bytes);
    return WorkbookReader(archive, name, report).run();
  } catch (const package::PackageError& error) {
    throw import::FileError(name, error.what());
  } catch (const import::FileError& error) {
    throw error.for_file(name);
  } catch (const platform::com::Error& error) {
    // The model refused something the file holds (a sheet name twice, say).
    throw import::FileError(name, error.description());
  }
}

}  // namespace engine::xlsx
