#include "engine/app/language.hpp"

namespace engine::app {

namespace {

LanguageTexts french() {
  return {"Classeur",
          "Feuil",
          "Case à cocher",
          "Zone de texte",
          "Imprimante non définie. Vérifiez le panneau de configuration.",
          {{"lun", "mar", "mer", "jeu", "ven", "sam", "dim"},
           {"lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche"},
           {"janv", "févr", "mars", "avr", "mai", "juin", "juil", "août", "sept", "oct", "nov", "déc"},
           {"janvier", "février", "mars", "avril", "mai", "juin", "juillet", "août", "septembre", "octobre",
            "novembre", "décembre"}}};
}

LanguageTexts english() {
  return {"Book",
          "Sheet",
          "Check Box",
          "Text Box",
          "No printers are installed. Check the Control Panel.",
          {{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
           {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
           {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
           {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
            "November", "December"}}};
}

}  // namespace

const LanguageTexts& texts(Language language) {
  static const LanguageTexts fr = french();
  static const LanguageTexts en = english();
  return language == Language::French ? fr : en;
}

}  // namespace engine::app
