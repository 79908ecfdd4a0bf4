#include "engine/app/macros.hpp"

#include <charconv>
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

// "ByVal rep As String" -> "rep".
std::string parameter_name(std::string declaration) {
  static const std::regex modifiers(R"(^\s*((Optional|ByVal|ByRef|ParamArray)\s+)*)", std::regex::icase);
  declaration = std::regex_replace(declaration, modifiers, "");
  const auto end = declaration.find_first_of(" \t(=");
  return trimmed(declaration.substr(0, end));
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

// The argument as a literal of the statement language, to bind a parameter.
std::string literal(const com::Variant& value) {
  switch (value.type()) {
    case com::VarType::Empty:
      return "Empty";
    case com::VarType::Null:
      return "Null";
    case com::VarType::Boolean:
      return value.bool_value() ? "True" : "False";
    case com::VarType::Integer:
    case com::VarType::Long:
    case com::VarType::Double: {
      char buffer[32];
      auto end = std::to_chars(buffer, buffer + sizeof buffer, com::cdbl(value)).ptr;
      return "(" + std::string(buffer, end) + ")";
    }
    case com::VarType::String: {
      std::string quoted = "\"";
      for (char c : value.string_value()) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
      return quoted + "\"";
    }
    default:
      raise_refused("Run passes only text, numbers, Booleans, Empty and Null to a macro here.");
  }
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
  static const std::regex header(R"(^\s*(?:(?:Public|Private)\s+)?(Sub|Function)\s+([A-Za-z_][A-Za-z0-9_]*)\s*\((.*)\).*$)",
                                 std::regex::icase);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::smatch m;
    if (!std::regex_match(lines[i], m, header) || !same_name(m[2].str(), name)) continue;
    found.is_function = same_name(m[1].str(), "Function");
    found.parameters.clear();
    std::string list = m[3].str();
    for (std::size_t start = 0; !trimmed(list).empty() && start <= list.size();) {
      const auto comma = list.find(',', start);
      found.parameters.push_back(parameter_name(list.substr(start, comma - start)));
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

  std::string source;
  for (std::size_t i = 0; i < args.size(); ++i) source += procedure.parameters[i] + " = " + literal(args[i]) + "\n";
  for (const std::string& line : procedure.body) source += line + "\n";
  platform::script::Session session(com::Variant(app.application_ref()));
  try {
    session.run(platform::script::parse(source, macro));
  } catch (const platform::script::ScriptError& e) {
    if (e.runtime_error()) throw *e.runtime_error();
    raise_refused("The macro '" + macro + "' cannot be run: " + e.problem());
  }
  if (!procedure.is_function) return {};
  return session.variable(name.procedure).value_or(com::Variant());
}

}  // namespace engine::app
