#include "module/remonte_erreur.hpp"

#include "platform/com/traps.hpp"

namespace d72506 {

std::string TexteRapport(std::string_view classe, std::string_view methode, std::string_view source) {
  std::string texte = "DLL D72506 - CLASSE ";
  texte += classe;
  texte += "\n\r - SERVICE ";  // line feed then carriage return, in that order
  texte += methode;
  texte += " - OBJET ";
  texte += source;
  return texte;
}

void RemonteErreur(std::string_view classe, std::string_view methode, std::string_view source) {
  platform::com::reraise_with_source(TexteRapport(classe, methode, source));
}

}  // namespace d72506
