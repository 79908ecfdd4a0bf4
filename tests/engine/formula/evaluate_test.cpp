#include <gtest/gtest.h>

#include "tests/engine/formula/grid.hpp"

namespace engine::formula {
namespace {

using testing::cell_name;
using testing::Grid;

// The chapter's table on "Trimestre 1".
Grid chapter_table() {
  Grid g({"Trimestre 1", "Feuil2"});
  const char* rows[][4] = {{"", "'01", "'02", "'03"},
                           {"España", " ", "118", "125"},
                           {"France.", "125", "100", "150"},
                           {"UK", "135", "97", "110"},
                           {"Total", "=SUM(B4:B6)", "=SUM(C4:C6)", "=SUM(D4:D6)"}};
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 4; ++c) g.set(cell_name(static_cast<char>('A' + c), r + 3), rows[r][c]);
  return g;
}

TEST(Chapter, AveragesOfTheTable) {
  const Grid g = chapter_table();
  EXPECT_EQ(g.eval("=AVERAGE(B4:D4,B6:D6)", "A2"), Value(117.0));
  EXPECT_EQ(g.eval("=+AVERAGE(B4:D4,B6:D6)", "A2"), Value(117.0));
  EXPECT_EQ(g.eval("=AVERAGE(B4:D6)", "A2"), Value(120.0));
  EXPECT_EQ(g.eval("=IF(B7>0,AVERAGE(B4:D4,B6:D6),\"\")", "A2"), Value(117.0));
  EXPECT_EQ(g.eval("=B7", "A2"), Value(260.0));
  EXPECT_EQ(g.eval("=(B4+C4+D4)/3", "A2"), Value(CellError::Value));  // B4 holds a space
  EXPECT_EQ(g.eval("=(C4+D4+B6+C6+D6)/5", "A2"), Value(117.0));
  EXPECT_EQ(g.eval("=B3", "A2"), Value("01"));
}

TEST(Aggregates, DirectArgumentsCountDifferentlyFromCells) {
  Grid g;
  g.set("A1", "'3");
  g.set("A2", "TRUE");
  g.set("A3", "4");
  EXPECT_EQ(g.eval("=SUM(\"3\",TRUE)"), Value(4.0));
  EXPECT_EQ(g.eval("=SUM(A1:A3)"), Value(4.0));
  EXPECT_EQ(g.eval("=SUM(A1)"), Value(0.0));
  EXPECT_EQ(g.eval("=SUM(\"x\")"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=COUNT(A1:A3,\"5\",TRUE,\"x\")"), Value(3.0));
  EXPECT_EQ(g.eval("=COUNTA(A1:A9)"), Value(3.0));
  EXPECT_EQ(g.eval("=COUNTBLANK(A1:A9)"), Value(6.0));
  EXPECT_EQ(g.eval("=AVERAGE(A1:A3)"), Value(4.0));
  EXPECT_EQ(g.eval("=AVERAGE(A1:A2)"), Value(CellError::Div0));
  EXPECT_EQ(g.eval("=MAX(A1:A2)"), Value(0.0));
  EXPECT_EQ(g.eval("=MIN(2,A3,-1)"), Value(-1.0));
  EXPECT_EQ(g.eval("=PRODUCT(A3,2,{1,2})"), Value(16.0));
  EXPECT_EQ(g.eval("=SUM({1,\"2\",TRUE})"), Value(1.0));
}

// More numbers than an aggregate gathers without allocating, and unions of
// more areas than a reference holds inline, give the same results.
TEST(Aggregates, ManyNumbersAndManyAreas) {
  Grid g;
  for (int row = 1; row <= 40; ++row) g.set("A" + std::to_string(row), std::to_string(row));
  EXPECT_EQ(g.eval("=SUM(A1:A40)"), Value(820.0));
  EXPECT_EQ(g.eval("=AVERAGE(A1:A40,A1)"), Value(821.0 / 41));
  EXPECT_EQ(g.eval("=MEDIAN(A1:A40)"), Value(20.5));
  EXPECT_EQ(g.eval("=LARGE(A1:A40,17)"), Value(24.0));
  EXPECT_EQ(g.eval("=MIN(A17:A40)+MAX(A1:A23)"), Value(40.0));
  EXPECT_EQ(g.eval("=SUM((A1,A2:A3,A40))"), Value(46.0));
  EXPECT_EQ(g.eval("=COUNT((A1:A20,A10:A30,A35))"), Value(42.0));
  EXPECT_EQ(g.eval("=SUM((A1:A5,A3:A8) A4:A6)"), Value(24.0));  // A4:A5 and A4:A6
}

TEST(Aggregates, CriteriaOfCountifAndSumif) {
  Grid g;
  const char* items[] = {"apple", "Apricot", "banana", "7", "3", "", "'5"};
  for (int i = 0; i < 7; ++i) g.set(cell_name('A', i + 1), items[i]);
  for (int i = 0; i < 7; ++i) g.set(cell_name('B', i + 1), std::to_string(i + 1));
  EXPECT_EQ(g.eval("=COUNTIF(A1:A7,\">5\")"), Value(1.0));
  EXPECT_EQ(g.eval("=COUNTIF(A1:A7,\"a*\")"), Value(2.0));
  EXPECT_EQ(g.eval("=COUNTIF(A1:A7,\"=APPLE\")"), Value(1.0));
  EXPECT_EQ(g.eval("=COUNTIF(A1:A7,\"<>apple\")"), Value(6.0));  // blanks included
  EXPECT_EQ(g.eval("=COUNTIF(A1:A7,\"\")"), Value(1.0));
  EXPECT_EQ(g.eval("=COUNTIF(A1:A7,5)"), Value(1.0));  // the text "5" matches the number
  EXPECT_EQ(g.eval("=COUNTIF(A1:A7,\"b?nana\")"), Value(1.0));
  EXPECT_EQ(g.eval("=SUMIF(A1:A7,\"a*\",B1:B7)"), Value(3.0));
  EXPECT_EQ(g.eval("=SUMIF(B1:B7,\">=6\")"), Value(13.0));
  EXPECT_EQ(g.eval("=SUMIF(A1:A7,\"\",B1:B1)"), Value(6.0));  // the sum range takes the criteria's size
}

TEST(Aggregates, SubtotalSkipsNestedSubtotalsAndHiddenRows) {
  Grid g;
  g.set("A1", "10");
  g.set("A2", "20");
  g.set("A3", "=SUBTOTAL(9,A1:A2)");
  g.set("A4", "5");
  g.hide_row(3);  // A4
  EXPECT_EQ(g.eval("=SUBTOTAL(9,A1:A4)"), Value(35.0));
  EXPECT_EQ(g.eval("=SUBTOTAL(109,A1:A4)"), Value(30.0));
  EXPECT_EQ(g.eval("=SUBTOTAL(1,A1:A4)"), Value(35.0 / 3));
  EXPECT_EQ(g.eval("=SUBTOTAL(3,A1:A4)"), Value(3.0));
  EXPECT_EQ(g.eval("=SUM(A1:A4)"), Value(65.0));
  EXPECT_EQ(g.eval("=SUBTOTAL(12,A1:A4)"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=SUBTOTAL(9,{1,2})"), Value(CellError::Value));
}

TEST(Math, RoundingAndArithmeticFunctions) {
  Grid g;
  EXPECT_EQ(g.eval("=ROUND(2.675,2)"), Value(2.68));
  EXPECT_EQ(g.eval("=ROUND(-2.5,0)"), Value(-3.0));
  EXPECT_EQ(g.eval("=ROUND(1234.5,-2)"), Value(1200.0));
  EXPECT_EQ(g.eval("=ROUNDUP(-1.21,1)"), Value(-1.3));
  EXPECT_EQ(g.eval("=ROUNDDOWN(1.29,1)"), Value(1.2));
  EXPECT_EQ(g.eval("=INT(-1.5)"), Value(-2.0));
  EXPECT_EQ(g.eval("=MOD(-3,2)"), Value(1.0));
  EXPECT_EQ(g.eval("=MOD(3,0)"), Value(CellError::Div0));
  EXPECT_EQ(g.eval("=POWER(2,10)"), Value(1024.0));
  EXPECT_EQ(g.eval("=POWER(-8,0.5)"), Value(CellError::Num));
  EXPECT_EQ(g.eval("=SQRT(-1)"), Value(CellError::Num));
  EXPECT_EQ(g.eval("=ABS(\"-3\")"), Value(3.0));
}

TEST(Operators, CoercionAndComparisonRules) {
  Grid g;
  g.set("A1", "abc");
  EXPECT_EQ(g.eval("=\"3\"+1"), Value(4.0));
  EXPECT_EQ(g.eval("=\"a\"+1"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=TRUE+1"), Value(2.0));
  EXPECT_EQ(g.eval("=B9+1"), Value(1.0));  // empty cell is 0
  EXPECT_EQ(g.eval("=B9"), Value(0.0));
  EXPECT_EQ(g.eval("=-2^2"), Value(4.0));
  EXPECT_EQ(g.eval("=2^-1"), Value(0.5));
  EXPECT_EQ(g.eval("=50%+1"), Value(1.5));
  EXPECT_EQ(g.eval("=1&2"), Value("12"));
  EXPECT_EQ(g.eval("=1.5&TRUE"), Value("1.5TRUE"));
  EXPECT_EQ(g.eval("=A1=\"ABC\""), Value(true));
  EXPECT_EQ(g.eval("=\"a\"<\"B\""), Value(true));
  EXPECT_EQ(g.eval("=1<\"0\""), Value(true));       // numbers sort before text
  EXPECT_EQ(g.eval("=\"z\"<FALSE"), Value(true));   // and text before Booleans
  EXPECT_EQ(g.eval("=B9=\"\""), Value(true));
  EXPECT_EQ(g.eval("=B9=0"), Value(true));
  EXPECT_EQ(g.eval("=1/0"), Value(CellError::Div0));
  EXPECT_EQ(g.eval("=0^0"), Value(CellError::Num));
  EXPECT_EQ(g.eval("=1E300*1E300"), Value(CellError::Num));
}

TEST(Operators, ReferenceOperators) {
  Grid g;
  g.set("B2", "5");
  g.set("C3", "7");
  EXPECT_EQ(g.eval("=SUM(A1:C3 B2:D4)"), Value(12.0));
  EXPECT_EQ(g.eval("=A1:A2 C1:C2"), Value(CellError::Null));
  EXPECT_EQ(g.eval("=SUM((B2,C3,B2))"), Value(17.0));
  EXPECT_EQ(g.eval("=SUM(B2:INDEX(A1:D4,3,3))"), Value(12.0));
  EXPECT_EQ(g.eval("={1,2}+{10;20}"), Value(11.0));
  EXPECT_EQ(g.eval("=SUM({1,2}*2)"), Value(6.0));
}

TEST(Operators, ImplicitIntersection) {
  Grid g;
  g.set("A1", "1");
  g.set("A2", "2");
  g.set("B5", "9");
  EXPECT_EQ(g.eval("=A1:A3*10", "C2"), Value(20.0));
  EXPECT_EQ(g.eval("=A1:A3", "C9"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=A5:C5", "B1"), Value(9.0));
  EXPECT_EQ(g.eval("=ABS(A1:A3)", "D1"), Value(1.0));
}

TEST(Errors, PropagateLeftFirstAndThroughFunctions) {
  Grid g;
  g.set("A1", "#N/A");
  g.set("A2", "=1/0");
  EXPECT_EQ(g.eval("=A1+A2"), Value(CellError::NA));
  EXPECT_EQ(g.eval("=A2+A1"), Value(CellError::Div0));
  EXPECT_EQ(g.eval("=SUM(A1:A2)"), Value(CellError::NA));
  EXPECT_EQ(g.eval("=COUNT(A1:A2)"), Value(0.0));
  EXPECT_EQ(g.eval("=ISERROR(A2)"), Value(true));
  EXPECT_EQ(g.eval("=IF(TRUE,1,A2)"), Value(1.0));  // the branch not taken is not evaluated
  EXPECT_EQ(g.eval("=NOSUCH(1)"), Value(CellError::Name));
  EXPECT_EQ(g.eval("=Undefined+1"), Value(CellError::Name));
  EXPECT_EQ(g.eval("=Missing!A1"), Value(CellError::Ref));
  EXPECT_EQ(g.eval("=#REF!+1"), Value(CellError::Ref));
  EXPECT_EQ(g.eval("=A1&\"x\""), Value(CellError::NA));
}

TEST(Names, ResolveToReferencesAndFormulas) {
  Grid g({"Trimestre 1"});
  g.set("C4", "1");
  g.set("C8", "2");
  g.define_name("Zone", "='Trimestre 1'!$C$4:$C$8");
  g.define_name("Rate", "=0.5");
  g.define_name("Loop", "=Loop+1");
  EXPECT_EQ(g.eval("=SUM(Zone)"), Value(3.0));
  EXPECT_EQ(g.eval("=zone", "D8"), Value(2.0));
  EXPECT_EQ(g.eval("=Rate*4"), Value(2.0));
  EXPECT_EQ(g.eval("=Loop"), Value(CellError::Name));
}

TEST(Logical, IfAndOrNot) {
  Grid g;
  g.set("A1", "TRUE");
  g.set("A2", "text");
  EXPECT_EQ(g.eval("=IF(0,1)"), Value(false));
  EXPECT_EQ(g.eval("=IF(1,)"), Value(0.0));
  EXPECT_EQ(g.eval("=IF(\"true\",1,2)"), Value(1.0));
  EXPECT_EQ(g.eval("=IF(\"x\",1,2)"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=AND(A1:A2,1)"), Value(true));
  EXPECT_EQ(g.eval("=AND(A2)"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=OR(0,FALSE)"), Value(false));
  EXPECT_EQ(g.eval("=NOT(2)"), Value(false));
  EXPECT_EQ(g.eval("=AND(\"x\")"), Value(CellError::Value));
}

TEST(Text, FunctionsCountCharactersNotBytes) {
  Grid g;
  g.set("A1", "España");
  EXPECT_EQ(g.eval("=LEN(A1)"), Value(6.0));
  EXPECT_EQ(g.eval("=LEFT(A1,4)"), Value("Espa"));
  EXPECT_EQ(g.eval("=RIGHT(A1,3)"), Value("aña"));
  EXPECT_EQ(g.eval("=MID(A1,4,2)"), Value("añ"));
  EXPECT_EQ(g.eval("=MID(A1,0,2)"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=UPPER(A1)"), Value("ESPAÑA"));
  EXPECT_EQ(g.eval("=LOWER(\"ÉTÉ\")"), Value("été"));
  EXPECT_EQ(g.eval("=TRIM(\"  a   b  \")"), Value("a b"));
  EXPECT_EQ(g.eval("=CONCATENATE(\"x\",1.5,TRUE)"), Value("x1.5TRUE"));
  EXPECT_EQ(g.eval("=VALUE(\" 1,234.5 \")"), Value(1234.5));
  EXPECT_EQ(g.eval("=VALUE(\"abc\")"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=LEFT(A1,-1)"), Value(CellError::Value));
}

TEST(Text, TextFunctionFormats) {
  Grid g;
  EXPECT_EQ(g.eval("=TEXT(1234.567,\"0\")"), Value("1235"));
  EXPECT_EQ(g.eval("=TEXT(1234.567,\"0.00\")"), Value("1234.57"));
  EXPECT_EQ(g.eval("=TEXT(1234567.8,\"#,##0\")"), Value("1,234,568"));
  EXPECT_EQ(g.eval("=TEXT(42,\"00000\")"), Value("00042"));
  EXPECT_EQ(g.eval("=TEXT(0.256,\"0%\")"), Value("26%"));
  EXPECT_EQ(g.eval("=TEXT(-5,\"0.0\")"), Value("-5.0"));
  EXPECT_EQ(g.eval("=TEXT(37775,\"dd/mm/yyyy\")"), Value("03/06/2003"));
  EXPECT_EQ(g.eval("=TEXT(\"abc\",\"@\")"), Value("abc"));
  EXPECT_EQ(g.eval("=TEXT(1.5,\"General\")"), Value("1.5"));
}

TEST(Dates, SerialsFollowThe1900System) {
  Grid g;
  EXPECT_EQ(g.eval("=DATE(2003,6,2)"), Value(37774.0));
  EXPECT_EQ(g.eval("=DATE(1900,1,1)"), Value(1.0));
  EXPECT_EQ(g.eval("=DATE(1900,3,1)"), Value(61.0));
  EXPECT_EQ(g.eval("=DATE(103,13,1)"), Value(37987.0));  // 2004-01-01
  EXPECT_EQ(g.eval("=DATE(2003,1,0)"), Value(37621.0));  // 2002-12-31
  EXPECT_EQ(g.eval("=DAY(60)"), Value(29.0));
  EXPECT_EQ(g.eval("=MONTH(60)"), Value(2.0));
  EXPECT_EQ(g.eval("=YEAR(DATE(2003,6,2))"), Value(2003.0));
  EXPECT_EQ(g.eval("=YEAR(-1)"), Value(CellError::Num));
  EXPECT_EQ(g.eval("=TODAY()"), Value(37775.0));
  EXPECT_EQ(g.eval("=NOW()"), Value(37775.5));
  EXPECT_EQ(g.eval("=DATE(10000,1,1)"), Value(CellError::Num));
}

TEST(Lookup, VlookupHlookupMatchIndex) {
  Grid g;
  const char* table[][2] = {{"10", "ten"}, {"20", "twenty"}, {"30", "thirty"}, {"apple", "A"}, {"Banana", "B"}};
  for (int r = 0; r < 5; ++r) {
    g.set(cell_name('A', r + 1), table[r][0]);
    g.set(cell_name('B', r + 1), table[r][1]);
  }
  EXPECT_EQ(g.eval("=VLOOKUP(25,A1:B3,2)"), Value("twenty"));
  EXPECT_EQ(g.eval("=VLOOKUP(5,A1:B3,2)"), Value(CellError::NA));
  EXPECT_EQ(g.eval("=VLOOKUP(20,A1:B5,2,FALSE)"), Value("twenty"));
  EXPECT_EQ(g.eval("=VLOOKUP(\"BAN*\",A1:B5,2,FALSE)"), Value("B"));
  EXPECT_EQ(g.eval("=VLOOKUP(20,A1:B5,3,FALSE)"), Value(CellError::Ref));
  EXPECT_EQ(g.eval("=VLOOKUP(20,A1:B5,0,FALSE)"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=VLOOKUP(20,A:B,2,FALSE)"), Value("twenty"));
  EXPECT_EQ(g.eval("=HLOOKUP(2,{1,2,3;\"a\",\"b\",\"c\"},2,FALSE)"), Value("b"));
  EXPECT_EQ(g.eval("=MATCH(\"apple\",A1:A5,0)"), Value(4.0));
  EXPECT_EQ(g.eval("=MATCH(29,A1:A3)"), Value(2.0));
  EXPECT_EQ(g.eval("=MATCH(29,A1:B3)"), Value(CellError::NA));
  EXPECT_EQ(g.eval("=INDEX(A1:B5,2,2)"), Value("twenty"));
  EXPECT_EQ(g.eval("=SUM(INDEX(A1:B3,0,1))"), Value(60.0));
  EXPECT_EQ(g.eval("=INDEX(A1:B5,9,1)"), Value(CellError::Ref));
  EXPECT_EQ(g.eval("=INDEX({1,2;3,4},2,1)"), Value(3.0));
}

TEST(Information, IsFunctionsDoNotPropagate) {
  Grid g;
  g.set("A1", "'");
  g.set("A2", "5");
  EXPECT_EQ(g.eval("=ISBLANK(A9)"), Value(true));
  EXPECT_EQ(g.eval("=ISBLANK(\"\")"), Value(false));
  EXPECT_EQ(g.eval("=ISNUMBER(A2)"), Value(true));
  EXPECT_EQ(g.eval("=ISNUMBER(\"5\")"), Value(false));
  EXPECT_EQ(g.eval("=ISTEXT(A1)"), Value(true));
  EXPECT_EQ(g.eval("=ISERROR(1/0)"), Value(true));
  EXPECT_EQ(g.eval("=ISERROR(#N/A)"), Value(true));
}

}  // namespace
}  // namespace engine::formula
