#include "engine/app/macros.hpp"

#include <optional>
#include <string_view>

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

// One line of a module's source, read word by word from the left. Each
// step looks at a character once: a line of any length and content is read
// in one pass, with no backtracking and no recursion.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : rest_(text) {}

  // Blanks skipped, then a name: a letter or '_', then letters, digits and
  // '_' (and '.' when `dotted`, for "Excel.Range"); empty when none starts here.
  std::string_view name(bool dotted = false) {
    skip_blanks();
    if (rest_.empty() || !(is_letter(rest_[0]) || rest_[0] == '_')) return {};
    std::size_t end = 1;
    while (end < rest_.size() && (is_word(rest_[end]) || (dotted && rest_[end] == '.'))) ++end;
    return take(end);
  }

  // Takes `word` (any case) when it comes next and a blank follows it.
  bool keyword(std::string_view word) {
    skip_blanks();
    if (rest_.size() <= word.size() || !same_name(rest_.substr(0, word.size()), word) || !is_blank(rest_[word.size()]))
      return false;
    take(word.size());
    return true;
  }

  bool symbol(char c) {
    skip_blanks();
    if (rest_.empty() || rest_[0] != c) return false;
    take(1);
    return true;
  }

  // The text up to the last `c` of the line, which is taken too; nullopt
  // when the line holds no `c`.
  std::optional<std::string_view> up_to_last(char c) {
    const auto at = rest_.rfind(c);
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view before = rest_.substr(0, at);
    take(at + 1);
    return before;
  }

  // "As Type" when it comes next: the type's name (empty when absent).
  std::string declared_type() { return keyword("As") ? type_name(std::string(name(true))) : std::string(); }

 private:
  static bool is_blank(char c) { return c == ' ' || c == '\t'; }
  static bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
  static bool is_word(char c) { return is_letter(c) || (c >= '0' && c <= '9') || c == '_'; }

  void skip_blanks() {
    while (!rest_.empty() && is_blank(rest_[0])) rest_.remove_prefix(1);
  }
  std::string_view take(std::size_t n) {
    const std::string_view taken = rest_.substr(0, n);
    rest_.remove_prefix(n);
    return taken;
  }

  std::string_view rest_;
};

// "ByVal rep As String" -> {rep, String}; "Optional x = 1" -> {x, ""}; an
// array parameter "v() As Long" is a Variant holding the array. Text that
// names no parameter is kept whole, trimmed.
Declared parameter(const std::string& declaration) {
  LineCursor cursor(declaration);
  while (cursor.keyword("Optional") || cursor.keyword("ByVal") || cursor.keyword("ByRef") ||
         cursor.keyword("ParamArray")) {
  }
  const std::string_view name = cursor.name();
  if (name.empty()) return {trimmed(declaration), ""};
  const bool array = cursor.symbol('(') && cursor.symbol(')');
  const std::string type = cursor.declared_type();
  return {std::string(name), array ? "" : type};
}

// "Public Function Rep(a, b) As String": a procedure's header, when the line
// is one.
struct Header {
  bool is_function = false;
  std::string name;
  std::string parameters;  // the text between the parentheses
  std::string result_type;
};

std::optional<Header> header(const std::string& line) {
  LineCursor cursor(line);
  if (!cursor.keyword("Public")) cursor.keyword("Private");
  Header found;
  if (cursor.keyword("Function")) {
    found.is_function = true;
  } else if (!cursor.keyword("Sub")) {
    return std::nullopt;
  }
  found.name = cursor.name();
  if (found.name.empty() || !cursor.symbol('(')) return std::nullopt;
  const auto parameters = cursor.up_to_last(')');
  if (!parameters) return std::nullopt;
  found.parameters = *parameters;
  found.result_type = cursor.declared_type();
  return found;
}

// A module's source: column A of the sheet named after the module, down to
// its last used row, or until it holds more than a script may (the rest
// could never be parsed, so it is not gathered either).
std::vector<std::string> module_lines(const model::Workbook& book, const std::string& module) {
  const model::Worksheet* sheet = book.find_sheet(module);
  if (!sheet) return {};
  std::vector<std::string> lines;
  const auto used = sheet->used_range();
  if (!used) return lines;
  std::size_t size = 0;
  for (int row = 0; row <= used->last_row && size <= platform::script::kMaxSourceSize; ++row) {
    const auto value = sheet->value(row, 0);
    lines.push_back(value.is_text() ? value.text() : formula::value_to_text(value));
    size += lines.back().size() + 1;
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
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::optional<Header> h = header(lines[i]);
    if (!h || !same_name(h->name, name)) continue;
    found.is_function = h->is_function;
    found.parameters.clear();
    found.result_type = h->result_type;
    const std::string& list = h->parameters;
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
