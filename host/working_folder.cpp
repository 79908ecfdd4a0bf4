// Excel's current folder, set and read through the two macros of the macro
// workbook "X72506.xls" that lies beside the module's own binary.
#include <dlfcn.h>

#include <filesystem>
#include <string_view>
#include <string>
#include <vector>

#include "module/module.hpp"
#include "module/remonte_erreur.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/traps.hpp"

namespace d72506 {

namespace com = platform::com;
namespace excel = platform::excel;
using com::Variant;

namespace {

constexpr const char* kClasseurMacros = "X72506.xls";

// The folder of the binary that holds this code, without a final separator.
// Code linked into the program itself is named by the program's path as it
// was typed, a bare name when the program was found on PATH: the kernel's
// own link to the program is the reliable answer then.
std::string DossierInstallation() {
  Dl_info info{};
  const bool nomme = dladdr(reinterpret_cast<const void*>(&DossierInstallation), &info) != 0 &&
                     info.dli_fname != nullptr && std::string_view(info.dli_fname).find('/') != std::string_view::npos;
  if (!nomme) return std::filesystem::canonical("/proc/self/exe").parent_path().string();
  return std::filesystem::absolute(info.dli_fname).parent_path().string();
}

// The separator is always inserted, whatever the folder ends with.
std::string CheminClasseurMacros() { return DossierInstallation() + "\\" + kClasseurMacros; }

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
        application.Application_().Workbooks().Open(CheminClasseurMacros());
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
