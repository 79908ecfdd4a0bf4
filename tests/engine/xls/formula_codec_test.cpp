#include "engine/xls/formula_codec.hpp"

#include <gtest/gtest.h>

#include <random>

#include "engine/xls/file_error.hpp"

namespace engine::xls {
namespace {

namespace f = engine::formula;

LinkTable sample_links() {
  LinkTable links({"Trimestre 1", "Feuil2", "réponses"});
  links.add_name({"Zone", -1});
  links.add_name({"Taux", 1});
  return links;
}

std::string round_trip(const std::string& text, FormulaRole role = FormulaRole::Cell) {
  LinkTable links = sample_links();
  const FormulaOrigin origin{0, 9, 3};
  const auto encoded = encode_formula(*f::parse(text), links, origin, role);
  const auto decoded = decode_formula(encoded.tokens, encoded.extra, links, origin);
  return f::print(*std::get<std::shared_ptr<const f::Formula>>(decoded));
}

TEST(FormulaCodec, FormulasComeBackAsTyped) {
  const char* formulas[] = {
      "=SUM(A1:A3)",
      "=AVERAGE('Trimestre 1'!$C$4:$C$8)",
      "=IF(A1>0,\"oui\",B2*2)",
      "=IF(A1,B1)",
      "=CHOOSE(2,A1,B1,C1)",
      "=(A1+B1)*C1",
      "=A1 + B1",
      "=-A1%",
      "={1,2;3,\"a\"}",
      "=SUM(4:5)",
      "=SUM(A:C)",
      "=TODAY()-$A$1",
      "=SUM(A1:B2 B1:C3)",
      "=SUM((A1,B1))",
      "=ROUND(A1,)",
      "=\"texte\"&TRUE",
      "=1.5E+20",
      "=70000",
      "=0.25",
      "=Zone*2",
      "=Taux",
      "=#N/A",
      "=SUBTOTAL(9,B2:B8)",
      "=VLOOKUP(A1,Feuil2!$A$1:$B$10,2,FALSE)",
      "=COUNTIF(réponses!A:A,\"x\")",
      "='Trimestre 1:Feuil2'!A1",
  };
  for (const char* text : formulas) EXPECT_EQ(round_trip(text), text);
}

// The bytes other readers depend on, as Excel itself writes them.
TEST(FormulaCodec, TokensMatchWhatExcelWrites) {
  LinkTable links = sample_links();
  const FormulaOrigin origin{0, 0, 0};
  auto sum = encode_formula(*f::parse("=SUM(A1:A3)"), links, origin, FormulaRole::Cell);
  EXPECT_EQ(sum.tokens, (Bytes{0x25, 0, 0, 2, 0, 0, 0xC0, 0, 0xC0, 0x19, 0x10, 0, 0}));
  auto cell = encode_formula(*f::parse("=$B$2+1"), links, origin, FormulaRole::Cell);
  EXPECT_EQ(cell.tokens, (Bytes{0x44, 1, 0, 1, 0, 0x1E, 1, 0, 0x03}));
  auto name = encode_formula(*f::parse("='Trimestre 1'!$C$4:$C$8"), links, origin, FormulaRole::Name);
  EXPECT_EQ(name.tokens, (Bytes{0x3B, 0, 0, 3, 0, 7, 0, 2, 0, 2, 0}));
  EXPECT_EQ(links.entries().size(), 1u);
  auto round = encode_formula(*f::parse("=ROUND(A1,2)"), links, origin, FormulaRole::Cell);
  EXPECT_EQ(round.tokens, (Bytes{0x44, 0, 0, 0, 0xC0, 0x1E, 2, 0, 0x41, 27, 0}));
}

// IF's jump lands on its false branch and each goto just before the end,
// so an evaluator that follows them (Excel) reads the branch taken.
TEST(FormulaCodec, IfAndChooseJumpsLandOnTheirBranches) {
  LinkTable links = sample_links();
  auto e = encode_formula(*f::parse("=IF(A1,2,3)"), links, {0, 0, 0}, FormulaRole::Cell);
  // A1 (5) | attrIf (4) | 2 (3) | goto (4) | 3 (3) | goto (4) | funcvar IF (4)
  const Bytes& t = e.tokens;
  ASSERT_EQ(t.size(), 27u);
  EXPECT_EQ(t[5], 0x19);
  EXPECT_EQ(t[6], 0x02);
  EXPECT_EQ(t[7] + 9u, 16u);  // the false branch starts at 16
  EXPECT_EQ(t[14] + 12u + 4u + 1u, 27u);
  EXPECT_EQ(t[21] + 19u + 4u + 1u, 27u);
  auto c = encode_formula(*f::parse("=CHOOSE(A1,10,20)"), links, {0, 0, 0}, FormulaRole::Cell);
  const Bytes& u = c.tokens;
  // A1 (5) | attrChoose 2 + table of 3 (4+6) | 10 (3) | goto | 20 (3) | goto | funcvar
  ASSERT_EQ(u.size(), 5u + 10u + 3u + 4u + 3u + 4u + 4u);
  const std::size_t table = 9;
  EXPECT_EQ(u[table] + table, 15u);
  EXPECT_EQ(u[table + 2] + table, 22u);
  EXPECT_EQ(u[table + 4] + table, 29u);
}

// A formula encoded at the end of a record being built gives the tokens
// and constants it gives alone, the record's earlier bytes untouched: the
// volatile mark goes in front of the formula, not of the record, and the
// jumps and array constants come out the same.
TEST(FormulaCodec, AFormulaEncodedIntoARecordMatchesItsTokensAlone) {
  const char* formulas[] = {"=A1*2+C1", "=IF(A1,NOW()+RAND(),2)", "=CHOOSE(A1,10,RAND(),30)",
                            "=SUM({1,2;3,\"a\"})+Zone", "=  A1 +\nB2", "=Feuil2!B3:C4 Feuil2!C3"};
  for (const char* text : formulas) {
    const auto formula = f::parse(text);
    LinkTable alone_links = sample_links(), record_links = sample_links();
    const FormulaOrigin origin{0, 4, 2};
    const EncodedFormula alone = encode_formula(*formula, alone_links, origin, FormulaRole::Cell);
    RecordBody record, extra;
    record.u16(0xCAFE).u8(0x42);
    extra.u8(0x99);
    encode_formula(*formula, record_links, origin, FormulaRole::Cell, record, extra);
    const Bytes& bytes = record.data();
    ASSERT_GE(bytes.size(), 3u) << text;
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 3), (Bytes{0xFE, 0xCA, 0x42})) << text;
    EXPECT_EQ(Bytes(bytes.begin() + 3, bytes.end()), alone.tokens) << text;
    ASSERT_FALSE(extra.data().empty());
    EXPECT_EQ(Bytes(extra.data().begin() + 1, extra.data().end()), alone.extra) << text;
  }
}

// A volatile call anywhere in the tree marks the formula once, first; the
// jumps of an IF around it still land where they did without the mark.
TEST(FormulaCodec, AVolatileCallAnywhereMarksTheFormulaOnceAtTheStart) {
  LinkTable links = sample_links();
  EXPECT_EQ(encode_formula(*f::parse("=NOW()"), links, {0, 0, 0}, FormulaRole::Cell).tokens,
            (Bytes{0x19, 0x01, 0, 0, 0x41, 74, 0}));
  EXPECT_EQ(encode_formula(*f::parse("=A1+1"), links, {0, 0, 0}, FormulaRole::Cell).tokens.front(), 0x44);
  const auto plain = encode_formula(*f::parse("=IF(A1,B1,2)"), links, {0, 0, 0}, FormulaRole::Cell).tokens;
  const auto marked = encode_formula(*f::parse("=IF(A1,NOW()+RAND(),2)"), links, {0, 0, 0}, FormulaRole::Cell).tokens;
  // volatile (4) | A1 (5) | attrIf (4) | NOW (3) | RAND (3) | add (1) | goto (4) | 2 (3) | goto (4) | IF (4)
  ASSERT_EQ(marked.size(), 35u);
  EXPECT_EQ(Bytes(marked.begin(), marked.begin() + 4), (Bytes{0x19, 0x01, 0, 0}));
  EXPECT_EQ(marked[10], 0x02);
  EXPECT_EQ(marked[11] + 13u, 24u);  // the false branch starts at 24
  EXPECT_EQ(marked[22] + 20u + 4u + 1u, 35u);
  EXPECT_EQ(marked[29] + 27u + 4u + 1u, 35u);
  EXPECT_EQ(plain.front(), 0x44);
  EXPECT_EQ(round_trip("=IF(A1,NOW()+RAND(),2)"), "=IF(A1,NOW()+RAND(),2)");
  EXPECT_EQ(round_trip("=SUM(A1:B2,TODAY())*2"), "=SUM(A1:B2,TODAY())*2");
}

TEST(FormulaCodec, SharedFormulaOffsetsResolveAgainstTheCell) {
  LinkTable links = sample_links();
  // ptgRefN one row up and one column left, relative both ways; ptgInt 1; add.
  const Bytes tokens = {0x4C, 0xFF, 0xFF, 0xFF, 0xC0, 0x1E, 1, 0, 0x03};
  auto decoded = decode_formula(tokens, {}, links, {0, 5, 5});
  EXPECT_EQ(f::print(*std::get<std::shared_ptr<const f::Formula>>(decoded)), "=E5+1");
  const Bytes exp = {0x01, 4, 0, 2, 0};
  auto shared = std::get<SharedFormulaRef>(decode_formula(exp, {}, links, {0, 5, 5}));
  EXPECT_EQ(shared.row, 4);
  EXPECT_EQ(shared.column, 2);
}

// The cells of a filled range share one decoded tree, whether each stores
// its own tokens or they refer to one SHRFMLA; what differs in a way the
// move from the first cell would not give keeps its own tree.
TEST(FormulaCodec, CellsOfAFilledRangeShareOneTree) {
  LinkTable links = sample_links();
  const auto encoded_at = [&](const std::string& text, int row, int column) {
    return encode_formula(*f::parse(text), links, {0, row, column}, FormulaRole::Cell).tokens;
  };
  SheetFormulas formulas;
  const auto decode = [&](const Bytes& tokens, int row, int column) {
    return std::get<std::shared_ptr<const f::Formula>>(formulas.decode(tokens, {}, links, {0, row, column}));
  };
  const auto first = decode(encoded_at("=A1*2+$C$1+SUM($A$1:A1)", 0, 1), 0, 1);
  const auto fifth = decode(encoded_at("=A5*2+$C$1+SUM($A$1:A5)", 4, 1), 4, 1);
  EXPECT_EQ(first, fifth);
  ASSERT_TRUE(first->anchor().has_value());
  EXPECT_EQ(f::print(*f::formula_at(fifth, 4, 1)), "=A5*2+$C$1+SUM($A$1:A5)");
  EXPECT_NE(decode(encoded_at("=A6*2+$C$1+SUM($A$1:A5)", 5, 1), 5, 1), first);
  EXPECT_NE(decode(encoded_at("=A7*2+$C$2+SUM($A$1:A7)", 6, 1), 6, 1), first);

  // ptgRefN one row up, relative: at row 0 it wraps to the last row, which
  // moving the tree from row 5 would not give.
  const Bytes shared = {0x4C, 0xFF, 0xFF, 0x00, 0xC0};
  const auto at_row_5 = decode(shared, 5, 0);
  EXPECT_EQ(decode(shared, 9, 0), at_row_5);
  const auto wrapped = decode(shared, 0, 0);
  EXPECT_NE(wrapped, at_row_5);
  EXPECT_EQ(f::print(*f::formula_at(wrapped, 0, 0)), "=A65536");

  // An area whose corners cross as the cell moves is ordered differently.
  EXPECT_NE(sharing_key(encoded_at("=SUM(A5:$A$3)", 9, 1), {}, {0, 9, 1}),
            sharing_key(encoded_at("=SUM(A1:$A$3)", 5, 1), {}, {0, 5, 1}));
  EXPECT_FALSE(sharing_key(Bytes{0x01, 4, 0, 2, 0}, {}, {0, 5, 5}));
}

TEST(FormulaCodec, WhatCannotBeSavedIsRefusedClearly) {
  LinkTable links = sample_links();
  // A call with more arguments than Excel takes, counting the add-in
  // function's name as one.
  std::string thirty = "=NOSUCHFUNCTION(1";
  for (int i = 1; i < 30; ++i) thirty += ",1";
  EXPECT_THROW(encode_formula(*f::parse(thirty + ")"), links, {0, 0, 0}, FormulaRole::Cell), FileError);
  EXPECT_THROW(encode_formula(*f::parse("=Absente!A1"), links, {0, 0, 0}, FormulaRole::Cell), FileError);
  f::Node text;
  text.kind = f::NodeKind::Text;
  text.text = std::string(256, 'x');
  EXPECT_THROW(encode_formula(f::Formula(text), links, {0, 0, 0}, FormulaRole::Cell), FileError);
}

TEST(FormulaCodec, UnknownNamesGetANameRecordAsExcelKeepsThem) {
  LinkTable links = sample_links();
  encode_formula(*f::parse("=Inconnu+1"), links, {0, 0, 0}, FormulaRole::Cell);
  ASSERT_EQ(links.names().size(), 3u);
  EXPECT_EQ(links.names()[2].name, "Inconnu");
}

TEST(FormulaCodec, GarbageTokensNeverCrash) {
  const LinkTable links = sample_links();
  std::mt19937 random(72506);
  std::uniform_int_distribution<int> byte(0, 255);
  int refused = 0;
  for (int round = 0; round < 20000; ++round) {
    Bytes tokens(static_cast<std::size_t>(1 + round % 23));
    for (auto& b : tokens) b = static_cast<std::uint8_t>(byte(random));
    Bytes extra(static_cast<std::size_t>(round % 7));
    for (auto& b : extra) b = static_cast<std::uint8_t>(byte(random));
    sharing_key(tokens, extra, {0, 1, 1});
    try {
      decode_formula(tokens, extra, links, {0, 1, 1});
    } catch (const FileError&) {
      ++refused;
    }
  }
  EXPECT_GT(refused, 0);
  // A deeply nested formula is refused, not built.
  Bytes deep = {0x1E, 1, 0};
  deep.insert(deep.end(), 5000, 0x13);
  EXPECT_THROW(decode_formula(deep, {}, links, {0, 0, 0}), FileError);
}

}  // namespace
}  // namespace engine::xls

namespace engine::xls {
namespace {

// Functions Excel 2003 does not number are stored as it stores an add-in's:
// tNameX to an EXTERNNAME, the arguments, tFuncVar 255 counting the name.
TEST(FormulaCodec, FunctionsExcelDoesNotNumberAreAddinCalls) {
  LinkTable links({"Feuil1"});
  const auto encoded = encode_formula(*f::parse("=IFERROR(1/0,\"x\")+myudf()+iferror(2)"), links, {0, 0, 0},
                                      FormulaRole::Cell);
  ASSERT_EQ(links.addin_functions(), (std::vector<std::string>{"IFERROR", "myudf", "iferror"}));
  ASSERT_EQ(links.entries().size(), 1u);
  EXPECT_TRUE(links.is_addin_entry(0));
  // tNameX entry 0, name 1, then the arguments.
  EXPECT_EQ((Bytes(encoded.tokens.begin(), encoded.tokens.begin() + 7)), (Bytes{0x39, 0, 0, 1, 0, 0, 0}));
  const auto decoded = decode_formula(encoded.tokens, encoded.extra, links, {0, 0, 0});
  const auto& formula = *std::get<std::shared_ptr<const f::Formula>>(decoded);
  EXPECT_EQ(f::print(formula), "=IFERROR(1/0,\"x\")+myudf()+iferror(2)");

  // A tFuncVar 255 whose first argument names nothing is damage.
  const Bytes unnamed = {0x1E, 1, 0, 0x42, 1, 0xFF, 0};
  EXPECT_THROW(decode_formula(unnamed, {}, links, {0, 0, 0}), FileError);
  // A tNameX to anything but the add-in functions is a name of another workbook.
  const Bytes elsewhere = {0x39, 0, 0, 9, 0, 0, 0, 0x42, 1, 0xFF, 0};
  EXPECT_THROW(decode_formula(elsewhere, {}, links, {0, 0, 0}), FileError);
}

}  // namespace
}  // namespace engine::xls
