// The script syntax: what parses, what is refused with its line, and input
// that must never crash the parser or the session.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/script/script.hpp"

namespace platform::script {
namespace {

// The syntax error `source` raises; fails the test when it parses.
ScriptError syntax_error_of(std::string_view source) {
  try {
    parse(source, "bad.bas");
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.kind(), ScriptError::Kind::Syntax);
    return e;
  }
  ADD_FAILURE() << "parsed: " << source;
  return ScriptError(ScriptError::Kind::Runtime, {}, 0, {}, {});
}

TEST(ParseTest, EveryStatementFormParses) {
  EXPECT_NO_THROW(parse(
      "Range(\"D1\").Value = \"'09854895\"\n"
      "ActiveSheet.Rows(\"9:12\").Hidden = True\n"
      "Workbooks(\"Thor International.xls\").Close SaveChanges:=False\n"
      "Application.AddCustomList ListArray:=Array(\"Espa\xC3\xB1" "a\", \"France.\", \"UK\")\n"
      "ActiveWorkbook.SaveAs Filename:=\"/tmp/x/Thor.xlt\", FileFormat:=xlTemplate\n"
      "Sheets(\"Trimestre 1\").Range(\"A4\").CurrentRegion.Rows(3).ShowDetail = False\n"
      "Call Range(\"A1\").AddComment(\"Ne pas supprimer ce commentaire. Merci !\")\n"
      "Selection.Subtotal GroupBy:=1, Function:=xlSum, TotalList:=Array(3), Replace:=True, _\n"
      "    PageBreaks:=False, SummaryBelowData:=True\n"
      "With ActiveSheet.PageSetup\n"
      "    .Orientation = xlPortrait\n"
      "    .CenterHorizontally = True\n"
      "End With\n"
      "Set wb = Workbooks.Add(Template:=\"/path/Thor.xlt\")\n"
      "Let x = 1: Dim y As Long, z: z = .5 + &HFF - 1E3\n"
      "Range(\"A1\").End(xlUp).Select\n"
      "Rem a remark\n"
      "x = #2003-01-02# : y = #1/2/2003 10:30:00 AM#  ' a comment\n"
      "On Error Resume Next\n"
      "On Error GoTo 0\n"
      "If x > 1 Then y = 2 Else y = 3: z = 4\n"
      "If Err.Number <> 0 Then\n"
      "  Err.Clear\n"
      "ElseIf x Then\n"
      "ElseIf y Then\n"
      "  x = 1\n"
      "Else\n"
      "  For i = 10 To 1 Step -2\n"
      "    For Each ws In Worksheets: If ws.Name = \"a\" Then Exit For\n"
      "    Next ws\n"
      "  Next\n"
      "End If\n"
      "#check 601\n"));
}

TEST(ParseTest, SyntaxErrorsNameTheirLineAndTheProblem) {
  ScriptError e = syntax_error_of("x = 1\n\nRange(\"A1\".Value = 2\n");
  EXPECT_EQ(e.line(), 3);
  EXPECT_EQ(e.text(), "Range(\"A1\".Value = 2");
  EXPECT_STREQ(e.what(), "bad.bas: line 3: Range(\"A1\".Value = 2: syntax error: expected ')' but found '.'");

  EXPECT_EQ(syntax_error_of("x = \"open").problem(), "syntax error: unterminated string");
  EXPECT_EQ(syntax_error_of("x = 1 +").problem(), "syntax error: expected an expression but found the end of the line");
  EXPECT_EQ(syntax_error_of(".Value = 1").problem(), "syntax error: '.' outside a With block");
  EXPECT_EQ(syntax_error_of("End With").problem(), "syntax error: End With without With");
  EXPECT_EQ(syntax_error_of("x = 12abc").problem(), "syntax error: malformed number '12'");
  EXPECT_EQ(syntax_error_of("x = #31/31/2003#").problem(), "syntax error: invalid date literal #31/31/2003#");
  EXPECT_EQ(syntax_error_of("f a:=1, 2").problem(), "syntax error: a positional argument after a named one");
  EXPECT_EQ(syntax_error_of("GoTo Done").problem(), "syntax error: 'GoTo' is not supported in scripts");
  EXPECT_EQ(syntax_error_of("On Error GoTo Handler").problem(),
            "syntax error: only 'On Error Resume Next' and 'On Error GoTo 0' are supported");
  EXPECT_EQ(syntax_error_of("x = 1 y").line(), 1);
  EXPECT_EQ(syntax_error_of("x = 1 ? 2").problem(), "syntax error: unexpected character '?'");
}

TEST(ParseTest, BlocksMustCloseInOrder) {
  EXPECT_EQ(syntax_error_of("Next").problem(), "syntax error: Next without For");
  EXPECT_EQ(syntax_error_of("Else").problem(), "syntax error: Else without If");
  EXPECT_EQ(syntax_error_of("End If").problem(), "syntax error: End If without block If");
  EXPECT_EQ(syntax_error_of("For i = 1 To 2\nEnd If").problem(), "syntax error: End If without block If");
  EXPECT_EQ(syntax_error_of("If x Then\nElse\nElse\nEnd If").problem(), "syntax error: Else without If");
  EXPECT_EQ(syntax_error_of("With a\nNext").problem(), "syntax error: Next without For");
  EXPECT_EQ(syntax_error_of("For i = 1 To 2\nNext j").problem(), "syntax error: invalid Next control variable reference");
  EXPECT_EQ(syntax_error_of("Exit For").problem(), "syntax error: Exit For not within For ... Next");
  EXPECT_EQ(syntax_error_of("For i = 1 2\nNext").problem(), "syntax error: expected 'To' but found '2'");
  EXPECT_EQ(syntax_error_of("If x y = 1").problem(), "syntax error: expected 'Then' but found 'y'");
  const ScriptError open_if = syntax_error_of("x = 1\nIf x Then\n  y = 2\nElse\n");
  EXPECT_TRUE(open_if.incomplete());
  EXPECT_EQ(open_if.line(), 2);
  EXPECT_EQ(open_if.problem(), "syntax error: Block If without End If");
  EXPECT_TRUE(syntax_error_of("For Each c In Range(\"A1:B2\")\n").incomplete());
}

TEST(ParseTest, OpenWithBlocksAndTrailingContinuationsAreIncomplete) {
  const ScriptError with = syntax_error_of("x = 1\nWith ActiveSheet\n  .Name = \"a\"\n");
  EXPECT_TRUE(with.incomplete());
  EXPECT_EQ(with.line(), 2);
  EXPECT_TRUE(syntax_error_of("x = 1 + _").incomplete());
  EXPECT_FALSE(syntax_error_of("x = (1").incomplete());
}

TEST(ParseTest, NestingBeyondTheLimitsIsASyntaxErrorNotACrash) {
  syntax_error_of("x = " + std::string(5000, '(') + "1" + std::string(5000, ')'));
  syntax_error_of("x = " + std::string(5000, '-') + "1");
  std::string sum = "x = 1";
  for (int i = 0; i < 5000; ++i) sum += " + 1";
  syntax_error_of(sum);
  std::string chain = "x = a";
  for (int i = 0; i < 5000; ++i) chain += ".b";
  syntax_error_of(chain);
  for (const char* opener : {"With a\n", "If a Then\n", "For i = 1 To 2\n"}) {
    std::string blocks;
    for (int i = 0; i < 500; ++i) blocks += opener;
    syntax_error_of(blocks);
  }
}

// "x = "é"" and a second line, as an editor on Windows may save them.
std::string utf16(std::u16string_view text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

TEST(ParseTest, Utf16ScriptsWithTheirMarkReadAsTheirText) {
  for (bool big_endian : {false, true}) {
    Session session(com::Variant{});
    session.run(parse(utf16(u"x = \"\u00e9t\u00e9\"\r\ny = Len(x)\r\n", big_endian), "utf16.bas"));
    EXPECT_EQ(session.variable("x"), com::Variant("\xC3\xA9t\xC3\xA9")) << big_endian;
    EXPECT_EQ(session.variable("y"), com::Variant(std::int32_t{3})) << big_endian;
  }
  Session session(com::Variant{});
  session.run(parse("\xEF\xBB\xBFz = 1"));
  EXPECT_EQ(session.variable("z"), com::Variant(std::int16_t{1}));
}

TEST(ParseTest, NulBytesAndHalfCharactersAreRefusedByName) {
  // UTF-16 without its mark: the error says what to do instead of showing
  // the text cut at its first NUL.
  std::string unmarked = utf16(u"x = 1\ny = 2", false).substr(2);
  ScriptError e = syntax_error_of(unmarked);
  EXPECT_EQ(e.line(), 1);
  EXPECT_EQ(e.problem(),
            "syntax error: the script holds a NUL character: save it as UTF-8 text, or as UTF-16 with its "
            "byte-order mark");
  EXPECT_EQ(syntax_error_of(std::string("a = 1\nb = 2\n", 12) + std::string(1, '\0')).line(), 3);
  EXPECT_EQ(syntax_error_of(utf16(u"x = 1", false) + "x").problem(),
            "syntax error: the script's UTF-16 text ends in half a character");
}

TEST(ParseTest, EmptyAndCommentOnlyScriptsRunAsNothing) {
  Session s(com::Variant{});
  EXPECT_NO_THROW(s.run(parse("")));
  EXPECT_NO_THROW(s.run(parse("\xEF\xBB\xBF' only a comment\r\n\r\n   \nRem another\n")));
}

// Bytes, fragments of real scripts and their truncations: every one either
// parses or raises a syntax error, and what parses runs or fails cleanly on
// an application-less session.
TEST(ParseTest, MalformedInputNeverCrashes) {
  const std::string sample =
      "With ActiveSheet.PageSetup\n .Orientation = xlPortrait: x = -2^2 & \"a\"\"b\" Mod 3\nEnd With\n"
      "Selection.Subtotal GroupBy:=1, Function:=xlSum, TotalList:=Array(3) _\n , Replace:=True\n"
      "y = #1/2/2003# + &H10 - .5E1 \\ 2: Set z = Nothing: Call f((1), , g:=2)\n#host line\n"
      "If y Then x = 1 Else x = 2\nFor i = a To b\nIf i = 2 Then\nExit For\nElseIf x Then\nEnd If\nNext i\n"
      "For Each c In Array(1, 2)\nNext\n";
  std::mt19937 random(72506);
  const std::string alphabet = "()\".,:=_#&' \nWithEnd.Set-+*/\\^<>aZ0129EIfThenElseForNext";
  for (int round = 0; round < 3000; ++round) {
    std::string text = sample.substr(0, random() % (sample.size() + 1));
    for (int edits = static_cast<int>(random() % 4); edits > 0; --edits) {
      const std::size_t at = text.empty() ? 0 : random() % text.size();
      const char c = round % 5 == 0 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
      text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), c);
    }
    try {
      Session(com::Variant{}, [](std::string_view, int) {}).run(parse(text));
    } catch (const ScriptError&) {
    }
  }
}

}  // namespace
}  // namespace platform::script
