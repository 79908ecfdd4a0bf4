// Excel's current folder, set and read through the two macros of the macro
// workbook "X72506.xls" that is installed with the module's own binary.
#include <string_view>
#include <string>
#include <vector>

#include "host/installation.hpp"
#include "module/module.hpp"
#include "module/remonte_erreur.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/traps.hpp"
#include "platform/fs/attributes.hpp"
#include "platform/fs/folders.hpp"

namespace d72506 {

namespace com = platform::com;
namespace excel = platform::excel;
namespace fs = platform::fs;
using com::Variant;

namespace {

constexpr const char* kClasseurMacros = "X72506.xls";

// Beside the module's binary, or in the data folder of its install prefix.
// The path uses the host's separator: a backslash joined to a folder that
// holds none would name a file that does not exist.
std::string CheminClasseurMacros() { return CheminDonnee(kClasseurMacros).string(); }

// The macro workbook is the module's own and is kept read-only, as an
// installed file is: Excel writes over no read-only file, so no Save or
// SaveAs of a trainee's can replace the macros the module runs. An installed
// copy that is not ours to change is not ours to write either, so a refused
// change is no failure. A link in its place could lead anywhere and is
// refused.
void ProtegeClasseurMacros(const std::string& chemin) {
  if (fs::is_symbolic_link(chemin)) {
    com::raise(com::err::PathFileAccess, "D72506",
               "The macro workbook '" + chemin + "' is a symbolic link; it must be the module's own file");
  }
  const std::int32_t attributs = fs::GetAttr(chemin);
  if ((attributs & fs::attr::ReadOnly) == 0) {
    com::ignore_error([&] { fs::SetAttr(chemin, attributs | fs::attr::ReadOnly); });
  }
}

// Runs a macro of the macro workbook between its opening and its closing,
// and gives its result as text ("" for a Sub). A failure after the opening
// closes the workbook again before the report: the trainee must never find
// the module's macros open in their Excel.
std::string ExecuteMacro(const excel::Application& application, std::string_view methode, const std::string& macro,
                     std::vector<Variant> arguments) {
  bool ouvert = false;
  std::string resultat;
  com::report_and_fail(
      [&] {
        const std::string chemin = CheminClasseurMacros();
        ProtegeClasseurMacros(chemin);
        application.Application_().Workbooks().Open(chemin);
        ouvert = true;
        resultat = com::cstr(application.Application_().Run(std::string(kClasseurMacros) + "!module1." + macro,
                                                             std::move(arguments)));
        application.Application_().Workbooks()(Variant(kClasseurMacros)).Close(false);
      },
      [&](const com::Error& e) {
        if (ouvert) {
          com::ignore_error(
              [&] { application.Application_().Workbooks()(Variant(kClasseurMacros)).Close(false); });
        }
        RemonteErreur("Module", methode, e.source());
      });
  return resultat;
}

}  // namespace

void Module::ChangeDir(const std::string& path) {
  ExecuteMacro(moApplication, "ChangeDir", "ChangeRep", {Variant(path)});
}

std::string Module::GetDir() { return ExecuteMacro(moApplication, "GetDir", "GetRep", {}); }

}  // namespace d72506
