// OpenFormula as LibreOffice writes it, rewritten in Excel's notation: a
// table of cases, each parsed by the formula engine as a cell would be.
#include "engine/ods/open_formula.hpp"

#include <gtest/gtest.h>

#include "engine/formula/formula.hpp"

namespace engine::ods {
namespace {

struct Case {
  const char* open_formula;
  const char* excel;  // as the engine prints it back
};

class Translation : public ::testing::TestWithParam<Case> {};

TEST_P(Translation, ParsesAsExcelWritesIt) {
  const std::string excel = excel_formula(GetParam().open_formula);
  EXPECT_EQ(formula::print(*formula::parse(excel)), GetParam().excel) << excel;
}

INSTANTIATE_TEST_SUITE_P(
    OpenFormula, Translation,
    ::testing::Values(
        Case{"of:=SUM([.B4:.D4])", "=SUM(B4:D4)"},
        Case{"of:=[.$A$1]+[.A$2]*[.$A3]", "=$A$1+A$2*$A3"},
        Case{"of:=[$'Trimestre 1'.B4]", "='Trimestre 1'!B4"},
        Case{"of:=SUM([$'Trimestre 1'.$C$4:.$C$8])", "=SUM('Trimestre 1'!$C$4:$C$8)"},
        Case{"of:=SUM([Feuil1.A1:Feuil3.B2])", "=SUM(Feuil1:Feuil3!A1:B2)"},
        Case{"of:=['it''s'.A1]", "='it''s'!A1"},
        Case{"of:=SUM([.A:.A])", "=SUM(A:A)"},
        Case{"of:=SUM([.3:.5])", "=SUM(3:5)"},
        Case{"of:=IF([.A1]>1;\"a;b\";\"say \"\"hi\"\"\")", "=IF(A1>1,\"a;b\",\"say \"\"hi\"\"\")"},
        Case{"of:=SUM({1;2|3;4})", "=SUM({1,2;3,4})"},
        Case{"of:=SUM(([.A1:.B2]~[.D4]))", "=SUM((A1:B2,D4))"},
        Case{"of:=SUM([.A1:.C3]![.B2:.D4])", "=SUM(A1:C3 B2:D4)"},
        Case{"of:=[.#REF!]+1", "=#REF!+1"},
        Case{"of:=IF(ISERROR(1/0);#N/A;#DIV/0!)", "=IF(ISERROR(1/0),#N/A,#DIV/0!)"},
        Case{"of:=LEGACY.NORMSDIST(1)", "=NORMSDIST(1)"},
        Case{"of:=COM.MICROSOFT.CEILING(2.5;1)", "=CEILING(2.5,1)"},
        Case{"of:=Zone*2", "=Zone*2"},
        Case{"of:=-[.A1]%", "=-A1%"},
        Case{"oooc:=SUM([.A1];[.A2])", "=SUM(A1,A2)"},
        Case{"msoxl:=SUM(A1:A2)", "=SUM(A1:A2)"},
        Case{"=1+2", "=1+2"}));

TEST(OpenFormula, UnknownFunctionsParseAndComputeNameErrors) {
  const auto parsed = formula::parse(excel_formula("of:=ORG.OPENOFFICE.STYLE(\"x\")"));
  EXPECT_EQ(formula::print(*parsed), "=ORG.OPENOFFICE.STYLE(\"x\")");
}

TEST(OpenFormula, RefusesWhatItCannotCarry) {
  for (const char* text : {"of:=\"open", "of:=[.A1", "of:=['open.A1]", "of:=['file:///x.ods'#$Sheet1.A1]",
                           "xyz:=1", "of:SUM(1)", "of:=[.]"}) {
    EXPECT_THROW(excel_formula(text), OpenFormulaError) << text;
  }
}

TEST(OpenFormula, RangeAddressesOfNames) {
  EXPECT_EQ(excel_reference("$'Trimestre 1'.$C$4:.$C$8"), "'Trimestre 1'!$C$4:$C$8");
  EXPECT_EQ(excel_reference("$détail.$A$1"), "détail!$A$1");
  EXPECT_EQ(excel_reference("$Feuil1.$A$1:$Feuil1.$B$2"), "Feuil1!$A$1:$B$2");
}

}  // namespace
}  // namespace engine::ods
