// What a run with LibreOffice leaves on disk is what a run with the stand-in
// leaves; and the command plays and takes statements with LibreOffice as
// the README shows.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "platform/com/apartment.hpp"
#include "platform/win32/desktop.hpp"
#include "tests/bridge/libreoffice/live_run.hpp"
#include "tests/cli/command_run.hpp"

namespace bridge::libreoffice::testing {
namespace {

using d72506::cli::testing::run_d72506;
using d72506::player::Folder;
using d72506::player::Player;

// Every entry under `root`, by its path below it, in order.
std::vector<std::string> listing(const stdfs::path& root) {
  std::vector<std::string> names;
  for (const auto& entry : stdfs::recursive_directory_iterator(root)) {
    names.push_back(stdfs::relative(entry.path(), root).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

struct Leftovers {
  std::vector<std::string> working_after_init;
  std::vector<std::string> working;
  std::vector<std::string> templates;
};

// A question run as the player makes it: InitQuestion, TestePoint, Fermer, Quitter.
void play(Player& player, Leftovers& left, const stdfs::path& working, const stdfs::path& templates) {
  player.init_question(601);
  left.working_after_init = listing(working);
  player.teste_point();
  player.fermer();
  player.quitter();
  left.working = listing(working);
  left.templates = listing(templates);
}

TEST(LiveFiles, TheDeliveredFileTheWorkingCopyAndTheTemplatesFolderEndAsWithTheStandIn) {
  Leftovers live;
  {
    LiveRun run;
    play(run.player(), live, run.working(), run.templates());
  }

  Leftovers embedded;
  {
    platform::com::Apartment::reset();
    platform::win32::current_desktop().destroy_all();
    const Folder working = Folder::temporary("d72506-embedded-work");
    const Folder templates = Folder::temporary("d72506-embedded-templates");
    d72506::player::register_classes(templates.path(), d72506::player::kDefaultPrinter, working.path());
    std::ostringstream notes;
    Player player(D72506_EXERCISE_FILES, working.path(), notes);
    play(player, embedded, working.path(), templates.path());
    platform::com::Apartment::reset();
    platform::win32::current_desktop().destroy_all();
  }

  EXPECT_EQ(live.working_after_init, std::vector<std::string>{kWorkingCopy}) << "delivered, then renamed";
  EXPECT_EQ(live.working_after_init, embedded.working_after_init);
  EXPECT_EQ(live.working, embedded.working);
  EXPECT_EQ(live.templates, embedded.templates);
  EXPECT_NE(std::find(live.templates.begin(), live.templates.end(), "Templates/ZEQ Modèles"), live.templates.end());
}

TEST(LiveCommands, PlayRunsTheBundledAnswersWithLibreOffice) {
  const auto right = run_d72506({"play", "601", "--app", "libreoffice", "--trainee", D72506_ANSWERS "/0601_right.bas"});
  EXPECT_EQ(right.status, 0) << right.err;
  EXPECT_EQ(right.out.rfind("check 1: CauseErreur=\"\" ErreurGenerale=False", 0), 0u) << right.out;

  const auto sum = run_d72506(
      {"play", "605", "--app", "libreoffice", "--json", "--trainee", D72506_ANSWERS "/0605_wrong_sum.bas"});
  EXPECT_EQ(sum.status, 0) << sum.err;
  EXPECT_NE(sum.out.find("\"causeErreur\":\"C\""), std::string::npos) << sum.out;

  const auto refused = run_d72506({"play", "601", "--app", "calc"});
  EXPECT_EQ(refused.status, 2);
}

TEST(LiveCommands, ADisplayNamedButAbsentIsNoScreenAndLibreOfficeRunsHeadless) {
  const auto run = d72506::cli::testing::run_d72506_with(
      {"DISPLAY=:97", "WAYLAND_DISPLAY=wayland-97"},
      {"play", "601", "--app", "libreoffice", "--trainee", D72506_ANSWERS "/0601_right.bas"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("check 1: CauseErreur=\"\" ErreurGenerale=False", 0), 0u) << run.out;
}

TEST(LiveCommands, ATraineeWhoClosesLibreOfficeGetsAMAndTheFailedFermerIsReported) {
  const stdfs::path script = stdfs::temp_directory_path() / ("d72506-live-close-" + std::to_string(::getpid()) + ".bas");
  std::ofstream(script) << "#close-excel\n#check\n";
  const auto run = run_d72506({"play", "601", "--app", "libreoffice", "--json", "--trainee", script.string()});
  stdfs::remove(script);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.out.find("\"causeErreur\":\"AM\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"call\":\"Fermer\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("-2147023174"), std::string::npos) << run.out;
}

TEST(LiveCommands, TheShellTakesStatementsOnLibreOffice) {
  const auto run = run_d72506({"shell", "--app", "libreoffice"},
                              "#init 601\nRange(\"D1\").Value = \"'09854895\"\n#check\n#fermer\n#quitter\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("CauseErreur=\"\" ErreurGenerale=False"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace bridge::libreoffice::testing
