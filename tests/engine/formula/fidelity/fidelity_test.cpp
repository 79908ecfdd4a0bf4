// Fidelity against another spreadsheet program: functions.xls was computed
// and saved by LibreOffice (regenerate.sh), so every formula record carries
// LibreOffice's result. The workbook is loaded and recomputed here, and each
// case of the sheet "Cases" is compared with that cached result: numbers to
// 15 significant digits, texts exactly, errors by kind. Where Excel 2003 and
// LibreOffice legitimately differ, docs/formula.md lists the case with both
// results and the reason, and this engine must give Excel's.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "engine/xls/record_reader.hpp"
#include "engine/xls/record_types.hpp"
#include "engine/xls/workbook_file.hpp"

namespace engine::xls {
namespace {

namespace f = engine::formula;

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The formulas of cases.txt, in the order of the rows of "Cases".
std::vector<std::string> case_formulas() {
  std::vector<std::string> out;
  std::istringstream lines(read_file(D72506_FIDELITY_DIR "/cases.txt"));
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    out.push_back(line.substr(line.find('\t') + 1));
  }
  return out;
}

// The result a FORMULA record caches: a number, or after the 0xFFFF mark a
// tag: 0 text (in the STRING record that follows), 1 Boolean, 2 error,
// 3 empty text.
f::Value cached_result(RecordCursor& in, const Record* next) {
  const auto bytes = in.bytes(8);
  if (bytes[6] != 0xFF || bytes[7] != 0xFF) {
    double number = 0;
    std::memcpy(&number, bytes.data(), sizeof number);
    return f::Value(number);
  }
  switch (bytes[0]) {
    case 0: {
      if (!next || next->type != rt::String) return f::Value(f::CellError::Value);
      RecordCursor text(*next);
      return f::Value(text.string16());
    }
    case 1: return f::Value(bytes[2] != 0);
    case 2: return f::Value(f::error_from_code(bytes[2]).value_or(f::CellError::Value));
    default: return f::Value(std::string());
  }
}

// The cached results of the formulas of the first worksheet, by (row, column).
std::map<std::pair<int, int>, f::Value> cached_results(const Bytes& file) {
  const Bytes stream = *CompoundFileReader(file).read_stream("Workbook");
  RecordReader reader(stream);
  std::vector<Record> records;
  for (Record record; reader.next(record);) records.push_back(record);
  std::map<std::pair<int, int>, f::Value> out;
  int bofs = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].type == rt::Bof) ++bofs;
    if (bofs != 2 || records[i].type != rt::Formula) continue;  // the globals come first
    RecordCursor in(records[i]);
    const int row = in.u16(), column = in.u16();
    in.skip(2);
    out[{row, column}] = cached_result(in, i + 1 < records.size() ? &records[i + 1] : nullptr);
  }
  return out;
}

// A value written in the differences table: `4`, `"text"`, `#N/A`, `TRUE`.
f::Value parse_table_value(std::string text) {
  if (text.size() >= 2 && text.front() == '"') return f::Value(text.substr(1, text.size() - 2));
  if (auto error = f::error_from_text(text)) return f::Value(*error);
  if (text == "TRUE" || text == "FALSE") return f::Value(text == "TRUE");
  if (auto number = f::number_from_text(text)) return f::Value(*number);
  ADD_FAILURE() << "docs/formula.md: cannot read the value " << text;
  return {};
}

struct Difference {
  f::Value libreoffice;
  f::Value excel;
};

// docs/formula.md's table of differences: | `formula` | `LibreOffice` | `Excel 2003` | why |.
std::map<std::string, Difference> documented_differences() {
  std::map<std::string, Difference> out;
  std::istringstream lines(read_file(D72506_FORMULA_DOC));
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("| `=")) continue;
    std::vector<std::string> cells;
    for (std::size_t at = line.find('`'); at != std::string::npos && cells.size() < 3; at = line.find('`', at)) {
      const auto end = line.find("` |", at + 1);
      if (end == std::string::npos) break;
      cells.push_back(line.substr(at + 1, end - at - 1));
      at = end + 3;
    }
    if (cells.size() == 3) out[cells[0]] = {parse_table_value(cells[1]), parse_table_value(cells[2])};
  }
  return out;
}

// Numbers agree on their 15 significant digits, give or take a few units
// of the last one: two programs evaluating the same powers and logarithms
// in a different order round differently there (FV's exact result ends in
// ...018, LibreOffice's in ...014).
bool same(const f::Value& a, const f::Value& b) {
  if (a.is_number() && b.is_number()) {
    const double x = a.number(), y = b.number();
    if (f::to_15_digits(x) == f::to_15_digits(y)) return true;
    return std::fabs(x - y) <= 5e-14 * std::max(std::fabs(x), std::fabs(y));
  }
  return a == b;
}

std::string shown(const f::Value& v) { return v.is_text() ? "\"" + v.text() + "\"" : f::value_to_text(v); }

TEST(Fidelity, LibreOfficesResultsAgreeExceptWhereExcel2003Differs) {
  const std::string bytes = read_file(D72506_FIDELITY_DIR "/functions.xls");
  const Bytes file(bytes.begin(), bytes.end());
  const auto cached = cached_results(file);
  const auto book = load_workbook(file, "functions.xls");
  model::Worksheet& cases = *book->find_sheet("Cases");
  const auto formulas = case_formulas();
  const auto differences = documented_differences();
  ASSERT_FALSE(formulas.empty());

  int agreed = 0, documented = 0, arrays = 0;
  for (int row = 0; row < static_cast<int>(formulas.size()); ++row) {
    const std::string& formula = formulas[static_cast<std::size_t>(row)];
    const auto found = cached.find({row, 1});
    ASSERT_NE(found, cached.end()) << "no cached result for " << formula;
    const f::Value& theirs = found->second;
    // LibreOffice stores the functions that came after Excel 2003 as calls
    // through a NAME record ("_xlfn.IFERROR"): they too are read, and
    // compute #NAME? as in Excel 2003.
    EXPECT_TRUE(cases.has_formula(row, 1)) << formula;
    // Braces mark an array formula, which LibreOffice stores in an ARRAY record.
    if (formula.starts_with('{')) {
      EXPECT_TRUE(cases.array_at(row, 1).has_value()) << formula << " was not read as an array formula";
      ++arrays;
    }
    const f::Value ours = cases.value(row, 1);
    const auto difference = differences.find(formula);
    if (difference == differences.end()) {
      if (same(ours, theirs)) ++agreed;
      else ADD_FAILURE() << "row " << row + 1 << " " << formula << ": LibreOffice " << shown(theirs) << ", here " << shown(ours);
      continue;
    }
    ++documented;
    EXPECT_TRUE(same(theirs, difference->second.libreoffice))
        << formula << ": docs/formula.md says LibreOffice gives " << shown(difference->second.libreoffice)
        << ", the file holds " << shown(theirs);
    EXPECT_TRUE(same(ours, difference->second.excel))
        << formula << ": Excel 2003 gives " << shown(difference->second.excel) << ", here " << shown(ours);
    EXPECT_FALSE(same(ours, theirs)) << formula << " agrees now: take it out of docs/formula.md";
  }
  std::cout << "fidelity: " << agreed << " of " << formulas.size() - static_cast<std::size_t>(documented)
            << " cells agree; " << documented << " documented differences follow Excel 2003; " << arrays
            << " array formulas\n";
}

// What was read from LibreOffice's file is written by our own writer and
// read back unchanged: every function's BIFF number, argument classes and
// volatility make the round trip, and each case computes the same again.
TEST(Fidelity, EveryCaseSurvivesOurOwnSaveAndLoad) {
  const std::string bytes = read_file(D72506_FIDELITY_DIR "/functions.xls");
  const auto first = load_workbook(Bytes(bytes.begin(), bytes.end()), "functions.xls");
  const auto second = load_workbook(save_workbook(*first), "functions.xls");
  const model::Worksheet& before = *first->find_sheet("Cases");
  const model::Worksheet& after = *second->find_sheet("Cases");
  int compared = 0;
  for (int row = 0; row < static_cast<int>(case_formulas().size()); ++row) {
    ++compared;
    ASSERT_TRUE(after.has_formula(row, 1)) << before.formula_text(row, 1);
    EXPECT_EQ(after.formula_text(row, 1), before.formula_text(row, 1));
    EXPECT_EQ(after.array_at(row, 1), before.array_at(row, 1)) << before.formula_text(row, 1);
    EXPECT_TRUE(same(after.value(row, 1), before.value(row, 1))) << before.formula_text(row, 1);
  }
  EXPECT_EQ(compared, static_cast<int>(case_formulas().size()));
}

}  // namespace
}  // namespace engine::xls
