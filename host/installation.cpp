#include "host/installation.hpp"

#include <dlfcn.h>

#include <string>
#include <system_error>

// The build system gives the installed data folder relative to the folder
// of the programs and to that of the libraries, as the prefix lays them out.
#ifndef D72506_DONNEES_DEPUIS_BIN
#define D72506_DONNEES_DEPUIS_BIN "../share/d72506"
#endif
#ifndef D72506_DONNEES_DEPUIS_LIB
#define D72506_DONNEES_DEPUIS_LIB "../share/d72506"
#endif

namespace d72506 {

namespace stdfs = std::filesystem;

// Code linked into the program itself is named by the program's path as it
// was typed, a bare name when the program was found on PATH: the kernel's
// own link to the program is the reliable answer then.
stdfs::path DossierBinaire() {
  Dl_info info{};
  const bool nomme = dladdr(reinterpret_cast<const void*>(&DossierBinaire), &info) != 0 &&
                     info.dli_fname != nullptr && std::string_view(info.dli_fname).find('/') != std::string_view::npos;
  if (!nomme) return stdfs::canonical("/proc/self/exe").parent_path();
  return stdfs::absolute(info.dli_fname).parent_path();
}

stdfs::path DossierDonneesInstallees() {
  const stdfs::path binaire = DossierBinaire();
  const stdfs::path depuis_bin = (binaire / D72506_DONNEES_DEPUIS_BIN).lexically_normal();
  const stdfs::path depuis_lib = (binaire / D72506_DONNEES_DEPUIS_LIB).lexically_normal();
  std::error_code erreur;
  return stdfs::is_directory(depuis_bin, erreur) ? depuis_bin : depuis_lib;
}

stdfs::path CheminDonnee(std::string_view nom) {
  const stdfs::path a_cote = DossierBinaire() / nom;
  const stdfs::path installe = DossierDonneesInstallees() / nom;
  std::error_code erreur;
  if (!stdfs::exists(a_cote, erreur) && stdfs::exists(installe, erreur)) return installe;
  return a_cote;
}

}  // namespace d72506
