// A LibreOffice that crashes, hangs or is closed while a question runs gives
// what an Excel that vanishes or stops answering gives: "AM" once its window
// is gone, "%AL" while it does not answer, and the closing calls fail as
// calls to a dead server. Nothing waits longer than the call timeout.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>

#include "platform/win32/window_calls.hpp"
#include "tests/bridge/libreoffice/live_run.hpp"

namespace bridge::libreoffice::testing {
namespace {

namespace win32 = platform::win32;
using namespace std::chrono_literals;

constexpr std::int32_t kServerUnavailable = -2147023174;

// The module's Fermer after Excel went: it cannot read the task pane's state.
void expect_fermer_fails_as_excel_gone(LiveRun& run) {
  try {
    run.player().fermer();
    ADD_FAILURE() << "Fermer succeeded without LibreOffice";
  } catch (const d72506::player::PlayerCallFailed& e) {
    EXPECT_EQ(e.failure().number, kServerUnavailable);
  }
}

TEST(LiveVanishing, ACrashedLibreOfficeGivesAMAndTheClosingCallsFail) {
  LiveRun run;
  run.player().init_question(601);
  ASSERT_GT(run.app().office().process(), 0);
  ASSERT_NE(win32::FindWindowA("XLMAIN", nullptr), 0u);

  ::kill(-run.app().office().process(), SIGKILL);
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!run.app().office().gone() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_EQ(run.verdict(), "!AM");
  EXPECT_EQ(win32::FindWindowA("XLMAIN", nullptr), 0u) << "Excel's window went with it";
  expect_fermer_fails_as_excel_gone(run);
}

TEST(LiveVanishing, ALibreOfficeTheTraineeClosedGivesAM) {
  LiveRun run;
  run.player().init_question(605);
  run.app().office().desktop()->terminate();  // File, Exit
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!run.app().office().gone() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_EQ(run.verdict(), "!AM");
  expect_fermer_fails_as_excel_gone(run);
}

TEST(LiveVanishing, AHungLibreOfficeDoesNotAnswerAndNoCallWaitsForIt) {
  OfficeOptions office = LiveRun::own_office();
  office.call_timeout = 2s;
  LiveRun run(office);
  run.player().init_question(601);

  ::kill(-run.app().office().process(), SIGSTOP);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(run.verdict(), "!%AL");
  EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
  ::kill(-run.app().office().process(), SIGCONT);
  expect_fermer_fails_as_excel_gone(run);
}

}  // namespace
}  // namespace bridge::libreoffice::testing
