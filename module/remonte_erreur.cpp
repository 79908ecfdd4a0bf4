#include "module/remonte_erreur.hpp"

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

void RemonteErreur(std::string_view classe, std::string_view methode, std::string_view source,
                   const platform::com::Error& courante) {
  throw platform::com::Error(courante.number(), TexteRapport(classe, methode, source), courante.description(),
                             courante.help_file(), courante.help_context());
}

}  // namespace d72506
