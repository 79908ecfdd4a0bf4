// The limits that keep a hostile or mistaken script from crashing, hanging or
// exhausting the program: the parser's nesting bounds, the source size, the
// run's time and memory budget, and the depth of nested runs. Each test
// reaches its limit by name and checks what the trainee is told.
#include <gtest/gtest.h>
#include <pthread.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "platform/script/budget.hpp"
#include "platform/script/call_depth.hpp"
#include "platform/script/script.hpp"
#include "tests/platform/script/fake_application.hpp"
#include "tests/platform/script/script_failure.hpp"

namespace platform::script {
namespace {

using namespace std::chrono_literals;
using com::Variant;
using testing::Application;

std::string repeated(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

using testing::failure_of;

ScriptError parse_failure(const std::string& source) {
  return failure_of([&] { parse(source, "deep.bas"); });
}

// --- the parser's bounds ------------------------------------------------------

TEST(ParserLimitsTest, ExpressionHeightIsBoundedAtItsLimit) {
  // A chain of n terms is n levels high: 200 are read, 201 are refused.
  EXPECT_NO_THROW(parse("x = 1" + repeated(" + 1", 199)));
  const ScriptError e = parse_failure("x = 1" + repeated(" + 1", 200));
  EXPECT_EQ(e.kind(), ScriptError::Kind::Syntax);
  EXPECT_EQ(e.line(), 1);
  EXPECT_EQ(e.problem(), "syntax error: expression too long or nested too deeply");
}

TEST(ParserLimitsTest, ParenthesesAndSignsNestAHundredDeepAtMost) {
  EXPECT_NO_THROW(parse("x = " + repeated("(", 99) + "1" + repeated(")", 99)));
  EXPECT_EQ(parse_failure("x = " + repeated("(", 100) + "1" + repeated(")", 100)).problem(),
            "syntax error: expression nested too deeply");
  EXPECT_EQ(parse_failure("x = " + repeated("-", 150) + "1").problem(), "syntax error: expression nested too deeply");
  EXPECT_EQ(parse_failure("x = " + repeated("Not ", 150) + "1").problem(),
            "syntax error: expression nested too deeply");
  // Deep enough to have crashed a recursive reader long before the bound.
  EXPECT_EQ(parse_failure("x = " + repeated("(", 100000)).problem(), "syntax error: expression nested too deeply");
}

TEST(ParserLimitsTest, BlocksNestFiftyDeepAtMostAndTheErrorNamesTheLineThatOpensTooMany) {
  const auto nested_ifs = [](int depth) { return repeated("If True Then\n", depth) + repeated("End If\n", depth); };
  EXPECT_NO_THROW(parse(nested_ifs(50)));
  const ScriptError e = parse_failure(nested_ifs(51));
  EXPECT_EQ(e.line(), 51);
  EXPECT_EQ(e.problem(), "syntax error: blocks nested too deeply");
  const ScriptError loops = parse_failure(repeated("For i = 1 To 2\n", 60) + repeated("Next\n", 60));
  EXPECT_EQ(loops.line(), 51);
  EXPECT_EQ(loops.problem(), "syntax error: blocks nested too deeply");
}

TEST(ParserLimitsTest, ASourceLongerThanTheLimitIsRefusedBeforeAnyOfItIsRead) {
  const std::string long_source = "x = 1\n" + std::string(kMaxSourceSize, '\'');
  const ScriptError e = parse_failure(long_source);
  EXPECT_EQ(e.kind(), ScriptError::Kind::Syntax);
  EXPECT_EQ(e.problem(), "syntax error: the script is longer than 1 MiB");
  Session session(std::make_shared<Application>());
  EXPECT_EQ(failure_of([&] { session.evaluate(std::string(kMaxSourceSize + 1, '1')); }).problem(),
            "syntax error: the script is longer than 1 MiB");
}

// --- the budget ---------------------------------------------------------------

class BudgetTest : public ::testing::Test {
 protected:
  // Runs `source` in a fresh session under `limits`; the error it stops with.
  ScriptError stopped(std::string_view source, Limits limits) {
    budget = std::make_shared<Budget>(limits);
    const Budget::Scope scope(budget);
    return failure_of([&] { run(parse(source, "runaway.bas"), app); });
  }

  static Limits time_limit(std::chrono::milliseconds time) { return Limits{time, Limits::kDefaultMemory}; }
  static Limits memory_limit(std::size_t bytes) { return Limits{Limits::kDefaultTime, bytes}; }

  std::shared_ptr<Application> app = std::make_shared<Application>();
  std::shared_ptr<Budget> budget;
};

TEST_F(BudgetTest, ALoopThatNeverEndsStopsAtItsTimeNamingItsLine) {
  const auto started = std::chrono::steady_clock::now();
  const ScriptError e = stopped("x = 1\nFor i = 1 To 2 Step 0\nNext", time_limit(50ms));
  EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
  EXPECT_EQ(e.kind(), ScriptError::Kind::Budget);
  EXPECT_EQ(e.line(), 2);
  EXPECT_EQ(e.text(), "For i = 1 To 2 Step 0");
  EXPECT_EQ(e.problem(), "stopped: the statements ran longer than their time budget of 0.05 s");
  EXPECT_EQ(std::string(e.what()),
            "runaway.bas: line 2: For i = 1 To 2 Step 0: stopped: the statements ran longer than their time budget "
            "of 0.05 s");
}

TEST_F(BudgetTest, OnErrorResumeNextDoesNotSkipASpentBudget) {
  const ScriptError e = stopped("On Error Resume Next\nx = 0\nFor i = 1 To 2 Step 0\n  x = x + 1\nNext", time_limit(1s));
  EXPECT_EQ(e.kind(), ScriptError::Kind::Budget);
  EXPECT_EQ(e.problem(), "stopped: the statements ran longer than their time budget of 1 s");
}

TEST_F(BudgetTest, RestartingTheClockGivesANewStatementItsWholeTime) {
  budget = std::make_shared<Budget>(time_limit(500ms));
  const Budget::Scope scope(budget);
  Session session(app);
  std::this_thread::sleep_for(600ms);
  EXPECT_EQ(failure_of([&] { session.run_line("x = 1"); }).kind(), ScriptError::Kind::Budget);
  budget->restart();
  EXPECT_NO_THROW(session.run_line("x = 2"));
  EXPECT_EQ(session.variable("x"), Variant(std::int16_t{2}));
}

TEST_F(BudgetTest, DoublingAStringStopsAtTheMemoryBudgetBeforeTheTextIsMade) {
  const ScriptError e = stopped("s = \"ab\"\nFor i = 1 To 64\n  s = s & s\nNext", memory_limit(1 << 20));
  EXPECT_EQ(e.kind(), ScriptError::Kind::Budget);
  EXPECT_EQ(e.line(), 3);
  EXPECT_EQ(e.problem().rfind("stopped: the statements needed more than their memory budget of 1 MiB (", 0), 0u)
      << e.problem();
  // The session is gone: nothing it held is still counted.
  EXPECT_EQ(budget->held(), 0u);
}

TEST_F(BudgetTest, VariablesCountTogetherAndAReplacedValueIsNoLongerCounted) {
  const char* fill = "s = \"0123456789abcdef\"\nFor i = 1 To 14\n  s = s & s\nNext\n";  // 256 KiB
  // Replacing one variable's value again and again holds one copy at a time.
  budget = std::make_shared<Budget>(memory_limit(1 << 20));
  {
    const Budget::Scope scope(budget);
    Session session(app);
    session.run(parse(std::string(fill) + "For i = 1 To 50\n  t = s & \"x\"\nNext"));
    EXPECT_GT(budget->held(), 512u << 10);
    EXPECT_LT(budget->held(), 600u << 10);
  }
  EXPECT_EQ(budget->held(), 0u);
  // Four copies in four variables do not fit in 1 MiB beside the original.
  const ScriptError e = stopped(std::string(fill) + "a = s\nb = s\nc = s\nd = s\n", memory_limit(1 << 20));
  EXPECT_EQ(e.kind(), ScriptError::Kind::Budget);
  EXPECT_EQ(e.line(), 7);
  // Arrays count their elements.
  EXPECT_EQ(stopped(std::string(fill) + "a = Array(s, s, s, s)\n", memory_limit(1 << 20)).line(), 5);
}

TEST_F(BudgetTest, ArraysNestedTooDeeplyRaiseOutOfStackSpaceWithOrWithoutABudget) {
  for (const char* source : {"a = Array()\nFor i = 1 To 100\n  a = Array(a)\nNext",
                             "a = Array(1)\nFor i = 1 To 100\n  a(0) = a\nNext"}) {
    const ScriptError e = failure_of([&] { run(parse(source), app); });
    EXPECT_EQ(e.kind(), ScriptError::Kind::Runtime) << source;
    EXPECT_EQ(e.line(), 3) << source;
    ASSERT_TRUE(e.runtime_error()) << source;
    EXPECT_EQ(e.runtime_error()->number(), 28) << source;
    EXPECT_EQ(e.problem(), "error 28: Out of stack space") << source;
  }
}

TEST_F(BudgetTest, HostLinesRunWithoutTheTraineesBudgetAndTheirTimeIsNotCounted) {
  budget = std::make_shared<Budget>(time_limit(1s));
  const Budget::Scope scope(budget);
  bool host_had_budget = true;
  const HostCallback host = [&](std::string_view, int) {
    host_had_budget = Budget::current() != nullptr;
    std::this_thread::sleep_for(500ms);
  };
  // Three slow host lines take 1.5 s, more than the budget: only the statements count.
  run(parse("#init 601\nx = 1\n#check\ny = 2\n#check\nz = 3"), app, host);
  EXPECT_FALSE(host_had_budget);
  EXPECT_EQ(Budget::current(), budget);
}

TEST_F(BudgetTest, EachThreadHasItsOwnBudget) {
  std::optional<ScriptError> spent;
  bool other_finished = false;
  std::thread runaway([&] {
    const Budget::Scope scope(std::make_shared<Budget>(time_limit(100ms)));
    auto own_app = std::make_shared<Application>();
    spent = failure_of([&] { run(parse("For i = 1 To 2 Step 0\nNext"), own_app); });
  });
  std::thread steady([&] {
    const Budget::Scope scope(std::make_shared<Budget>(time_limit(30s)));
    auto own_app = std::make_shared<Application>();
    run(parse("t = 0\nFor i = 1 To 200000\n  t = t + 1\nNext"), own_app);
    other_finished = true;
  });
  runaway.join();
  steady.join();
  ASSERT_TRUE(spent);
  EXPECT_EQ(spent->kind(), ScriptError::Kind::Budget);
  EXPECT_TRUE(other_finished);
  EXPECT_EQ(Budget::current(), nullptr);  // nothing leaked to this thread
}

TEST(BudgetDescriptionTest, LimitsReadAsAPersonWritesThem) {
  EXPECT_EQ(describe_time(30s), "30 s");
  EXPECT_EQ(describe_time(1500ms), "1.5 s");
  EXPECT_EQ(describe_memory(std::size_t{256} << 20), "256 MiB");
  EXPECT_EQ(describe_memory(std::size_t{3} << 19), "1.5 MiB");
  EXPECT_EQ(describe_memory(2048), "2 KiB");
  EXPECT_EQ(describe_memory(100), "100 bytes");
}

// --- nested runs ----------------------------------------------------------------

// A host function that runs a script in a session of its own, as a macro
// runs under Application.Run (its runtime error becomes the caller's):
// `Again` recurses.
class NestedRunTest : public ::testing::Test {
 protected:
  HostFunctions nesting(const std::string& inner_source) {
    return {{"Again", 0, 0, [this, inner_source](std::span<const Variant>) {
               Session inner(app, {}, nesting(inner_source));
               try {
                 inner.run(parse(inner_source, "inner.bas"));
               } catch (const ScriptError& e) {
                 if (e.runtime_error()) throw *e.runtime_error();
                 throw;
               }
               return Variant();
             }}};
  }

  std::shared_ptr<Application> app = std::make_shared<Application>();
};

TEST_F(NestedRunTest, ARunThatCallsItselfEndsWithOutOfStackSpace) {
  const ScriptError e = failure_of([&] { run(parse("x = 1\nAgain", "outer.bas"), app, {}, nesting("Again")); });
  EXPECT_EQ(e.kind(), ScriptError::Kind::Runtime);
  EXPECT_EQ(e.script_name(), "outer.bas");
  EXPECT_EQ(e.line(), 2);
  ASSERT_TRUE(e.runtime_error());
  EXPECT_EQ(e.runtime_error()->number(), 28);
  EXPECT_EQ(e.problem(), "error 28: Out of stack space");
  EXPECT_EQ(CallDepth::current(), 0);
}

TEST_F(NestedRunTest, ARecursionThatTrapsItsErrorsStillEnds) {
  // The deepest level notes its error and returns, and so does every level.
  Session session(app, {}, nesting("On Error Resume Next\nAgain\nIf Err.Number = 28 Then Range(\"A1\").Value = 28"));
  session.run(parse("On Error Resume Next\nAgain\ndone = True"));
  EXPECT_EQ(session.variable("done"), Variant(true));
  EXPECT_EQ(app->sheet->cells["A1"], Variant(std::int16_t{28}));
  EXPECT_EQ(CallDepth::current(), 0);
}

TEST_F(NestedRunTest, ASpentBudgetInsideANestedRunNamesBothLines) {
  const Budget::Scope scope(std::make_shared<Budget>(Limits{50ms, Limits::kDefaultMemory}));
  const ScriptError e = failure_of([&] {
    run(parse("On Error Resume Next\nx = 1\nAgain", "outer.bas"), app, {}, nesting("y = 2\nFor i = 1 To 2 Step 0\nNext"));
  });
  EXPECT_EQ(e.kind(), ScriptError::Kind::Budget);
  EXPECT_EQ(e.line(), 3);
  EXPECT_EQ(e.problem(), "stopped: the statements ran longer than their time budget of 0.05 s (in inner.bas, line 2)");
}

// On a thread whose stack is small, deep blocks in each nested run reach the
// stack guard before the count of runs: error 28, not a crash.
TEST_F(NestedRunTest, TheStackGuardStopsDeepRunsOnASmallStack) {
  const std::string deep = repeated("If True Then\n", 50) + "Again\n" + repeated("End If\n", 50);
  std::optional<ScriptError> error;
  std::function<void()> body = [&] { error = failure_of([&] { run(parse(deep), app, {}, nesting(deep)); }); };
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, std::size_t{3} << 20);
  pthread_t thread;
  ASSERT_EQ(pthread_create(
                &thread, &attributes,
                [](void* work) -> void* {
                  (*static_cast<std::function<void()>*>(work))();
                  return nullptr;
                },
                &body),
            0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
  ASSERT_TRUE(error);
  ASSERT_TRUE(error->runtime_error());
  EXPECT_EQ(error->runtime_error()->number(), 28);
}

}  // namespace
}  // namespace platform::script
