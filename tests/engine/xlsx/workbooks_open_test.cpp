// Workbooks.Open of the stand-in Excel takes a trainee's .xlsx delivered
// under the working copy's .xls name, as the check command delivers it, and
// names a file it cannot read as it is on disk.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/com/convert.hpp"
#include "platform/excel/dispids.hpp"
#include "tests/engine/app/app_fixture.hpp"
#include "tests/engine/xlsx/xlsx_fixture.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;
using namespace platform::excel;

class OpenXlsxTest : public AppTest {
 protected:
  std::shared_ptr<Dispatch> open(const std::string& file) {
    return by_id(*workbooks(), dispid::Open, com::CallKind::Method, {Variant(file)}).object();
  }
  void write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(folder + "/docs/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
};

TEST_F(OpenXlsxTest, AnXlsxUnderTheWorkingNameOpensAsTheWorkbook) {
  write("Thor International.xls",
        test_support::xlsx_package({{"xl/worksheets/sheet1.xml",
                                     test_support::worksheet("<row r=\"2\"><c r=\"B2\"><v>118</v></c>"
                                                             "<c r=\"C2\"><f>B2*2</f></c></row>")}}));
  auto book = open(folder + "/docs/thor international.xls");
  EXPECT_EQ(book->get("Name"), Variant("Thor International.xls"));
  EXPECT_EQ(book->get("Saved"), Variant(true));
  const Variant sheet_object = book->get("Sheets", {Variant(1)});
  Dispatch& sheet = obj(sheet_object);
  EXPECT_EQ(sheet.get("Name"), Variant("Feuil1"));
  EXPECT_EQ(obj(sheet.get("Range", {Variant("C2")})).get("Value"), Variant(236.0));
  EXPECT_EQ(obj(sheet.get("Range", {Variant("C2")})).get("Formula"), Variant("=B2*2"));
}

TEST_F(OpenXlsxTest, ADamagedPackageRaises1004NamingTheFileOnDiskAndThePart) {
  write("Abime.xls", test_support::xlsx_package({{"xl/styles.xml", "<styleSheet><fonts>"}}));
  try {
    open(folder + "/docs/ABIME.xls");
    FAIL() << "no error";
  } catch (const com::Error& e) {
    EXPECT_EQ(e.number(), 1004);
    EXPECT_EQ(e.description().rfind("'Abime.xls' cannot be used as an Excel workbook: part 'xl/styles.xml': line 1: ", 0),
              0u)
        << e.description();
  }
  EXPECT_EQ(workbooks()->get("Count"), Variant(0));
}

}  // namespace
}  // namespace engine::app::testing
