#include "platform/excel/automation.hpp"

#include <utility>

#include "platform/com/convert.hpp"
#include "platform/excel/dispids.hpp"

namespace platform::excel {

using com::CallKind;
using com::cbool;
using com::clng;
using com::cstr;

Object::Object(const Variant& object) : object_(object.object()) {}

com::Dispatch& Object::dispatch() const {
  if (!object_) com::raise(com::err::ObjectNotSet);
  return *object_;
}

Variant Object::get(com::DispId id, std::vector<Variant> args) const {
  return dispatch().invoke(id, CallKind::Get | CallKind::Method, args);
}

void Object::put(com::DispId id, Variant value) const {
  Variant args[] = {std::move(value)};
  dispatch().invoke(id, CallKind::Put, args);
}

Variant Object::call(com::DispId id, std::vector<Variant> args, std::vector<std::string_view> names) const {
  return dispatch().invoke(id, CallKind::Method | CallKind::Get, args, names);
}

Variant Object::get(std::string_view name) const { return dispatch().invoke(name, CallKind::Get | CallKind::Method); }

void Object::put(std::string_view name, Variant value) const {
  Variant args[] = {std::move(value)};
  dispatch().invoke(name, CallKind::Put, args);
}

// --- CommandBar ------------------------------------------------------------

bool CommandBar::Enabled() const { return cbool(get("Enabled")); }
void CommandBar::Enabled(bool value) const { put("Enabled", value); }
bool CommandBar::Visible() const { return cbool(get("Visible")); }
void CommandBar::Visible(bool value) const { put("Visible", value); }
std::int32_t CommandBar::Position() const { return clng(get("Position")); }
void CommandBar::Position(std::int32_t value) const { put("Position", value); }

std::int32_t CommandBars::Count() const { return clng(get(dispid::Count)); }
CommandBar CommandBars::Item(const Variant& index) const { return CommandBar(get(dispid::Item, {index})); }

// --- Sheets, Workbook, Workbooks ----------------------------------------------

std::int32_t Sheets::Count() const { return clng(get(dispid::Count)); }
Variant Sheets::Item(const Variant& index) const { return get(dispid::Item, {index}); }

std::string Workbook::Name() const { return cstr(get(dispid::Name)); }
void Workbook::Activate() const { call(dispid::Activate); }
void Workbook::Close(std::optional<bool> SaveChanges) const {
  call(dispid::Close, {SaveChanges ? Variant(*SaveChanges) : Variant::missing()});
}
Sheets Workbook::Sheets() const { return excel::Sheets(get(dispid::Sheets)); }
Sheets Workbook::Worksheets() const { return excel::Sheets(get(dispid::Worksheets)); }
Variant Workbook::ActiveSheet() const { return get(dispid::ActiveSheet); }
Variant Workbook::Styles() const { return get(dispid::Styles); }
Variant Workbook::CustomViews() const { return get(dispid::CustomViews); }

std::int32_t Workbooks::Count() const { return clng(get(dispid::Count)); }
Workbook Workbooks::Item(const Variant& index) const { return Workbook(get(dispid::Item, {index})); }
Workbook Workbooks::Open(const std::string& Filename) const { return Workbook(call(dispid::Open, {Filename})); }
Workbook Workbooks::Add(std::optional<Variant> Template) const {
  return Workbook(call(dispid::Add, {Template ? std::move(*Template) : Variant::missing()}));
}

// --- Application -----------------------------------------------------------

Application Application::Application_() const { return excel::Application(get(dispid::Application)); }
bool Application::Visible() const { return cbool(get(dispid::Visible)); }
void Application::Visible(bool value) const { put(dispid::Visible, value); }
void Application::Quit() const { call(dispid::Quit); }
void Application::DisplayFullScreen(bool value) const { put(dispid::DisplayFullScreen, value); }
Workbooks Application::Workbooks() const { return excel::Workbooks(get(dispid::Workbooks)); }
Workbook Application::ActiveWorkbook() const { return Workbook(get(dispid::ActiveWorkbook)); }
Variant Application::ActiveSheet() const { return get(dispid::ActiveSheet); }
Variant Application::ActiveWindow() const { return get(dispid::ActiveWindow); }
Sheets Application::Sheets() const { return excel::Sheets(get(dispid::Sheets)); }
Variant Application::Names() const { return get(dispid::Names); }
Variant Application::Windows() const { return get(dispid::Windows); }
Variant Application::Selection() const { return get(dispid::Selection); }
CommandBars Application::CommandBars() const { return excel::CommandBars(get(dispid::CommandBars)); }

Variant Application::Run(const std::string& Macro, std::vector<Variant> arguments) const {
  arguments.insert(arguments.begin(), Variant(Macro));
  return call(dispid::Run, std::move(arguments));
}

std::string Application::TemplatesPath() const { return cstr(get(dispid::TemplatesPath)); }
std::string Application::ActivePrinter() const { return cstr(get(dispid::ActivePrinter)); }
bool Application::ShowToolTips() const { return cbool(get(dispid::ShowToolTips)); }
void Application::ShowToolTips(bool value) const { put(dispid::ShowToolTips, value); }
bool Application::ShowStartupDialog() const { return cbool(get(dispid::ShowStartupDialog)); }
void Application::ShowStartupDialog(bool value) const { put(dispid::ShowStartupDialog, value); }
std::int32_t Application::DisplayCommentIndicator() const { return clng(get(dispid::DisplayCommentIndicator)); }
void Application::DisplayCommentIndicator(std::int32_t value) const { put(dispid::DisplayCommentIndicator, value); }
std::int32_t Application::CustomListCount() const { return clng(get(dispid::CustomListCount)); }
std::int32_t Application::GetCustomListNum(const Variant& ListArray) const {
  return clng(call(dispid::GetCustomListNum, {ListArray}));
}
void Application::DeleteCustomList(std::int32_t ListNum) const { call(dispid::DeleteCustomList, {ListNum}); }

}  // namespace platform::excel
