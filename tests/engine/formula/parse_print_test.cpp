#include <gtest/gtest.h>

#include "engine/formula/formula.hpp"

namespace engine::formula {
namespace {

std::string round_trip(const std::string& text) { return print(*parse(text)); }

TEST(ParsePrint, FormulasPrintBackExactlyAsTyped) {
  for (const char* text : {
           "=IF(B7>0,AVERAGE(B4:D4,B6:D6),\"\")",
           "=+AVERAGE(B4:D4,B6:D6)",
           "=--A1",
           "=(B4+C4+D4)/3",
           "=SUM('Trimestre 1'!$C$4:$C$8)",
           "=SUM(4:5)+SUM(A:C)+SUM($A:$C)+SUM($4:$5)",
           "=SUM((A1,B2))",
           "=SUM(A1:B5 B2:C3)",
           "=\"say \"\"hi\"\"\"&A1",
           "=50%",
           "={1,2;3,4}",
           "={\"a\",TRUE,#N/A;-1,0.5,FALSE}",
           "=#DIV/0!",
           "=A1<>B1",
           "=A1<=B1",
           "=Zone*2",
           "=Sheet2!Zone",
           "='.'!Zone+'.5'!A1",
           "=Sheet1:Sheet3!A1",
           "=IF(A1,,1)",
           "=NOW()",
           "=-2^2",
           "=A1:INDEX(B1:B9,3)",
       }) {
    EXPECT_EQ(round_trip(text), text);
  }
}

TEST(ParsePrint, NormalisesLikeTheFormulaBar) {
  EXPECT_EQ(round_trip("=average(b4:d4)"), "=AVERAGE(B4:D4)");
  EXPECT_EQ(round_trip("=1.0+1E3+.5"), "=1+1000+0.5");
  EXPECT_EQ(round_trip("=1.50E+20"), "=1.5E+20");
  EXPECT_EQ(round_trip("=true"), "=TRUE");
  EXPECT_EQ(round_trip("=#n/a"), "=#N/A");
  EXPECT_EQ(round_trip("='Sheet1'!a1"), "=Sheet1!A1");
  EXPECT_EQ(round_trip("='It''s'!A1"), "='It''s'!A1");
  EXPECT_EQ(round_trip("SUM(A1)"), "=SUM(A1)");
  // Unknown names stay as typed: Excel takes them for add-in functions.
  EXPECT_EQ(round_trip("=myFunc(1)"), "=myFunc(1)");
}

TEST(ParsePrint, KeepsTheAuthorsBlanks) {
  for (const char* text : {"= A1 + B1 ", "=SUM( A1 , B1 )", "=IF( A1 >0 , 1 ,2)", "=A1 %", "=( 1 )", "=SUM( )"})
    EXPECT_EQ(round_trip(text), text);
}

TEST(ParsePrint, SpaceBetweenReferencesIsIntersection) {
  const auto f = parse("=A1:B5 B2:C3");
  EXPECT_EQ(f->root().kind, NodeKind::Binary);
  EXPECT_EQ(f->root().op, Operator::Intersect);
}

TEST(ParsePrint, PrecedenceFollowsExcel) {
  // Negation binds tighter than ^, and ^ tighter than * and +.
  const auto f = parse("=-2^2");
  EXPECT_EQ(f->root().op, Operator::Power);
  const auto g = parse("=1+2*3^2&\"x\"=\"y\"");
  EXPECT_EQ(g->root().op, Operator::Equal);
  EXPECT_EQ(g->root().children[0].op, Operator::Concat);
  EXPECT_EQ(g->root().children[0].children[0].op, Operator::Add);
}

TEST(ParsePrint, MalformedInputIsAClearErrorWithAPosition) {
  struct Case {
    const char* text;
    std::size_t position;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"=", 1}, {"=1+", 3}, {"=SUM(1", 6}, {"=(1", 3}, {"=\"abc", 1}, {"=1)", 2},
           {"=A1 2", 4}, {"={1,2;3}", 7}, {"=#FOO!", 1}, {"='Sheet", 1}, {"=ROUND(1)", 1},
           {"=ABS(1,2)", 1}, {"=1E", 3}, {"=*2", 1}, {"=SUM(A1:)", 8}, {"=A1 \"x\"", 4},
           {"=2E6:1", 1}, {"=1.5:2", 1}, {"=A1:\"B2\"", 4}, {"=A1:TRUE", 4},
       }) {
    try {
      parse(c.text);
      ADD_FAILURE() << c.text << " parsed";
    } catch (const ParseError& e) {
      EXPECT_EQ(e.position(), c.position) << c.text << ": " << e.what();
    }
  }
}

TEST(ParsePrint, NestingIsBoundedNotAStackOverflow) {
  std::string deep = "=";
  for (int i = 0; i < 500; ++i) deep += "(";
  deep += "1";
  for (int i = 0; i < 500; ++i) deep += ")";
  EXPECT_THROW(parse(deep), ParseError);
  EXPECT_THROW(parse("=" + std::string(1000, '-') + "1"), ParseError);
  EXPECT_THROW(parse("=ABS(ABS(ABS(ABS(ABS(ABS(ABS(ABS(1))))))))"), ParseError);  // 8 levels
  EXPECT_NO_THROW(parse("=ABS(ABS(ABS(ABS(ABS(ABS(ABS(1)))))))"));
  EXPECT_THROW(parse("=" + std::string(1100, '1')), ParseError);
}

TEST(ParsePrint, FormulasBuiltElsewhereAreCheckedForDepth) {
  Node node;
  node.kind = NodeKind::Number;
  for (int i = 0; i < 10000; ++i) {
    Node wrapper;
    wrapper.kind = NodeKind::Paren;
    wrapper.children.push_back(std::move(node));
    node = std::move(wrapper);
  }
  EXPECT_THROW(Formula{std::move(node)}, ParseError);
}

TEST(ParsePrint, GarbageNeverCrashes) {
  const std::string alphabet = "=+-*/^&%:(),;{}\"'!$#A1 .E<>";
  std::uint32_t seed = 12345;
  for (int n = 0; n < 3000; ++n) {
    std::string text;
    const int length = static_cast<int>(seed % 24);
    for (int i = 0; i < length; ++i) {
      seed = seed * 1103515245 + 12345;
      text += alphabet[(seed >> 16) % alphabet.size()];
    }
    seed = seed * 1103515245 + 12345;
    try {
      const auto f = parse(text);
      EXPECT_EQ(print(*parse(print(*f))), print(*f)) << text;
    } catch (const ParseError&) {
    }
  }
}

TEST(Precedents, ListsReferencesAsWrittenAndNames) {
  const auto p = precedents(*parse("=SUM(B4:D4,Sheet2!A1)+Zone"));
  ASSERT_EQ(p.references.size(), 2u);
  EXPECT_EQ(to_a1(p.references[0]), "B4:D4");
  EXPECT_EQ(to_a1(p.references[1]), "Sheet2!A1");
  EXPECT_EQ(p.names, std::vector<std::string>{"Zone"});
}

TEST(References, A1TextBothWays) {
  for (const char* text : {"$C$4", "'Trimestre 1'!$C$4:$C$8", "4:5", "A:C", "IV65536", "Sheet1:Sheet3!A1"}) {
    const auto r = parse_reference(text);
    ASSERT_TRUE(r) << text;
    EXPECT_EQ(to_a1(*r), text);
  }
  EXPECT_EQ(to_a1(*parse_reference("B2:A1")), "A1:B2");
  EXPECT_FALSE(parse_reference("IW1"));
  EXPECT_FALSE(parse_reference("A0"));
  EXPECT_FALSE(parse_reference("A1 "));
  EXPECT_EQ(column_name(255), "IV");
}

}  // namespace
}  // namespace engine::formula
