#include "engine/app/worksheet_object.hpp"

#include <regex>

#include "engine/app/application.hpp"
#include "engine/app/autofilter.hpp"
#include "engine/app/check_box.hpp"
#include "engine/app/outline.hpp"
#include "engine/app/page_setup.hpp"
#include "engine/app/range.hpp"
#include "engine/app/shapes.hpp"
#include "engine/app/workbook.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"
#include "platform/excel/dispids.hpp"

namespace engine::app {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;

namespace {

constexpr com::DispId kOutline = 102;
constexpr com::DispId kUsedRange = 412;
constexpr com::DispId kIndex = 486;
constexpr com::DispId kMove = 637;
constexpr com::DispId kCopy = 551;
constexpr com::DispId kPaste = 211;

// Edit, Paste as the recorder writes it (ActiveSheet.Paste): the copied
// cells, everything of them, on the destination or else on the selection.
const auto paste_on_sheet = [](Worksheet& sheet, const std::optional<com::Variant>& destination,
                               std::optional<bool> link) {
  if (link.value_or(false)) raise_refused("Paste method of Worksheet class failed: links are not supported");
  const com::Variant target = destination ? *destination : sheet.application().get("Selection");
  com::object_of(target).call("PasteSpecial");
};
constexpr com::DispId kCheckBoxes = 824;
constexpr com::DispId kVisible = 558;
constexpr com::DispId kProtectContents = 292;
constexpr com::DispId kProtectDrawingObjects = 293;
constexpr com::DispId kProtectScenarios = 294;

}  // namespace

model::Worksheet& SheetRef::get(const Application& app) const {
  if (!book || !app.is_open(*book)) raise_detached();
  model::Worksheet* sheet = book->find_sheet(id);
  if (sheet == nullptr) raise_detached();
  return *sheet;
}

Worksheet::Worksheet(std::shared_ptr<Application> app, SheetRef sheet)
    : AppObject(std::move(app)), sheet_(std::move(sheet)) {}

std::shared_ptr<Worksheet> make_worksheet(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book,
                                          model::SheetId sheet) {
  return std::make_shared<Worksheet>(std::move(app), SheetRef{std::move(book), sheet});
}

std::string Worksheet::name() const { return sheet().name(); }

void Worksheet::set_name(const std::string& name) {
  sheet();
  sheet_.book->rename_sheet(sheet_.id, name);
}

std::int32_t Worksheet::index() const {
  sheet();
  return static_cast<std::int32_t>(*sheet_.book->sheet_index(sheet_.id)) + 1;
}

void Worksheet::select(std::optional<bool>) {
  const bool hidden = sheet().visibility() != model::xl::SheetVisible;
  Application& app = application();
  if (hidden || app.active_workbook() != sheet_.book) raise_refused("Select method of Worksheet class failed");
  sheet_.book->activate_sheet(sheet_.id);
  app.clear_selected_object();
}

void Worksheet::activate() {
  if (sheet().visibility() != model::xl::SheetVisible) raise_refused("Activate method of Worksheet class failed");
  Application& app = application();
  app.activate_workbook(sheet_.book);
  sheet_.book->activate_sheet(sheet_.id);
  app.clear_selected_object();
}

std::int32_t Worksheet::visible() const { return sheet().visibility(); }

void Worksheet::set_visible(const com::Variant& visible) {
  sheet();
  Application& app = application();
  const bool was_selected = app.active_workbook() == sheet_.book && sheet_.book->active_sheet().id() == sheet_.id;
  sheet_.book->set_sheet_visibility(sheet_.id, com::clng(visible));
  // Hiding the active sheet activates another; a shape selected on it goes.
  if (was_selected && sheet_.book->active_sheet().id() != sheet_.id) app.clear_selected_object();
}

void Worksheet::delete_sheet() {
  sheet();
  sheet_.book->delete_sheet(sheet_.id);
}

void Worksheet::move(const std::optional<com::Variant>& before, const std::optional<com::Variant>& after) {
  sheet();
  const auto position_of = [this](const std::optional<com::Variant>& v) -> std::optional<std::size_t> {
    if (!v) return std::nullopt;
    const auto other = std::dynamic_pointer_cast<Worksheet>(v->object());
    if (!other) com::raise(com::err::TypeMismatch);
    other->sheet();
    if (other->sheet_.book != sheet_.book) {
      raise_refused("Move method of Worksheet class failed: sheets move within their workbook only");
    }
    return *sheet_.book->sheet_index(other->sheet_.id);
  };
  const auto anchor_before = position_of(before), anchor_after = position_of(after);
  if (!anchor_before && !anchor_after) {
    raise_refused("Move method of Worksheet class failed: a destination sheet is required");
  }
  const std::size_t current = *sheet_.book->sheet_index(sheet_.id);
  // Positions once the sheet is taken out of the order.
  std::size_t position = 0;
  if (anchor_before) position = current < *anchor_before ? *anchor_before - 1 : *anchor_before;
  else position = current < *anchor_after ? *anchor_after : *anchor_after + 1;
  sheet_.book->move_sheet(sheet_.id, position);
}

namespace {

// Excel names a copy after its source with the first free " (n)", n from 2,
// shortening the source's name to keep within 31 characters; a copy into
// a workbook without a sheet of that name keeps the name.
std::string copy_name(const model::Workbook& target, const std::string& source) {
  if (!target.find_sheet(source)) return source;
  static const std::regex numbered(R"(^(.*) \(\d+\)$)");
  std::smatch m;
  const std::string base = std::regex_match(source, m, numbered) ? m[1].str() : source;
  for (int n = 2;; ++n) {
    const std::string suffix = " (" + std::to_string(n) + ")";
    const std::string name = com::left(base, static_cast<std::int32_t>(model::kMaxSheetNameLength - suffix.size())) + suffix;
    if (!target.find_sheet(name)) return name;
  }
}

}  // namespace

// Before or After may name a sheet of another open workbook; with neither,
// the copy is the only sheet of a new workbook. The copy becomes the active
// sheet of the active workbook, as in Excel.
void Worksheet::copy(const std::optional<com::Variant>& before, const std::optional<com::Variant>& after) {
  const model::Worksheet& source = sheet();
  if (before && after) raise_refused("Copy method of Worksheet class failed");
  const std::optional<com::Variant>& anchor = before ? before : after;
  std::shared_ptr<model::Workbook> target;
  std::optional<std::size_t> position;
  if (anchor) {
    const auto other = std::dynamic_pointer_cast<Worksheet>(anchor->object());
    if (!other) com::raise(com::err::TypeMismatch);
    other->sheet();
    target = other->sheet_.book;
    position = *target->sheet_index(other->sheet_.id) + (before ? 0 : 1);
  } else {
    target = std::make_shared<model::Workbook>(application().next_new_workbook_name());
  }
  const model::Worksheet& copy = target->copy_sheet(source, copy_name(*target, source.name()), position);
  if (!anchor) {
    target->set_saved(true);
    application().add_workbook(target);
  }
  target->activate_sheet(copy.id());
  application().activate_workbook(target);
}

std::shared_ptr<Range> Worksheet::range(const com::Variant& cell1, const std::optional<com::Variant>& cell2) const {
  const model::Worksheet& s = sheet();
  const auto area_of = [&](const com::Variant& v) {
    if (!v.is_object()) return parse_range_text(s, com::cstr(v));
    const auto range = std::dynamic_pointer_cast<Range>(v.object());
    if (!range) com::raise(com::err::TypeMismatch);
    if (range->sheet_ref().book != sheet_.book || range->sheet_ref().id != sheet_.id) {
      raise_refused("Method 'Range' of object '_Worksheet' failed");
    }
    return range->area();
  };
  model::CellRange area = area_of(cell1);
  if (cell2 && !cell2->is_missing()) {
    const model::CellRange other = area_of(*cell2);
    area = {std::min(area.first_row, other.first_row), std::min(area.first_column, other.first_column),
            std::max(area.last_row, other.last_row), std::max(area.last_column, other.last_column)};
  }
  return make_range(application_ref(), sheet_, area);
}

std::shared_ptr<Range> Worksheet::cells() const {
  sheet();
  return make_range(application_ref(), sheet_, model::CellRange::rows(0, model::kMaxRows - 1));
}

std::shared_ptr<Range> Worksheet::rows() const {
  sheet();
  return make_range(application_ref(), sheet_, model::CellRange::rows(0, model::kMaxRows - 1), RangeKind::Rows);
}

std::shared_ptr<Range> Worksheet::columns() const {
  sheet();
  return make_range(application_ref(), sheet_, model::CellRange::rows(0, model::kMaxRows - 1), RangeKind::Columns);
}

std::shared_ptr<Range> Worksheet::used_range() const {
  const auto used = sheet().used_range();
  return make_range(application_ref(), sheet_, used.value_or(model::CellRange::cell(0, 0)));
}

void Worksheet::protect(const std::optional<std::string>& password, std::optional<bool> drawing_objects,
                        std::optional<bool> contents, std::optional<bool> scenarios) {
  sheet().protect(password.value_or(std::string()), contents.value_or(true), drawing_objects.value_or(true),
                  scenarios.value_or(true));
}

void Worksheet::unprotect(const std::optional<std::string>& password) {
  sheet().unprotect(password.value_or(std::string()));
}

com::Variant Worksheet::shapes() {
  sheet();
  return std::make_shared<Shapes>(application_ref(), sheet_);
}

com::Variant Worksheet::check_boxes(const std::optional<com::Variant>& index) {
  sheet();
  auto boxes = std::make_shared<CheckBoxes>(application_ref(), sheet_);
  if (!index) return boxes;
  return boxes->item(*index);
}

com::Variant Worksheet::page_setup() {
  sheet();
  return std::make_shared<PageSetup>(application_ref(), sheet_);
}

com::Variant Worksheet::outline() {
  sheet();
  return std::make_shared<Outline>(application_ref(), sheet_);
}

const GuardedMembers& Worksheet::member_table() const {
  static const GuardedMembers table =
      AppMembers<Worksheet>("Worksheet")
          .get("Name", dispid::Name, &Worksheet::name)
          .put("Name", dispid::Name, &Worksheet::set_name)
          .get("Index", kIndex, &Worksheet::index)
          .method("Select", dispid::Select, &Worksheet::select, {"Replace"})
          .method("Activate", dispid::Activate, &Worksheet::activate)
          .get("Visible", kVisible, &Worksheet::visible)
          .put("Visible", kVisible, &Worksheet::set_visible)
          .method("Delete", dispid::Delete, &Worksheet::delete_sheet)
          .method("Move", kMove, &Worksheet::move, {"Before", "After"})
          .method("Copy", kCopy, &Worksheet::copy, {"Before", "After"})
          .method("Paste", kPaste, paste_on_sheet, {"Destination", "Link"})
          .get("Range", dispid::Range, &Worksheet::range, {"Cell1", "Cell2"})
          .get("Cells", dispid::Cells, &Worksheet::cells)
          .get("Rows", dispid::Rows, &Worksheet::rows)
          .get("Columns", dispid::Columns, &Worksheet::columns)
          .get("UsedRange", kUsedRange, &Worksheet::used_range)
          .get("Shapes", dispid::Shapes, &Worksheet::shapes)
          .method("CheckBoxes", kCheckBoxes, &Worksheet::check_boxes, {"Index"})
          .get("PageSetup", dispid::PageSetup, &Worksheet::page_setup)
          .get("Outline", kOutline, &Worksheet::outline)
          .include(worksheet_autofilter_members())
          .method("Protect", dispid::Protect, &Worksheet::protect,
                  {"Password", "DrawingObjects", "Contents", "Scenarios"})
          .method("Unprotect", dispid::Unprotect, &Worksheet::unprotect, {"Password"})
          .get("ProtectContents", kProtectContents, [](Worksheet& w) { return w.sheet().protection().contents; })
          .get("ProtectDrawingObjects", kProtectDrawingObjects,
               [](Worksheet& w) { return w.sheet().protection().drawing_objects; })
          .get("ProtectScenarios", kProtectScenarios, [](Worksheet& w) { return w.sheet().protection().scenarios; })
          .get("Parent", dispid::Parent,
               [](Worksheet& w) {
                 w.sheet();
                 return make_workbook(w.application_ref(), w.sheet_.book);
               })
          .get("Application", dispid::Application, [](Worksheet& w) { return w.application_ref(); });
  return table;
}

}  // namespace engine::app
