// Question 611: the custom view "123", judged by what showing it restores.
#include <gtest/gtest.h>

#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

class Question611 : public ExerciseQuestion {
 protected:
  Question611() : ExerciseQuestion(611) {}

  // What the trainee sets on "Trimestre 1" before recording a view.
  struct Settings {
    int zoom = 110;
    std::string hidden_rows = "";  // none when empty
    bool portrait = true;
    bool centred = true;
  };

  void set(const Settings& s) {
    std::string statements = "ActiveWindow.Zoom = " + std::to_string(s.zoom) + ": Rows(\"1:10\").Hidden = False";
    if (!s.hidden_rows.empty()) statements += ": Rows(\"" + s.hidden_rows + "\").Hidden = True";
    statements += std::string(": ActiveSheet.PageSetup.Orientation = ") + (s.portrait ? "xlPortrait" : "xlLandscape");
    statements += std::string(": ActiveSheet.PageSetup.CenterHorizontally = ") + (s.centred ? "True" : "False");
    act(app(), statements);
  }

  // The code for a view "123" recorded with these settings; the view is
  // deleted again afterwards.
  std::string code_for_view(const Settings& s, bool print_settings = true) {
    set(s);
    act(app(), std::string("ActiveWorkbook.CustomViews.Add ViewName:=\"123\", PrintSettings:=") +
                   (print_settings ? "True" : "False") + ", RowColSettings:=True");
    const std::string code = check();
    act(app(), "ActiveWorkbook.CustomViews(\"123\").Delete");
    return code;
  }

  Variant read(const std::string& expression) { return evaluate(app(), expression); }
};

TEST_F(Question611, WhatTheViewRestores) {
  prepare();
  EXPECT_EQ(code_for_view({}), "");
  EXPECT_EQ(code_for_view({}, false), "D") << "without print settings the check's landscape stays";
  EXPECT_EQ(code_for_view({.zoom = 100}), "B");
  EXPECT_EQ(code_for_view({.hidden_rows = "4:5"}), "C");
  EXPECT_EQ(code_for_view({.hidden_rows = "5"}), "") << "one of the two hidden reads undetermined";
  EXPECT_EQ(code_for_view({.portrait = false}), "D");
  EXPECT_EQ(code_for_view({.centred = false}), "E");
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

TEST_F(Question611, ACorrectViewLeavesTheWorkbookAsTheViewShowsIt) {
  prepare();
  set({});
  act(app(), "ActiveWorkbook.CustomViews.Add ViewName:=\"123\", PrintSettings:=True, RowColSettings:=True");
  set({.zoom = 75, .hidden_rows = "4", .portrait = false, .centred = false});
  EXPECT_EQ(check(), "");
  EXPECT_EQ(com::cdbl(read("ActiveWindow.Zoom")), 110.0);
  EXPECT_EQ(read("Rows(\"4:5\").Hidden"), Variant(false));
  EXPECT_EQ(com::clng(read("ActiveSheet.PageSetup.Orientation")), 1);
  EXPECT_EQ(read("ActiveSheet.PageSetup.CenterHorizontally"), Variant(true));
}

// A trainee who asks for a verdict before recording the view finds his
// settings as he left them.
TEST_F(Question611, WithoutTheViewTheSettingsAreLeftAsTheTraineeMadeThem) {
  prepare();
  act(app(), "ActiveWorkbook.CustomViews.Add ViewName:=\"456\", PrintSettings:=True, RowColSettings:=True");
  set({.hidden_rows = "5"});
  EXPECT_EQ(check(), "A");
  EXPECT_EQ(com::cdbl(read("ActiveWindow.Zoom")), 110.0);
  EXPECT_EQ(read("Rows(4).Hidden"), Variant(false));
  EXPECT_EQ(read("Rows(5).Hidden"), Variant(true));
  EXPECT_EQ(com::clng(read("ActiveSheet.PageSetup.Orientation")), 1);
  EXPECT_EQ(read("ActiveSheet.PageSetup.CenterHorizontally"), Variant(true));
}

}  // namespace
}  // namespace d72506::testing
