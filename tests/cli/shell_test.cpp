// The shell read from a pipe: statements, With blocks over several lines,
// "? expression", player calls, and a failing line that does not end it.
#include <gtest/gtest.h>

#include "command_run.hpp"

namespace d72506::cli::testing {
namespace {

TEST(Shell, RunsLinesUntilItsInputEndsAndGoesOnAfterAFailure) {
  const CommandRun run = run_d72506({"shell"},
                                    "#init 601\n"
                                    "? ActiveWorkbook.Name\n"
                                    "With Range(\"A1\")\n"
                                    "  .Value = 5\n"
                                    "End With\n"
                                    "? Range(\"A1\").Value * 2\n"
                                    "Workbooks(\"absent.xls\").Activate\n"
                                    "Range(\"D1\").Value = \"'09854895\"\n"
                                    "#check\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Thor International.xls\n"
            "10\n"
            "check 1: CauseErreur=\"\" ErreurGenerale=False BravoNuance=False Complement=[] — Bonne réponse\n");
  EXPECT_NE(run.err.find("Workbooks(\"absent.xls\")"), std::string::npos) << run.err;
}

TEST(Shell, AnOpenWithBlockAtTheEndRunsNothing) {
  const CommandRun run = run_d72506({"shell"}, "With Application\n.Caption = \"x\"\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace d72506::cli::testing
