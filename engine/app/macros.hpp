// Application.Run: macros carried by open workbooks. A workbook keeps each
// module's source on a sheet named after the module (very hidden in the
// delivered files), one line per row of column A, in the statement language
// of platform/script. Run("X72506.xls!module1.ChangeRep", args...) finds
// the procedure while that workbook is open and runs it on the
// Application, its parameters bound to the arguments. A macro's ChDir and
// CurDir act on Excel's own current folder.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/com/variant.hpp"

namespace engine::app {

class Application;

// "'My Book.xls'!Module1.Proc": the workbook (empty: the active one), the
// module (empty: any) and the procedure.
struct MacroName {
  std::string workbook;
  std::string module;
  std::string procedure;
};
MacroName parse_macro_name(const std::string& text);

// A parameter or a Function's result: its name and declared type ("Range"
// for "As Excel.Range"; empty for a Variant).
struct Declared {
  std::string name;
  std::string type;
};

// A procedure's header and body lines.
struct Procedure {
  bool is_function = false;
  std::vector<Declared> parameters;
  std::string result_type;  // a Function's; empty for a Variant
  std::vector<std::string> body;
};

// The procedure `name` of a module's source lines; false when absent.
bool find_procedure(const std::vector<std::string>& lines, const std::string& name, Procedure& found);

// Runs the macro; a Function's result is returned. A macro that cannot be
// found (workbook closed, no such module or procedure) raises 1004 "The macro
// '...' cannot be found."; a wrong number of arguments raises 450; the
// macro's own runtime error passes unchanged (ChDir to a missing folder: 76);
// a body the interpreter refuses raises 1004 "The macro '...' cannot be run".
platform::com::Variant run_macro(Application& app, const std::string& macro, std::span<platform::com::Variant> args);

}  // namespace engine::app
