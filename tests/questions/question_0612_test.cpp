// Question 612: the style "Titre bleu" of the active workbook.
#include <gtest/gtest.h>

#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

class Question612 : public ExerciseQuestion {
 protected:
  Question612() : ExerciseQuestion(612) {}

  // Adds "Titre bleu" to the active workbook with this font.
  void make_style(bool bold, bool italic, int colour) {
    act(app(), "ActiveWorkbook.Styles.Add Name:=\"Titre bleu\"");
    act(app(), std::string("ActiveWorkbook.Styles(\"Titre bleu\").Font.Bold = ") + (bold ? "True" : "False"));
    act(app(), std::string("ActiveWorkbook.Styles(\"Titre bleu\").Font.Italic = ") + (italic ? "True" : "False"));
    act(app(), "ActiveWorkbook.Styles(\"Titre bleu\").Font.ColorIndex = " + std::to_string(colour));
  }
  void delete_style() { act(app(), "ActiveWorkbook.Styles(\"Titre bleu\").Delete"); }
};

TEST_F(Question612, TheStylesFont) {
  prepare();
  EXPECT_EQ(check(), "A") << "as delivered";
  struct Case {
    bool bold;
    bool italic;
    int colour;
    const char* code;
  } cases[] = {
      {true, true, 55, ""},
      {true, true, 5, "B"},
      {false, true, 55, "B"},
      {true, false, 55, "B"},
  };
  for (const Case& c : cases) {
    make_style(c.bold, c.italic, c.colour);
    EXPECT_EQ(check(), c.code) << c.bold << c.italic << c.colour;
    delete_style();
  }
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

TEST_F(Question612, CellsFormattedByHandAreNoStyle) {
  prepare();
  EXPECT_EQ(check_after("Range(\"A1\").Font.Bold = True: Range(\"A1\").Font.Italic = True: "
                        "Range(\"A1\").Font.ColorIndex = 55"),
            "A");
}

TEST_F(Question612, OnlyTheActiveWorkbookCounts) {
  prepare();
  make_style(true, true, 55);
  EXPECT_EQ(check_after("Workbooks.Add"), "A") << "the style lives in the working copy only";
  EXPECT_EQ(check_after("Workbooks(\"Thor International.xls\").Activate"), "");
  EXPECT_EQ(check_after("Workbooks(\"Thor International.xls\").Close SaveChanges:=False: "
                        "ActiveWorkbook.Close SaveChanges:=False"),
            "A")
      << "no active workbook at all";
}

}  // namespace
}  // namespace d72506::testing
