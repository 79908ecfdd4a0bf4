// The members of Application, as Excel numbers them.
#include "bridge/libreoffice/objects.hpp"
#include "platform/com/members.hpp"
#include "platform/excel/constants.hpp"
#include "platform/excel/dispids.hpp"

namespace bridge::libreoffice {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;

namespace {

std::shared_ptr<com::Dispatch> active_workbook(Application& a) {
  const Document document = a.active_document();
  if (!document.is()) return nullptr;
  return std::make_shared<Workbook>(std::static_pointer_cast<Application>(a.shared_from_this()), document);
}

// Excel answers Range, Cells, Sheets ... of the application with the active
// workbook's or sheet's; with no workbook open there is nothing to ask.
Variant on_active_workbook(Application& a, com::DispId id, std::span<Variant> args) {
  const std::shared_ptr<com::Dispatch> book = active_workbook(a);
  if (!book) com::raise(com::err::ObjectNotSet);
  return book->invoke(id, com::CallKind::Get, args);
}

Variant on_active_sheet(Application& a, com::DispId id, std::span<Variant> args) {
  const Variant sheet = on_active_workbook(a, dispid::ActiveSheet, {});
  return com::object_of(sheet).invoke(id, com::CallKind::Get, args);
}

// A setting LibreOffice has no counterpart for: kept by the bridge.
template <class T>
void keep(Application& a, T& setting, T value) {
  a.require_answering();
  setting = value;
}

}  // namespace

const com::MemberTable& Application::members() const {
  using App = Application;
  static const com::MemberTable table =
      com::Members<App>("Application")
          .get("Application", dispid::Application, [](App& a) { return a.self_ref(); })
          .get("Parent", dispid::Parent, [](App& a) { return a.self_ref(); })
          .get("Visible", dispid::Visible, [](App& a) {
            a.require_answering();
            return a.visible();
          })
          .put("Visible", dispid::Visible, [](App& a, bool v) { a.set_visible(v); })
          .method("Quit", dispid::Quit, [](App& a) {
            a.require_answering();
            a.quit();
          })
          .get("DisplayFullScreen", dispid::DisplayFullScreen, [](App& a) {
            a.require_answering();
            return a.display_full_screen_;
          })
          .put("DisplayFullScreen", dispid::DisplayFullScreen, [](App& a, bool v) { keep(a, a.display_full_screen_, v); })
          .get("Workbooks", dispid::Workbooks, [](App& a) {
            a.require_answering();
            return std::make_shared<Workbooks>(a.self_ref());
          })
          .get("ActiveWorkbook", dispid::ActiveWorkbook, [](App& a) { return Variant(active_workbook(a)); })
          .get("ActiveSheet", dispid::ActiveSheet, [](App& a) {
            const std::shared_ptr<com::Dispatch> book = active_workbook(a);
            return book ? book->get("ActiveSheet") : Variant::nothing();
          })
          .get("ActiveWindow", dispid::ActiveWindow, [](App& a) {
            const Document document = a.active_document();
            return document.is() ? Variant(std::make_shared<Window>(a.self_ref(), document)) : Variant::nothing();
          })
          .get("Sheets", dispid::Sheets,
               [](App& a, std::span<Variant> args) { return on_active_workbook(a, dispid::Sheets, args); })
          .get("Worksheets", dispid::Worksheets,
               [](App& a, std::span<Variant> args) { return on_active_workbook(a, dispid::Worksheets, args); })
          .get("Range", dispid::Range, [](App& a, std::span<Variant> args) { return on_active_sheet(a, dispid::Range, args); })
          .get("Cells", dispid::Cells, [](App& a, std::span<Variant> args) { return on_active_sheet(a, dispid::Cells, args); })
          .get("Windows", dispid::Windows, [](App& a) {
            a.require_answering();
            return std::make_shared<Windows>(a.self_ref());
          })
          .get("CommandBars", dispid::CommandBars, [](App& a) {
            a.require_answering();
            return std::make_shared<CommandBars>(a.self_ref());
          })
          .method("Run", dispid::Run,
                  [](App& a, std::span<Variant> args) {
                    if (args.empty() || args[0].is_missing()) com::raise(com::err::ArgumentNotOptional);
                    return run_macro(a.self_ref(), com::cstr(args[0]), args.subspan(1));
                  },
                  {"Macro"})
          .get("TemplatesPath", dispid::TemplatesPath, [](App& a) { return a.templates_path(); })
          .get("ActivePrinter", dispid::ActivePrinter, [](App& a) {
            a.require_answering();
            return a.options_.printer.empty() ? std::string("Imprimante non définie. Vérifiez le panneau de configuration.")
                                              : a.options_.printer;
          })
          .get("ShowToolTips", dispid::ShowToolTips, [](App& a) {
            a.require_answering();
            return a.show_tool_tips_;
          })
          .put("ShowToolTips", dispid::ShowToolTips, [](App& a, bool v) { keep(a, a.show_tool_tips_, v); })
          .get("ShowStartupDialog", dispid::ShowStartupDialog, [](App& a) {
            a.require_answering();
            return a.show_startup_dialog_;
          })
          .put("ShowStartupDialog", dispid::ShowStartupDialog, [](App& a, bool v) { keep(a, a.show_startup_dialog_, v); })
          .get("DisplayCommentIndicator", dispid::DisplayCommentIndicator, [](App& a) {
            a.require_answering();
            return a.comment_indicator_;
          })
          .put("DisplayCommentIndicator", dispid::DisplayCommentIndicator,
               [](App& a, std::int32_t v) {
                 using namespace platform::excel;
                 if (v != xlNoIndicator && v != xlCommentIndicatorOnly && v != xlCommentAndIndicator) {
                   com::raise(com::err::ApplicationDefined, "Microsoft Excel",
                              "Unable to set the DisplayCommentIndicator property of the Application class");
                 }
                 keep(a, a.comment_indicator_, v);
               });
  return table;
}

}  // namespace bridge::libreoffice
