// Typing into a cell: what Excel 2003 stores for each kind of text.
#include <gtest/gtest.h>

#include "engine/model/data_entry.hpp"
#include "engine/model/workbook.hpp"
#include "platform/com/error.hpp"

namespace engine::model {
namespace {

using formula::CellError;
using formula::Value;

struct Case {
  const char* typed;
  Value stored;
  const char* format;  // the format a General cell ends with
};

TEST(DataEntry, StoresWhatExcelStoresForTypedText) {
  const Case cases[] = {
      {"09854895", Value(9854895.0), "General"},
      {"'09854895", Value("09854895"), "General"},
      {"  12  ", Value(12.0), "General"},
      {"-3.5", Value(-3.5), "General"},
      {"(42)", Value(-42.0), "General"},
      {"5%", Value(0.05), "0%"},
      {"2.5%", Value(0.025), "0.00%"},
      {"1,234", Value(1234.0), "#,##0"},
      {"1,5", Value("1,5"), "General"},  // not a number with "." as decimal separator
      {"1E3", Value(1000.0), "0.00E+00"},
      {"01/02/2003", Value(37623.0), "m/d/yyyy"},  // January 2nd
      {"2/30/2003", Value("2/30/2003"), "General"},
      {"12:30", Value(0.5208333333333334), "h:mm"},
      {"true", Value(true), "General"},
      {"FALSE", Value(false), "General"},
      {"VRAI", Value("VRAI"), "General"},
      {"#DIV/0!", Value(CellError::Div0), "General"},
      {"#n/a", Value(CellError::NA), "General"},
      {" ", Value(" "), "General"},
      {"France.", Value("France."), "General"},
      {"-", Value("-"), "General"},
      {"+ 5 apples", Value("+ 5 apples"), "General"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const Entry entry = interpret_entry(c.typed, "General");
    ASSERT_EQ(entry.kind, Entry::Kind::Constant);
    if (c.stored.is_number() && entry.value.is_number()) {
      EXPECT_NEAR(entry.value.number(), c.stored.number(), 1e-12);
    } else {
      EXPECT_EQ(entry.value, c.stored);
    }
    EXPECT_EQ(entry.number_format.value_or("General"), c.format);
  }
}

TEST(DataEntry, FollowsTheRegionalSettingsItIsGiven) {
  EntryLocale french;
  french.decimal_separator = ',';
  french.thousands_separator = ' ';
  french.date_order = EntryLocale::DateOrder::DayMonthYear;
  french.french_booleans = true;
  EXPECT_EQ(interpret_entry("1,5", "General", french).value, Value(1.5));
  EXPECT_EQ(interpret_entry("01/02/2003", "General", french).value, Value(37653.0));  // 1 February
  EXPECT_EQ(interpret_entry("vrai", "General", french).value, Value(true));
  EXPECT_EQ(interpret_entry("TRUE", "General", french).value, Value("TRUE"));
}

TEST(DataEntry, FormulasAndSignedExpressions) {
  EXPECT_EQ(formula::print(*interpret_entry("=average(b4:d4)", "General").formula), "=AVERAGE(B4:D4)");
  EXPECT_EQ(formula::print(*interpret_entry("+A1", "General").formula), "=+A1");
  EXPECT_EQ(formula::print(*interpret_entry("-A1*2", "General").formula), "=-A1*2");
  EXPECT_EQ(interpret_entry("-12", "General").value, Value(-12.0));
}

TEST(DataEntry, TextFormatKeepsEverythingAsText) {
  EXPECT_EQ(interpret_entry("09854895", "@").value, Value("09854895"));
  EXPECT_EQ(interpret_entry("=A1", "@").value, Value("=A1"));
  EXPECT_EQ(interpret_entry("TRUE", "@").value, Value("TRUE"));
}

TEST(DataEntry, MalformedFormulaIsRefusedAndTheCellKept) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  sheet.enter(0, 0, "7");
  try {
    sheet.enter(0, 0, "=SUM(A2");
    FAIL() << "a malformed formula was accepted";
  } catch (const platform::com::Error& e) {
    EXPECT_EQ(e.number(), platform::com::err::ApplicationDefined);
  }
  EXPECT_EQ(sheet.value(0, 0), Value(7.0));
}

TEST(DataEntry, AppliesImpliedFormatsOnlyToGeneralCells) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  sheet.enter(0, 0, "5%");
  EXPECT_EQ(sheet.format(0, 0).number_format, "0%");
  sheet.change_format(CellRange::cell(1, 0), [](CellFormat& f) { f.number_format = "0.000"; });
  sheet.enter(1, 0, "5%");
  EXPECT_EQ(sheet.format(1, 0).number_format, "0.000");
  EXPECT_EQ(sheet.value(1, 0), Value(0.05));

  sheet.enter(2, 0, "'01");
  EXPECT_TRUE(sheet.format(2, 0).quote_prefix);
  sheet.enter(2, 0, "1");
  EXPECT_FALSE(sheet.format(2, 0).quote_prefix);

  sheet.enter(2, 0, "");
  EXPECT_TRUE(sheet.value(2, 0).is_empty());
  EXPECT_EQ(sheet.find_cell(2, 0), nullptr);
}

TEST(DataEntry, DateSerialsCountExcelsPhantomLeapDay) {
  EXPECT_EQ(date_serial(1900, 1, 1), 1.0);
  EXPECT_EQ(date_serial(1900, 2, 28), 59.0);
  EXPECT_EQ(date_serial(1900, 2, 29), 60.0);
  EXPECT_EQ(date_serial(1900, 3, 1), 61.0);
  EXPECT_EQ(date_serial(2003, 1, 2), 37623.0);
  EXPECT_FALSE(date_serial(2003, 2, 29));
  EXPECT_TRUE(date_serial(2004, 2, 29));
}

}  // namespace
}  // namespace engine::model

namespace engine::model {
namespace {

// Excel takes the current year for a date typed without one, and shows it
// as day and month.
TEST(DataEntry, DatesWithoutAYearTakeTheCurrentYear) {
  const double june_2 = *date_serial(2026, 6, 2);
  EntryLocale french;
  french.date_order = EntryLocale::DateOrder::DayMonthYear;
  french.french_month_names = true;
  struct Case {
    const char* typed;
    EntryLocale locale;
  };
  for (const Case& c : {Case{"2-Jun", {}}, Case{"6/2", {}}, Case{"6-2", {}}, Case{"2 June", {}}, Case{"June 2", {}},
                        Case{"jun 2", {}}, Case{"2 juin", french}, Case{"2/6", french}, Case{"2-juin", french}}) {
    SCOPED_TRACE(c.typed);
    const Entry entry = interpret_entry(c.typed, "General", c.locale, 2026);
    EXPECT_EQ(entry.value, Value(june_2));
    EXPECT_EQ(entry.number_format.value_or("General"), "d-mmm");
  }
  // The forms with a year give the formats Excel gives them.
  EXPECT_EQ(interpret_entry("2-Jun-2003", "General").number_format, "d-mmm-yy");
  EXPECT_EQ(interpret_entry("Jun-03", "General").number_format, "mmm-yy");
  EXPECT_EQ(interpret_entry("2 févr 2003", "General", french).value, Value(*date_serial(2003, 2, 2)));
  EXPECT_EQ(interpret_entry("2/6/2003 14:30", "General", french).value, Value(*date_serial(2003, 6, 2) + 14.5 / 24));
  // What is no date stays text: no 31 June, no month in 6/2 read year first,
  // English names in French and French ones in English.
  EXPECT_EQ(interpret_entry("6/31", "General", {}, 2026).value, Value("6/31"));
  EXPECT_EQ(interpret_entry("2 juin", "General", {}, 2026).value, Value("2 juin"));
  EXPECT_EQ(interpret_entry("2 June", "General", french, 2026).value, Value("2 June"));
  EntryLocale year_first;
  year_first.date_order = EntryLocale::DateOrder::YearMonthDay;
  EXPECT_EQ(interpret_entry("6/2", "General", year_first, 2026).value, Value("6/2"));
}

TEST(DataEntry, TypingIntoACellTakesTheWorkbooksYear) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  book.set_now(*date_serial(2011, 3, 4));
  sheet.enter(0, 0, "2-Jun");
  EXPECT_EQ(sheet.value(0, 0), Value(*date_serial(2011, 6, 2)));
  EXPECT_EQ(sheet.format(0, 0).number_format, "d-mmm");
  sheet.enter(1, 0, "=VALUE(\"6/2\")+DATEVALUE(\"2 June\")*0");
  EXPECT_EQ(sheet.value(1, 0), Value(*date_serial(2011, 6, 2)));
}

}  // namespace
}  // namespace engine::model
