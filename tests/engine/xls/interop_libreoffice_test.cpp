// Files exchanged with LibreOffice (headless soffice), when it is installed:
// what we write must open there with the same content, and what it writes
// must load here with the same content. Each test starts soffice once with a
// private profile, converting every file it needs in that one call.
#include <gtest/gtest.h>

#include <optional>

#include "engine/model/workbook.hpp"
#include "engine/xls/workbook_file.hpp"
#include "interop_flat_ods.hpp"
#include "interop_support.hpp"

namespace engine::xls {
namespace {

namespace f = engine::formula;
namespace m = engine::model;
using interop::fs::path;

constexpr const char* kFirst = "Trimestre 1";
constexpr const char* kSecond = "Σύνοψη 日本 €";

// One workbook carrying what the exercises rely on: Unicode sheet names and
// text, numbers, Booleans, formulas across sheets and through names, a row
// outline two levels deep with collapsed detail, hidden rows, a user style,
// number formats, fonts and fills, a merged range.
std::unique_ptr<m::Workbook> exercise_workbook() {
  auto book = std::make_unique<m::Workbook>("Thor International.xls");
  auto& first = book->add_sheet(kFirst);
  auto& second = book->add_sheet(kSecond);
  first.set_value(0, 0, f::Value("Région"));
  first.set_value(0, 1, f::Value("Ventes"));
  const double sales[] = {3.5, -12, 1250.25, 0.125};
  for (int row = 1; row <= 4; ++row) {
    first.set_value(row, 0, f::Value("Zone " + std::to_string(row) + " – Île-de-France"));
    first.set_value(row, 1, f::Value(sales[row - 1]));
    first.set_formula(row, 2, "=B" + std::to_string(row + 1) + "*2");
  }
  first.set_value(5, 0, f::Value(std::string(300, 'y') + "ω"));
  first.set_value(5, 1, f::Value(true));
  book->add_name("Ventes", "='Trimestre 1'!$B$2:$B$5");
  book->add_name("Taux", "='" + std::string(kSecond) + "'!$B$1", second.id());

  second.set_value(0, 0, f::Value("日本語のテキスト"));
  second.set_value(0, 1, f::Value(0.2));
  second.set_formula(1, 0, "=SUM(Ventes)");
  second.set_formula(2, 0, "=IF('Trimestre 1'!B2>3,\"grand\",\"petit\")");
  second.set_formula(3, 0, "=ROUND(AVERAGE('Trimestre 1'!B2:B5)*Taux,2)");
  second.set_formula(4, 0, "=VLOOKUP(-12,'Trimestre 1'!B2:C5,2,FALSE)&\" €\"");
  second.set_formula(5, 0, "=AND('Trimestre 1'!B6,COUNTIF(Ventes,\">0\")=3)");

  for (int row = 10; row <= 16; ++row) first.set_value(row, 0, f::Value(row));
  first.group_rows(10, 14);
  first.group_rows(11, 12);
  first.set_row_show_detail(13, false);  // folds rows 12-13 (1-based) under row 14
  first.set_rows_hidden(20, 21, true);

  book->styles().add("Titre", first.format(0, 0));
  m::CellFormat title = book->styles().get("Titre").format;
  title.font.bold = true;
  title.font.size = 14;
  book->styles().update("Titre", title, {});
  first.apply_style({0, 0, 0, 1}, "Titre");
  first.change_format({1, 1, 4, 1}, [](m::CellFormat& format) { format.number_format = "0.00%"; });
  first.change_format({1, 0, 1, 0}, [](m::CellFormat& format) {
    format.font.italic = true;
    format.interior.color_index = 6;  // yellow in the default palette
    format.interior.pattern = m::xl::Solid;
  });
  first.merge({7, 0, 7, 2});
  first.set_value(7, 0, f::Value("Fusion"));
  return book;
}

class LibreOffice : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!interop::on_path("soffice")) GTEST_SKIP() << "soffice (libreoffice-calc-nogui) is not installed";
    dir_.emplace();
  }

  // Converts `files` to `format` ("fods", "xls") into `out`, in one start of soffice.
  bool convert(const std::vector<path>& files, const std::string& format, const path& out) {
    std::vector<std::string> command = {"soffice", "-env:UserInstallation=file://" + dir("profile").string(),
                                        "--headless", "--norestore", "--convert-to", format, "--outdir",
                                        out.string()};
    for (const auto& file : files) command.push_back(file.string());
    return interop::run_bounded(command, 120);
  }
  path dir(const char* name) const { return *dir_ / name; }

  std::optional<interop::ScratchFolder> dir_;
};

TEST_F(LibreOffice, ReadsWhatWeWrite) {
  const auto ours = dir("ours.xls");
  write_workbook_file(*exercise_workbook(), ours.string());
  ASSERT_TRUE(convert({ours}, "fods", dir_->path()));
  const auto doc = interop::read_flat_ods(dir("ours.fods"));
  const auto value = [&](const char* sheet, int row, int column) { return doc.cell(sheet, row, column).value; };
  const auto formula = [&](const char* sheet, int row, int column) { return doc.cell(sheet, row, column).formula; };

  ASSERT_EQ(doc.sheets.size(), 2u);
  EXPECT_EQ(doc.sheets[0].name, kFirst);
  EXPECT_EQ(doc.sheets[1].name, kSecond);

  EXPECT_EQ(value(kFirst, 0, 0), "Région");
  EXPECT_EQ(value(kFirst, 1, 0), "Zone 1 – Île-de-France");
  EXPECT_EQ(value(kFirst, 3, 1), "1250.25");
  EXPECT_EQ(value(kFirst, 4, 1), "0.125");
  EXPECT_EQ(value(kFirst, 5, 0), std::string(300, 'y') + "ω");
  EXPECT_EQ(value(kFirst, 5, 1), "1");  // LibreOffice keeps a Boolean as =TRUE()
  EXPECT_EQ(value(kSecond, 0, 0), "日本語のテキスト");

  EXPECT_EQ(formula(kFirst, 2, 2), "of:=[.B3]*2");
  EXPECT_EQ(value(kFirst, 2, 2), "-24");
  EXPECT_EQ(formula(kSecond, 1, 0), "of:=SUM(Ventes)");
  EXPECT_EQ(value(kSecond, 1, 0), "1241.875");
  EXPECT_EQ(formula(kSecond, 2, 0), "of:=IF([$'Trimestre 1'.B2]>3;\"grand\";\"petit\")");
  EXPECT_EQ(value(kSecond, 2, 0), "grand");
  EXPECT_EQ(formula(kSecond, 3, 0), "of:=ROUND(AVERAGE([$'Trimestre 1'.B2:.B5])*Taux;2)");
  EXPECT_EQ(value(kSecond, 3, 0), "62.09");
  EXPECT_EQ(formula(kSecond, 4, 0), "of:=VLOOKUP(-12;[$'Trimestre 1'.B2:.C5];2;FALSE())&\" €\"");
  EXPECT_EQ(value(kSecond, 4, 0), "-24 €");
  EXPECT_EQ(formula(kSecond, 5, 0), "of:=AND([$'Trimestre 1'.B6];COUNTIF(Ventes;\">0\")=3)");
  EXPECT_EQ(value(kSecond, 5, 0), "1");

  const auto row = [&](int index) { return doc.row(kFirst, index); };
  EXPECT_EQ(row(9).outline_level, 1);
  EXPECT_EQ(row(10).outline_level, 2);
  EXPECT_FALSE(row(10).hidden);
  for (int folded : {11, 12}) {
    EXPECT_EQ(row(folded).outline_level, 3) << folded;
    EXPECT_TRUE(row(folded).hidden) << folded;
  }
  EXPECT_EQ(row(14).outline_level, 2);
  EXPECT_EQ(row(15).outline_level, 1);
  EXPECT_FALSE(row(19).hidden);
  EXPECT_TRUE(row(20).hidden);
  EXPECT_TRUE(row(21).hidden);

  EXPECT_EQ(doc.named_ranges.at("Ventes"), "$'Trimestre 1'.$B$2:.$B$5");
  EXPECT_EQ(doc.sheets[1].named_ranges.at("Taux"), "$'" + std::string(kSecond) + "'.$B$1");

  const auto title = doc.effective_style(doc.cell(kFirst, 0, 0));
  EXPECT_EQ(title.parent, "Titre");
  EXPECT_EQ(title.font_weight, "bold");
  EXPECT_EQ(title.font_size, "14pt");
  const auto zone = doc.effective_style(doc.cell(kFirst, 1, 0));
  EXPECT_EQ(zone.font_style, "italic");
  EXPECT_EQ(zone.background, "#ffff00");
  const auto percent = doc.data_styles.at(doc.effective_style(doc.cell(kFirst, 1, 1)).data_style);
  EXPECT_EQ(percent.kind, "percentage-style");
  EXPECT_EQ(percent.decimal_places, 2);
  EXPECT_EQ(doc.cell(kFirst, 7, 0).columns_spanned, 3);
}

// A document in LibreOffice's own format, written as its flat XML.
constexpr const char* kTheirSource = R"ods(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
  xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
  xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
  xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
  xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
  xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
  xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
  office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:styles>
  <style:style style:name="Titre" style:family="table-cell" style:parent-style-name="Default">
   <style:text-properties fo:font-weight="bold" fo:font-size="14pt"/>
  </style:style>
 </office:styles>
 <office:automatic-styles>
  <number:percentage-style style:name="N1">
   <number:number number:decimal-places="1" number:min-integer-digits="1"/><number:text>%</number:text>
  </number:percentage-style>
  <style:style style:name="ce1" style:family="table-cell" style:parent-style-name="Titre"/>
  <style:style style:name="ce2" style:family="table-cell" style:parent-style-name="Default" style:data-style-name="N1"/>
 </office:automatic-styles>
 <office:body>
  <office:spreadsheet>
   <table:table table:name="Été 2024">
    <table:table-column table:number-columns-repeated="3"/>
    <table:table-row>
     <table:table-cell table:style-name="ce1" office:value-type="string"><text:p>Résultats – ½ année</text:p></table:table-cell>
     <table:table-cell office:value-type="float" office:value="12"/>
     <table:table-cell table:formula="of:=[.B1]*3" office:value-type="float" office:value="36"/>
    </table:table-row>
    <table:table-row>
     <table:table-cell office:value-type="boolean" office:boolean-value="true"/>
     <table:table-cell table:style-name="ce2" office:value-type="percentage" office:value="0.375"/>
     <table:table-cell table:formula="of:=SUM(Ventes)" office:value-type="float" office:value="12.375"/>
    </table:table-row>
    <table:table-row-group>
     <table:table-row><table:table-cell office:value-type="float" office:value="1"/></table:table-row>
     <table:table-row><table:table-cell office:value-type="float" office:value="2"/></table:table-row>
    </table:table-row-group>
    <table:table-row><table:table-cell table:formula="of:=SUM([.A3:.A4])" office:value-type="float" office:value="3"/></table:table-row>
    <table:table-row table:visibility="collapse"><table:table-cell office:value-type="string"><text:p>caché</text:p></table:table-cell></table:table-row>
   </table:table>
   <table:table table:name="Δεδομένα">
    <table:table-row>
     <table:table-cell table:formula="of:=[$'Été 2024'.B1]+1" office:value-type="float" office:value="13"/>
     <table:table-cell office:value-type="string"><text:p>日本</text:p></table:table-cell>
    </table:table-row>
   </table:table>
   <table:named-expressions>
    <table:named-range table:name="Ventes" table:base-cell-address="$'Été 2024'.$A$1" table:cell-range-address="$'Été 2024'.$B$1:.$B$2"/>
   </table:named-expressions>
  </office:spreadsheet>
 </office:body>
</office:document>
)ods";

// Their own document, and ours after LibreOffice saved it again as .xls.
TEST_F(LibreOffice, WritesWhatWeRead) {
  interop::write_text(dir("source.fods"), kTheirSource);
  const auto original = exercise_workbook();
  write_workbook_file(*original, dir("ours.xls").string());
  interop::fs::create_directory(dir("saved"));
  ASSERT_TRUE(convert({dir("source.fods"), dir("ours.xls")}, "xls", dir("saved")));

  const auto theirs = read_workbook_file((dir("saved") / "source.xls").string());
  ASSERT_EQ(theirs->sheet_count(), 2u);
  const auto& summer = theirs->sheet(0);
  EXPECT_EQ(summer.name(), "Été 2024");
  EXPECT_EQ(theirs->sheet(1).name(), "Δεδομένα");
  EXPECT_EQ(summer.value(0, 0), f::Value("Résultats – ½ année"));
  EXPECT_EQ(summer.value(0, 1), f::Value(12.0));
  EXPECT_EQ(summer.formula_text(0, 2), "=B1*3");
  EXPECT_EQ(summer.value(0, 2), f::Value(36.0));
  EXPECT_EQ(summer.value(1, 0), f::Value(true));
  EXPECT_EQ(summer.value(1, 1), f::Value(0.375));
  EXPECT_EQ(summer.format(1, 1).number_format, "0.0%");
  EXPECT_EQ(summer.formula_text(1, 2), "=SUM(Ventes)");
  EXPECT_EQ(summer.value(1, 2), f::Value(12.375));
  EXPECT_EQ(summer.formula_text(4, 0), "=SUM(A3:A4)");
  EXPECT_EQ(summer.rows().level(2), 2);
  EXPECT_EQ(summer.rows().level(3), 2);
  EXPECT_EQ(summer.rows().level(4), 1);
  EXPECT_TRUE(summer.rows().hidden(5));
  EXPECT_EQ(summer.value(5, 0), f::Value("caché"));
  EXPECT_EQ(theirs->sheet(1).formula_text(0, 0), "='Été 2024'!B1+1");
  EXPECT_EQ(theirs->sheet(1).value(0, 0), f::Value(13.0));
  EXPECT_EQ(theirs->sheet(1).value(0, 1), f::Value("日本"));
  ASSERT_NE(theirs->find_name("Ventes"), nullptr);
  EXPECT_EQ(theirs->find_name("Ventes")->refers_to_text(), "='Été 2024'!$B$1:$B$2");
  EXPECT_EQ(summer.format(0, 0).style, "Titre");
  EXPECT_TRUE(summer.format(0, 0).font.bold);
  EXPECT_EQ(summer.format(0, 0).font.size, 14);

  const auto again = read_workbook_file((dir("saved") / "ours.xls").string());
  ASSERT_EQ(again->sheet_count(), original->sheet_count());
  for (std::size_t index = 0; index < original->sheet_count(); ++index) {
    const auto& before = original->sheet(index);
    const auto& after = again->sheet(index);
    SCOPED_TRACE(before.name());
    EXPECT_EQ(after.name(), before.name());
    before.for_each_cell(*before.used_range(), [&](int row, int column, const m::Cell&) {
      EXPECT_EQ(after.value(row, column), before.value(row, column)) << row << "," << column;
      if (before.has_formula(row, column)) {
        EXPECT_EQ(after.formula_text(row, column), before.formula_text(row, column)) << row << "," << column;
      }
    });
    for (int row = 0; row < 30; ++row) {
      EXPECT_EQ(after.rows().level(row), before.rows().level(row)) << row;
      EXPECT_EQ(after.rows().hidden(row), before.rows().hidden(row)) << row;
    }
    EXPECT_EQ(after.merged_ranges(), before.merged_ranges());
  }
  for (const auto& name : original->names()) {
    const auto* kept = again->find_name(name.name, name.sheet);
    ASSERT_NE(kept, nullptr) << name.name;
    EXPECT_EQ(kept->refers_to_text(), name.refers_to_text());
  }
  const auto& first = again->sheet(0);
  EXPECT_FALSE(first.row_show_detail(13));
  EXPECT_TRUE(first.row_show_detail(15));
  EXPECT_EQ(first.format(0, 0).style, "Titre");
  EXPECT_TRUE(first.format(0, 0).font.bold);
  EXPECT_EQ(first.format(1, 1).number_format, "0.00%");
  EXPECT_TRUE(first.format(1, 0).font.italic);
  EXPECT_EQ(first.format(1, 0).interior.color_index, 6);
}

}  // namespace
}  // namespace engine::xls
