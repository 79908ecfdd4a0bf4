// The language of Excel's user interface: it decides the texts Excel itself
// writes into workbooks (a new workbook's and new sheets' names, the
// default names of new controls, the built-in custom lists, the printer
// message). The course's trainees run a
// French Excel, hence the default.
#pragma once

#include <string>
#include <vector>

namespace engine::app {

enum class Language { French, English };

struct LanguageTexts {
  std::string new_workbook;   // "Classeur" -> Classeur1
  std::string new_sheet;      // "Feuil" -> Feuil1
  std::string new_check_box;  // "Case à cocher" -> Case à cocher 3
  std::string new_text_box;   // "Zone de texte" -> Zone de texte 4
  std::string no_printer;     // ActivePrinter with no printer configured
  // Excel 2003's four built-in custom lists, in its order.
  std::vector<std::vector<std::string>> builtin_lists;
};

const LanguageTexts& texts(Language language);

}  // namespace engine::app
