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

// Called from a trap's handler: raises the error being handled (the thread's
// current error) again with the report text as its source; number,
// description, help file and help context stay as they were. `source` is
// that error's own source, read by the caller.
[[noreturn]] void RemonteErreur(std::string_view classe, std::string_view methode, std::string_view source);

// The handler of a method whose trap reports: RemonteErreur with the
// caught error's own source. The two names must outlive the handler.
inline auto Rapporte(std::string_view classe, std::string_view methode) {
  return [classe, methode](const platform::com::Error& e) { RemonteErreur(classe, methode, e.source()); };
}

}  // namespace d72506
