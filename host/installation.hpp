// Where the binary that holds the module lies, and where the data installed
// with it lies: the macro workbook and the exercise files. The module looks
// beside its own binary first (the build tree puts copies there), then in
// the data folder of the prefix the binary is installed under, so that an
// installed command or library works from wherever the prefix is.
#pragma once

#include <filesystem>
#include <string_view>

namespace d72506 {

// The folder of the program or shared library that holds this code.
std::filesystem::path DossierBinaire();

// <prefix>/share/d72506 for a binary installed in <prefix>/bin or in the
// library folder of <prefix>.
std::filesystem::path DossierDonneesInstallees();

// `nom` beside the binary when it is there, else in the installed data
// folder when it is there, else beside the binary (so that a failure to
// open it names the first place looked at).
std::filesystem::path CheminDonnee(std::string_view nom);

}  // namespace d72506
