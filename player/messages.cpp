#include "player/messages.hpp"

#include <array>
#include <cctype>
#include <cstdlib>

namespace d72506::player {

namespace {

using enum CodeScope;

constexpr QuestionSet kEveryQuestion = questions_from(kFirstQuestion, kLastQuestion);
// Question 613's check is the only one without the "AA" trap: a failure
// there is reported, never turned into a code.
constexpr QuestionSet kAaQuestions = kEveryQuestion & ~questions({613});
// The questions whose pre-check looks at the workbook at all.
constexpr QuestionSet kWorkbookPreChecked = kEveryQuestion & ~questions({609, 613, 614});
constexpr QuestionSet kTrimestreFirst = questions_from(601, 607);
constexpr QuestionSet kDetailFirst = questions({608, 610, 611, 612});
constexpr QuestionSet kNoteChecked = questions_from(601, 606) | questions({610, 611, 612});

// The texts speak to the trainee, who sees Excel and the exercise, not the
// module: they name what is on the screen and say what to do next.
constexpr CodeMessage kMessages[] = {
    // The module's own general errors.
    {kModule, kEveryQuestion, "AM",
     "Excel n'est plus affiché : sa fenêtre a été fermée ou masquée. Rouvrez Excel et reprenez la question.",
     "Excel is no longer on screen: its window was closed or hidden. Open Excel again and restart the question."},
    {kModule, kEveryQuestion, "%AL",
     "Excel ne répond pas : une cellule est en cours de saisie ou une boîte de dialogue est ouverte. Validez ou "
     "annulez la saisie (Entrée ou Échap), fermez la boîte de dialogue, puis demandez à nouveau la correction.",
     "Excel is not answering: a cell is being edited or a dialog box is open. Finish or cancel the entry (Enter "
     "or Esc), close the dialog box, then ask for the check again."},
    {kModule, kEveryQuestion, "AN",
     "Le classeur de l'exercice n'a pas pu être examiné : sa structure a changé (une feuille supprimée, par "
     "exemple). Recommencez la question.",
     "The exercise workbook could not be examined: its structure has changed (a sheet deleted, for example). "
     "Start the question again."},
    {kModule, kAaQuestions, "AA",
     "Une cellule examinée contient une valeur qui ne peut pas être comparée (une valeur d'erreur comme #DIV/0!, "
     "par exemple). Corrigez les cellules demandées, puis demandez à nouveau la correction.",
     "A cell the check reads holds a value that cannot be compared (an error value such as #DIV/0!, for "
     "example). Correct the cells the question asks for, then ask for the check again."},

    // The pre-check of the workbook, before the question's own check.
    {kPreCheck, questions({611}), "#BA",
     "Aucune imprimante n'est installée sur cet ordinateur, et les affichages personnalisés en ont besoin. "
     "Installez une imprimante (même sans l'utiliser), puis reprenez la question.",
     "No printer is installed on this computer, and custom views need one. Install a printer (even one you "
     "will not use), then restart the question."},
    {kPreCheck, kWorkbookPreChecked, "C",
     "Le classeur de l'exercice n'est plus ouvert. Laissez-le ouvert jusqu'à la correction : recommencez la "
     "question.",
     "The exercise workbook is no longer open. Leave it open until it is checked: start the question again."},
    {kPreCheck, kWorkbookPreChecked, "A",
     "Le classeur de l'exercice n'est pas le classeur actif. Revenez dans ce classeur (menu Fenêtre) avant de "
     "demander la correction.",
     "The exercise workbook is not the active workbook. Go back to it (Window menu) before asking for the "
     "check."},
    {kPreCheck, kTrimestreFirst, "B",
     "La première feuille du classeur doit être « Trimestre 1 » : une feuille a été renommée ou déplacée. "
     "Remettez-la en première position sous ce nom.",
     "The workbook's first sheet must be \"Trimestre 1\": a sheet has been renamed or moved. Put it back in "
     "first place under that name."},
    {kPreCheck, kNoteChecked, "D",
     "Le commentaire de la cellule F13 (« Ne pas supprimer ce commentaire. Merci ! ») a été modifié ou supprimé. "
     "Recommencez la question sans y toucher.",
     "The comment of cell F13 (\"Ne pas supprimer ce commentaire. Merci !\") has been changed or deleted. Start "
     "the question again and leave it as it is."},
    {kPreCheck, questions({615}), "D",
     "La feuille « réponses » doit garder ses deux cases à cocher et rien d'autre : un objet y a été ajouté ou "
     "supprimé. Recommencez la question.",
     "The sheet \"réponses\" must keep its two check boxes and nothing else: an object has been added to it or "
     "deleted. Start the question again."},
    {kPreCheck, kDetailFirst, "F",
     "La première feuille du classeur doit être « Détail » : une feuille a été renommée ou déplacée. Remettez-la "
     "en première position sous ce nom.",
     "The workbook's first sheet must be \"Détail\": a sheet has been renamed or moved. Put it back in first "
     "place under that name."},
    {kPreCheck, kDetailFirst, "G",
     "La deuxième feuille du classeur doit être « Trimestre 1 » : une feuille a été renommée ou déplacée. "
     "Remettez-la en deuxième position sous ce nom.",
     "The workbook's second sheet must be \"Trimestre 1\": a sheet has been renamed or moved. Put it back in "
     "second place under that name."},
    {kPreCheck, questions({611}), "K",
     "La feuille active doit être « Trimestre 1 ». Cliquez sur son onglet, puis demandez à nouveau la correction.",
     "The active sheet must be \"Trimestre 1\". Click its tab, then ask for the check again."},
    {kPreCheck, questions({615}), "H",
     "La première feuille du classeur doit être « réponses » : une feuille a été renommée ou déplacée. "
     "Remettez-la en première position sous ce nom.",
     "The workbook's first sheet must be \"réponses\": a sheet has been renamed or moved. Put it back in first "
     "place under that name."},

    // The questions' own checks. The empty code is the right answer.
    {kQuestion, kEveryQuestion, "", "Bonne réponse", "Correct"},

    {kQuestion, questions({601}), "A", "La cellule D1 est vide. Saisissez-y le numéro 09854895.",
     "Cell D1 is empty. Enter the number 09854895 in it."},
    {kQuestion, questions({601}), "B",
     "Le numéro commence par la lettre O au lieu du chiffre zéro. Saisissez 09854895 avec un zéro.",
     "The number begins with the letter O instead of the digit zero. Enter 09854895 with a zero."},
    {kQuestion, questions({601}), "C",
     "Le zéro du début a disparu : le numéro a été saisi comme un nombre. Saisissez-le comme un texte, par "
     "exemple en tapant une apostrophe devant ('09854895).",
     "The leading zero is gone: the number was entered as a number. Enter it as text, for example by typing an "
     "apostrophe first ('09854895)."},
    {kQuestion, questions({601}), "D",
     "La cellule D1 ne contient pas le numéro 09854895. Vérifiez votre saisie.",
     "Cell D1 does not hold the number 09854895. Check what you typed."},

    {kQuestion, questions({602}), "A",
     "La liste personnalisée « España, France., UK » n'existe pas. Créez-la (menu Outils, Options, onglet Listes "
     "pers.).",
     "The custom list \"España, France., UK\" does not exist. Create it (Tools menu, Options, Custom Lists tab)."},
    {kQuestion, questions({602}), "B",
     "La liste personnalisée a été créée sans le point final de « France. ». Recréez-la avec « France. ».",
     "The custom list was created without the full stop of \"France.\". Create it again with \"France.\"."},

    {kQuestion, questions({603}), "A",
     "Une des cellules C4 à C7 est vide. Remplissez-les toutes.",
     "One of the cells C4 to C7 is empty. Fill them all."},
    {kQuestion, questions({603}), "B",
     "Le nom « Zone » désigne encore la plage C4:C8, ou le commentaire de la cellule E3 a été modifié. Modifiez "
     "la plage du nom « Zone » (menu Insertion, Nom, Définir) sans toucher au commentaire.",
     "The name \"Zone\" still refers to the range C4:C8, or the comment of cell E3 has been changed. Change the "
     "range of the name \"Zone\" (Insert menu, Name, Define) and leave the comment alone."},
    {kQuestion, questions({603}), "C",
     "Le tableau a été modifié en dehors de ce qui était demandé (titres, ou commentaire de la cellule A8). "
     "Recommencez la question.",
     "The table has been changed beyond what was asked (its labels, or the comment of cell A8). Start the "
     "question again."},

    {kQuestion, questions({604}), "A",
     "Le tableau A9:E12 n'est pas celui attendu : les pays doivent être en colonnes et les mois en lignes. "
     "Utilisez Collage spécial avec l'option Transposé.",
     "The table A9:E12 is not the one expected: the countries must stand in columns and the months in rows. Use "
     "Paste Special with the Transpose option."},

    {kQuestion, questions({605}), "A", "La cellule A2 est vide. Saisissez-y la formule demandée.",
     "Cell A2 is empty. Enter the formula asked for in it."},
    {kQuestion, questions({605}), "B",
     "La moyenne calculée (120) porte sur tout le bloc de cellules. Ne prenez que les cellules demandées.",
     "The average you got (120) covers the whole block of cells. Take only the cells asked for."},
    {kQuestion, questions({605}), "C",
     "La formule de la cellule A2 n'utilise pas la fonction MOYENNE. Écrivez une formule qui commence par "
     "=MOYENNE(.",
     "The formula of cell A2 does not use the AVERAGE function. Write a formula that begins with =AVERAGE(."},
    {kQuestion, questions({605}), "D",
     "La cellule A2 ne donne pas la bonne moyenne, ou contient une valeur au lieu d'une formule. Saisissez une "
     "formule MOYENNE des cellules demandées.",
     "Cell A2 does not give the right average, or holds a value instead of a formula. Enter an AVERAGE formula "
     "of the cells asked for."},

    {kQuestion, questions({606}), "A",
     "Le suffixe -52 a été tapé dans la cellule. Il doit venir d'un format de nombre personnalisé : remettez le "
     "contenu d'origine et créez le format.",
     "The suffix -52 was typed into the cell. It must come from a custom number format: put the original "
     "content back and create the format."},
    {kQuestion, questions({606}), "B",
     "Le format de la cellule D1 n'est pas le format personnalisé attendu. Créez le format @\"-52\" (menu Format, "
     "Cellule, Nombre, Personnalisée).",
     "The format of cell D1 is not the expected custom format. Create the format @\"-52\" (Format menu, Cells, "
     "Number, Custom)."},

    {kQuestion, questions({607}), "A",
     "Le tableau des lignes 9 à 12 a été effacé. Il doit rester là, seulement masqué : recommencez la question.",
     "The table of rows 9 to 12 has been cleared. It must stay, only hidden: start the question again."},
    {kQuestion, questions({607}), "B",
     "Une des lignes 9 à 12 est encore affichée. Masquez-les toutes les quatre.",
     "One of the rows 9 to 12 is still shown. Hide all four."},
    {kQuestion, questions({607}), "C",
     "Les lignes 9 à 12 ont été groupées (plan) au lieu d'être masquées. Dissociez-les, puis masquez-les (menu "
     "Format, Ligne, Masquer).",
     "Rows 9 to 12 were grouped (outline) instead of hidden. Ungroup them, then hide them (Format menu, Row, "
     "Hide)."},
    {kQuestion, questions({607}), "D",
     "D'autres lignes que les lignes 9 à 12 sont masquées. Affichez-les à nouveau.",
     "Rows other than 9 to 12 are hidden. Show them again."},

    {kQuestion, questions({608}), "A",
     "Les sous-totaux n'ont pas tous été supprimés (une ligne de total ou le plan reste). Utilisez Données, "
     "Sous-totaux, Supprimer tout.",
     "The subtotals have not all been removed (a total row or the outline remains). Use Data, Subtotals, Remove "
     "All."},

    {kQuestion, questions({609}), "A",
     "La fenêtre du classeur « Thor International.xls » n'existe plus : le classeur a été fermé. Il doit rester "
     "ouvert, sa fenêtre masquée (menu Fenêtre, Masquer).",
     "The window of the workbook \"Thor International.xls\" no longer exists: the workbook was closed. It must "
     "stay open, its window hidden (Window menu, Hide)."},
    {kQuestion, questions({609}), "B",
     "La fenêtre du classeur est encore visible. Masquez-la (menu Fenêtre, Masquer).",
     "The workbook's window is still visible. Hide it (Window menu, Hide)."},

    {kQuestion, questions({610}), "A",
     "Les lignes 4 à 6 ne forment pas un groupe à elles seules (un seul niveau de plan). Groupez exactement ces "
     "lignes (menu Données, Grouper et créer un plan, Grouper).",
     "Rows 4 to 6 do not form one group of their own (one outline level). Group exactly these rows (Data menu, "
     "Group and Outline, Group)."},
    {kQuestion, questions({610}), "B",
     "La ligne 3 (les titres) a été prise dans le groupe. Groupez seulement les lignes 4 à 6.",
     "Row 3 (the headings) was taken into the group. Group only rows 4 to 6."},
    {kQuestion, questions({610}), "C",
     "La ligne 7 (le total) a été prise dans le groupe. Groupez seulement les lignes 4 à 6.",
     "Row 7 (the total) was taken into the group. Group only rows 4 to 6."},
    {kQuestion, questions({610}), "D",
     "Le groupe est développé. Réduisez-le (bouton - du plan).",
     "The group is expanded. Collapse it (the outline's - button)."},

    {kQuestion, questions({611}), "A",
     "L'affichage personnalisé « 123 » n'existe pas dans le classeur, ou ne peut pas être affiché. Créez-le "
     "(menu Affichage, Affichages personnalisés).",
     "The custom view \"123\" does not exist in the workbook, or cannot be shown. Create it (View menu, Custom "
     "Views)."},
    {kQuestion, questions({611}), "B",
     "L'affichage « 123 » ne rétablit pas le zoom de 110 %. Réglez le zoom, puis enregistrez l'affichage à "
     "nouveau.",
     "The view \"123\" does not restore the 110% zoom. Set the zoom, then record the view again."},
    {kQuestion, questions({611}), "C",
     "L'affichage « 123 » laisse les lignes 4 et 5 masquées. Affichez-les, puis enregistrez l'affichage à "
     "nouveau.",
     "The view \"123\" leaves rows 4 and 5 hidden. Show them, then record the view again."},
    {kQuestion, questions({611}), "D",
     "L'affichage « 123 » ne rétablit pas l'orientation Portrait. Réglez la mise en page, puis enregistrez "
     "l'affichage avec les paramètres d'impression.",
     "The view \"123\" does not restore portrait orientation. Set up the page, then record the view with its "
     "print settings."},
    {kQuestion, questions({611}), "E",
     "L'affichage « 123 » ne rétablit pas le centrage horizontal de la page. Réglez la mise en page, puis "
     "enregistrez l'affichage avec les paramètres d'impression.",
     "The view \"123\" does not restore horizontal centring of the page. Set up the page, then record the view "
     "with its print settings."},

    {kQuestion, questions({612}), "A",
     "Le style « Titre bleu » n'existe pas dans le classeur de l'exercice. Créez-le (menu Format, Style).",
     "The style \"Titre bleu\" does not exist in the exercise workbook. Create it (Format menu, Style)."},
    {kQuestion, questions({612}), "B",
     "La police du style « Titre bleu » n'est pas celle demandée : gras, italique et de la couleur bleue "
     "indiquée. Modifiez le style.",
     "The font of the style \"Titre bleu\" is not the one asked for: bold, italic, in the blue shown. Modify the "
     "style."},

    {kQuestion, questions({613}), "A",
     "Le modèle « Thor.xlt » n'est pas dans le dossier des modèles du cours. Enregistrez le classeur sous ce nom, "
     "comme Modèle, dans ce dossier.",
     "The template \"Thor.xlt\" is not in the course's templates folder. Save the workbook under that name, as a "
     "Template, in that folder."},
    {kQuestion, questions({613}), "B",
     "Le modèle « Thor.xlt » est encore ouvert. Fermez-le.",
     "The template \"Thor.xlt\" is still open. Close it."},

    {kQuestion, questions({614}), "C",
     "Aucun classeur n'est ouvert. Créez un nouveau classeur à partir du modèle « Thor ».",
     "No workbook is open. Create a new workbook from the template \"Thor\"."},
    {kQuestion, questions({614}), "A",
     "Le classeur actif n'est pas un nouveau classeur : il a été enregistré ou existait déjà. Créez un nouveau "
     "classeur à partir du modèle « Thor » (menu Fichier, Nouveau) et ne l'enregistrez pas.",
     "The active workbook is not a new one: it was saved or existed already. Create a new workbook from the "
     "template \"Thor\" (File menu, New) and do not save it."},
    {kQuestion, questions({614}), "B",
     "Le classeur actif n'a pas été créé à partir du modèle « Thor », ou sa première feuille a été modifiée. "
     "Créez un nouveau classeur à partir de ce modèle sans le modifier.",
     "The active workbook was not made from the template \"Thor\", or its first sheet has been changed. Create "
     "a new workbook from that template and leave it as it is."},

    {kQuestion, questions({615}), "A",
     "Aucune case n'est cochée. Cochez la case de la bonne réponse.",
     "No box is ticked. Tick the box of the right answer."},
    {kQuestion, questions({615}), "B",
     "Ce n'est pas la bonne réponse : une seule case doit être cochée, celle de la bonne réponse. Relisez la "
     "question.",
     "That is not the right answer: only one box must be ticked, the right answer's. Read the question again."},
};

struct NotJudgedReason {
  std::int32_t question;
  std::string_view french;
  std::string_view english;
};

// The questions whose answer lives in Excel itself, not in a workbook.
constexpr NotJudgedReason kNotJudgedReasons[] = {
    {602,
     "La question 602 ne se corrige pas sur un fichier : sa réponse est une liste personnalisée, qu'Excel garde "
     "lui-même et non un classeur.",
     "Question 602 cannot be judged from a file: its answer is a custom list, which Excel keeps itself, not a "
     "workbook."},
    {614,
     "La question 614 ne se corrige pas sur un fichier : sa réponse est un nouveau classeur laissé ouvert sans "
     "être enregistré.",
     "Question 614 cannot be judged from a file: its answer is a new workbook left open and never saved."},
};

bool in_scope(const CodeMessage& entry, bool erreur_generale) {
  return erreur_generale ? entry.scope != kQuestion : entry.scope == kQuestion;
}

}  // namespace

std::span<const CodeMessage> code_messages() { return kMessages; }

std::optional<std::string_view> message_for(std::int32_t question, bool erreur_generale, std::string_view code,
                                            Language language) {
  for (const CodeMessage& entry : kMessages) {
    if (in_scope(entry, erreur_generale) && holds(entry.questions, question) && entry.code == code) {
      return language == Language::kEnglish ? entry.english : entry.french;
    }
  }
  return std::nullopt;
}

std::string verdict_message(std::int32_t question, bool erreur_generale, std::string_view code, Language language) {
  if (auto message = message_for(question, erreur_generale, code, language)) return std::string(*message);
  const std::string quoted_code(code);
  return language == Language::kEnglish ? "Code \"" + quoted_code + "\": no message for this code."
                                        : "Code « " + quoted_code + " » : aucun message pour ce code.";
}

std::optional<std::string_view> not_judged_reason(std::int32_t question, Language language) {
  for (const NotJudgedReason& reason : kNotJudgedReasons) {
    if (reason.question == question) return language == Language::kEnglish ? reason.english : reason.french;
  }
  return std::nullopt;
}

std::optional<Language> parse_language(std::string_view name) {
  const std::string_view part = name.substr(0, name.find_first_of("_.@-"));
  if (part.size() != 2) return std::nullopt;
  const std::string lower{static_cast<char>(std::tolower(static_cast<unsigned char>(part[0]))),
                          static_cast<char>(std::tolower(static_cast<unsigned char>(part[1])))};
  if (lower == "fr") return Language::kFrench;
  if (lower == "en") return Language::kEnglish;
  return std::nullopt;
}

Language language_from_environment() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') continue;
    return parse_language(value).value_or(Language::kFrench);
  }
  return Language::kFrench;
}

}  // namespace d72506::player
