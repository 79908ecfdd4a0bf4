// If, For, For Each, Exit For and the Err object: what a script decides,
// repeats and recovers from.
#include <gtest/gtest.h>

#include "platform/script/script.hpp"
#include "tests/platform/script/fake_application.hpp"

namespace platform::script {
namespace {

using com::Variant;
using testing::Application;

class ControlFlowTest : public ::testing::Test {
 protected:
  Variant after(std::string_view source, std::string_view variable) {
    session.run(parse(source, "flow.bas"));
    return session.variable(variable).value_or(Variant::null());
  }

  std::shared_ptr<Application> app = std::make_shared<Application>();
  Session session{app};
};

TEST_F(ControlFlowTest, BlockAndSingleLineIfTakeTheFirstBranchThatHolds) {
  const char* grade =
      "If n >= 15 Then\n"
      "  g = \"A\"\n"
      "ElseIf n >= 10 Then\n"
      "  g = \"B\"\n"
      "Else\n"
      "  g = \"C\"\n"
      "End If\n";
  session.set_variable("n", 16);
  EXPECT_EQ(after(grade, "g"), Variant("A"));
  session.set_variable("n", 10);
  EXPECT_EQ(after(grade, "g"), Variant("B"));
  session.set_variable("n", 3);
  EXPECT_EQ(after(grade, "g"), Variant("C"));
  EXPECT_EQ(after("If n = 3 Then a = 1: b = 2 Else a = 9", "b"), Variant(std::int16_t{2}));
  EXPECT_EQ(after("If n = 4 Then a = 1 Else a = 9: c = 7", "c"), Variant(std::int16_t{7}));
  EXPECT_EQ(after("x = 0\nIf n = 4 Then x = 1", "x"), Variant(std::int16_t{0}));
}

TEST_F(ControlFlowTest, ForCountsWithItsStepAndLeavesTheCounterPastTheEnd) {
  EXPECT_EQ(after("t = 0\nFor i = 1 To 10\n  t = t + i\nNext i", "t"), Variant(std::int16_t{55}));
  EXPECT_EQ(session.variable("i"), Variant(std::int16_t{11}));
  EXPECT_EQ(after("s = \"\"\nFor k = 10 To 1 Step -3: s = s & k & \",\": Next", "s"), Variant("10,7,4,1,"));
  EXPECT_EQ(after("n = 0\nFor k = 5 To 1\n  n = n + 1\nNext", "n"), Variant(std::int16_t{0}));
  EXPECT_EQ(after("For k = 0 To 1 Step 0.25: Next", "k"), Variant(1.25));
  // The bounds are taken once; the counter is read back at each turn.
  EXPECT_EQ(after("e = 3: n = 0\nFor k = 1 To e\n  e = 10: n = n + 1\nNext", "n"), Variant(std::int16_t{3}));
  EXPECT_EQ(after("n = 0\nFor k = 1 To 10\n  k = k + 1: n = n + 1\nNext", "n"), Variant(std::int16_t{5}));
}

TEST_F(ControlFlowTest, ForEachWalksArraysAndCollectionsAndExitForLeavesTheInnermostLoop) {
  EXPECT_EQ(after("s = \"\"\nFor Each v In Array(\"a\", \"b\", \"c\")\n  s = s & v\nNext v", "s"), Variant("abc"));
  app->workbooks->add(std::nullopt);
  app->workbooks->add(std::nullopt);
  app->workbooks->add(std::nullopt);
  EXPECT_EQ(after("s = \"\"\nFor Each wb In Workbooks\n  s = s & wb.Name & \";\"\nNext", "s"),
            Variant("Book1;Book2;Book3;"));
  EXPECT_TRUE(session.variable("wb")->is_object());
  EXPECT_EQ(after("n = 0\n"
                  "For i = 1 To 3\n"
                  "  For Each wb In Workbooks\n"
                  "    If wb.Name = \"Book2\" Then Exit For\n"
                  "    n = n + 1\n"
                  "  Next\n"
                  "Next",
                  "n"),
            Variant(std::int16_t{3}));
  EXPECT_THROW(session.run(parse("For Each x In 5\nNext")), ScriptError);
}

TEST_F(ControlFlowTest, ErrHoldsTheErrorResumeNextSkippedUntilClearedOrReset) {
  session.run(parse(
      "On Error Resume Next\n"
      "Workbooks(9).Close\n"
      "n = Err.Number: d = Err.Description\n"
      "x = 1\n"
      "still = Err\n"
      "Err.Clear\n"
      "cleared = Err.Number\n"
      "y = 1 / 0\n"
      "If Err.Number = 11 Then recovered = True\n"
      "On Error GoTo 0\n"
      "reset = Err.Number\n"));
  EXPECT_EQ(session.variable("n"), Variant(std::int32_t{9}));
  EXPECT_EQ(session.variable("d"), Variant("Subscript out of range"));
  EXPECT_EQ(session.variable("still"), Variant(std::int32_t{9}));
  EXPECT_EQ(session.variable("cleared"), Variant(std::int32_t{0}));
  EXPECT_EQ(session.variable("recovered"), Variant(true));
  EXPECT_EQ(session.variable("reset"), Variant(std::int32_t{0}));
}

TEST_F(ControlFlowTest, ErrRaiseStopsTheScriptAtItsLineUnlessResumed) {
  try {
    session.run(parse("x = 1\nErr.Raise 1004, \"Check\", \"Sheet missing\"\nx = 2", "raise.bas"));
    FAIL();
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.line(), 2);
    ASSERT_TRUE(e.runtime_error());
    EXPECT_EQ(e.runtime_error()->number(), 1004);
    EXPECT_EQ(e.runtime_error()->description(), "Sheet missing");
  }
  EXPECT_EQ(after("On Error Resume Next\nErr.Raise 5\nd = Err.Description", "d"),
            Variant("Invalid procedure call or argument"));
}

// As in the macro language, a condition that fails under Resume Next runs
// its branch; a failing loop header skips the loop.
TEST_F(ControlFlowTest, FailingConditionsUnderResumeNextEnterTheirBranch) {
  EXPECT_EQ(after("On Error Resume Next\nIf Workbooks(9).Name = \"x\" Then\n  r = \"in\"\nElse\n  r = \"else\"\nEnd If", "r"),
            Variant("in"));
  EXPECT_EQ(after("On Error Resume Next\nn = 0\nFor i = 1 To Workbooks(9).Count\n  n = n + 1\nNext", "n"),
            Variant(std::int16_t{0}));
  EXPECT_THROW(session.run(parse("On Error GoTo 0\nIf Workbooks(9).Name = \"x\" Then r = 1")), ScriptError);
}

}  // namespace
}  // namespace platform::script
