// The module's one error reporter: it stamps the error being handled with
// the class and method that caught it and raises it on to the caller, so
// that the player receives a source text naming every level it crossed.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/error.hpp"

namespace d72506 {

// "DLL D72506 - CLASSE " class LF CR " - SERVICE " method " - OBJET " source.
std::string TexteRapport(std::string_view classe, std::string_view methode, std::string_view source);

// Raises `courante` again with the report text as its source; number,
// description, help file and help context stay those of `courante`.
[[noreturn]] void RemonteErreur(std::string_view classe, std::string_view methode, std::string_view source,
                                const platform::com::Error& courante);

}  // namespace d72506
