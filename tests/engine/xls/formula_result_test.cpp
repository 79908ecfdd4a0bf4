// The cached results of formulas in a file: a text result follows its
// FORMULA record in a STRING record (Excel, LibreOffice and Gnumeric expect
// it there), an empty text has a tag of its own, and a formula this
// application cannot compute keeps the result the file cached, text included.
#include <gtest/gtest.h>

#include "engine/xls/record_reader.hpp"
#include "engine/xls/record_types.hpp"
#include "engine/xls/record_writer.hpp"
#include "engine/xls/workbook_file.hpp"
#include "record_support.hpp"

namespace engine::xls {
namespace {

namespace f = engine::formula;

// The record after the FORMULA record of (row, column), and that record's
// result tag (the byte at offset 6, meaningful when the result is not a number).
struct FormulaLayout {
  std::uint8_t tag;
  const Record* next;
};

FormulaLayout layout_of(const std::vector<Record>& records, int row, int column) {
  for (std::size_t i = 0; i + 1 < records.size(); ++i) {
    if (records[i].type != rt::Formula) continue;
    RecordCursor in(records[i]);
    if (in.u16() != row || in.u16() != column) continue;
    in.skip(2);
    return {in.u8(), &records[i + 1]};
  }
  ADD_FAILURE() << "no FORMULA record for the cell";
  return {0, nullptr};
}

TEST(FormulaResults, TextResultsAreFollowedByTheirStringAndEmptyTextIsTagged) {
  model::Workbook book("Résultats.xls");
  auto& sheet = book.add_sheet("Feuil1");
  std::string wide;
  for (int i = 0; i < 6000; ++i) wide += "∑";  // 12,000 bytes in UTF-16: over one record
  sheet.set_value(0, 1, f::Value(wide));
  sheet.set_formula(1, 0, "=IF(C1>0,\"grand\",\"petit\")");
  sheet.set_formula(2, 0, "=IF(C1>0,AVERAGE(C1:C2),\"\")");
  sheet.set_formula(3, 0, "=B1");

  Bytes stream;
  const auto records = workbook_records(save_workbook(book), stream);
  const auto text = layout_of(records, 1, 0);
  EXPECT_EQ(text.tag, 0x00);
  ASSERT_EQ(text.next->type, rt::String);
  EXPECT_EQ(RecordCursor(*text.next).string16(), "petit");

  const auto empty = layout_of(records, 2, 0);
  EXPECT_EQ(empty.tag, 0x03);
  EXPECT_NE(empty.next->type, rt::String);

  const auto long_result = layout_of(records, 3, 0);
  ASSERT_EQ(long_result.next->type, rt::String);
  EXPECT_GT(long_result.next->pieces.size(), 1u);
  EXPECT_EQ(RecordCursor(*long_result.next).string16(), wide);

  const auto loaded = load_workbook(save_workbook(book), "Résultats.xls");
  EXPECT_EQ(loaded->sheet(0).value(1, 0), f::Value("petit"));
  EXPECT_EQ(loaded->sheet(0).value(2, 0), f::Value(""));
  EXPECT_EQ(loaded->sheet(0).value(3, 0), f::Value(wide));
}

// A workbook stream by hand: one sheet whose only cell holds a formula
// over a data table (which this application does not compute), with the
// cached result `result` and the records that follow it.
Bytes data_table_workbook(const RecordBody& result, const std::vector<std::pair<std::uint16_t, RecordBody>>& after) {
  RecordWriter out;
  const auto bof = [](std::uint16_t kind) { return RecordBody().u16(0x0600).u16(kind).zeros(12); };
  out.record(rt::Bof, bof(0x0005));
  const std::size_t position_field = out.offset() + 4;
  out.record(rt::BoundSheet8, RecordBody().u32(0).u8(0).u8(0).string8("Feuil1"));
  out.empty_record(rt::Eof);
  out.patch_u32(position_field, static_cast<std::uint32_t>(out.offset()));
  out.record(rt::Bof, bof(0x0010));
  RecordBody formula;
  formula.u16(0).u16(0).u16(15).bytes(result.data()).u16(0).u32(0).u16(5).u8(0x02).u16(0).u16(0);
  out.record(rt::Formula, formula);
  for (const auto& [type, body] : after) out.record(type, body);
  out.empty_record(rt::Eof);
  const Stream streams[] = {{"Workbook", out.stream()}};
  return write_compound_file(streams);
}

RecordBody tagged(std::uint8_t tag) { return RecordBody().u8(tag).zeros(5).u16(0xFFFF); }

TEST(FormulaResults, AFormulaThatCannotBeComputedKeepsItsCachedResult) {
  const auto value = [](const Bytes& file) { return load_workbook(file, "Table.xls")->sheet(0).value(0, 0); };
  EXPECT_EQ(value(data_table_workbook(tagged(0x00), {{rt::String, RecordBody().string16("Été ∑")}})),
            f::Value("Été ∑"));
  EXPECT_EQ(value(data_table_workbook(tagged(0x03), {})), f::Value(""));
  EXPECT_EQ(value(data_table_workbook(RecordBody().f64(2.5), {})), f::Value(2.5));
  // A STRING record nothing announced is not taken for the cell's text.
  EXPECT_EQ(value(data_table_workbook(RecordBody().f64(2.5), {{rt::String, RecordBody().string16("x")}})),
            f::Value(2.5));
  // A text result whose STRING record is missing leaves the cell empty.
  EXPECT_TRUE(value(data_table_workbook(tagged(0x00), {})).is_empty());
}

}  // namespace
}  // namespace engine::xls
