// Application.Run over LibreOffice: a workbook carries its macros as source
// text on a sheet named after the module, one line per row of column A, as
// the stand-in's workbooks do. LibreOffice opens that sheet like any other;
// the bridge reads it and runs the procedure with the statement
// interpreter, on the bridge's own Application. ChDir and CurDir act on
// Excel's current folder, which is LibreOffice's work folder.
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XText.hpp>

#include "bridge/libreoffice/objects.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"
#include "platform/script/script.hpp"

namespace bridge::libreoffice {

namespace com = platform::com;
namespace script = platform::script;
using css::uno::UNO_QUERY_THROW;

namespace {

struct MacroName {
  std::string workbook;  // empty: the active one
  std::string module;
  std::string procedure;
};

// "'My Book.xls'!Module1.Proc", "Book.xls!Proc" or "Proc".
MacroName parse_macro_name(const std::string& text) {
  MacroName name;
  std::string rest = text;
  if (const auto bang = text.rfind('!'); bang != std::string::npos) {
    name.workbook = text.substr(0, bang);
    if (name.workbook.size() >= 2 && name.workbook.front() == '\'' && name.workbook.back() == '\'') {
      name.workbook = name.workbook.substr(1, name.workbook.size() - 2);
    }
    rest = text.substr(bang + 1);
  }
  if (const auto dot = rest.rfind('.'); dot != std::string::npos) {
    name.module = rest.substr(0, dot);
    rest = rest.substr(dot + 1);
  }
  name.procedure = rest;
  return name;
}

[[noreturn]] void not_found(const std::string& macro) {
  com::raise(com::err::ApplicationDefined, "Microsoft Excel", "The macro '" + macro + "' cannot be found.");
}

Document macro_workbook(Application& app, const MacroName& name, const std::string& macro) {
  if (name.workbook.empty()) return app.active_document();
  for (const Document& document : app.documents()) {
    if (com::lcase(app.name_of(document)) == com::lcase(name.workbook)) return document;
  }
  not_found(macro);
}

// Column A of the module's sheet, down to its last used row, no more than a
// script may hold.
std::vector<std::string> module_lines(Application& app, const Document& document, const std::string& module) {
  return app.office().call([&] {
    std::vector<std::string> lines;
    const Reference<css::container::XIndexAccess> sheets(document->getSheets(), UNO_QUERY_THROW);
    for (sal_Int32 i = 0; i < sheets->getCount(); ++i) {
      const Sheet sheet(sheets->getByIndex(i), UNO_QUERY_THROW);
      const std::string name = from_uno(Reference<css::container::XNamed>(sheet, UNO_QUERY_THROW)->getName());
      if (com::lcase(name) != com::lcase(module)) continue;
      const auto cursor = sheet->createCursor();
      Reference<css::sheet::XUsedAreaCursor>(cursor, UNO_QUERY_THROW)->gotoEndOfUsedArea(false);
      const sal_Int32 last = Reference<css::sheet::XCellRangeAddressable>(cursor, UNO_QUERY_THROW)->getRangeAddress().EndRow;
      std::size_t size = 0;
      for (sal_Int32 row = 0; row <= last && size <= script::kMaxSourceSize; ++row) {
        const auto cell = sheet->getCellByPosition(0, row);
        lines.push_back(from_uno(Reference<css::text::XText>(cell, UNO_QUERY_THROW)->getString()));
        size += lines.back().size() + 1;
      }
      break;
    }
    return lines;
  });
}

// The variable that carries the macro's argument `i` into its call.
std::string argument_name(std::size_t i) {
  std::string name = "bridge_argument_";
  name += std::to_string(i);
  return name;
}

bool declares(const std::vector<std::string>& lines, const std::string& keyword, const std::string& procedure) {
  const std::string header = com::lcase(keyword + " " + procedure + "(");
  for (const std::string& line : lines) {
    if (com::lcase(line).find(header) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

Variant run_macro(const std::shared_ptr<Application>& app, const std::string& macro, std::span<Variant> args) {
  app->require_answering();
  const MacroName name = parse_macro_name(macro);
  const Document document = macro_workbook(*app, name, macro);
  if (!document.is() || name.module.empty()) not_found(macro);
  const std::vector<std::string> lines = module_lines(*app, document, name.module);
  const bool function = declares(lines, "Function", name.procedure);
  if (!function && !declares(lines, "Sub", name.procedure)) not_found(macro);

  std::string source;
  for (const std::string& line : lines) source += line + "\n";
  std::string call = name.procedure + "(";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) call += ", ";
    call += argument_name(i);
  }
  call += ")";
  source += function ? "bridge_result = " + call : "Call " + call;

  const script::HostFunctions folder_functions{
      {"ChDir", 1, 1,
       [app](std::span<const Variant> a) {
         app->set_current_folder(com::cstr(a[0]));
         return Variant();
       }},
      {"CurDir", 0, 1, [app](std::span<const Variant>) { return Variant(app->current_folder()); }}};
  try {
    script::Session session(Variant(std::static_pointer_cast<com::Dispatch>(app)), {}, folder_functions);
    for (std::size_t i = 0; i < args.size(); ++i) session.set_variable(argument_name(i), args[i]);
    session.run(script::parse(source, macro));
    return function ? session.variable("bridge_result").value_or(Variant()) : Variant();
  } catch (const script::ScriptError& e) {
    if (e.kind() == script::ScriptError::Kind::Budget) throw;  // it ends every macro under the trainee's statement
    if (e.runtime_error()) throw *e.runtime_error();
    com::raise(com::err::ApplicationDefined, "Microsoft Excel", "The macro '" + macro + "' cannot be run: " + e.problem());
  }
}

}  // namespace bridge::libreoffice
