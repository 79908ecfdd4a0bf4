#include "engine/app/macros.hpp"

#include <regex>

#include "engine/app/application.hpp"
#include "engine/app/item_index.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"
#include "platform/script/script.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

[[noreturn]] void not_found(const std::string& macro) {
  raise_refused("The macro '" + macro + "' cannot be found.");
}

// "Excel.Range" -> "Range": the interpreter knows classes by their own name.
std::string type_name(const std::string& declared) {
  const auto dot = declared.rfind('.');
  return dot == std::string::npos ? declared : declared.substr(dot + 1);
}

// "ByVal rep As String" -> {rep, String}; "Optional x = 1" -> {x, ""}; an
// array parameter "v() As Long" is a Variant holding the array.
Declared parameter(const std::string& declaration) {
  static const std::regex form(
      R"(^\s*(?:(?:Optional|ByVal|ByRef|ParamArray)\s+)*([A-Za-z_]\w*)\s*(\(\s*\))?\s*(?:As\s+([A-Za-z_][\w.]*))?.*$)",
      std::regex::icase);
  std::smatch m;
  if (!std::regex_match(declaration, m, form)) return {trimmed(declaration), ""};
  return {m[1].str(), m[2].matched ? "" : type_name(m[3].str())};
}

// A module's source: column A of the sheet named after the module, down to
// its last used row.
std::vector<std::string> module_lines(const model::Workbook& book, const std::string& module) {
  const model::Worksheet* sheet = book.find_sheet(module);
  if (!sheet) return {};
  std::vector<std::string> lines;
  const auto used = sheet->used_range();
  if (!used) return lines;
  for (int row = 0; row <= used->last_row; ++row) {
    const auto value = sheet->value(row, 0);
    lines.push_back(value.is_text() ? value.text() : formula::value_to_text(value));
  }
  return lines;
}

// "Dim rep As String": how the interpreter declares a parameter or a result.
std::string declaration(const Declared& d) {
  return "Dim " + d.name + (d.type.empty() ? "" : " As " + d.type) + "\n";
}

// What a macro reaches beyond the object model: Excel's current folder,
// taken as given (ChDir checks that the folder exists, as the runtime does).
platform::script::HostFunctions folder_statements(Application& app) {
  using Args = std::span<const com::Variant>;
  return {
      {"ChDir", 1, 1,
       [&app](Args args) {
         app.set_current_folder(com::cstr(args[0]));
         return com::Variant();
       }},
      {"CurDir", 0, 0, [&app](Args) { return com::Variant(app.current_folder()); }},
  };
}

// Runs the procedure in a session of its own: parameters and a Function's
// result are declared first so that their names cannot reach an Application
// member of the same name (a parameter called "Name").
com::Variant run_procedure(Application& app, const std::string& macro, const std::string& name,
                           const Procedure& procedure, std::span<com::Variant> args) {
  namespace script = platform::script;
  std::string declarations;
  for (const Declared& p : procedure.parameters) declarations += declaration(p);
  if (procedure.is_function) declarations += declaration({name, procedure.result_type});
  std::string body;
  for (const std::string& line : procedure.body) body += line + "\n";

  script::Session session(com::Variant(app.application_ref()), {}, folder_statements(app));
  try {
    session.run(script::parse(declarations, macro));
    for (std::size_t i = 0; i < args.size(); ++i) session.set_variable(procedure.parameters[i].name, args[i]);
    session.run(script::parse(body, macro));
  } catch (const script::ScriptError& e) {
    if (e.runtime_error()) throw *e.runtime_error();
    raise_refused("The macro '" + macro + "' cannot be run: " + e.problem());
  }
  if (!procedure.is_function) return {};
  return session.variable(name).value_or(com::Variant());
}

}  // namespace

MacroName parse_macro_name(const std::string& text) {
  MacroName name;
  std::string rest = trimmed(text);
  const auto bang = rest.rfind('!');
  if (bang != std::string::npos) {
    name.workbook = rest.substr(0, bang);
    if (name.workbook.size() >= 2 && name.workbook.front() == '\'' && name.workbook.back() == '\'') {
      name.workbook = name.workbook.substr(1, name.workbook.size() - 2);
    }
    rest = rest.substr(bang + 1);
  }
  const auto dot = rest.rfind('.');
  if (dot != std::string::npos) {
    name.module = rest.substr(0, dot);
    rest = rest.substr(dot + 1);
  }
  name.procedure = rest;
  return name;
}

bool find_procedure(const std::vector<std::string>& lines, const std::string& name, Procedure& found) {
  static const std::regex header(
      R"(^\s*(?:(?:Public|Private)\s+)?(Sub|Function)\s+([A-Za-z_][A-Za-z0-9_]*)\s*\((.*)\)(?:\s*As\s+([A-Za-z_][\w.]*))?.*$)",
      std::regex::icase);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::smatch m;
    if (!std::regex_match(lines[i], m, header) || !same_name(m[2].str(), name)) continue;
    found.is_function = same_name(m[1].str(), "Function");
    found.parameters.clear();
    found.result_type = type_name(m[4].str());
    std::string list = m[3].str();
    for (std::size_t start = 0; !trimmed(list).empty() && start <= list.size();) {
      const auto comma = list.find(',', start);
      found.parameters.push_back(parameter(list.substr(start, comma - start)));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    const std::string end = found.is_function ? "end function" : "end sub";
    found.body.clear();
    for (std::size_t j = i + 1; j < lines.size(); ++j) {
      if (com::lcase(trimmed(lines[j])) == end) return true;
      found.body.push_back(lines[j]);
    }
    return false;  // no end: not a procedure
  }
  return false;
}

com::Variant run_macro(Application& app, const std::string& macro, std::span<com::Variant> args) {
  const MacroName name = parse_macro_name(macro);
  std::shared_ptr<model::Workbook> book = app.active_workbook();
  if (!name.workbook.empty()) {
    book = nullptr;
    for (const auto& open : app.open_workbooks()) {
      if (same_name(open->name(), name.workbook)) book = open;
    }
  }
  if (!book || name.procedure.empty()) not_found(macro);
  Procedure procedure;
  bool found = false;
  for (std::size_t i = 0; i < book->sheet_count() && !found; ++i) {
    const std::string& sheet = book->sheet(i).name();
    if (name.module.empty() || same_name(sheet, name.module)) {
      found = find_procedure(module_lines(*book, sheet), name.procedure, procedure);
    }
  }
  if (!found) not_found(macro);
  if (args.size() != procedure.parameters.size()) com::raise(com::err::WrongNumberOfArguments);
  return run_procedure(app, macro, name.procedure, procedure, args);
}

}  // namespace engine::app
