// Every automation call of a whole question run made to fail in turn, for
// every question and each way Excel's calls fail: the player always gets a
// result or a failed call with its error information, never a crash, a
// hang, a leak (the sanitizer build checks) or a fault of ours dressed as a
// failure (E_UNEXPECTED).
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "engine/app/fault_plan.hpp"
#include "tests/module/exercise_world.hpp"

namespace d72506::testing {
namespace {

using engine::app::Fault;

constexpr Fault kFaults[] = {Fault::ExcelGone, Fault::CallRejected, Fault::MethodFails};

// A run makes a few hundred calls; failing every one of them for fifteen
// questions and three kinds of failure, twice in CI (release and sanitizer
// builds), would cost minutes. The first calls (attachment, the user's
// settings, the templates folder) are failed one by one; after them every
// kStride-th call is, which still reaches each step of the cycle many times.
constexpr std::uint64_t kEveryCallUpTo = 40;
constexpr std::uint64_t kStride = 7;

std::string delivered_name(std::int32_t question) {
  return "07250" + std::to_string(question) + (question == 614 ? ".xlt" : ".xls");
}

struct Tally {
  std::uint64_t injected = 0;
  std::uint64_t composed = 0;  // failures carrying the module's report text
  std::uint64_t raw = 0;       // failures passed on as raised, where no trap is set
};

// The module's report text, one level or several: "DLL D72506 - CLASSE c\n\r
// - SERVICE m - OBJET " repeated, then the innermost source.
bool well_composed(const std::string& source) {
  static const std::regex levels("^(DLL D72506 - CLASSE [A-Za-z0-9]+\n\r - SERVICE [A-Za-z]+ - OBJET )+[^]*$");
  return std::regex_match(source, levels);
}

class FaultInjection : public ::testing::Test {
 protected:
  // One player's cycle in a world of its own, with the plan armed from
  // InitQuestion on; the module's four calls are judged.
  void cycle(std::int32_t question, engine::app::FaultPlan plan, Tally& tally, std::uint64_t* calls = nullptr) {
    ExerciseWorld world;
    world.ensure_macro_workbook();
    const std::string name = delivered_name(question);
    stdfs::copy_file(stdfs::path(D72506_EXERCISE_FILES) / name, world.working_path() / name);

    engine::app::arm_fault(plan);
    judge("InitQuestion", world.module->InitQuestion(question, world.working(), world.application, world.handle),
          tally);
    judge("TestePoint", world.module->TestePoint(), tally);
    bool flag = false;
    std::string code;
    std::shared_ptr<ComplementInfo> complement;
    // The reads may fail (no question held), never otherwise than by a runtime error.
    for (const HRESULT hr : {world.module->ErreurGenerale(flag), world.module->CauseErreur(code),
                             world.module->BravoNuance(flag), world.module->Complement(complement)}) {
      EXPECT_NE(hr, com::E_UNEXPECTED);
      com::take_error_info();
    }
    judge("Fermer", world.module->Fermer(), tally);
    judge("Quitter", world.module->Quitter(world.application, world.handle), tally);
    if (engine::app::fault_injected()) ++tally.injected;
    if (calls) *calls = engine::app::calls_counted();
    engine::app::disarm_fault();
  }

  static void judge(const char* call, HRESULT hr, Tally& tally) {
    if (hr == com::S_OK) return;
    const Failure f = failure_of(hr);
    EXPECT_NE(hr, com::E_UNEXPECTED) << call << ": a fault of ours: " << f.description;
    EXPECT_NE(hr, com::E_OUTOFMEMORY) << call;
    EXPECT_FALSE(f.description.empty()) << call << " failed with error " << f.number << " and no description";
    if (f.source.rfind("DLL D72506", 0) == 0) {
      EXPECT_TRUE(well_composed(f.source)) << call << ": " << f.source;
      ++tally.composed;
    } else {
      // Quitter traps everything it does: its failures always carry the report.
      EXPECT_STRNE(call, "Quitter") << f.source << ": " << f.description;
      ++tally.raw;
    }
  }
};

TEST_F(FaultInjection, EveryCallOfEveryQuestionFailsInTurnAndThePlayerGetsAnAnswer) {
  {
    ExerciseWorld probe;
    D72506_SKIP_WITHOUT_STAND_IN(probe);
  }
  Tally tally;
  std::uint64_t runs = 0;
  for (std::int32_t question = 601; question <= 615; ++question) {
    Tally clean;
    std::uint64_t calls = 0;
    cycle(question, {0, Fault::CallRejected}, clean, &calls);
    ASSERT_EQ(clean.composed + clean.raw, 0u) << question << " fails without any fault";
    ASSERT_GT(calls, kEveryCallUpTo) << question;
    for (const Fault fault : kFaults) {
      for (std::uint64_t n = 1; n <= calls; n += n < kEveryCallUpTo ? 1 : kStride) {
        SCOPED_TRACE("question " + std::to_string(question) + ", call " + std::to_string(n) + " of " +
                     std::to_string(calls) + ", fault " + std::to_string(static_cast<int>(fault)));
        cycle(question, {n, fault}, tally);
        ++runs;
      }
    }
  }
  EXPECT_EQ(tally.injected, runs) << "every run met its fault";
  EXPECT_GT(tally.composed, 0u);
  std::printf("fault injection: %llu faults injected in %llu runs; %llu failures reported with the module's text, "
              "%llu passed on as raised\n",
              static_cast<unsigned long long>(tally.injected), static_cast<unsigned long long>(runs),
              static_cast<unsigned long long>(tally.composed), static_cast<unsigned long long>(tally.raw));
}

}  // namespace
}  // namespace d72506::testing
