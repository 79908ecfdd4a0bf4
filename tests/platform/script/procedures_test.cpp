// Sub and Function, Do and While loops, Select Case: what a recorded macro
// and a hand-written one need, each form with its limits and errors.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "platform/script/budget.hpp"
#include "platform/script/script.hpp"
#include "tests/platform/script/fake_application.hpp"
#include "tests/platform/script/script_failure.hpp"

namespace platform::script {
namespace {

using namespace std::chrono_literals;
using com::Variant;
using testing::Application;

using testing::failure_of;

std::string syntax_problem(std::string_view source) {
  return failure_of([&] { parse(source, "bad.bas"); }).problem();
}

class ProcedureTest : public ::testing::Test {
 protected:
  Variant after(std::string_view source, std::string_view variable) {
    session.run(parse(source, "macro.bas"));
    return session.variable(variable).value_or(Variant::null());
  }
  ScriptError failure(std::string_view source) {
    return failure_of([&] { session.run(parse(source, "macro.bas")); });
  }

  std::shared_ptr<Application> app = std::make_shared<Application>();
  Session session{app};
};

// --- Sub and Function ---------------------------------------------------------

TEST_F(ProcedureTest, ARecordedModuleRunsItsFirstSubBeforeItsHostLines) {
  std::vector<std::string> seen;
  Session hosted(app, [&](std::string_view line, int) { seen.push_back(std::string(line) + "@" + std::to_string(app->workbooks->books.size())); });
  hosted.run(parse("Sub Macro1()\n  Workbooks.Add\nEnd Sub\nSub Macro2()\n  Workbooks.Add\nEnd Sub\n#check\n"));
  EXPECT_EQ(seen, std::vector<std::string>{"check@1"});
  // With statements of its own, a script runs them and calls what it names.
  EXPECT_EQ(after("Sub Twice()\n  n = n + 2\nEnd Sub\nn = 1\n", "n"), Variant(std::int16_t{1}));
  EXPECT_EQ(after("n = 1\nTwice\nCall Twice()\n", "n"), Variant(std::int16_t{5}));
}

TEST_F(ProcedureTest, FunctionsReturnWhatTheyAssignToTheirNameAndRecurse) {
  const char* source =
      "Function Fact(ByVal n As Long) As Long\n"
      "  If n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)\n"
      "End Function\n"
      "Function Greeting(Optional who = \"world\")\n"
      "  Greeting = \"hello \" & who\n"
      "End Function\n"
      "a = Fact(10)\nb = Greeting\nc = Greeting(who:=\"you\")\n";
  EXPECT_EQ(after(source, "a"), Variant(std::int32_t{3628800}));
  EXPECT_EQ(session.variable("b"), Variant("hello world"));
  EXPECT_EQ(session.variable("c"), Variant("hello you"));
}

TEST_F(ProcedureTest, LocalsStayInTheirCallAndByRefArgumentsComeBack) {
  const char* source =
      "Sub Bump(x, ByVal y)\n"
      "  Dim t\n"
      "  t = 5: x = x + 1: y = y + 1\n"
      "End Sub\n"
      "a = 1: b = 1\nBump a, b\nBump a, (b)\n";
  EXPECT_EQ(after(source, "a"), Variant(std::int16_t{3}));
  EXPECT_EQ(session.variable("b"), Variant(std::int16_t{1}));
  EXPECT_FALSE(session.variable("t").has_value());
  EXPECT_FALSE(session.variable("x").has_value());
  // A constant passed by reference stays a constant.
  EXPECT_EQ(after("Sub Up(v)\n  v = 0\nEnd Sub\nUp xlUp\nd = xlUp\n", "d"), Variant(std::int32_t{-4162}));
}

TEST_F(ProcedureTest, ExitSubAndExitFunctionLeaveOnlyTheirCall) {
  const char* source =
      "Function FirstOver(limit)\n"
      "  For i = 1 To 100\n"
      "    If i * i > limit Then FirstOver = i: Exit Function\n"
      "  Next\n"
      "End Function\n"
      "Sub Early()\n  s = \"in\"\n  Exit Sub\n  s = \"after\"\nEnd Sub\n"
      "r = FirstOver(50)\nEarly\nr2 = r + 1\n";
  EXPECT_EQ(after(source, "r2"), Variant(std::int16_t{9}));
}

TEST_F(ProcedureTest, WrongArgumentsRaiseTheRuntimeErrors) {
  const char* define = "Sub Two(a, b)\nEnd Sub\nSub Go()\nEnd Sub\nx = 0\n";
  session.run(parse(define, "macro.bas"));
  EXPECT_EQ(failure("Two 1").problem(), "error 449: Argument not optional");
  EXPECT_EQ(failure("Two 1, 2, 3").problem(), "error 450: Wrong number of arguments or invalid property assignment");
  EXPECT_EQ(failure("Two 1, c:=2").problem(), "error 448: Named argument not found");
  EXPECT_EQ(failure("Go = 1").problem(), "cannot assign to 'Go'");
}

TEST_F(ProcedureTest, AnErrorInACallGoesToTheCallersTrapOrStopsAtItsOwnLine) {
  const char* source =
      "Sub Fails()\n"
      "  x = 1 / 0\n"
      "  reached = True\n"
      "End Sub\n";
  const ScriptError e = failure(std::string(source) + "Fails\n");
  EXPECT_EQ(e.line(), 2);
  EXPECT_EQ(e.problem(), "error 11: Division by zero");
  EXPECT_EQ(after(std::string(source) + "On Error Resume Next\nFails\nafter = Err.Number\n", "after"),
            Variant(std::int32_t{11}));
  EXPECT_FALSE(session.variable("reached").has_value());
}

TEST_F(ProcedureTest, EndlessRecursionEndsWithOutOfStackSpace) {
  const ScriptError e = failure("Sub Again()\n  Again\nEnd Sub\nAgain\n");
  ASSERT_TRUE(e.runtime_error());
  EXPECT_EQ(e.runtime_error()->number(), 28);
  EXPECT_EQ(e.problem(), "error 28: Out of stack space");
}

TEST(ProcedureSyntaxTest, ProceduresAreDefinedOnceAtTheTopLevelAndClosedByTheirOwnWords) {
  EXPECT_EQ(syntax_problem("Sub A()\nEnd Sub\nSub a()\nEnd Sub"), "syntax error: ambiguous name detected: a");
  EXPECT_EQ(syntax_problem("If x Then\nSub A()\nEnd Sub\nEnd If"),
            "syntax error: a procedure is defined outside any other procedure or block");
  EXPECT_EQ(syntax_problem("Sub A()\nEnd Function"), "syntax error: End Function without Function");
  EXPECT_EQ(syntax_problem("End Sub"), "syntax error: End Sub without Sub");
  EXPECT_EQ(syntax_problem("Sub A(Optional a, b)\nEnd Sub"), "syntax error: a required parameter after an optional one");
  EXPECT_EQ(syntax_problem("Sub A(a = 1)\nEnd Sub"), "syntax error: only an Optional parameter has a default value");
  EXPECT_EQ(syntax_problem("Sub A(a, A)\nEnd Sub"), "syntax error: duplicate parameter name 'A'");
  EXPECT_EQ(syntax_problem("Sub A()\n  Exit Function\nEnd Sub"), "syntax error: Exit Function not within Function");
  EXPECT_EQ(syntax_problem("Exit Sub"), "syntax error: Exit Sub not within Sub");
  const ScriptError open = failure_of([] { parse("x = 1\nSub Macro1()\n  x = 2\n", "bad.bas"); });
  EXPECT_TRUE(open.incomplete());
  EXPECT_EQ(open.line(), 2);
  EXPECT_EQ(open.problem(), "syntax error: Sub without End Sub");
}

TEST_F(ProcedureTest, RecordedMeasuresWithATypeSuffixAreDoubles) {
  EXPECT_EQ(session.evaluate("27#"), Variant(27.0));
  EXPECT_EQ(session.evaluate("90!"), Variant(90.0));
  EXPECT_EQ(session.evaluate("1.5# * 2"), Variant(3.0));
  EXPECT_EQ(session.evaluate("27"), Variant(std::int16_t{27}));
  EXPECT_EQ(failure_of([] { parse("x = 27#a", "bad.bas"); }).problem(), "syntax error: malformed number '27'");
}

// --- Do, While, Select Case ---------------------------------------------------

TEST_F(ProcedureTest, DoLoopsTestWhereTheirConditionStands) {
  EXPECT_EQ(after("n = 0\nDo While n < 5\n  n = n + 1\nLoop", "n"), Variant(std::int16_t{5}));
  EXPECT_EQ(after("n = 0\nDo Until n >= 3\n  n = n + 1\nLoop", "n"), Variant(std::int16_t{3}));
  // A condition after Loop lets the body run once.
  EXPECT_EQ(after("n = 10\nDo\n  n = n + 1\nLoop While n < 5", "n"), Variant(std::int16_t{11}));
  EXPECT_EQ(after("n = 10\nDo\n  n = n + 1\nLoop Until True", "n"), Variant(std::int16_t{11}));
  EXPECT_EQ(after("n = 0\nWhile n < 4\n  n = n + 2\nWend", "n"), Variant(std::int16_t{4}));
  EXPECT_EQ(after("n = 0\nDo\n  n = n + 1\n  If n = 7 Then Exit Do\nLoop", "n"), Variant(std::int16_t{7}));
  // Exit Do leaves the innermost Do, through a While and a For inside it.
  EXPECT_EQ(after("n = 0\nDo\n  While True\n    For i = 1 To 3\n      n = n + 1: Exit Do\n    Next\n  Wend\nLoop\nm = n",
                  "m"),
            Variant(std::int16_t{1}));
}

TEST_F(ProcedureTest, SelectCaseRunsTheFirstClauseThatMatches) {
  const char* source =
      "Select Case v\n"
      "  Case 1, 2: r = \"small\"\n"
      "  Case 3 To 5\n    r = \"middle\"\n"
      "  Case Is >= 100: r = \"big\"\n"
      "  Case Else: r = \"other\"\n"
      "End Select\n";
  const std::pair<Variant, const char*> cases[] = {
      {std::int16_t{2}, "small"}, {std::int16_t{4}, "middle"}, {std::int16_t{5}, "middle"},
      {250.5, "big"},             {std::int16_t{50}, "other"},
  };
  for (const auto& [v, expected] : cases) {
    session.set_variable("v", v);
    EXPECT_EQ(after(source, "r"), Variant(expected)) << expected;
  }
  // Text compares as text: "Paris" lies between "M" and "Q".
  EXPECT_EQ(after("Select Case \"Paris\"\nCase \"A\" To \"L\": r = 1\nCase \"M\" To \"Q\": r = 2\nEnd Select", "r"),
            Variant(std::int16_t{2}));
  session.set_variable("r", "none");
  EXPECT_EQ(after("Select Case 9\nCase 1\n  r = 1\nEnd Select", "r"), Variant("none"));
}

TEST(LoopSyntaxTest, LoopsAndChoicesCloseWithTheirOwnWords) {
  EXPECT_EQ(syntax_problem("Loop"), "syntax error: Loop without Do");
  EXPECT_EQ(syntax_problem("Wend"), "syntax error: Wend without While");
  EXPECT_EQ(syntax_problem("Case 1"), "syntax error: Case without Select Case");
  EXPECT_EQ(syntax_problem("End Select"), "syntax error: End Select without Select Case");
  EXPECT_EQ(syntax_problem("Do While x\nLoop Until y"),
            "syntax error: a loop has its condition after Do or after Loop, not both");
  EXPECT_EQ(syntax_problem("Exit Do"), "syntax error: Exit Do not within Do ... Loop");
  EXPECT_EQ(syntax_problem("While x\n  Exit Do\nWend"), "syntax error: Exit Do not within Do ... Loop");
  EXPECT_EQ(syntax_problem("Select Case x\n  y = 1\nEnd Select"), "syntax error: expected 'Case' but found 'y'");
  EXPECT_EQ(syntax_problem("Select Case x\nCase Else\nCase 1\nEnd Select"), "syntax error: Case after Case Else");
  EXPECT_EQ(syntax_problem("Select Case x\nCase Is\nEnd Select"),
            "syntax error: expected a comparison after Is but found the end of the line");
  EXPECT_EQ(syntax_problem("Exit While"), "syntax error: expected For, Do, Sub or Function after Exit but found 'While'");
  EXPECT_TRUE(failure_of([] { parse("Do\n  x = 1\n", "bad.bas"); }).incomplete());
  EXPECT_TRUE(failure_of([] { parse("Select Case x\n", "bad.bas"); }).incomplete());
}

TEST(LoopBudgetTest, EveryLoopFormStopsAtTheTimeBudget) {
  for (const char* source : {"Do\nLoop", "Do While True\nLoop", "While 1\nWend", "Sub Spin()\n  Do: Loop\nEnd Sub\n"}) {
    const auto budget = std::make_shared<Budget>(Limits{50ms, Limits::kDefaultMemory});
    const Budget::Scope scope(budget);
    const ScriptError e = failure_of([&] { run(parse(source, "spin.bas"), std::make_shared<Application>()); });
    EXPECT_EQ(e.kind(), ScriptError::Kind::Budget) << source;
    EXPECT_EQ(e.problem().rfind("stopped: the statements ran longer than their time budget of 0.05 s", 0), 0u) << source;
  }
}

}  // namespace
}  // namespace platform::script
