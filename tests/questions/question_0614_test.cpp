// Question 614: a new, unsaved workbook made from the template "Thor.xlt".
// The preparation notes the most recent "thor" workbook already open; the
// check reads the active workbook's name, then its first sheet against the
// template.
#include <gtest/gtest.h>

#include "module/fichiers_de_travail.hpp"
#include "platform/excel/constants.hpp"
#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

class Question614 : public ExerciseQuestion {
 protected:
  Question614() : ExerciseQuestion(614, "") {}

  void SetUp() override {
    ExerciseQuestion::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    stdfs::copy_file(delivered_file(614), world.course_templates() / "Thor.xlt");
  }

  std::string new_from(const std::string& template_name = "Thor.xlt") {
    return "Workbooks.Add Template:=\"" + templates + template_name + "\"";
  }
};

TEST_F(Question614, TheWorkbookListIsTheDeliveredTemplate) {
  auto fichiers = std::dynamic_pointer_cast<FichiersDeTravail>(question->get("FichiersDeTravail").object());
  ASSERT_NE(fichiers, nullptr);
  ASSERT_EQ(fichiers->count(), 1);
  EXPECT_EQ(fichiers->Item(1).NomSource, "07250614.xlt");
  EXPECT_EQ(fichiers->Item(1).NomDest, "Thor.xlt");
  EXPECT_TRUE(fichiers->Item(1).Modele);
}

TEST_F(Question614, ThePreparationOpensNothing) {
  act(app(), "Workbooks.Add");
  act(app(), "ActiveWindow.WindowState = xlNormal");
  prepare();
  EXPECT_EQ(excel->open_workbooks().size(), 1u);
  EXPECT_EQ(evaluate(app(), "ActiveWindow.WindowState"), Variant(platform::excel::xlNormal));
  EXPECT_EQ(question->get("PathDossierParDefaut"), Variant(world.working()));
}

TEST_F(Question614, ANewUnsavedWorkbookFromTheTemplateIsRight) {
  prepare();
  EXPECT_EQ(check_after(""), "C") << "no workbook at all";
  EXPECT_EQ(check_after(new_from()), "") << "Thor1 against no reference";
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
  auto complement = std::dynamic_pointer_cast<ComplementInfo>(question->get("ComplementInfo").object());
  ASSERT_NE(complement, nullptr);
  EXPECT_EQ(complement->count(), 0);
}

// The reference is the most recent "thor" workbook, whatever its case; the
// check wants a name that sorts after it.
TEST_F(Question614, TheWorkbookMustBeNewerThanTheOneNotedAtPreparation) {
  act(app(), new_from());                       // Thor1
  act(app(), new_from());                       // Thor2
  act(app(), "Workbooks.Add");                  // not a thor workbook: passed over
  prepare();
  EXPECT_EQ(check_after("Workbooks(\"Thor1\").Activate"), "A") << "made before the preparation";
  EXPECT_EQ(check_after("Workbooks(\"Thor2\").Activate"), "A") << "the reference itself";
  EXPECT_EQ(check_after(new_from()), "") << "Thor3";
}

TEST_F(Question614, SequenceNumbersCompareAsText) {
  for (int i = 0; i < 9; ++i) act(app(), new_from());
  prepare();                                    // Thor9
  EXPECT_EQ(check_after(new_from()), "A") << "Thor10 sorts before Thor9";
}

TEST_F(Question614, ASavedWorkbookIsAWhateverItsContent) {
  prepare();
  EXPECT_EQ(check_after(new_from() + "\nActiveSheet.Range(\"B3\").Value = 1\nActiveWorkbook.SaveAs Filename:=\"" +
                        world.working() + "Thor1.xls\""),
            "A");
}

TEST_F(Question614, NamesThatAreNotThorAndANumber) {
  prepare();
  EXPECT_EQ(check_after("Workbooks.Add"), "B") << "a blank workbook sorts after the empty reference";
  act(app(), "Workbooks.Add");
  act(app(), "ActiveWorkbook.SaveAs Filename:=\"" + templates + "Thorax.xlt\", FileFormat:=xlTemplate");
  EXPECT_EQ(check_after(""), "A") << "a template open as itself: its name has a dot";
}

TEST_F(Question614, ANameShorterThanThePrefixIsAA) {
  act(app(), "Workbooks.Add");
  act(app(), "ActiveWorkbook.SaveAs Filename:=\"" + templates + "Ab.xlt\", FileFormat:=xlTemplate");
  act(app(), "ActiveWorkbook.Close");
  prepare();
  EXPECT_EQ(check_after(new_from("Ab.xlt")), "AA") << "Ab1";
}

// Each change a trainee might make to the new workbook's first sheet.
TEST_F(Question614, TheFirstSheetMustKeepTheTemplatesStructureAndFormat) {
  prepare();
  const char* const changes[] = {
      "Sheets.Add",
      "ActiveWorkbook.Sheets(1).Range(\"F13\").ClearComments",
      "ActiveWorkbook.Sheets(1).Range(\"B3\").Value = 1",
      "ActiveWorkbook.Sheets(1).Range(\"A2\").Formula = \"=AVERAGE(B4:D6)\"",
      "ActiveWorkbook.Sheets(1).Range(\"A4\").Value = \"Espana\"",
      "ActiveWorkbook.Sheets(1).Range(\"C3\").HorizontalAlignment = xlLeft",
      "ActiveWorkbook.Sheets(1).Range(\"D3:E3\").Merge",
      "ActiveWorkbook.Sheets(1).Range(\"D3\").Interior.ColorIndex = 3",
      "ActiveWorkbook.Sheets(1).Range(\"B3\").WrapText = True",
  };
  for (const char* change : changes) {
    act(app(), new_from());
    EXPECT_EQ(check_after(change), "B") << change;
  }
  EXPECT_EQ(check_after(new_from()), "") << "an untouched new workbook";
}

TEST_F(Question614, ThePreparationWithoutAnApplicationFailsWithItsReport) {
  Variant args[] = {Variant::nothing(), Variant(world.working()), Variant(templates)};
  try {
    question->invoke("Prepare", com::CallKind::Method, args);
    FAIL() << "the preparation did not fail";
  } catch (const com::Error& e) {
    EXPECT_EQ(e.number(), com::err::ObjectNotSet);
    EXPECT_TRUE(reported_by(e, "Question0614", "Prepare")) << e.source();
  }
}

}  // namespace
}  // namespace d72506::testing
