// The functions a spreadsheet course reaches beyond the first chapters:
// statistics, lookups by position, text search and replacement, dates and
// times, money over time. Expected values are Excel 2003's.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/formula/dates.hpp"
#include "engine/formula/functions.hpp"
#include "tests/engine/formula/grid.hpp"

namespace engine::formula {
namespace {

using testing::cell_name;
using testing::Grid;

// A number result within a relative 1e-12 (money and statistics results
// are not exact in binary).
void expect_near(const Value& actual, double expected) {
  ASSERT_TRUE(actual.is_number()) << value_to_text(actual);
  EXPECT_NEAR(actual.number(), expected, std::fabs(expected) * 1e-12 + 1e-15);
}

// A1:A6 = 3, 1, 4, 1, 5, "x"; B1 = TRUE.
Grid numbers_grid() {
  Grid g;
  const char* values[] = {"3", "1", "4", "1", "5", "x"};
  for (int i = 0; i < 6; ++i) g.set(cell_name('A', i + 1), values[i]);
  g.set("B1", "TRUE");
  return g;
}

// Names are matched whatever their letter case, and only whole names:
// a prefix, a longer name or an accented look-alike is no function.
TEST(FunctionTable, FindsNamesWhateverTheirCaseAndNothingElse) {
  for (const char* name : {"COUNTIF", "countif", "CountIf", "cOUNTIF"}) {
    const FunctionSpec* spec = find_function(name);
    ASSERT_NE(spec, nullptr) << name;
    EXPECT_EQ(spec->name, "COUNTIF");
  }
  EXPECT_EQ(find_function("n")->name, "N");
  EXPECT_EQ(find_function("Rank")->name, "RANK");
  for (const char* name : {"COUNTIFS", "COUNTI", "", "SÜM", "SUM ", "S\xffM"}) EXPECT_EQ(find_function(name), nullptr) << name;
}

TEST(Statistics, OrderAndSpread) {
  const Grid g = numbers_grid();
  EXPECT_EQ(g.eval("=MEDIAN(A1:A6)"), Value(3.0));
  EXPECT_EQ(g.eval("=MEDIAN(A1:A4)"), Value(2.0));
  EXPECT_EQ(g.eval("=MEDIAN(B1)"), Value(CellError::Num));  // no number at all
  EXPECT_EQ(g.eval("=MODE(A1:A6)"), Value(1.0));
  EXPECT_EQ(g.eval("=MODE({1,2,2,3,3})"), Value(2.0));  // the first of equally frequent values
  EXPECT_EQ(g.eval("=MODE(1,2,3)"), Value(CellError::NA));
  EXPECT_EQ(g.eval("=LARGE(A1:A6,1)"), Value(5.0));
  EXPECT_EQ(g.eval("=LARGE(A1:A6,5)"), Value(1.0));
  EXPECT_EQ(g.eval("=LARGE(A1:A6,6)"), Value(CellError::Num));  // the text does not count
  EXPECT_EQ(g.eval("=SMALL(A1:A6,2)"), Value(1.0));
  EXPECT_EQ(g.eval("=SMALL({4,2,8},0)"), Value(CellError::Num));
  EXPECT_EQ(g.eval("=RANK(4,A1:A6)"), Value(2.0));
  EXPECT_EQ(g.eval("=RANK(1,A1:A6)"), Value(4.0));  // ties share the best place
  EXPECT_EQ(g.eval("=RANK(1,A1:A6,1)"), Value(1.0));
  EXPECT_EQ(g.eval("=RANK(2,A1:A6)"), Value(CellError::NA));
  expect_near(g.eval("=STDEV(A1:A5)"), std::sqrt(3.2));
  expect_near(g.eval("=STDEVP(A1:A5)"), std::sqrt(2.56));
  expect_near(g.eval("=VARP(A1:A5)"), 2.56);
  EXPECT_EQ(g.eval("=VAR(5)"), Value(CellError::Div0));
}

TEST(Statistics, CriteriaInEveryForm) {
  Grid g;
  const char* items[] = {"=DATE(2003,6,2)", "10", "'10", "abc", "", "TRUE", "#N/A", "=1/0", "a~b", "a*b"};
  for (int i = 0; i < 10; ++i) g.set(cell_name('A', i + 1), items[i]);
  g.set("C1", ">=10");
  EXPECT_EQ(g.eval("=COUNTIF(A1:A10,\"6/2/2003\")"), Value(1.0));  // a date text matches the serial
  EXPECT_EQ(g.eval("=COUNTIF(A1:A10,\">\"&DATE(2003,1,1))"), Value(1.0));
  EXPECT_EQ(g.eval("=COUNTIF(A1:A10,C1)"), Value(2.0));  // the criterion in a cell
  EXPECT_EQ(g.eval("=COUNTIF(A1:A10,10)"), Value(2.0));  // the text "10" too
  g.set("B1", "'6/2/2003");
  g.set("B2", "'$10");
  EXPECT_EQ(g.eval("=COUNTIF(B1:B2,\"6/2/2003\")"), Value(1.0));  // a date written as text
  EXPECT_EQ(g.eval("=COUNTIF(B1:B2,10)"), Value(1.0));           // an amount written as text
  EXPECT_EQ(g.eval("=COUNTIF(A1:A10,\">5\")"), Value(2.0));  // not the text
  EXPECT_EQ(g.eval("=COUNTIF(A1:A10,TRUE)"), Value(1.0));
  EXPECT_EQ(g.eval("=COUNTIF(A1:A10,\"#N/A\")"), Value(1.0));
  EXPECT_EQ(g.eval("=COUNTIF(A1:A10,\"#DIV/0!\")"), Value(1.0));
  EXPECT_EQ(g.eval("=COUNTIF(A1:A10,\"<>\")"), Value(9.0));
  EXPECT_EQ(g.eval("=COUNTIF(A1:A10,\"a~*b\")"), Value(1.0));
  EXPECT_EQ(g.eval("=COUNTIF(A1:A10,\"a?b\")"), Value(2.0));
  EXPECT_EQ(g.eval("=SUMIF(A1:A10,\">=10\")"), Value(37774.0 + 10));
  EXPECT_EQ(g.eval("=AVERAGEIF(A1:A10,\">0\")"), Value(CellError::Name));  // came after Excel 2003
  EXPECT_EQ(g.eval("=SUMIFS(A1:A10,A1:A10,\">0\")"), Value(CellError::Name));
  EXPECT_EQ(g.eval("=IFERROR(1,2)"), Value(CellError::Name));
}

TEST(Math, ArraysProductsAndMultiples) {
  Grid g;
  g.set("A1", "2");
  g.set("A2", "3");
  g.set("B1", "4");
  g.set("B2", "x");
  g.set("C1", "#N/A");
  EXPECT_EQ(g.eval("=SUMPRODUCT(A1:A2,B1:B2)"), Value(8.0));  // text counts as 0
  EXPECT_EQ(g.eval("=SUMPRODUCT({1,2;3,4},{1,1;1,1})"), Value(10.0));
  EXPECT_EQ(g.eval("=SUMPRODUCT(A1:A2,B1:C1)"), Value(CellError::Value));  // shapes differ
  EXPECT_EQ(g.eval("=SUMPRODUCT(A1:A2,C1:C2)"), Value(CellError::NA));
  EXPECT_EQ(g.eval("=SUMPRODUCT(A:E)"), Value(CellError::Num));  // more than it will hold
  EXPECT_EQ(g.eval("=SUMPRODUCT((A1:A2>2)*A1:A2)"), Value(3.0));     // operators work cell by cell
  EXPECT_EQ(g.eval("=SUMPRODUCT(--(B1:B2=\"x\"),A1:A2)"), Value(3.0));
  EXPECT_EQ(g.eval("=SUMPRODUCT(A1:A2%)"), Value(0.05));
  EXPECT_EQ(g.eval("=SUMPRODUCT(A:A*1:1)"), Value(CellError::Num));  // 65,536 x 256 values: refused
  EXPECT_EQ(g.eval("=(A1:A2>2)*1", "D2"), Value(1.0));  // outside, a reference is one cell
  // Functions of single values apply to each element inside an array argument.
  EXPECT_EQ(g.eval("=SUMPRODUCT(LEN(B1:B2))"), Value(2.0));
  EXPECT_EQ(g.eval("=SUMPRODUCT(--ISNUMBER(A1:C2))"), Value(3.0));
  EXPECT_EQ(g.eval("=SUMPRODUCT(ROUND(A1:A2/4,1))"), Value(1.3));  // 0.5 + 0.8
  EXPECT_EQ(g.eval("=SUMPRODUCT(--(LEFT(B1:B2,1)=\"x\"))"), Value(1.0));
  EXPECT_EQ(g.eval("=SUMPRODUCT(MOD(A1:A2,{2,3}))"), Value(3.0));  // a column and a row make 2x2: 0+2+1+0
  EXPECT_EQ(g.eval("=SUMPRODUCT(MOD({4;5},{2;3}))"), Value(2.0));
  EXPECT_EQ(g.eval("=LEN(B1:B2)", "D1"), Value(1.0));  // outside, one cell by intersection
  EXPECT_EQ(g.eval("=SUMPRODUCT((MOD(ROW(A1:A2),2)=0)*A1:A2)"), Value(3.0));  // every other row
  EXPECT_EQ(g.eval("=SUMPRODUCT(COLUMN(A1:C1))"), Value(6.0));
  EXPECT_EQ(g.eval("=ROW(A3:A9)"), Value(3.0));
  // A name means an array inside the argument and one cell outside it, in
  // the same formula.
  g.define_name("Doubled", "=A1:A2*2");
  EXPECT_EQ(g.eval("=SUMPRODUCT(Doubled)+Doubled", "D2"), Value(16.0));  // (4+6) + 6
  EXPECT_EQ(g.eval("=TRUNC(-1.99)"), Value(-1.0));
  EXPECT_EQ(g.eval("=TRUNC(12.345,1)"), Value(12.3));
  EXPECT_EQ(g.eval("=CEILING(2.5,1)"), Value(3.0));
  EXPECT_EQ(g.eval("=CEILING(-2.5,-2)"), Value(-4.0));
  EXPECT_EQ(g.eval("=CEILING(2.5,-1)"), Value(CellError::Num));
  EXPECT_EQ(g.eval("=FLOOR(2.5,0.1)"), Value(2.5));  // 25 steps, not 24.999...
  EXPECT_EQ(g.eval("=FLOOR(1,0)"), Value(CellError::Div0));
  EXPECT_EQ(g.eval("=SIGN(-3)"), Value(-1.0));
  expect_near(g.eval("=PI()"), 3.14159265358979);
}

TEST(Math, FifteenDigitsBeforeRounding) {
  Grid g;
  EXPECT_EQ(g.eval("=INT((0.3-0.1)*10)"), Value(2.0));
  EXPECT_EQ(g.eval("=ROUNDDOWN((0.3-0.1)*10,0)"), Value(2.0));
  EXPECT_EQ(g.eval("=ROUNDUP(0.1*3*10,0)"), Value(3.0));
  EXPECT_EQ(g.eval("=ROUNDDOWN(1.1-1,2)"), Value(0.1));
  EXPECT_EQ(g.eval("=TRUNC(4.35*100)"), Value(435.0));
  EXPECT_EQ(g.eval("=INT(-0.5)"), Value(-1.0));
  EXPECT_EQ(g.eval("=ROUND(5,-400)"), Value(0.0));
  EXPECT_EQ(g.eval("=ROUND(1E+300,-300)"), Value(1E+300));
}

TEST(Lookup, PositionsAndReferencesByText) {
  Grid g({"Sheet1", "Data 2"});
  for (int r = 1; r <= 4; ++r) {
    g.set(cell_name('A', r), std::to_string(r * 10));
    g.set(cell_name('B', r), std::string(1, static_cast<char>('a' + r - 1)));
  }
  g.set("'Data 2'!C3", "77");
  g.set("D1", "B2");
  EXPECT_EQ(g.eval("=LOOKUP(25,A1:A4,B1:B4)"), Value("b"));
  EXPECT_EQ(g.eval("=LOOKUP(5,A1:A4,B1:B4)"), Value(CellError::NA));
  EXPECT_EQ(g.eval("=LOOKUP(40,A1:B4)"), Value("d"));  // a tall table: first column, last column
  EXPECT_EQ(g.eval("=LOOKUP(2,{1,2,3;\"x\",\"y\",\"z\"})"), Value("y"));  // a wide one: by rows
  EXPECT_EQ(g.eval("=CHOOSE(2,\"one\",\"two\")"), Value("two"));
  EXPECT_EQ(g.eval("=CHOOSE(3,\"one\",\"two\")"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=SUM(CHOOSE(1,A1:A2,A3:A4))"), Value(30.0));  // a reference stays one
  EXPECT_EQ(g.eval("=SUM(OFFSET(A1,1,0,2,1))"), Value(50.0));
  EXPECT_EQ(g.eval("=OFFSET(A1,3,1)"), Value("d"));
  EXPECT_EQ(g.eval("=OFFSET(A1,-1,0)"), Value(CellError::Ref));
  EXPECT_EQ(g.eval("=OFFSET(A1,0,0,0,1)"), Value(CellError::Ref));
  EXPECT_EQ(g.eval("=INDIRECT(D1)"), Value("b"));
  EXPECT_EQ(g.eval("=INDIRECT(\"'Data 2'!C3\")"), Value(77.0));
  EXPECT_EQ(g.eval("=SUM(INDIRECT(\"A1:A\"&3))"), Value(60.0));
  EXPECT_EQ(g.eval("=INDIRECT(\"R2C1\",FALSE)"), Value(20.0));
  EXPECT_EQ(g.eval("=INDIRECT(\"R[1]C[-1]\",FALSE)", "B1"), Value(20.0));
  EXPECT_EQ(g.eval("=INDIRECT(\"no such\")"), Value(CellError::Ref));
  EXPECT_EQ(g.eval("=INDIRECT(\"1+1\")"), Value(CellError::Ref));
  EXPECT_EQ(g.eval("=ROWS(A1:B4)"), Value(4.0));
  EXPECT_EQ(g.eval("=COLUMNS({1,2,3})"), Value(3.0));
  EXPECT_EQ(g.eval("=ROW()", "C7"), Value(7.0));
  EXPECT_EQ(g.eval("=COLUMN(D2:F9)"), Value(4.0));
}

TEST(Lookup, IndirectToItselfThroughANameStops) {
  Grid g;
  g.define_name("Loop", "=INDIRECT(\"Loop\")");
  EXPECT_EQ(g.eval("=Loop"), Value(CellError::Ref));
}

TEST(Text, SearchAndReplace) {
  Grid g;
  g.set("A1", "Thor International");
  EXPECT_EQ(g.eval("=FIND(\"o\",A1)"), Value(3.0));
  EXPECT_EQ(g.eval("=FIND(\"o\",A1,4)"), Value(15.0));
  EXPECT_EQ(g.eval("=FIND(\"I\",A1)"), Value(6.0));  // letter case kept
  EXPECT_EQ(g.eval("=FIND(\"z\",A1)"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=FIND(\"\",A1,3)"), Value(3.0));
  EXPECT_EQ(g.eval("=FIND(\"o\",A1,0)"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=SEARCH(\"i\",A1)"), Value(6.0));
  EXPECT_EQ(g.eval("=SEARCH(\"n*l\",A1)"), Value(7.0));
  EXPECT_EQ(g.eval("=SEARCH(\"t?r\",A1)"), Value(8.0));
  EXPECT_EQ(g.eval("=SEARCH(\"~?\",\"why?\")"), Value(4.0));
  EXPECT_EQ(g.eval("=SEARCH(\"é\",\"Détail\")"), Value(2.0));
  EXPECT_EQ(g.eval("=SUBSTITUTE(\"a-b-c\",\"-\",\"+\")"), Value("a+b+c"));
  EXPECT_EQ(g.eval("=SUBSTITUTE(\"a-b-c\",\"-\",\"+\",2)"), Value("a-b+c"));
  EXPECT_EQ(g.eval("=SUBSTITUTE(\"a-b-c\",\"-\",\"+\",0)"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=SUBSTITUTE(\"abc\",\"\",\"x\")"), Value("abc"));
  EXPECT_EQ(g.eval("=REPLACE(\"España\",4,2,\"XY\")"), Value("EspXYa"));
  EXPECT_EQ(g.eval("=REPLACE(\"abc\",9,1,\"d\")"), Value("abcd"));
  EXPECT_EQ(g.eval("=REPT(\"ab\",3)"), Value("ababab"));
  EXPECT_EQ(g.eval("=REPT(\"ab\",20000)"), Value(CellError::Value));  // longer than a cell holds
  EXPECT_EQ(g.eval("=REPT(\"\",1E+300)"), Value(""));                // nothing, without counting to 1E+300
  EXPECT_EQ(g.eval("=EXACT(\"a\",\"A\")"), Value(false));
  EXPECT_EQ(g.eval("=PROPER(\"jean-luc o'neil 2nd éTÉ\")"), Value("Jean-Luc O'Neil 2Nd Été"));
  EXPECT_EQ(g.eval("=T(A1)"), Value("Thor International"));
  EXPECT_EQ(g.eval("=T(12)"), Value(""));
}

TEST(Text, EmptyArgumentsAreZero) {
  Grid g;
  EXPECT_EQ(g.eval("=LEFT(\"Calc\",)"), Value(""));
  EXPECT_EQ(g.eval("=LEFT(\"Calc\")"), Value("C"));
  EXPECT_EQ(g.eval("=RIGHT(\"Calc\",)"), Value(""));
  EXPECT_EQ(g.eval("=ROUND(2.5,)"), Value(3.0));
  EXPECT_EQ(g.eval("=VLOOKUP(2,{1,\"a\";3,\"b\"},2,)"), Value(CellError::NA));  // exact match
  EXPECT_EQ(g.eval("=VLOOKUP(2,{1,\"a\";3,\"b\"},2)"), Value("a"));
}

TEST(Text, NumbersAsText) {
  Grid g;
  EXPECT_EQ(g.eval("=FIXED(1234.567)"), Value("1,234.57"));
  EXPECT_EQ(g.eval("=FIXED(1234.567,-1)"), Value("1,230"));
  EXPECT_EQ(g.eval("=FIXED(-1234.567,1,TRUE)"), Value("-1234.6"));
  EXPECT_EQ(g.eval("=FIXED(2.675,2)"), Value("2.68"));
  EXPECT_EQ(g.eval("=DOLLAR(1234.567)"), Value("$1,234.57"));
  EXPECT_EQ(g.eval("=DOLLAR(-0.5,0)"), Value("($1)"));
  EXPECT_EQ(g.eval("=N(\"7\")"), Value(0.0));
  EXPECT_EQ(g.eval("=N(TRUE)"), Value(1.0));
}

TEST(Text, NumberFormatsOfEveryKind) {
  Grid g;
  const std::pair<const char*, const char*> cases[] = {
      {"=TEXT(2.675,\"0.00\")", "2.68"},           // rounded on 15 digits, not on binary
      {"=TEXT(5,\"#.##\")", "5."},
      {"=TEXT(0.5,\"#.00\")", ".50"},
      {"=TEXT(1234567,\"0.0,,\")", "1.2"},         // each trailing comma divides by 1000
      {"=TEXT(1234567,\"#,##0,\")", "1,235"},
      {"=TEXT(5,\"0,000\")", "0,005"},
      {"=TEXT(5551234,\"000-0000\")", "555-1234"},  // literals between the digits
      {"=TEXT(1234,\"(000) 00\")", "(012) 34"},
      {"=TEXT(12,\"\\$0.00_)\")", "$12.00 "},       // "_)" keeps a blank the width of ")"
      {"=TEXT(12,\"**0\")", "12"},                  // a fill has no width in text
      {"=TEXT(-12,\"0;(0)\")", "(12)"},
      {"=TEXT(0,\"0;(0);\"\"zero\"\"\")", "zero"},
      {"=TEXT(0,\"0;;\")", ""},
      {"=TEXT(12345.678,\"0.00E+00\")", "1.23E+04"},
      {"=TEXT(0.000123,\"0.0E-0\")", "1.2E-4"},
      {"=TEXT(12345.678,\"##0.0E+0\")", "12.3E+3"},
      {"=TEXT(9.996,\"0.00E+00\")", "1.00E+01"},    // the carry moves the exponent
      {"=TEXT(1.5,\"# ?/?\")", "1 1/2"},
      {"=TEXT(3.14159,\"# ?" "?/?" "??\")", "3 16/113"},  // split so as not to be a trigraph
      {"=TEXT(0.3,\"# ?/8\")", " 2/8"},
      {"=TEXT(5,\"# ?/?\")", "5    "},
      {"=TEXT(0.99,\"# ?/?\")", "1    "},
      {"=TEXT(150,\"[<100]0;[>=100]0.0\")", "150.0"},
      {"=TEXT(50,\"[>=100]\"\"big\"\";[<100]\"\"small\"\"\")", "small"},
      {"=TEXT(5,\"[Red]0.0\")", "5.0"},
      {"=TEXT(5,\"[$€-40C] 0\")", "€ 5"},
      {"=TEXT(37774.75,\"h:mm AM/PM\")", "6:00 PM"},
      {"=TEXT(0.25,\"hh:mm:ss am/pm\")", "06:00:00 am"},
      {"=TEXT(0.5,\"h:mm A/P\")", "12:00 P"},
      {"=TEXT(1.5,\"[h]:mm\")", "36:00"},
      {"=TEXT(0.5000115740740741,\"hh:mm:ss.00\")", "12:00:01.00"},
      {"=TEXT(0.99999999,\"yyyy-mm-dd hh:mm:ss\")", "1900-01-01 00:00:00"},  // rounds into the next day
      {"=TEXT(37774,\"dddd d mmmm yyyy\")", "Monday 2 June 2003"},
      {"=TEXT(37774,\"mmmmm\")", "J"},
      {"=TEXT(\"abc\",\"\"\"<\"\"@\"\">\"\"\")", "<abc>"},
      {"=TEXT(\"abc\",\"0.00\")", "abc"},
      {"=TEXT(1.5,\"@\")", "1.5"},                 // a number in a text format: as General
      {"=TEXT(1.5,\"\"\"n=\"\"@\")", "n=1.5"},
      {"=TEXT(\"12\",\"0.00\")", "12.00"},
      {"=TEXT(\"6/2/2003\",\"yyyy\")", "2003"},
  };
  for (const auto& [formula, expected] : cases) EXPECT_EQ(g.eval(formula), Value(expected)) << formula;
}

TEST(Text, ValueReadsCurrencyPercentagesDatesAndTimes) {
  Grid g;
  EXPECT_EQ(g.eval("=VALUE(\"$1,234.50\")"), Value(1234.5));
  EXPECT_EQ(g.eval("=VALUE(\"($5)\")"), Value(-5.0));
  EXPECT_EQ(g.eval("=VALUE(\"-$5\")"), Value(-5.0));
  EXPECT_EQ(g.eval("=VALUE(\"12.5%\")"), Value(0.125));
  EXPECT_EQ(g.eval("=VALUE(\"1E3\")"), Value(1000.0));
  EXPECT_EQ(g.eval("=VALUE(\"6/2/2003\")"), Value(37774.0));
  EXPECT_EQ(g.eval("=VALUE(\"2003-06-02\")"), Value(37774.0));
  EXPECT_EQ(g.eval("=VALUE(\"2-Jun-2003\")"), Value(37774.0));
  EXPECT_EQ(g.eval("=VALUE(\"June 2, 2003\")"), Value(37774.0));
  EXPECT_EQ(g.eval("=VALUE(\"18:00\")"), Value(0.75));
  EXPECT_EQ(g.eval("=VALUE(\"6:00 PM\")"), Value(0.75));
  EXPECT_EQ(g.eval("=VALUE(\"12:00 AM\")"), Value(0.0));
  EXPECT_EQ(g.eval("=VALUE(\"6/2/2003 18:00\")"), Value(37774.75));
  EXPECT_EQ(g.eval("=VALUE(\"2/30/2003\")"), Value(CellError::Value));  // no such day
  EXPECT_EQ(g.eval("=VALUE(\"$$5\")"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=VALUE(\"5 PM tomorrow\")"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=VALUE(TRUE)"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=\"$3\"+\"12:00 PM\"*24"), Value(15.0));  // arithmetic reads them alike
}

TEST(Dates, WeekdaysTimesAndDifferences) {
  Grid g;
  EXPECT_EQ(g.eval("=WEEKDAY(DATE(2003,6,2))"), Value(2.0));  // a Monday
  EXPECT_EQ(g.eval("=WEEKDAY(DATE(2003,6,2),2)"), Value(1.0));
  EXPECT_EQ(g.eval("=WEEKDAY(DATE(2003,6,2),3)"), Value(0.0));
  EXPECT_EQ(g.eval("=WEEKDAY(1)"), Value(1.0));  // Excel's 1900-01-01 is a Sunday
  EXPECT_EQ(g.eval("=WEEKDAY(1,4)"), Value(CellError::Num));
  expect_near(g.eval("=TIME(12,30,0)"), 0.5 + 30.0 / 1440);
  EXPECT_EQ(g.eval("=TIME(25,0,0)"), Value(1.0 / 24));
  EXPECT_EQ(g.eval("=TIME(0,-1,0)"), Value(CellError::Num));
  EXPECT_EQ(g.eval("=HOUR(0.75)"), Value(18.0));
  EXPECT_EQ(g.eval("=MINUTE(\"13:45:30\")"), Value(45.0));
  EXPECT_EQ(g.eval("=SECOND(TIME(1,2,3)+1)"), Value(3.0));
  EXPECT_EQ(g.eval("=HOUR(0.99999999)"), Value(0.0));  // rounds to the next midnight
  EXPECT_EQ(g.eval("=TIMEVALUE(\"6/2/2003 6:00 PM\")"), Value(0.75));
  EXPECT_EQ(g.eval("=TIMEVALUE(0.5)"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=DATEVALUE(\"6/2/2003 6:00 PM\")"), Value(37774.0));
  EXPECT_EQ(g.eval("=DATEVALUE(\"30-Feb-2003\")"), Value(CellError::Value));
  EXPECT_EQ(g.eval("=DATEDIF(DATE(2001,6,15),DATE(2003,6,14),\"Y\")"), Value(1.0));
  EXPECT_EQ(g.eval("=DATEDIF(DATE(2001,6,15),DATE(2003,6,14),\"M\")"), Value(23.0));
  EXPECT_EQ(g.eval("=DATEDIF(DATE(2001,6,15),DATE(2003,6,14),\"d\")"), Value(729.0));
  EXPECT_EQ(g.eval("=DATEDIF(DATE(2001,6,15),DATE(2003,6,14),\"YM\")"), Value(11.0));
  EXPECT_EQ(g.eval("=DATEDIF(DATE(2001,6,15),DATE(2003,6,14),\"MD\")"), Value(30.0));
  EXPECT_EQ(g.eval("=DATEDIF(DATE(2001,6,15),DATE(2003,6,14),\"YD\")"), Value(364.0));
  EXPECT_EQ(g.eval("=DATEDIF(DATE(2003,1,1),DATE(2002,1,1),\"D\")"), Value(CellError::Num));
  EXPECT_EQ(g.eval("=DATEDIF(1,2,\"W\")"), Value(CellError::Num));
}

TEST(Financial, TimeValueOfMoney) {
  Grid g;
  expect_near(g.eval("=PMT(0.08/12,10,10000)"), -1037.03208935915);
  expect_near(g.eval("=PMT(0.08/12,10,10000,0,1)"), -1030.16432717797);
  expect_near(g.eval("=PMT(0,10,1000)"), -100.0);
  expect_near(g.eval("=FV(0.06/12,10,-200,-500,1)"), 2581.40337406012);
  expect_near(g.eval("=FV(0,12,-100)"), 1200.0);
  expect_near(g.eval("=PV(0.08/12,12*20,500)"), -59777.1458511878);
  expect_near(g.eval("=NPER(0.01,-100,-1000,10000,1)"), 59.6738656742946);
  expect_near(g.eval("=NPER(0,-100,1000)"), 10.0);
  expect_near(g.eval("=RATE(48,-200,8000)"), 0.00770147248820165);
  expect_near(g.eval("=RATE(4*12,-200,8000)*12"), 0.0924176698584198);
  EXPECT_EQ(g.eval("=NPER(0.1,-50,1000)"), Value(CellError::Num));  // the interest outgrows the payments
  EXPECT_EQ(g.eval("=RATE(10,100,1000)"), Value(CellError::Num));   // no rate gives that
  EXPECT_EQ(g.eval("=PMT(0.1,0,1000)"), Value(CellError::Num));
}

TEST(Aggregates, SubtotalSkipsFilteredRowsForEveryFunction) {
  Grid g;
  for (int r = 1; r <= 4; ++r) g.set(cell_name('A', r), std::to_string(r));
  g.filter_out_row(1);  // A2
  g.hide_row(2);        // A3, hidden by hand
  EXPECT_EQ(g.eval("=SUBTOTAL(9,A1:A4)"), Value(8.0));
  EXPECT_EQ(g.eval("=SUBTOTAL(109,A1:A4)"), Value(5.0));
  EXPECT_EQ(g.eval("=SUBTOTAL(2,A1:A4)"), Value(3.0));
  EXPECT_EQ(g.eval("=SUBTOTAL(4,A1:A4)"), Value(4.0));
  EXPECT_EQ(g.eval("=SUBTOTAL(5,A1:A4)"), Value(1.0));
  EXPECT_EQ(g.eval("=SUM(A1:A4)"), Value(10.0));
}

TEST(Information, MoreIsFunctions) {
  Grid g;
  g.set("A1", "#N/A");
  g.set("A2", "=1/0");
  EXPECT_EQ(g.eval("=ISNA(A1)"), Value(true));
  EXPECT_EQ(g.eval("=ISNA(A2)"), Value(false));
  EXPECT_EQ(g.eval("=ISERR(A1)"), Value(false));
  EXPECT_EQ(g.eval("=ISERR(A2)"), Value(true));
  EXPECT_EQ(g.eval("=ISLOGICAL(FALSE)"), Value(true));
  EXPECT_EQ(g.eval("=ISNONTEXT(A9)"), Value(true));
  EXPECT_EQ(g.eval("=NA()"), Value(CellError::NA));
  EXPECT_EQ(g.eval("=N(A1)"), Value(CellError::NA));
}

}  // namespace
}  // namespace engine::formula

namespace engine::formula {
namespace {

// A date written without a year is in the current year: the workbook's
// clock for VALUE and DATEVALUE (2003 in the grid), the system's clock for
// text met in arithmetic.
TEST(Dates, TextWithoutAYearIsInTheCurrentYear) {
  const testing::Grid grid;
  const Value june_2_2003(37774.0);
  for (const char* text : {"2-Jun", "6/2", "6-2", "2 June", "June 2", "Jun 2"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(grid.eval("=VALUE(\"" + std::string(text) + "\")"), june_2_2003);
    EXPECT_EQ(grid.eval("=DATEVALUE(\"" + std::string(text) + "\")"), june_2_2003);
  }
  EXPECT_EQ(grid.eval("=VALUE(\"6/2 18:00\")"), Value(37774.75));
  const int year = date_from_serial(std::floor(current_serial_time())).year;
  EXPECT_EQ(grid.eval("=\"6/2\"+0"), Value(serial_from_date(year, 6, 2)));
  // Forms with a year are unchanged; what is no date stays #VALUE!.
  EXPECT_EQ(grid.eval("=VALUE(\"Jun-03\")"), Value(37773.0));
  for (const char* text : {"6/31", "13/2", "2-Jun-", "2 juin", "2003/6"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(grid.eval("=VALUE(\"" + std::string(text) + "\")"), Value(CellError::Value));
  }
}

}  // namespace
}  // namespace engine::formula
