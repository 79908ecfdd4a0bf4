// The command played end to end on question 601: the bundled answers, the
// JSON form, several verdicts in one run, and the world's actions.
#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "command_run.hpp"

namespace d72506::cli::testing {
namespace {

using nlohmann::json;

std::string cause_erreur_line(const std::string& cause) { return "check 1: CauseErreur=\"" + cause + "\""; }

// The messages shown beside the codes, in the default language.
const std::string kEmpty601 = "La cellule D1 est vide. Saisissez-y le numéro 09854895.";
const std::string kZeroLost = "Le zéro du début a disparu : le numéro a été saisi comme un nombre. Saisissez-le comme un texte, par exemple en tapant une apostrophe devant ('09854895).";
const std::string kBusy =
    "Excel ne répond pas : une cellule est en cours de saisie ou une boîte de dialogue est ouverte. Validez ou annulez la saisie (Entrée ou Échap), fermez la boîte de dialogue, puis demandez à nouveau la correction.";

TEST(Play, BundledAnswersOf601GiveTheirCodes) {
  const struct {
    const char* script;
    const char* cause;
  } cases[] = {{"0601_right.bas", ""}, {"0601_wrong_number.bas", "C"}, {"0601_wrong_letter_o.bas", "B"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    const CommandRun run = run_d72506({"play", "601", "--trainee", answer(c.script).string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind(cause_erreur_line(c.cause), 0), 0u) << run.out;
    EXPECT_NE(run.out.find("ErreurGenerale=False"), std::string::npos) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << "one line per verdict: " << run.out;
  }
}

TEST(Play, WithoutAScriptTheQuestionIsCheckedOnceAsDelivered) {
  // "0601" is the same question, read as decimal.
  const CommandRun run = run_d72506({"play", "0601"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, cause_erreur_line("A") + " ErreurGenerale=False BravoNuance=False Complement=[] — " + kEmpty601 + "\n");
}

// Installed on PATH and started by name, the command still finds the macro
// workbook beside itself (the module sets Excel's folder through it).
TEST(Play, StartedByNameFromPathFindsItsMacroWorkbook) {
  const CommandRun run = run_d72506_from_path({"play", "601", "--trainee", answer("0601_right.bas").string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind(cause_erreur_line(""), 0), 0u) << run.out;
}

// Question 611 needs a printer: the command gives Excel one unless told the
// machine has none, and then the module refuses the question.
TEST(Play, APrinterIsThereUnlessTheMachineHasNone) {
  const std::string right = answer("0611_right.bas").string();
  const CommandRun with = run_d72506({"play", "611", "--trainee", right});
  EXPECT_EQ(with.status, 0) << with.err;
  EXPECT_EQ(with.out.rfind(cause_erreur_line(""), 0), 0u) << with.out;

  const CommandRun without = run_d72506({"play", "611", "--no-printer", "--trainee", right});
  EXPECT_EQ(without.status, 0) << without.err;
  EXPECT_EQ(without.out.rfind(cause_erreur_line("#BA") + " ErreurGenerale=True", 0), 0u) << without.out;

  const CommandRun both = run_d72506({"play", "611", "--no-printer", "--printer", "HP"});
  EXPECT_EQ(both.status, 2) << "the two options exclude each other";
}

TEST(Play, JsonCarriesEveryVerdictField) {
  const CommandRun run = run_d72506({"play", "601", "--json", "--trainee", answer("0601_wrong_number.bas").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const json report = json::parse(run.out);
  EXPECT_EQ(report.at("question"), 601);
  EXPECT_TRUE(report.at("error").is_null());
  ASSERT_EQ(report.at("verdicts").size(), 1u);
  const json& verdict = report.at("verdicts").at(0);
  EXPECT_EQ(verdict.at("erreurGenerale"), false);
  EXPECT_EQ(verdict.at("causeErreur"), "C");
  EXPECT_EQ(verdict.at("bravoNuance"), false);
  EXPECT_EQ(verdict.at("complement"), json::array());
}

TEST(Play, EachCheckLineGivesItsOwnVerdictInScriptOrder) {
  const ScratchFolder scratch;
  const auto script = scratch.write("two_checks.bas",
                                    "Range(\"D1\").Value = \"'09854895\"\n"
                                    "#check\n"
                                    "Range(\"D1\").Value = \"09854895\"\n"
                                    "#check\n");
  const CommandRun run = run_d72506({"play", "601", "--json", "--trainee", script.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const json verdicts = json::parse(run.out).at("verdicts");
  ASSERT_EQ(verdicts.size(), 2u);
  EXPECT_EQ(verdicts.at(0).at("causeErreur"), "");
  EXPECT_EQ(verdicts.at(1).at("causeErreur"), "C");
}

TEST(Play, WorldActionsReachTheModule) {
  const ScratchFolder scratch;
  const struct {
    const char* script;
    bool erreur_generale;
    const char* cause;
  } cases[] = {
      // A cell in edit mode makes Excel refuse automation: the module sees
      // an Excel that does not answer, until ESC ends the edit.
      {"Range(\"D1\").Value = \"'09854895\"\n#edit D1\n#check\n#keys {ESC}\n", true, "%AL"},
      // So does a modal dialog; Fermer closes it.
      {"#dialog Format de cellule\n#check\n", true, "%AL"},
      // The assistant's balloon is in no check's way; Fermer closes it.
      {"Range(\"D1\").Value = \"'09854895\"\n#balloon\n#check\n", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    const auto script = scratch.write("world.bas", c.script);
    const CommandRun run = run_d72506({"play", "601", "--json", "--trainee", script.string()});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    const json verdict = json::parse(run.out).at("verdicts").at(0);
    EXPECT_EQ(verdict.at("erreurGenerale"), c.erreur_generale);
    EXPECT_EQ(verdict.at("causeErreur"), c.cause);
  }
}

TEST(Play, EscapeEndsTheEditAndTheNextCheckGoesThrough) {
  const ScratchFolder scratch;
  const auto script = scratch.write("escape.bas",
                                    "Range(\"D1\").Value = \"'09854895\"\n"
                                    "#edit D1\n"
                                    "#check\n"
                                    "#keys {ESC}\n"
                                    "#check\n");
  const CommandRun run = run_d72506({"play", "601", "--trainee", script.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "check 1: CauseErreur=\"%AL\" ErreurGenerale=True BravoNuance=False Complement=[] — " + kBusy + "\n" +
                "check 2: CauseErreur=\"\" ErreurGenerale=False BravoNuance=False Complement=[] — Bonne réponse\n");
}

TEST(Play, PlayerCallsInTheScriptRunInItsOrder) {
  const ScratchFolder scratch;
  const auto script = scratch.write("calls.bas",
                                    "Range(\"D1\").Value = \"09854895\"\n"
                                    "#check\n"
                                    "#fermer\n"
                                    "#init 601\n"
                                    "#check\n"
                                    "#quitter\n");
  const CommandRun run = run_d72506({"play", "601", "--trainee", script.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  // The second InitQuestion prepares a fresh copy: nothing typed in it yet.
  EXPECT_EQ(run.out,
            "check 1: CauseErreur=\"C\" ErreurGenerale=False BravoNuance=False Complement=[] — " + kZeroLost + "\n" +
                "check 2: CauseErreur=\"A\" ErreurGenerale=False BravoNuance=False Complement=[] — " + kEmpty601 + "\n");
}

TEST(Play, NamedFoldersAreUsedAndKept) {
  const ScratchFolder scratch;
  const auto work = scratch.path() / "work" / "nested";
  const auto templates = scratch.path() / "templates";
  std::filesystem::create_directory(templates);
  const CommandRun run = run_d72506({"play", "601", "--workdir", work.string(), "--templates-root", templates.string(),
                                     "--trainee", answer("0601_right.bas").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(std::filesystem::is_directory(work));
  // Fermer cleaned the working copy away.
  EXPECT_FALSE(std::filesystem::exists(work / "Thor International.xls"));
  bool course_folder = false;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(templates)) {
    course_folder = course_folder || entry.path().filename() == "ZEQ Modèles";
  }
  EXPECT_TRUE(course_folder) << "the module's templates folder lies under the named root";
}

}  // namespace
}  // namespace d72506::cli::testing
