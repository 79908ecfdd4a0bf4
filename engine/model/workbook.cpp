#include "engine/model/workbook.hpp"

#include <algorithm>

#include "engine/model/sheet_references.hpp"
#include "engine/model/text.hpp"
#include "platform/com/error.hpp"

namespace engine::model {

namespace {

[[noreturn]] void refuse(std::int32_t number, const std::string& description) {
  platform::com::raise(number, "Workbook", description);
}

void check_view_name(std::string_view name) {
  if (name.empty() || utf16_length(name) > 255) refuse(platform::com::err::ApplicationDefined, "Invalid view name");
}

std::vector<int> hidden_lines(const Lines& lines) {
  std::vector<int> hidden;
  lines.for_each(0, lines.count() - 1, [&](int index, const LineInfo& info) {
    if (info.hidden) hidden.push_back(index);
  });
  return hidden;
}

void restore_hidden(Worksheet& sheet, const std::vector<int>& hidden, bool rows) {
  const Lines& lines = rows ? sheet.rows() : sheet.columns();
  for (int index : hidden_lines(lines)) {
    rows ? sheet.set_rows_hidden(index, index, false) : sheet.set_columns_hidden(index, index, false);
  }
  for (int index : hidden) {
    rows ? sheet.set_rows_hidden(index, index, true) : sheet.set_columns_hidden(index, index, true);
  }
}

}  // namespace

void validate_sheet_name(std::string_view name) {
  const auto length = utf16_length(name);
  const bool bad_char = name.find_first_of(":\\/?*[]") != std::string_view::npos;
  if (length == 0 || length > kMaxSheetNameLength || bad_char || name.front() == '\'' || name.back() == '\'') {
    refuse(platform::com::err::ApplicationDefined,
           "Sheet names must be 1 to 31 characters, without : \\ / ? * [ ] and not begin or end with '");
  }
}

Workbook::Workbook(std::string name) : name_(std::move(name)), windows_(1) {}

Workbook::~Workbook() = default;

// --- Sheets ------------------------------------------------------------------

Worksheet& Workbook::sheet(std::size_t index) const {
  if (index >= sheets_.size()) refuse(platform::com::err::SubscriptOutOfRange, "Subscript out of range");
  return *sheets_[index];
}

Worksheet* Workbook::find_sheet(std::string_view name) const {
  for (const auto& sheet : sheets_) {
    if (equal_ignoring_case(sheet->name(), name)) return sheet.get();
  }
  return nullptr;
}

Worksheet* Workbook::find_sheet(SheetId id) const {
  for (const auto& sheet : sheets_) {
    if (sheet->id() == id) return sheet.get();
  }
  return nullptr;
}

std::optional<std::size_t> Workbook::sheet_index(SheetId id) const {
  for (std::size_t i = 0; i < sheets_.size(); ++i) {
    if (sheets_[i]->id() == id) return i;
  }
  return std::nullopt;
}

void Workbook::check_structure_editable() const {
  if (protection_.structure) refuse(platform::com::err::ApplicationDefined, "The workbook's structure is protected");
}

Worksheet& Workbook::add_sheet(std::string name, std::optional<std::size_t> position) {
  check_structure_editable();
  validate_sheet_name(name);
  if (find_sheet(name) != nullptr) refuse(platform::com::err::ApplicationDefined, "That sheet name is already taken");
  const std::size_t at = std::min(position.value_or(sheets_.size()), sheets_.size());
  auto sheet = std::make_unique<Worksheet>(*this, next_sheet_id_++, std::move(name));
  Worksheet& added = *sheet;
  sheets_.insert(sheets_.begin() + static_cast<std::ptrdiff_t>(at), std::move(sheet));
  for (auto& window : windows_) {
    if (find_sheet(window.active_sheet) == nullptr) window.active_sheet = added.id();
  }
  mark_changed();
  // References to a sheet of this name that did not exist now resolve.
  rebuild_dependencies();
  return added;
}

void Workbook::delete_sheet(SheetId id) {
  check_structure_editable();
  const auto index = sheet_index(id);
  if (!index) refuse(platform::com::err::SubscriptOutOfRange, "Subscript out of range");
  if (sheets_.size() == 1) refuse(platform::com::err::ApplicationDefined, "A workbook must contain at least one sheet");
  const std::string name = sheets_[*index]->name();
  sheets_.erase(sheets_.begin() + static_cast<std::ptrdiff_t>(*index));
  std::erase_if(names_, [id](const DefinedName& n) { return n.sheet == id; });
  for (auto& view : views_) {
    std::erase_if(view.sheets, [id](const SheetView& s) { return s.sheet == id; });
  }
  rewrite_formulas([&](const std::shared_ptr<const formula::Formula>& f, const std::string&) {
    return delete_sheet_references(f, name);
  });
  const SheetId fallback = sheets_[std::min(*index, sheets_.size() - 1)]->id();
  for (auto& window : windows_) {
    if (window.active_sheet == id) window.active_sheet = fallback;
  }
  mark_changed();
  rebuild_dependencies();
}

void Workbook::rename_sheet(SheetId id, std::string name) {
  Worksheet* sheet = find_sheet(id);
  if (sheet == nullptr) refuse(platform::com::err::SubscriptOutOfRange, "Subscript out of range");
  if (sheet->name() == name) return;
  check_structure_editable();
  validate_sheet_name(name);
  if (Worksheet* other = find_sheet(name); other != nullptr && other != sheet) {
    refuse(platform::com::err::ApplicationDefined, "That sheet name is already taken");
  }
  const std::string old_name = sheet->name();
  rewrite_formulas([&](const std::shared_ptr<const formula::Formula>& f, const std::string&) {
    return rename_sheet_references(f, old_name, name);
  });
  sheet->rename(std::move(name));
  mark_changed();
}

void Workbook::move_sheet(SheetId id, std::size_t position) {
  check_structure_editable();
  const auto index = sheet_index(id);
  if (!index || position >= sheets_.size()) refuse(platform::com::err::SubscriptOutOfRange, "Subscript out of range");
  auto sheet = std::move(sheets_[*index]);
  sheets_.erase(sheets_.begin() + static_cast<std::ptrdiff_t>(*index));
  sheets_.insert(sheets_.begin() + static_cast<std::ptrdiff_t>(position), std::move(sheet));
  mark_changed();
  // 3-D references span sheets by position.
  rebuild_dependencies();
}

void Workbook::set_sheet_visibility(SheetId id, int visibility) {
  Worksheet* sheet = find_sheet(id);
  if (sheet == nullptr) refuse(platform::com::err::SubscriptOutOfRange, "Subscript out of range");
  if (visibility != xl::SheetVisible && visibility != xl::SheetHidden && visibility != xl::SheetVeryHidden) {
    refuse(platform::com::err::ApplicationDefined, "Invalid sheet visibility");
  }
  if (visibility != xl::SheetVisible && sheet->visibility() == xl::SheetVisible) {
    const auto visible = std::count_if(sheets_.begin(), sheets_.end(),
                                       [](const auto& s) { return s->visibility() == xl::SheetVisible; });
    if (visible == 1) refuse(platform::com::err::ApplicationDefined, "A workbook must keep at least one visible sheet");
  }
  check_structure_editable();
  sheet->visibility_ = visibility;
  if (visibility != xl::SheetVisible) {
    const auto shown = std::find_if(sheets_.begin(), sheets_.end(),
                                    [](const auto& s) { return s->visibility() == xl::SheetVisible; });
    for (auto& window : windows_) {
      if (window.active_sheet == id) window.active_sheet = (*shown)->id();
    }
  }
  mark_changed();
}

// --- Names -------------------------------------------------------------------

const DefinedName& Workbook::add_name(std::string_view name, std::string_view refers_to,
                                      std::optional<SheetId> sheet) {
  if (!is_valid_name(name)) refuse(platform::com::err::ApplicationDefined, "The name that you entered is not valid");
  if (sheet && find_sheet(*sheet) == nullptr) refuse(platform::com::err::SubscriptOutOfRange, "No such sheet");
  std::shared_ptr<const formula::Formula> parsed;
  try {
    parsed = formula::parse(refers_to);
  } catch (const formula::ParseError& e) {
    refuse(platform::com::err::ApplicationDefined, std::string("The reference is not valid: ") + e.what());
  }
  auto existing = std::find_if(names_.begin(), names_.end(), [&](const DefinedName& n) {
    return n.sheet == sheet && equal_ignoring_case(n.name, name);
  });
  if (existing == names_.end()) {
    names_.push_back(DefinedName{std::string(name), sheet, parsed, true});
    existing = names_.end() - 1;
  } else {
    existing->refers_to = parsed;
  }
  const std::size_t index = static_cast<std::size_t>(existing - names_.begin());
  mark_changed();
  rebuild_dependencies();
  return names_[index];
}

const DefinedName* Workbook::find_name(std::string_view name, std::optional<SheetId> sheet) const {
  for (const auto& n : names_) {
    if (n.sheet == sheet && equal_ignoring_case(n.name, name)) return &n;
  }
  return nullptr;
}

void Workbook::delete_name(std::string_view name, std::optional<SheetId> sheet) {
  const DefinedName* found = find_name(name, sheet);
  if (found == nullptr) refuse(platform::com::err::SubscriptOutOfRange, "No such name");
  names_.erase(names_.begin() + (found - names_.data()));
  mark_changed();
  rebuild_dependencies();
}

std::string Workbook::scope_sheet_name(const DefinedName& name) const {
  if (!name.sheet) return {};
  const Worksheet* sheet = find_sheet(*name.sheet);
  return sheet ? sheet->name() : std::string{};
}

// --- Formats and styles --------------------------------------------------------

void Workbook::restyle_formats(const Style& before, const Style& after) {
  for (std::size_t i = 0; i < formats_.size(); ++i) {
    const auto index = static_cast<FormatIndex>(i);
    const CellFormat& current = formats_.at(index);
    if (!equal_ignoring_case(current.style, before.name)) continue;
    CellFormat changed = restyle(current, before, after);
    changed.style = after.name;
    formats_.replace(index, changed);
  }
  mark_changed();
}

void Workbook::change_style(std::string_view name, const CellFormat& format) {
  const Style before = styles_.get(name);
  styles_.update(name, format, before.includes);
  restyle_formats(before, styles_.get(name));
}

void Workbook::delete_style(std::string_view name) {
  const Style deleted = styles_.get(name);
  styles_.remove(name);
  Style normal = styles_.get("Normal");
  normal.includes = deleted.includes;
  restyle_formats(deleted, normal);
}

// --- Windows and views ---------------------------------------------------------

Window& Workbook::window(std::size_t index) {
  if (index >= windows_.size()) refuse(platform::com::err::SubscriptOutOfRange, "Subscript out of range");
  return windows_[index];
}

const Window& Workbook::window(std::size_t index) const {
  if (index >= windows_.size()) refuse(platform::com::err::SubscriptOutOfRange, "Subscript out of range");
  return windows_[index];
}

std::string Workbook::window_caption(std::size_t index) const {
  const Window& w = window(index);
  if (!w.caption.empty()) return w.caption;
  if (windows_.size() == 1) return name_;
  return name_ + ":" + std::to_string(index + 1);
}

Window& Workbook::new_window() {
  Window copy = windows_[active_window_];
  copy.caption.clear();
  windows_.push_back(copy);
  active_window_ = windows_.size() - 1;
  return windows_.back();
}

void Workbook::activate_window(std::size_t index) {
  window(index);
  active_window_ = index;
}

Worksheet& Workbook::active_sheet() const {
  Worksheet* sheet = find_sheet(windows_[active_window_].active_sheet);
  if (sheet == nullptr) refuse(platform::com::err::ObjectNotSet, "The workbook has no sheet");
  return *sheet;
}

void Workbook::activate_sheet(SheetId id) {
  if (find_sheet(id) == nullptr) refuse(platform::com::err::SubscriptOutOfRange, "Subscript out of range");
  windows_[active_window_].active_sheet = id;
}

const CustomView& Workbook::add_custom_view(std::string_view name, bool print_settings, bool row_column_settings) {
  check_view_name(name);
  const Window& window = windows_[active_window_];
  CustomView view{std::string(name), print_settings, row_column_settings, window.zoom, window.window_state,
                  window.active_sheet, {}};
  for (const auto& sheet : sheets_) {
    SheetView settings{sheet->id(), sheet->selection(), sheet->active_cell(), {}, {}, {}};
    if (row_column_settings) {
      settings.hidden_rows = hidden_lines(sheet->rows());
      settings.hidden_columns = hidden_lines(sheet->columns());
    }
    if (print_settings) settings.page_setup = sheet->page_setup();
    view.sheets.push_back(std::move(settings));
  }
  return restore_custom_view(std::move(view));
}

const CustomView& Workbook::restore_custom_view(CustomView view) {
  check_view_name(view.name);
  const auto existing = std::find_if(views_.begin(), views_.end(),
                                     [&](const CustomView& v) { return equal_ignoring_case(v.name, view.name); });
  mark_changed();
  if (existing != views_.end()) return *existing = std::move(view);
  views_.push_back(std::move(view));
  return views_.back();
}

const CustomView* Workbook::find_custom_view(std::string_view name) const {
  for (const auto& view : views_) {
    if (equal_ignoring_case(view.name, name)) return &view;
  }
  return nullptr;
}

void Workbook::show_custom_view(std::string_view name) {
  const CustomView* found = find_custom_view(name);
  if (found == nullptr) refuse(platform::com::err::SubscriptOutOfRange, "Subscript out of range");
  const CustomView view = *found;
  Window& window = windows_[active_window_];
  window.zoom = view.zoom;
  window.window_state = view.window_state;
  if (find_sheet(view.active_sheet) != nullptr) window.active_sheet = view.active_sheet;
  for (const auto& settings : view.sheets) {
    Worksheet* sheet = find_sheet(settings.sheet);
    if (sheet == nullptr) continue;
    sheet->select(settings.selection, settings.active_cell.first, settings.active_cell.second);
    if (view.row_column_settings) {
      restore_hidden(*sheet, settings.hidden_rows, true);
      restore_hidden(*sheet, settings.hidden_columns, false);
    }
    if (view.print_settings) sheet->set_page_setup(settings.page_setup);
  }
}

void Workbook::delete_custom_view(std::string_view name) {
  const CustomView* found = find_custom_view(name);
  if (found == nullptr) refuse(platform::com::err::SubscriptOutOfRange, "Subscript out of range");
  views_.erase(views_.begin() + (found - views_.data()));
  mark_changed();
}

void Workbook::protect(std::string_view password, bool structure, bool windows) {
  protection_ = WorkbookProtection{structure, windows, password_hash(password)};
  mark_changed();
}

void Workbook::restore_protection(const WorkbookProtection& protection) {
  protection_ = protection;
  mark_changed();
}

void Workbook::unprotect(std::string_view password) {
  if ((protection_.structure || protection_.windows) && protection_.password_hash != password_hash(password)) {
    refuse(platform::com::err::ApplicationDefined, "The password you supplied is not correct");
  }
  protection_ = WorkbookProtection{};
  mark_changed();
}

}  // namespace engine::model
