// AutoFilters through a save and a load, and exchanged with LibreOffice
// (when it is installed): the list, each kind of criterion, the rows the
// filter hides apart from those hidden by hand.
#include <gtest/gtest.h>

#include <optional>

#include "engine/import/load_report.hpp"
#include "engine/model/workbook.hpp"
#include "engine/xls/workbook_file.hpp"
#include "interop_flat_ods.hpp"
#include "interop_support.hpp"

namespace engine::xls {
namespace {

namespace f = engine::formula;
namespace m = engine::model;
using interop::fs::path;

// "Ventes" A1:C9 (town, amount, note; Nice without amount), a total below,
// a row hidden by hand under the list, and a second sheet whose list is
// filtered by no column.
std::unique_ptr<m::Workbook> filtered_workbook() {
  auto book = std::make_unique<m::Workbook>("Ventes.xls");
  m::Worksheet& sheet = book->add_sheet("Ventes");
  const char* rows[][3] = {{"Ville", "Montant", "Note"}, {"Paris", "5", "a"},      {"Lyon", "12", "b"},
                           {"Parisiens", "20", ""},      {"Nice", "", "c"},        {"Lyon", "8", "TRUE"},
                           {"Marseille", "30", "d"},     {"Bordeaux", "15", "e"},  {"Lille", "25", "f"}};
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 3; ++c) {
      if (*rows[r][c] != '\0') sheet.enter(r, c, rows[r][c]);
    }
  }
  sheet.set_formula(10, 1, "=SUBTOTAL(9,B2:B9)");
  sheet.set_rows_hidden(12, 12, true);
  sheet.set_autofilter({0, 0, 8, 2});
  sheet.filter_column({1, ">=10", "<30", m::FilterOperator::And});
  sheet.filter_column({0, "=Par*", "=Lyon", m::FilterOperator::Or});
  m::Worksheet& other = book->add_sheet("Autre");
  other.enter(0, 0, "Titre");
  other.enter(1, 0, "1");
  other.set_autofilter({0, 0, 1, 0});
  return book;
}

std::vector<int> filtered_rows(const m::Worksheet& sheet) {
  std::vector<int> rows;
  for (int row = 0; row < 20; ++row) {
    if (sheet.rows().filtered(row)) rows.push_back(row);
  }
  return rows;
}

TEST(AutoFilterFile, TheListItsCriteriaAndItsFilteredRowsComeBack) {
  const auto book = filtered_workbook();
  ASSERT_EQ(filtered_rows(book->sheet(0)), (std::vector<int>{1, 4, 5, 6, 7, 8}));
  const auto back = load_workbook(save_workbook(*book), book->name());
  const m::Worksheet& sheet = back->sheet(0);
  ASSERT_TRUE(sheet.autofilter());
  EXPECT_EQ(*sheet.autofilter(), *book->sheet(0).autofilter());
  EXPECT_EQ(filtered_rows(sheet), (std::vector<int>{1, 4, 5, 6, 7, 8}));
  EXPECT_EQ(sheet.value(10, 1), f::Value(32.0));
  // Hidden by hand outside the list: still hidden, not filtered.
  EXPECT_TRUE(sheet.rows().hidden(12));
  EXPECT_FALSE(sheet.rows().filtered(12));
  // The list of the other sheet, filtered by nothing.
  ASSERT_TRUE(back->sheet(1).autofilter());
  EXPECT_EQ(back->sheet(1).autofilter()->range, (m::CellRange{0, 0, 1, 0}));
  EXPECT_FALSE(back->sheet(1).autofilter()->filtering());
  // The list's name is the file's business, not a name of the workbook.
  EXPECT_TRUE(back->names().empty());
}

TEST(AutoFilterFile, EveryKindOfCriterionComesBack) {
  const std::vector<m::ColumnFilter> kinds = {
      {1, "=", std::nullopt, m::FilterOperator::And},        {1, "<>", std::nullopt, m::FilterOperator::And},
      {1, "3", std::nullopt, m::FilterOperator::TopItems},    {1, "40", std::nullopt, m::FilterOperator::BottomPercent},
      {1, "2", std::nullopt, m::FilterOperator::BottomItems}, {1, "50", std::nullopt, m::FilterOperator::TopPercent},
      {2, "=TRUE", std::nullopt, m::FilterOperator::And},     {0, "=*is*", "<>Lille", m::FilterOperator::And},
      {0, "=?yon", std::nullopt, m::FilterOperator::And},     {1, "<=12.5", ">25", m::FilterOperator::Or},
  };
  for (const m::ColumnFilter& kind : kinds) {
    SCOPED_TRACE(kind.criteria1);
    auto book = filtered_workbook();
    m::Worksheet& sheet = book->sheet(0);
    sheet.show_all_filtered();
    sheet.filter_column(kind);
    const auto back = load_workbook(save_workbook(*book), book->name());
    ASSERT_TRUE(back->sheet(0).autofilter());
    EXPECT_EQ(back->sheet(0).autofilter()->columns, std::vector<m::ColumnFilter>{kind});
    EXPECT_EQ(filtered_rows(back->sheet(0)), filtered_rows(sheet));
  }
}

// The bytes of a saved workbook with the first AUTOFILTER record's first
// condition given another operator byte.
Bytes with_condition_sign(const m::Workbook& book, std::uint8_t sign) {
  Bytes bytes = save_workbook(book);
  for (std::size_t i = 0; i + 12 < bytes.size(); ++i) {
    // AUTOFILTER (9E 00) of 24 bytes (two number conditions, no text) on
    // column 1 of the list (iEntry 01 00).
    if (bytes[i] == 0x9E && bytes[i + 1] == 0x00 && bytes[i + 2] == 24 && bytes[i + 3] == 0x00 &&
        bytes[i + 4] == 0x01 && bytes[i + 5] == 0x00) {
      bytes[i + 9] = sign;  // after iEntry, grbit and the doper's vt
      return bytes;
    }
  }
  ADD_FAILURE() << "no AUTOFILTER record";
  return bytes;
}

// A condition that cannot be read costs that column's criteria alone: the
// rest of the list and of the file loads, and the loss is reported.
TEST(AutoFilterFile, ADamagedConditionIsLeftOutAndReported) {
  auto book = filtered_workbook();
  book->sheet(0).clear_column_filter(0);
  book->sheet(0).filter_column({2, "<>", std::nullopt, m::FilterOperator::And});
  import::LoadReport report;
  const auto back = load_workbook(with_condition_sign(*book, 0x09), book->name(), &report);
  const m::Worksheet& sheet = back->sheet(0);
  ASSERT_TRUE(sheet.autofilter());
  EXPECT_EQ(sheet.autofilter()->columns, (std::vector<m::ColumnFilter>{{2, "<>", std::nullopt, m::FilterOperator::And}}));
  ASSERT_EQ(report.notes().size(), 1u);
  EXPECT_EQ(report.notes()[0].what, "AutoFilter criteria");
  EXPECT_EQ(report.notes()[0].why, "an AutoFilter condition compares with an unknown operator");
  EXPECT_EQ(sheet.value(0, 0), f::Value("Ville"));
}

class AutoFilterLibreOffice : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!interop::on_path("soffice")) GTEST_SKIP() << "soffice (libreoffice-calc-nogui) is not installed";
    dir_.emplace();
  }
  bool convert(const path& file, const std::string& format, const path& out) {
    return interop::run_bounded({"soffice", "-env:UserInstallation=file://" + (dir_->path() / "profile").string(),
                                 "--headless", "--norestore", "--convert-to", format, "--outdir", out.string(),
                                 file.string()},
                                120);
  }
  path dir(const char* name) const { return *dir_ / name; }

  std::optional<interop::ScratchFolder> dir_;
};

// LibreOffice keeps one list of conditions per filter, so that criteria on
// two columns with an Or within one have no place there: each sheet's list
// here is filtered by one column. LibreOffice 7.4 reads comparisons with
// numbers (it hides the rows) but keeps no value for them in what it saves,
// its own too: only the rows are compared for those.
TEST_F(AutoFilterLibreOffice, OpensOurFilterWithItsHiddenRows) {
  auto book = filtered_workbook();
  book->sheet(0).clear_column_filter(0);
  m::Worksheet& towns = book->copy_sheet(book->sheet(0), "Villes", std::nullopt);
  towns.show_all_filtered();
  towns.filter_column({0, "=Paris", "=Lyon", m::FilterOperator::Or});
  write_workbook_file(*book, dir("ours.xls").string());
  ASSERT_TRUE(convert(dir("ours.xls"), "fods", dir_->path()));
  const auto doc = interop::read_flat_ods(dir("ours.fods"));
  const auto conditions_of = [&](const std::string& sheet) {
    std::vector<std::string> conditions;
    bool found = false;
    for (const auto& range : doc.database_ranges) {
      if (!range.range.starts_with(sheet + ".")) continue;
      found = true;
      EXPECT_EQ(range.range, sheet + ".A1:" + sheet + ".C9");
      EXPECT_TRUE(range.buttons);
      for (const auto& c : range.conditions) conditions.push_back(std::to_string(c.field) + c.op + c.value);
    }
    EXPECT_TRUE(found) << sheet;
    std::sort(conditions.begin(), conditions.end());
    return conditions;
  };
  conditions_of("Ventes");
  EXPECT_EQ(conditions_of("Villes"), (std::vector<std::string>{"0=Lyon", "0=Paris"}));
  const auto hidden = [&](const std::string& sheet) {
    std::vector<int> rows;
    for (int row = 0; row < 14; ++row) {
      if (doc.row(sheet, row).filtered || doc.row(sheet, row).hidden) rows.push_back(row);
    }
    return rows;
  };
  EXPECT_EQ(hidden("Ventes"), (std::vector<int>{1, 4, 5, 6, 12}));
  EXPECT_EQ(hidden("Villes"), (std::vector<int>{3, 4, 6, 7, 8, 12}));
}

// A list LibreOffice filters itself: Lyon alone, Paris and Nice hidden.
// (LibreOffice 7 saves a comparison with a number as one with empty text.)
constexpr const char* kTheirFilter = R"ods(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
  xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
  xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
  office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:body>
  <office:spreadsheet>
   <table:table table:name="Liste">
    <table:table-row>
     <table:table-cell office:value-type="string"><text:p>Ville</text:p></table:table-cell>
     <table:table-cell office:value-type="string"><text:p>Montant</text:p></table:table-cell>
    </table:table-row>
    <table:table-row table:visibility="filter">
     <table:table-cell office:value-type="string"><text:p>Paris</text:p></table:table-cell>
     <table:table-cell office:value-type="float" office:value="5"/>
    </table:table-row>
    <table:table-row>
     <table:table-cell office:value-type="string"><text:p>Lyon</text:p></table:table-cell>
     <table:table-cell office:value-type="float" office:value="12"/>
    </table:table-row>
    <table:table-row table:visibility="filter">
     <table:table-cell office:value-type="string"><text:p>Nice</text:p></table:table-cell>
     <table:table-cell office:value-type="float" office:value="30"/>
    </table:table-row>
   </table:table>
   <table:database-ranges>
    <table:database-range table:name="__Anonymous_Sheet_DB__0" table:target-range-address="Liste.A1:Liste.B4"
      table:display-filter-buttons="true">
     <table:filter>
      <table:filter-condition table:field-number="0" table:value="Lyon" table:operator="=" table:data-type="text"/>
     </table:filter>
    </table:database-range>
   </table:database-ranges>
  </office:spreadsheet>
 </office:body>
</office:document>
)ods";

TEST_F(AutoFilterLibreOffice, WritesAFilterWeRead) {
  interop::write_text(dir("theirs.fods"), kTheirFilter);
  ASSERT_TRUE(convert(dir("theirs.fods"), "xls", dir_->path()));
  const auto book = read_workbook_file(dir("theirs.xls").string());
  const m::Worksheet& sheet = book->sheet(0);
  ASSERT_TRUE(sheet.autofilter());
  EXPECT_EQ(sheet.autofilter()->range, (m::CellRange{0, 0, 3, 1}));
  EXPECT_EQ(sheet.autofilter()->columns, (std::vector<m::ColumnFilter>{{0, "=Lyon", std::nullopt, m::FilterOperator::And}}));
  EXPECT_EQ(filtered_rows(sheet), (std::vector<int>{1, 3}));
  // The drop-down arrows LibreOffice draws are no shapes of the sheet.
  EXPECT_TRUE(sheet.shapes().empty());
}

}  // namespace
}  // namespace engine::xls
