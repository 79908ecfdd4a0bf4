// Questions 601 and 605 played with LibreOffice as the trainee's
// spreadsheet: every code a trainee can bring about, from cells typed into
// LibreOffice as a person types them.
#include <gtest/gtest.h>

#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/sheet/XSheetAnnotationAnchor.hpp>
#include <com/sun/star/text/XSimpleText.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include "platform/script/script.hpp"
#include "tests/bridge/libreoffice/live_run.hpp"

namespace bridge::libreoffice::testing {
namespace {

namespace script = platform::script;
using css::uno::UNO_QUERY_THROW;

// Typing text preceded by an apostrophe leaves the text alone in the cell.
void type_text(const Cell& cell, const std::string& text) {
  Reference<css::text::XText>(cell, UNO_QUERY_THROW)->setString(to_uno(text));
}

void type_formula(const Cell& cell, const std::string& formula) { cell->setFormula(to_uno(formula)); }

TEST(LiveQuestions, Question601GivesEachCodeOfItsCheck) {
  LiveRun run;
  run.player().init_question(601);
  EXPECT_EQ(run.app().options().office.with_window, false);

  type_text(run.cell("D1"), "09854895");
  EXPECT_EQ(run.verdict(), "") << "the number kept as text is right";

  type_text(run.cell("D1"), "O9854895");
  EXPECT_EQ(run.verdict(), "B");
  run.cell("D1")->setValue(9854895);
  EXPECT_EQ(run.verdict(), "C");
  type_text(run.cell("D1"), "9854895");
  EXPECT_EQ(run.verdict(), "C") << "digits alone, even as text";
  type_text(run.cell("D1"), "o9854895");
  EXPECT_EQ(run.verdict(), "D");
  type_formula(run.cell("D1"), "=1/0");
  EXPECT_EQ(run.verdict(), "!AA");
  type_formula(run.cell("D1"), "");
  EXPECT_EQ(run.verdict(), "A");

  run.player().fermer();
  run.player().quitter();
}

TEST(LiveQuestions, Question605GivesEachCodeOfItsCheck) {
  LiveRun run;
  run.player().init_question(605);

  type_formula(run.cell("A2"), "=AVERAGE(B4:D4;B6:D6)");
  EXPECT_EQ(run.verdict(), "");
  type_formula(run.cell("A2"), "=+AVERAGE(B4:D4;B6:D6)");
  EXPECT_EQ(run.verdict(), "") << "a leading plus is still an average";

  type_formula(run.cell("A2"), "=SUM(B4:D4;B6:D6)/6");
  EXPECT_EQ(run.verdict(), "C");
  run.cell("A2")->setValue(117);
  EXPECT_EQ(run.verdict(), "D") << "the value without a formula";
  type_formula(run.cell("A2"), "=AVERAGE(B4:D6)");
  EXPECT_EQ(run.verdict(), "B");
  run.cell("A2")->setValue(120);
  EXPECT_EQ(run.verdict(), "B");
  type_formula(run.cell("A2"), "=AVERAGE(B4:D4)");
  EXPECT_EQ(run.verdict(), "D") << "an average of other cells";
  type_text(run.cell("A2"), "moyenne");
  EXPECT_EQ(run.verdict(), "D");
  type_formula(run.cell("A2"), "=AVERAGE(B4:D4;B6:D6)/0");
  EXPECT_EQ(run.verdict(), "!AA");
  type_formula(run.cell("A2"), "");
  EXPECT_EQ(run.verdict(), "A");

  run.player().fermer();
  run.player().quitter();
}

// What a trainee can do to the workbook itself before the check looks at
// the cells: rename the sheet, touch the reference note, close it.
TEST(LiveQuestions, TheWorkbookPreCheckSeesWhatTheTraineeDidInLibreOffice) {
  LiveRun run;
  run.player().init_question(605);
  type_formula(run.cell("A2"), "=AVERAGE(B4:D4;B6:D6)");

  // A new workbook becomes the active one; closing it gives the exercise back.
  script::Session trainee(Variant(run.player().application()));
  trainee.run_line("Workbooks.Add");
  EXPECT_EQ(run.verdict(), "!A");
  trainee.run_line("ActiveWorkbook.Close SaveChanges:=False");
  EXPECT_EQ(run.verdict(), "");

  const Sheet sheet = run.first_sheet();
  Reference<css::container::XNamed>(sheet, UNO_QUERY_THROW)->setName(to_uno("TRIMESTRE 1"));
  EXPECT_EQ(run.verdict(), "") << "the sheet's name in another case is the same name";
  Reference<css::container::XNamed>(sheet, UNO_QUERY_THROW)->setName(to_uno("Trimestre un"));
  EXPECT_EQ(run.verdict(), "!B");
  Reference<css::container::XNamed>(sheet, UNO_QUERY_THROW)->setName(to_uno("Trimestre 1"));

  const auto note = Reference<css::sheet::XSheetAnnotationAnchor>(run.cell("F13"), UNO_QUERY_THROW)->getAnnotation();
  Reference<css::text::XSimpleText>(note, UNO_QUERY_THROW)->setString(to_uno("Ne pas supprimer ce commentaire. Merci"));
  EXPECT_EQ(run.verdict(), "!D");

  Reference<css::util::XCloseable>(run.document(), UNO_QUERY_THROW)->close(true);
  EXPECT_EQ(run.verdict(), "!C");

  run.player().fermer();
  run.player().quitter();
}

}  // namespace
}  // namespace bridge::libreoffice::testing
