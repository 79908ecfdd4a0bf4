// d72506 check on real saved workbooks, and d72506 codes: a line per file in
// path order, the exit status, the reports, the language of the messages.
// The answers are saved by the command itself, playing a script that ends
// by saving the exercise workbook under a new name.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "command_run.hpp"

namespace d72506::cli::testing {
namespace {

namespace stdfs = std::filesystem;
using nlohmann::json;

// "'<path>'", as the reader's messages quote a file; built by appending, since
// "'" + a string draws GCC 12's false -Wrestrict here (GCC bug 105329).
std::string in_quotes(const stdfs::path& file) { return std::string("'").append(file.string()).append("'"); }

// The exercise workbook of `question` after `statements`, saved as `file`
// (under the scratch folder, the run's working folder, where Excel may save).
void save_answer(const ScratchFolder& scratch, int question, const std::string& statements, const stdfs::path& file) {
  const std::string workbook = question == 615 ? "Les Modèles.xls" : "Thor International.xls";
  const auto script = scratch.write("save.bas", statements + "\nWorkbooks(\"" + workbook + "\").SaveAs \"" +
                                                    file.string() + "\"\n#quitter\n");
  const CommandRun run = run_d72506(
      {"play", std::to_string(question), "--workdir", scratch.path().string(), "--trainee", script.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_TRUE(stdfs::is_regular_file(file)) << file;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string read(const stdfs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A class's answers to 601: right, the zero lost, one in a sub-folder, and
// a file that is no workbook.
struct Class601 {
  ScratchFolder scratch;
  stdfs::path folder = scratch.path() / "class";

  Class601() {
    stdfs::create_directories(folder / "group b");
    save_answer(scratch, 601, "Range(\"D1\").Value = \"'09854895\"", folder / "alice.xls");
    save_answer(scratch, 601, "Range(\"D1\").Value = 9854895", folder / "group b" / "bruno.xls");
    save_answer(scratch, 601, "", folder / "chloe.xls");
    std::ofstream(folder / "readme.txt") << "not a workbook, not taken";
  }
};

TEST(Check, EachWorkbookOfAFolderGetsALineInPathOrder) {
  const Class601 c;
  const CommandRun run = run_d72506({"check", "601", c.folder.string(), "-j", "2"});
  EXPECT_EQ(run.status, 0) << run.err;
  const auto lines = lines_of(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  EXPECT_EQ(lines[0], (c.folder / "alice.xls").string() + ": CauseErreur=\"\" ErreurGenerale=False: Bonne réponse");
  EXPECT_EQ(lines[1], (c.folder / "chloe.xls").string() +
                          ": CauseErreur=\"A\" ErreurGenerale=False: La cellule D1 est vide. Saisissez-y le numéro "
                          "09854895.");
  EXPECT_EQ(lines[2].rfind((c.folder / "group b" / "bruno.xls").string() + ": CauseErreur=\"C\"", 0), 0u);
  EXPECT_EQ(run.err, "") << "no progress line when standard error is no terminal";
}

TEST(Check, AFileNotJudgedHasItsOwnLineAndTheStatusSaysSo) {
  const Class601 c;
  const auto broken = c.scratch.write("broken.xls", "PK\x03\x04 not really a package");
  const CommandRun run = run_d72506({"check", "601", broken.string(), (c.folder / "alice.xls").string()});
  EXPECT_EQ(run.status, 1) << run.err;
  const auto lines = lines_of(run.out);
  ASSERT_EQ(lines.size(), 2u) << run.out;
  EXPECT_EQ(lines[0].rfind(broken.string() + ": unreadable: ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find(in_quotes(broken)), std::string::npos) << "the reason names the trainee's file";
  EXPECT_EQ(lines[1].rfind((c.folder / "alice.xls").string() + ": CauseErreur=\"\"", 0), 0u) << "the run went on";

  const CommandRun custom_list = run_d72506({"check", "602", (c.folder / "alice.xls").string(), "--lang", "en"});
  EXPECT_EQ(custom_list.status, 1);
  EXPECT_EQ(custom_list.out, (c.folder / "alice.xls").string() +
                                 ": not-judged: Question 602 cannot be judged from a file: its answer is a custom "
                                 "list, which Excel keeps itself, not a workbook.\n");
}

TEST(Check, JsonCsvAndHtmlSayTheSame) {
  const Class601 c;
  const stdfs::path csv = c.scratch.path() / "class.csv";
  const stdfs::path html = c.scratch.path() / "class.html";
  const CommandRun run =
      run_d72506({"check", "601", c.folder.string(), "--json", "--csv", csv.string(), "--html", html.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  const json doc = json::parse(run.out);
  EXPECT_EQ(doc.at("question"), 601);
  const json& results = doc.at("results");
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[2].at("file"), (c.folder / "group b" / "bruno.xls").string());
  EXPECT_EQ(results[2].at("causeErreur"), "C");
  EXPECT_EQ(results[2].at("erreurGenerale"), false);
  EXPECT_TRUE(results[2].at("error").is_null());

  const auto rows = lines_of(read(csv));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], "file,status,erreurGenerale,causeErreur,message,errorNumber,errorDescription\r");
  EXPECT_EQ(rows[3].rfind((c.folder / "group b" / "bruno.xls").string() + ",judged,false,C,", 0), 0u) << rows[3];

  const std::string page = read(html);
  EXPECT_NE(page.find("<svg"), std::string::npos);
  EXPECT_NE(page.find("group b/bruno.xls"), std::string::npos);
}

TEST(Check, AReportThatCannotBeWrittenStopsTheRunBeforeIt) {
  const Class601 c;
  const CommandRun run =
      run_d72506({"check", "601", c.folder.string(), "--csv", (c.scratch.path() / "no" / "such" / "x.csv").string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("cannot write the report"), std::string::npos) << run.err;
}

TEST(Check, AFolderWithoutAWorkbookIsSaidSo) {
  const Class601 c;
  const stdfs::path empty = c.scratch.path() / "empty";
  stdfs::create_directory(empty);
  const CommandRun nothing = run_d72506({"check", "601", empty.string()});
  EXPECT_EQ(nothing.status, 2) << "nothing to judge";
  EXPECT_EQ(nothing.out, "");
  EXPECT_NE(nothing.err.find("no workbook in " + empty.string()), std::string::npos) << nothing.err;

  const CommandRun some = run_d72506({"check", "601", empty.string(), (c.folder / "alice.xls").string()});
  EXPECT_EQ(some.status, 0) << "every file named was judged";
  EXPECT_EQ(lines_of(some.out).size(), 1u);
  EXPECT_NE(some.err.find("no workbook in " + empty.string()), std::string::npos) << some.err;
}

TEST(Check, ArgumentsItCannotUseAreUsageErrors) {
  const Class601 c;
  const std::string file = (c.folder / "alice.xls").string();
  const std::vector<std::vector<std::string>> cases = {
      {"check", "600", file}, {"check", "601"}, {"check", "601", file, "-j", "0"},
      {"check", "601", file, "--lang", "de"}, {"check", "six", file}, {"codes", "616"},
  };
  for (const auto& arguments : cases) {
    const CommandRun run = run_d72506(arguments);
    EXPECT_EQ(run.status, 2) << arguments[1] << " " << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST(Check, MessagesFollowLangThenTheEnvironment) {
  const Class601 c;
  const std::string file = (c.folder / "alice.xls").string();
  EXPECT_EQ(run_d72506_with({"LANG=en_GB.UTF-8"}, {"check", "601", file}).out, file + ": CauseErreur=\"\" ErreurGenerale=False: Correct\n");
  EXPECT_EQ(run_d72506_with({"LANG=en_GB.UTF-8"}, {"check", "601", file, "--lang", "fr"}).out,
            file + ": CauseErreur=\"\" ErreurGenerale=False: Bonne réponse\n");
  EXPECT_EQ(run_d72506_with({"LC_ALL=fr_FR.UTF-8", "LANG=en_GB.UTF-8"}, {"check", "601", file}).out,
            file + ": CauseErreur=\"\" ErreurGenerale=False: Bonne réponse\n");
}

TEST(Codes, ListEachQuestionsCodesWithTheirMessages) {
  const CommandRun one = run_d72506({"codes", "601", "--lang", "en"});
  EXPECT_EQ(one.status, 0) << one.err;
  const auto lines = lines_of(one.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "601 CauseErreur=\"\" ErreurGenerale=False: Correct");
  EXPECT_NE(one.out.find("601 CauseErreur=\"C\" ErreurGenerale=False: The leading zero is gone"), std::string::npos);
  EXPECT_NE(one.out.find("601 CauseErreur=\"C\" ErreurGenerale=True: The exercise workbook is no longer open"),
            std::string::npos);
  EXPECT_NE(one.out.find("601 CauseErreur=\"%AL\" ErreurGenerale=True: "), std::string::npos);
  EXPECT_EQ(one.out.find("#BA"), std::string::npos) << "only 611 asks for a printer";

  const CommandRun all = run_d72506({"codes"});
  EXPECT_EQ(all.status, 0);
  for (int q = 601; q <= 615; ++q) {
    EXPECT_NE(all.out.find(std::to_string(q) + " CauseErreur=\"\" ErreurGenerale=False: Bonne réponse\n"),
              std::string::npos)
        << q;
  }
}

TEST(Play, JsonVerdictsCarryTheirMessage) {
  const CommandRun run =
      run_d72506({"play", "601", "--json", "--lang", "en", "--trainee", answer("0601_wrong_number.bas").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string message = json::parse(run.out).at("verdicts").at(0).at("message");
  EXPECT_EQ(message.rfind("The leading zero is gone", 0), 0u) << message;
}

}  // namespace
}  // namespace d72506::cli::testing
